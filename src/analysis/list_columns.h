// The visible columns of the analyses that list cards and lines: the card's identifier and
// title, a component per dimension, the line text, the value fields and (for line lists) the
// running balance. Templates store them as a comma-separated list: "I" card identifier, "T" card
// title, "D" and the dimension's digit (1-9, then A-G for dimensions 10-16), "L" line text, "V"
// and the field's letter (A-X), "S" the accumulated column.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/component.h"

namespace jov {

inline constexpr int kListValueFields = 24;

struct ListColumns {
  bool card_id = true;
  bool card_title = true;
  std::array<bool, kDimensionCount> dimensions = {true, true};
  bool line_text = true;
  std::array<bool, kListValueFields> values = {true};
  bool accumulated = true;
  bool operator==(const ListColumns&) const = default;
};

// The stored list; the accumulated column only when `with_accumulated`.
std::string ColumnListText(const ListColumns& columns, bool with_accumulated);
// Reads a stored list: the columns it names are visible, the others not; items it does not know
// are skipped.
ListColumns ReadColumnList(std::string_view list);

// A dimension's digit in the list ("1".."9", "A".."G" for indices 0..15), and back (-1 for none).
char DimensionDigit(int dimension);
int DimensionOfDigit(char digit);

}  // namespace jov

namespace jov {

class Database;

// A component as a dimension displays it: the identifiers its display form names (JOV-Code,
// host code, text), those that are not empty, separated by blanks; empty for the dimension's
// root, which lines without a component of the dimension carry.
std::string ComponentDisplayText(const Database& database, int dimension, ComponentRef component);

}  // namespace jov
