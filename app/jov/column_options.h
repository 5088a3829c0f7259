// The options by which the `jov` commands that run analyses with variables and formulas
// (periods, compfunctions) make their columns: --var NAME=MEASURE:FIELD[:EXPR...] and
// --formula NAME=TEXT, each repeatable, read into the analysis's column list here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/function_columns.h"
#include "command.h"

namespace jov {

inline constexpr OptionSpec kVarOption = {"--var", "NAME=MEASURE:FIELD[:EXPR...]",
                                          "a variable; repeatable (see above)"};
inline constexpr OptionSpec kFormulaOption = {
    "--formula", "NAME=TEXT", "a formula over the variables and earlier formulas; repeatable"};

// Whether a word typed on the command line names a shown text: letter case, blanks, dots,
// hyphens and underscores aside ("halfyears" names "Half Years").
bool SameWord(std::string_view typed, std::string_view text);

// How the command line restricts a variable's selection beyond the expressions of its --var.
enum class VariableDates {
  kWhereOnly,  // --where; the analysis has a range of its own
  kFromTo,     // --from, --to and --where
};

struct VariableSettings {
  VariableDates dates = VariableDates::kWhereOnly;
  Accumulation accumulation = Accumulation::kFromStart;
};

// Adds the variable of one --var value (UTF-8): NAME=MEASURE:FIELD[:EXPR...], where the
// expressions restrict dimension 1, 2, ... in turn (an empty one leaves its dimension free) or
// the dimension they name as DIM=EXPR, and MEASURE is count, sum, -sum, product, average,
// geommean, median, maximum, minimum, first or last. Nothing, or what is wrong.
std::optional<std::string> AddVariableOption(std::string_view typed,
                                             const CommandArguments& arguments,
                                             VariableSettings settings, FunctionColumns& columns);

// Adds the formula of one --formula value (UTF-8): NAME=TEXT. Nothing, or what is wrong.
std::optional<std::string> AddFormulaOption(std::string_view typed, FunctionColumns& columns);

}  // namespace jov
