#include "column_options.h"

#include <cctype>
#include <vector>

#include "model/database.h"
#include "platform/text_encoding.h"
#include "selection_options.h"
#include "shell/messages.h"

namespace jov {
namespace {

// "sum", "-sum", "average", "geommean", "median", "maximum" ... or the measure's letter.
std::optional<Measure> MeasureNamed(std::string_view typed) {
  if (typed == "-sum" || typed == "-Sum") return Measure::kNegativeSum;
  for (int m = 0; m < kMeasureCount; ++m) {
    const auto measure = static_cast<Measure>(m);
    if (measure == Measure::kNegativeSum) continue;
    if (SameWord(typed, MessageText(MeasureMessage(measure)))) return measure;
  }
  if (typed == "max") return Measure::kMaximum;
  if (typed == "min") return Measure::kMinimum;
  return typed.size() == 1 ? MeasureOfLetter(typed[0]) : std::nullopt;
}

// The parts of `text` between colons.
std::vector<std::string_view> Parts(std::string_view text) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t colon = text.find(':', start);
    parts.push_back(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
    if (colon == std::string_view::npos) return parts;
    start = colon + 1;
  }
}

// Applies the expressions of a --var (the parts after the field) and the command line's own
// restrictions to the variable's selection.
std::optional<std::string> Restrict(const std::vector<std::string_view>& parts,
                                    const CommandArguments& arguments, VariableDates dates,
                                    Selection& selection, const std::string& prefix) {
  std::string error;
  for (size_t i = 2; i < parts.size(); ++i) {
    const std::string where = parts[i].find('=') != std::string_view::npos || parts[i].empty()
                                  ? std::string(parts[i])
                                  : std::to_string(i - 1) + "=" + std::string(parts[i]);
    if (!where.empty() && !ApplyWhere(where, selection, &error)) return prefix + error;
  }
  if (dates == VariableDates::kFromTo) {
    if (!ApplySelectionOptions(arguments, selection, &error)) return error;
    return std::nullopt;
  }
  for (const std::string& where : arguments.Values(kWhereOption.name)) {
    if (!ApplyWhere(where, selection, &error)) return error;
  }
  return std::nullopt;
}

}  // namespace

bool SameWord(std::string_view typed, std::string_view text) {
  const auto folded = [](std::string_view word) {
    std::string letters;
    for (const char c : word) {
      if (c != ' ' && c != '.' && c != '-' && c != '_') {
        letters += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      }
    }
    return letters;
  };
  const std::string letters = folded(typed);
  return !letters.empty() && letters == folded(text);
}

std::optional<std::string> AddVariableOption(std::string_view typed,
                                             const CommandArguments& arguments,
                                             VariableSettings settings, FunctionColumns& columns) {
  const std::string prefix = "--var " + std::string(typed) + ": ";
  const size_t equals = typed.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    return prefix + "give NAME=MEASURE:FIELD[:EXPRESSION...]";
  }
  const std::string name = Cp1252FromUtf8(typed.substr(0, equals));
  if (!columns.NameIsFree(name)) return prefix + "the name is taken";
  const std::vector<std::string_view> parts = Parts(typed.substr(equals + 1));
  const std::optional<Measure> measure = MeasureNamed(parts[0]);
  if (!measure) {
    return prefix + "the measure is count, sum, -sum, product, average, geommean, median, " +
           "maximum, minimum, first or last";
  }
  const Database& db = columns.database();
  const int field = parts.size() > 1 && !parts[1].empty() ? ValueFieldNamed(db, parts[1]) : 0;
  if (field < 0) {
    return prefix + "no value field is numbered or named '" + std::string(parts[1]) + "'";
  }
  Variable& variable = *columns.AddVariable(name);
  variable.measure = *measure;
  variable.value_field = field;
  variable.accumulation = settings.accumulation;
  if (*measure == Measure::kCount) variable.look.decimals = 0;  // counts are whole
  return Restrict(parts, arguments, settings.dates, variable.selection(), prefix);
}

std::optional<std::string> AddFormulaOption(std::string_view typed, FunctionColumns& columns) {
  const size_t equals = typed.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    return "--formula " + std::string(typed) + ": give NAME=TEXT";
  }
  const std::string name = Cp1252FromUtf8(typed.substr(0, equals));
  if (!columns.NameIsFree(name)) return "--formula " + std::string(typed) + ": the name is taken";
  columns.SetText(*columns.AddFormula(name), Cp1252FromUtf8(typed.substr(equals + 1)));
  return std::nullopt;
}

}  // namespace jov
