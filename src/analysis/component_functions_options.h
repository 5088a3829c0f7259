// The settings of a component functions analysis beside its columns: the dimension whose
// components form the rows, how rows are listed, filtered and sorted, and how the table and the
// chart look. Templates store them before the columns' lines (column_lines.h), one a line:
//
//   K \t s f           "F" flat or "H" hierarchical, then "A" all, "U" in use or "Z" non-zero,
//                      when either is not the default (hierarchical, all)
//   PD n               the view dimension's number, when not the second
//   PW n               the width of the row labels, when 24 or more and not the default 136
//   R c                indentation step, one of "FSD"
//   S \t o \t name     sort order (one of "-DEFCBA") and the sort column's name, when sorting
//                      or a column is named
//   L d                horizontal grid lines: 0 none, 1 every line, 2 every other, 3 every
//                      third, 4 every fifth, 5 every tenth; when not 0
//   N c                the size factor, one of "1A2345BCD" (1.0 1.2 1.5 2.0 2.5 3.0 4.0 5.0
//                      6.0); when not 1.0
//   ZI                 every row shows its subtree's values, expanded or not
//   ZV                 vertical grid lines between the columns
//   ZX text            the expansion text (component_rows.h)
//
// Lines are read in any order; values out of range or not in their code strings are ignored.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/component_options.h"
#include "model/component.h"

namespace jov {

// The size factors of the table's text, and their letters in templates.
inline constexpr std::array<double, 9> kSizeFactors = {1.0, 1.2, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
inline constexpr std::string_view kSizeFactorLetters = "1A2345BCD";
// Horizontal grid lines: none, every line, every other, third, fifth, tenth.
inline constexpr int kHorizontalGridChoices = 6;
// The width of the row labels when none is stored.
inline constexpr int kDefaultLabelWidth = 136;

struct ComponentFunctionsOptions {
  int view_dimension = 1;  // index 0..15
  bool flat = false;
  RowFilter filter = RowFilter::kAll;
  ComponentSort sort = ComponentSort::kNone;
  std::string sort_column;  // the name of the column whose values order the rows
  int label_width = 0;      // pixels; 0 (or below 24) for the default
  int indentation = 1;      // 0..2: the indentation step per level
  int horizontal_grid = 0;  // 0..kHorizontalGridChoices - 1
  bool vertical_grid = false;
  int size_factor = 0;  // index into kSizeFactors
  // Every row shows its subtree's values, as a collapsed row does.
  bool include_sublevels = false;
  // Which rows are expanded, as stored (see component_rows.h); empty: only the root.
  std::string expansion;

  bool operator==(const ComponentFunctionsOptions&) const = default;
};

// The options' template lines; `numbers` numbers the dimensions as the file written does (null:
// index + 1).
std::vector<std::string> ComponentFunctionsOptionLines(
    const ComponentFunctionsOptions& options,
    const std::array<int, kDimensionCount>* numbers = nullptr);

// Reads one line into the options; false for a line that is not one of theirs.
bool ReadComponentFunctionsOptionLine(std::string_view line, ComponentFunctionsOptions& options);

}  // namespace jov
