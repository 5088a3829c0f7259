// Realistic databases of any size for the benchmarks: account-like hierarchies in the first
// dimension, cost centres, projects and customers (with host codes) in the others, cards spread
// over several years with several values per line, line texts and notes.
#pragma once

#include <cstdint>
#include <memory>

#include "model/database.h"

namespace jov::bench {

struct DataSpec {
  int64_t lines = 1'000'000;
  int value_fields = 3;  // 1..24
  int dimensions = 4;    // 1..4 filled dimensions
  int first_year = 2021;
  int years = 3;
  // Shares of lines with a line text and of cards with notes.
  double line_text_share = 1.0 / 3;
  double notes_share = 0.05;
  uint32_t seed = 1;
};

std::unique_ptr<Database> MakeDatabase(const DataSpec& spec);

}  // namespace jov::bench
