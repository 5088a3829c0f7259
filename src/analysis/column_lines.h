// The stored form of the columns of a functions analysis: their lines in analysis templates, and
// the same lines in the blocks by which columns are copied and pasted as text.
//
//   VN \t name \t title   starts a variable (or takes up the existing variable of that name)
//   V + selection tag     the variable's selection (selection.h: VC, VD1, VY, VL, VVA, VS)
//   VF letter             the value field ("A" the first)
//   VM m a                measure letter of "CSsPAGDMNFL", accumulation "P" (By Period) or "A"
//                         (From Start); written when not Sum from start
//   VT \t text            the time shift ("Y+", "+2M"); written when there is one
//   VZ \t fields          display options (below)
//   V-                    removes the current variable
//   FN \t name \t title   starts a formula (or takes up the existing formula of that name)
//   FF \t text            the formula text
//   FD letter             the operation by time, of "xIDMQ"; written when not None
//   FG letter             the graph style, of "-LB"
//   FS letter             the higher level values of component functions: "L" the sum of the
//                         lower levels' values; written when not "F" (according to formula)
//   FZ \t fields          display options
//   F-                    removes the current formula
//
// Display options are tab-separated fields: "D" and the decimals (one of "MT0123456"), "C" and
// the colour letter, "W" and the width (when 16 or more), "w" and the line width digit, then
// "V", "B" and "R" each followed by "+" or "-" (visible, bold, red/green).
//
// A copied variable is the block "## Selection", tab, name, tab, title, then its selection and
// VF, VM, VT and VZ lines; a copied formula "## Formula", tab, name, tab, title, then its FF, FD,
// FG, FS and FZ lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/function_columns.h"
#include "model/component.h"

namespace jov {

// Format dates (YYYYMMDD) of files whose column lines meant other things: display options of an
// older layout before the first, variables By Period unless stated from the first to the second.
inline constexpr uint32_t kColumnDisplayDate = 19970417;
inline constexpr uint32_t kAccumulationDate = 19970626;

// The lines of every column, in column order. `numbers` numbers the dimensions as the file
// written does (null: index + 1).
std::vector<std::string> ColumnLines(const FunctionColumns& columns,
                                     const std::array<int, kDimensionCount>* numbers = nullptr);

// Reads column lines into a column list, keeping the column they are about.
class ColumnLinesReader {
 public:
  // `format_date` is the date of the format of the file being read.
  ColumnLinesReader(FunctionColumns& columns, uint32_t format_date);

  // Reads one line; false for a line that is not a column line.
  bool ReadLine(std::string_view line);

  // Makes the lines that follow about a new column of `kind`, named `name` or, when that is
  // taken, a free name made from it. False when no column can be added.
  bool Start(FunctionColumn::Kind kind, std::string_view name, std::string_view title);
  // Makes them about the column at `index`, returned to its kind's defaults and given `name`
  // (or a free name made from it) and `title`.
  bool Replace(size_t index, std::string_view name, std::string_view title);

  // The column the lines are about; null before the first and after a removal.
  FunctionColumn* current() const { return current_; }

 private:
  // "VN" and "FN": takes up the column of that name and kind, or starts a new one.
  void StartColumn(std::string_view line, FunctionColumn::Kind kind);
  void ReadVariableLine(Variable& variable, std::string_view line);
  void ReadFormulaLine(Formula& formula, std::string_view line);
  void RemoveCurrent();

  FunctionColumns& columns_;
  bool older_display_;
  bool by_period_;
  FunctionColumn* current_ = nullptr;
};

// The blocks of the columns at `indices`, lines joined by CR LF.
std::string CopyColumns(const FunctionColumns& columns, const std::vector<size_t>& indices);

// Adds a column for each block of `text`, in order. When `selected` is a column, the first block
// of its kind replaces it, with the block's name. Returns the number of columns made or
// replaced; lines outside blocks are ignored.
int PasteColumns(FunctionColumns& columns, std::string_view text, int selected = -1);

}  // namespace jov
