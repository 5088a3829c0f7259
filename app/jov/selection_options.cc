#include "selection_options.h"

#include <charconv>
#include <vector>

#include "model/case_tables.h"
#include "platform/text_encoding.h"
#include "select/date_point.h"

namespace jov {
namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

bool ApplyWhere(std::string_view where, Selection& selection, std::string* error) {
  const size_t equals = where.find('=');
  if (equals == std::string_view::npos) {
    *error = "--where " + std::string(where) + ": give DIM=EXPRESSION";
    return false;
  }
  const std::string_view named = where.substr(0, equals);
  const int dimension = DimensionNamed(selection.database(), named);
  if (dimension < 0) {
    *error = "--where: no dimension is numbered or named '" + std::string(named) + "'";
    return false;
  }
  std::string missing;
  selection.set_chooser([&missing](const Database&, int, std::string_view code) {
    missing = Utf8FromCp1252(code);
    return kNoComponent;
  });
  const std::string expression = Cp1252FromUtf8(where.substr(equals + 1));
  selection.SetComponentExpression(dimension, expression);
  selection.set_chooser({});
  if (selection.RestrictsDimension(dimension) || expression.empty()) return true;
  *error = "--where " + std::string(where) + ": " +
           (missing.empty() ? "the expression does not read"
                            : "no component has the code, host code or text '" + missing + "'");
  return false;
}

bool NamesADate(std::string_view typed, const DatePoint& point, std::string* error) {
  if (!point.IsOpen() || EqualsIgnoringCase(typed, "File")) return true;
  *error = std::string(point.end() == DateEnd::kFrom ? "--from" : "--to") + " " +
           std::string(typed) + ": not a date, a relative period (Year-1) or a period's name";
  return false;
}

int DimensionNamed(const Database& database, std::string_view name) {
  int dimension = -1;
  if (AllDigits(name)) {
    int number = 0;
    std::from_chars(name.data(), name.data() + name.size(), number);
    if (number >= 1 && number <= kDimensionCount) dimension = number - 1;
  } else {
    dimension = database.FindDimension(Cp1252FromUtf8(name));
  }
  return dimension >= 0 && database.IsDimensionUsed(dimension) ? dimension : -1;
}

int ValueFieldNamed(const Database& database, std::string_view text) {
  const int count = database.value_field_count();
  if (AllDigits(text)) {
    const int number = text.size() <= 2 ? std::stoi(std::string(text)) : 0;
    return number >= 1 && number <= count ? number - 1 : -1;
  }
  const std::string name = Cp1252FromUtf8(text);
  for (int field = 0; field < count; ++field) {
    if (EqualsIgnoringCase(database.GetName(name_id::kFirstValueField + field), name)) return field;
  }
  return -1;
}

std::string DatePointText(std::string_view typed) {
  // One run of 4 or 8 digits, or parts of 4, 2 and 2 digits between dashes. Six digits in a
  // run are the program's own YYMMDD and stay.
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t dash = typed.find('-', start);
    parts.push_back(typed.substr(start, dash == std::string_view::npos ? dash : dash - start));
    if (dash == std::string_view::npos) break;
    start = dash + 1;
  }
  if (parts.size() > 3 || (parts.size() == 1 && parts[0].size() == 6)) return std::string(typed);
  std::string digits;
  for (size_t i = 0; i < parts.size(); ++i) {
    const size_t wanted = parts.size() == 1 ? parts[0].size() : i == 0 ? 4 : 2;
    if (!AllDigits(parts[i]) || parts[i].size() != wanted) return std::string(typed);
    digits.append(parts[i]);
  }
  const bool shaped = digits.size() == 4 || digits.size() == 6 || digits.size() == 8;
  const int year = shaped ? std::stoi(digits.substr(0, 4)) : 0;
  return year >= 1900 && year <= 2099 ? digits.substr(2) : std::string(typed);
}

bool ApplySelectionOptions(const CommandArguments& arguments, Selection& selection,
                           std::string* error) {
  if (const std::optional<std::string> from = arguments.Value(kFromOption.name)) {
    selection.SetFrom(Cp1252FromUtf8(DatePointText(*from)));
    if (!NamesADate(*from, selection.from(), error)) return false;
  }
  if (const std::optional<std::string> to = arguments.Value(kToOption.name)) {
    selection.SetTo(Cp1252FromUtf8(DatePointText(*to)));
    if (!NamesADate(*to, selection.to(), error)) return false;
  }
  for (const std::string& where : arguments.Values(kWhereOption.name)) {
    if (!ApplyWhere(where, selection, error)) return false;
  }
  return true;
}

}  // namespace jov
