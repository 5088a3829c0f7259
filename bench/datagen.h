// Realistic databases of any size for the benchmarks: account-like hierarchies in the first
// dimension, cost centres, projects and customers (with host codes) in the others, cards spread
// over several years with several values per line, line texts and notes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/database.h"

namespace jov::bench {

struct DataSpec {
  int64_t lines = 1'000'000;
  int value_fields = 3;  // 1..24
  int dimensions = 4;    // 1..4 filled dimensions
  // Accounts under each of the 48 account groups: 9 make a chart of 489 components, 20 one of
  // 1,017.
  int accounts_per_group = 9;
  int first_year = 2021;
  int years = 3;
  // Shares of lines with a line text and of cards with notes.
  double line_text_share = 1.0 / 3;
  double notes_share = 0.05;
  uint32_t seed = 1;
};

std::unique_ptr<Database> MakeDatabase(const DataSpec& spec);

// The lines of a generated database as the semicolon-separated rows of a ledger export, one
// row a line, CR LF after each: date (YYYY-MM-DD), voucher number (one per card), account,
// cost centre, amount with a decimal comma, and the line text (every line has one). About 60
// bytes a row.
std::string VoucherRows(const DataSpec& spec);

// The body of the import setup that reads those rows: the voucher number switches cards, and
// accounts and cost centres are made with their host codes as JOV-Codes.
inline constexpr const char* kVoucherRowsSetup =
    "##ImportSetup\tVouchers\r\nS\t59\r\nD\t44\r\nM\tY/M/D\r\nLX\tF2\r\nLI\tF1\r\n"
    "L1\tF3\r\nL2\tF4\r\nLZ\tF6\r\nLVA\tF5\r\nZN1\tH\r\nZN2\tH\r\n\r\n";

// The lines a benchmark generates: JOV_BENCH_LINES when set (another size, for profiling under a
// simulator), else `lines`.
int64_t BenchLines(int64_t lines);

}  // namespace jov::bench
