#include "analysis/component_functions_options.h"

#include <algorithm>

#include "analysis/component_template.h"
#include "analysis/time_functions_options.h"
#include "files/fields.h"

namespace jov {
namespace {

// The position of the value's first character in `letters`; -1 when it is not one of them.
int LetterIndex(std::string_view letters, std::string_view value) {
  if (value.empty()) return -1;
  const size_t at = letters.find(value[0]);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

void ReadSortLine(std::string_view value, ComponentFunctionsOptions& options) {
  Fields fields;
  fields.Split(value);
  if (const int order = LetterIndex(kSortLetters, fields[0]); order >= 0) {
    options.sort = static_cast<ComponentSort>(order);
  }
  options.sort_column = fields[1];
}

bool ReadZLine(std::string_view line, ComponentFunctionsOptions& options) {
  switch (line.size() > 1 ? line[1] : '\0') {
    case 'I':
      options.include_sublevels = true;
      return true;
    case 'V':
      options.vertical_grid = true;
      return true;
    case 'X':
      options.expansion = ValueAfterKey(line, 2);
      return true;
    default:
      return false;
  }
}

}  // namespace

std::vector<std::string> ComponentFunctionsOptionLines(
    const ComponentFunctionsOptions& options, const std::array<int, kDimensionCount>* numbers) {
  std::vector<std::string> lines;
  if (options.flat || options.filter != RowFilter::kAll) {
    lines.push_back(StructureLine(options.flat, options.filter));
  }
  if (options.view_dimension != ComponentFunctionsOptions().view_dimension) {
    const int number =
        numbers != nullptr ? (*numbers)[options.view_dimension] : options.view_dimension + 1;
    lines.push_back("PD" + std::to_string(number > 0 ? number : options.view_dimension + 1));
  }
  if (options.label_width >= kMinStoredLabelWidth && options.label_width != kDefaultLabelWidth) {
    lines.push_back("PW" + std::to_string(options.label_width));
  }
  lines.push_back({'R', kIndentationLetters[std::clamp(options.indentation, 0, 2)]});
  if (options.sort != ComponentSort::kNone || !options.sort_column.empty()) {
    lines.push_back(std::string{'S', '\t', kSortLetters[static_cast<int>(options.sort)], '\t'} +
                    options.sort_column);
  }
  if (options.horizontal_grid > 0) {
    lines.push_back("L" + std::to_string(std::min(options.horizontal_grid, 5)));
  }
  if (options.size_factor > 0) {
    lines.push_back({'N', kSizeFactorLetters[std::clamp(options.size_factor, 0, 8)]});
  }
  if (options.include_sublevels) lines.push_back("ZI");
  if (options.vertical_grid) lines.push_back("ZV");
  lines.push_back("ZX" + options.expansion);
  return lines;
}

bool ReadComponentFunctionsOptionLine(std::string_view line, ComponentFunctionsOptions& options) {
  const char key = line.empty() ? '\0' : line[0];
  const char second = line.size() > 1 ? line[1] : '\0';
  switch (key) {
    case 'K':
      ReadStructureValue(ValueAfterKey(line, 1), options.flat, options.filter);
      return true;
    case 'P':
      if (second != 'D' && second != 'W') return false;
      if (const std::optional<int> number = FieldInteger(ValueAfterKey(line, 2))) {
        if (second == 'W') {
          options.label_width = *number;
        } else if (*number >= 1 && *number <= kDimensionCount) {
          options.view_dimension = *number - 1;
        }
      }
      return true;
    case 'R':
      if (const int step = LetterIndex(kIndentationLetters, ValueAfterKey(line, 1)); step >= 0) {
        options.indentation = step;
      }
      return true;
    case 'S':
      ReadSortLine(ValueAfterKey(line, 1), options);
      return true;
    case 'L':
      if (const int grid = LetterIndex("012345", ValueAfterKey(line, 1)); grid >= 0) {
        options.horizontal_grid = grid;
      }
      return true;
    case 'N':
      if (const int factor = LetterIndex(kSizeFactorLetters, ValueAfterKey(line, 1)); factor >= 0) {
        options.size_factor = factor;
      }
      return true;
    case 'Z':
      return ReadZLine(line, options);
    default:
      return false;
  }
}

}  // namespace jov
