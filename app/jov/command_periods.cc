// jov periods: the time functions analysis without a window, its variables and formulas from the
// command line: a periodic report (sales per month, the margin as a formula) in one line.
#include "analysis/time_functions.h"
#include "analysis/time_scale_list.h"
#include "column_options.h"
#include "commands.h"
#include "platform/text_encoding.h"
#include "select/date_point.h"
#include "selection_options.h"
#include "session.h"
#include "shell/messages.h"
#include "table_output.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--by", "PERIODS",
     "years, quarters, months, weeks, days ... or a time scale (default: months)"},
    {"--from", "DATE",
     "the range's first day: 2024-01-01, 2024-03, 2024, 240101, Year-1, a period"},
    {"--to", "DATE", "the range's last day, written as for --from"},
    kVarOption,
    kFormulaOption,
    {"--cumulative", "", "variables accumulate from the first card instead of per period"},
    kWhereOption,
    {"--titles", "", "label the rows of active cards with the cards' titles"},
    {"--format", "FORMAT", "text, html or xml (default: by the extension of --output, else text)"},
    {"--output", "FILE", "write the table to FILE instead of the terminal"},
    kPasswordOption,
};

// "months", "Half Years", "activecards", "cards", ... or the name of a time scale.
bool ReadPeriods(Database& db, std::string_view typed, TimeFunctionsOptions& options) {
  for (int k = 0; k < kPeriodKindCount - 1; ++k) {
    const auto kind = static_cast<PeriodKind>(k);
    const std::string text = MessageText(PeriodKindMessage(kind));
    const bool active_short =
        IsActiveKind(kind) && SameWord(typed, std::string_view(text).substr(text.find(' ') + 1));
    if (SameWord(typed, text) || active_short) {
      options.period_kind = kind;
      return true;
    }
  }
  const std::string name = Cp1252FromUtf8(typed);
  const TimeScale* scale = TimeScaleList::Of(db).Find(name);
  if (scale == nullptr) return false;
  options.period_kind = PeriodKind::kTimeScale;
  options.time_scale = scale->name();
  return true;
}

// The range: --from and --to as date points, by default the first card to the last.
std::optional<std::string> ReadRange(const CommandArguments& arguments,
                                     TimeFunctionsAnalysis& analysis) {
  const DateContext context = TodayIn(analysis.database());
  DatePoint from(DateEnd::kFrom);
  DatePoint to(DateEnd::kTo);
  std::string error;
  for (DatePoint* point : {&from, &to}) {
    const std::string typed = arguments.Value(point == &from ? "--from" : "--to").value_or("");
    point->Read(Cp1252FromUtf8(DatePointText(typed)), context);
    if (!typed.empty() && !NamesADate(typed, *point, &error)) return error;
  }
  analysis.options().SetRange(from.date().day, to.date().day);
  return std::nullopt;
}

std::optional<std::string> Configure(const CommandArguments& arguments,
                                     TimeFunctionsAnalysis& analysis, ExportFormat format) {
  Database& db = analysis.database();
  TimeFunctionsOptions& options = analysis.options();
  options.period_kind = PeriodKind::kMonths;
  if (const std::optional<std::string> by = arguments.Value("--by")) {
    if (!ReadPeriods(db, *by, options)) {
      return "--by names no period kind (years, halfyears, tertials, quarters, twomonths, "
             "months, halfmonths, fourweeks, threeweeks, twoweeks, weeks, days, activedays, "
             "cards, groups, lines) and no time scale of the database";
    }
  }
  if (auto error = ReadRange(arguments, analysis)) return error;
  options.show_card_titles = arguments.Has("--titles");
  const Accumulation accumulation =
      arguments.Has("--cumulative") ? Accumulation::kFromStart : Accumulation::kByPeriod;
  for (const std::string& var : arguments.Values(kVarOption.name)) {
    if (auto error = AddVariableOption(var, arguments, {VariableDates::kWhereOnly, accumulation},
                                       analysis.columns())) {
      return error;
    }
  }
  for (const std::string& formula : arguments.Values(kFormulaOption.name)) {
    if (auto error = AddFormulaOption(formula, analysis.columns())) return error;
  }
  ExportWholeReport(analysis.export_settings(), format);
  return std::nullopt;
}

int RunPeriods(const CommandArguments& arguments) {
  if (arguments.operands().size() != 1) return arguments.UsageError("give one database file");
  if (arguments.Values("--var").empty()) {
    return arguments.UsageError("give at least one variable with --var");
  }
  const std::optional<std::string> output = arguments.Value("--output");
  const std::optional<ExportFormat> format = ChosenFormat(arguments, output, ExportFormat::kText);
  if (!format) return arguments.UsageError("the format is text, html or xml");
  Session session;
  int status = kExitSuccess;
  Database* db = session.OpenFirstOperand(arguments, status);
  if (db == nullptr) return status;
  TimeFunctionsAnalysis analysis(*db);
  analysis.columns().Clear();
  if (const std::optional<std::string> error = Configure(arguments, analysis, *format)) {
    return arguments.UsageError(*error);
  }
  if (!analysis.Calculate()) return kExitFailed;
  return session.Status(WriteTableOut(analysis, output));
}

}  // namespace

const Command kPeriodsCommand = {
    "periods",
    "measure variables per period of a date range, with formulas over them (a periodic report)",
    "jov periods [--by PERIODS] [--from DATE] [--to DATE] --var NAME=MEASURE:FIELD[:EXPR...] ...\n"
    "            [--formula NAME=TEXT ...] [--cumulative] [--where DIM=EXPR ...] [--titles]\n"
    "            [--format text|html|xml] [--output FILE] [--password PW] FILE",
    "Runs the time functions analysis on the database: a row for everything before the range,\n"
    "then a row per period of the range up to the last period with data, and a column per\n"
    "variable and formula.\n"
    "\n"
    "A variable --var NAME=MEASURE:FIELD[:EXPR...] measures the value field FIELD (number or\n"
    "name; empty for the first) of the lines it reads with MEASURE: count, sum, -sum, product,\n"
    "average, geommean, median, maximum, minimum, first or last. Each EXPR is a component\n"
    "expression for dimension 1, 2, ... in turn (\"3\", \"3000_3999\", \"\xC2\xAC"
    "4\"), or DIM=EXPR for a\n"
    "named one; --where DIM=EXPR restricts every variable. Variables measure each period\n"
    "apart, or with --cumulative everything from the first card to the period's end.\n"
    "A formula --formula NAME=TEXT computes a column from the variables and formulas by their\n"
    "names (\"sales - cost\", \"margin / sales * 100\"); T is the time from the start in years.\n"
    "\n"
    "--by divides the range into years, halfyears, tertials, quarters, twomonths, months,\n"
    "halfmonths, fourweeks, threeweeks, twoweeks, weeks or days, into the active days, cards,\n"
    "groups or lines that carry data, or into the periods of a time scale of the database.\n"
    "--from and --to bound the range (by default the first card to the last).\n",
    kOptions,
    RunPeriods,
};

}  // namespace jov
