// The options by which the `jov` commands that run analyses choose the cards and lines they
// read: --from and --to (the ends of the selection's date range) and --where DIM=EXPRESSION (a
// component expression for a dimension), which may be repeated. Commands list the options in
// their tables and read them into their analysis's Selection here.
#pragma once

#include <string>
#include <string_view>

#include "command.h"
#include "model/database.h"
#include "select/date_point.h"
#include "select/selection.h"

namespace jov {

inline constexpr OptionSpec kFromOption = {
    "--from", "DATE", "the first day read: 2024-01-01, 2024-03, 2024, 240101, Year-1, a period"};
inline constexpr OptionSpec kToOption = {"--to", "DATE",
                                         "the last day read, written as for --from"};
inline constexpr OptionSpec kWhereOption = {
    "--where", "DIM=EXPR", "only components of DIM (number or name) that EXPR selects; repeatable"};

// The dimension a command line names (UTF-8): its number, 1 to 16, or its singular or plural
// name, ignoring case. -1 for none, and for a dimension the database does not use.
int DimensionNamed(const Database& database, std::string_view name);

// The value field a command line names (UTF-8): its number, from 1, or its name, ignoring case.
// -1 for none.
int ValueFieldNamed(const Database& database, std::string_view text);

// Sets one component expression typed as DIM=EXPRESSION (UTF-8) in the selection. False, with
// `error` saying what is wrong, when the dimension is not found or the expression names a
// component that its dimension does not have.
bool ApplyWhere(std::string_view where, Selection& selection, std::string* error);

// A date as typed on a command line, as a date point reads it: a year of four digits, a month
// (2024-03, 202403) or a day (2024-03-15, 20240315) become their YYMMDD forms (240315); other
// texts (YYMMDD, "Year-1", "Month", the name of a period) stay as they are.
std::string DatePointText(std::string_view typed);

// False, with `error` naming the option, when a date point read from the typed text fell back
// to the first or last card although the text did not ask for it ("File"): a mistyped --from
// must not quietly widen the range to the whole database.
bool NamesADate(std::string_view typed, const DatePoint& point, std::string* error);

// Sets the selection's date range and component expressions from the command line. False, with
// `error` saying what is wrong, when a dimension is not found or an expression names a
// component that its dimension does not have.
bool ApplySelectionOptions(const CommandArguments& arguments, Selection& selection,
                           std::string* error);

}  // namespace jov
