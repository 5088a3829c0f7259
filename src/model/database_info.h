// The database information report: the sizes of a database, its counts of cards, groups, lines
// and texts, and how much of each dimension its data uses, with the number and byte-size texts
// the report shows them in.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/database.h"

namespace jov {

struct DimensionUsage {
  int64_t all = 0;     // components of the dimension
  int64_t active = 0;  // in use, with all their ancestors below the root
  int64_t in_use = 0;  // referred to by a group or a line
};

struct DatabaseInfo {
  int64_t memory_bytes = 0;
  int64_t file_bytes = 0;  // shown only when above 0
  int64_t cards = 0, groups = 0, lines = 0;
  int64_t card_titles = 0, notes = 0, line_texts = 0;
  bool has_cards = false;
  Date first_card, last_card;
  // Per dimension; only dimensions with components are reported.
  std::array<DimensionUsage, kDimensionCount> dimensions{};
  std::array<bool, kDimensionCount> reported{};
  DimensionUsage total;
  int64_t analysis_templates = 0;
  // What the windows and analyses bound to the database hold for themselves.
  int64_t analysis_memory_bytes = 0;
};

// Counts every figure of the report. `file_bytes` is the size of the database's file (0 when it
// has none); the template count comes from the layer that keeps templates.
DatabaseInfo CountDatabaseInfo(const Database& database, int64_t file_bytes,
                               int64_t analysis_templates = 0);

// 0 as "-"; otherwise decimal with `separator` before the last three digits when there are more
// than three, and before the last six when there are more than six.
std::string InfoNumberText(int64_t number, char separator = ' ');

// "-" below 0; "0 KB"; "512 bytes"; "5.0 KB" below 10,000; "200 KB" below 1 MiB; "3.0 MB".
std::string ByteSizeText(int64_t bytes);

// The whole report as text lines, labelled with the msg::kInfo... messages.
std::string DatabaseInfoReport(const Database& database, const DatabaseInfo& info, int card_digits,
                               char separator = ' ');

}  // namespace jov
