// The preview of a text import: the first rows of a file as an import setup reads them, without
// touching the database. Each row tells whether it starts a card and whether it carries lines,
// and what it gives: the card's date and title, and per line definition the host codes (marked
// when no component has them yet, so the import would make one) and the values. The reading is
// the import's own: its row reader, field reader and line field reader.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/fixed_table.h"
#include "io/import_setup.h"
#include "io/row_reader.h"
#include "model/database.h"

namespace jov {

struct PreviewLine {
  // Host codes per dimension, as looked up; empty when the field is empty or gives nothing and
  // the default component stands for it.
  std::array<std::string, kDimensionCount> codes;
  // No component of the dimension has the code as host code: the import would make one.
  std::array<bool, kDimensionCount> new_codes{};
  std::vector<double> values;    // one per value field of the database
  std::vector<bool> unreadable;  // per value: a text in it gave no number (the value is 0)
  std::string text;
  bool excluded = false;  // every value is 0 and the definition excludes zero lines
};

struct PreviewRow {
  uint64_t number = 0;   // the first file row it was read from, counted from 1
  std::string text;      // the row as read, joined rows with the field separator between them
  bool skipped = false;  // one of the leading rows that are not read
  bool card = false;     // matches the card indicator
  bool line = false;     // matches the line indicator
  // Card rows: the card date (the default date when the text gives none) and title.
  DayCode date = kNoDay;
  std::string title;
  // Line rows: one per line definition.
  std::vector<PreviewLine> lines;
  // Value texts that give no number (the import makes them 0 and reports them).
  std::vector<std::string> unreadable;
};

// Reads up to `max_rows` rows (joins count as one) of `input`.
std::vector<PreviewRow> PreviewImport(const Database& database, ImportInput& input,
                                      const ImportSetup& setup, int max_rows);

// The preview as a table: the row number, what the row is, the date and title of card rows, then
// for each line definition the component fields in use and the value fields. New host codes are
// marked with "*", unreadable values show "?", lines the import leaves out (all values zero) are
// red.
FixedTable PreviewTable(const Database& database, const ImportSetup& setup,
                        const std::vector<PreviewRow>& rows);

}  // namespace jov
