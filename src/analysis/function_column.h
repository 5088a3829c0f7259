// What every column of the time and component functions analyses has, whether it is a variable
// (variable.h) or a formula (formula.h): a name by which formulas refer to it, a title, and how
// it is shown in the table and the chart. The colours are indices into a fixed table of 20.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/table.h"

namespace jov {

// How a column is shown.
struct ColumnLook {
  int decimals = 2;    // 0..6, or -1 (thousands) and -2 (millions)
  int colour = 0;      // 0..19; 0 is no colour of its own
  int width = 0;       // pixels; kept only when 16 or more
  int line_width = 1;  // 0..9, of the column's line in the chart
  bool visible = true;
  bool bold = false;
  bool red_green = false;  // values coloured by their sign
  bool operator==(const ColumnLook&) const = default;
};

inline constexpr int kColumnColours = 20;
// The colours of new variables, taken in turn.
inline constexpr int kDefaultColourCycle[10] = {18, 11, 16, 12, 17, 14, 10, 13, 15, 19};

// The letter of a colour in stored display options ('-' for the colours that have none), and
// the colour of a letter (nothing for a letter that names none; '-' is colour 0).
char ColourLetter(int colour);
std::optional<int> ColourOfLetter(char letter);
// The colour as red, green and blue (0..255 each) packed as 0xRRGGBB, for drawing.
uint32_t ColourRgb(int colour);

// The value's table cell, with the look's decimals (shown_value.h): right-aligned, bold and
// coloured by its sign as the look says.
TableCell ColumnValueCell(double value, const ColumnLook& look);

class FunctionColumn {
 public:
  enum class Kind : uint8_t { kVariable, kFormula };

  virtual ~FunctionColumn() = default;
  FunctionColumn(const FunctionColumn&) = delete;
  FunctionColumn& operator=(const FunctionColumn&) = delete;

  Kind kind() const { return kind_; }
  bool is_variable() const { return kind_ == Kind::kVariable; }
  // Unique within the analysis, compared exactly. Changed through the analysis's column list,
  // which rewrites the formulas that use it (function_columns.h).
  const std::string& name() const { return name_; }
  // The column's entry in the analysis's name table (1 and up; entry 0 is "T").
  int name_index() const { return name_index_; }
  // The title shown above the column: the title, or the name when there is none.
  const std::string& ShownTitle() const { return title.empty() ? name_ : title; }

  std::string title;
  ColumnLook look;

 protected:
  FunctionColumn(Kind kind, std::string_view name) : kind_(kind), name_(name) {}

 private:
  friend class FunctionColumns;

  Kind kind_;
  std::string name_;
  int name_index_ = 0;
};

}  // namespace jov
