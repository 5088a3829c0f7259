// jov periods: the time functions analysis without a window, its variables and formulas from the
// command line: a periodic report (sales per month, the margin as a formula) in one line.
#include <cctype>

#include "analysis/time_functions.h"
#include "analysis/time_scale_list.h"
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
    {"--var", "NAME=MEASURE:FIELD[:EXPR...]", "a variable; repeatable (see above)"},
    {"--formula", "NAME=TEXT", "a formula over the variables and earlier formulas; repeatable"},
    {"--cumulative", "", "variables accumulate from the first card instead of per period"},
    kWhereOption,
    {"--titles", "", "label the rows of active cards with the cards' titles"},
    {"--format", "FORMAT", "text, html or xml (default: by the extension of --output, else text)"},
    {"--output", "FILE", "write the table to FILE instead of the terminal"},
    kPasswordOption,
};

// A name typed on the command line against a shown text: letter case, blanks and dots aside.
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

// NAME=MEASURE:FIELD[:EXPR...]: the expressions restrict dimension 1, 2, ... in turn (an empty
// one leaves its dimension free), or the dimension they name as DIM=EXPR.
std::optional<std::string> AddVariable(std::string_view typed, const CommandArguments& arguments,
                                       TimeFunctionsAnalysis& analysis) {
  const std::string prefix = "--var " + std::string(typed) + ": ";
  const size_t equals = typed.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    return prefix + "give NAME=MEASURE:FIELD[:EXPRESSION...]";
  }
  FunctionColumns& columns = analysis.columns();
  const std::string name = Cp1252FromUtf8(typed.substr(0, equals));
  if (!columns.NameIsFree(name)) return prefix + "the name is taken";
  const std::vector<std::string_view> parts = Parts(typed.substr(equals + 1));
  const std::optional<Measure> measure = MeasureNamed(parts[0]);
  if (!measure) {
    return prefix + "the measure is count, sum, -sum, product, average, geommean, median, " +
           "maximum, minimum, first or last";
  }
  Database& db = analysis.database();
  const int field = parts.size() > 1 && !parts[1].empty() ? ValueFieldNamed(db, parts[1]) : 0;
  if (field < 0)
    return prefix + "no value field is numbered or named '" + std::string(parts[1]) + "'";
  Variable& variable = *columns.AddVariable(name);
  variable.measure = *measure;
  variable.value_field = field;
  variable.accumulation =
      arguments.Has("--cumulative") ? Accumulation::kFromStart : Accumulation::kByPeriod;
  std::string error;
  for (size_t i = 2; i < parts.size(); ++i) {
    const std::string where = parts[i].find('=') != std::string_view::npos || parts[i].empty()
                                  ? std::string(parts[i])
                                  : std::to_string(i - 1) + "=" + std::string(parts[i]);
    if (!where.empty() && !ApplyWhere(where, variable.selection(), &error)) return prefix + error;
  }
  for (const std::string& where : arguments.Values(kWhereOption.name)) {
    if (!ApplyWhere(where, variable.selection(), &error)) return error;
  }
  return std::nullopt;
}

std::optional<std::string> AddFormula(std::string_view typed, TimeFunctionsAnalysis& analysis) {
  const size_t equals = typed.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    return "--formula " + std::string(typed) + ": give NAME=TEXT";
  }
  FunctionColumns& columns = analysis.columns();
  const std::string name = Cp1252FromUtf8(typed.substr(0, equals));
  if (!columns.NameIsFree(name)) return "--formula " + std::string(typed) + ": the name is taken";
  columns.SetText(*columns.AddFormula(name), Cp1252FromUtf8(typed.substr(equals + 1)));
  return std::nullopt;
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
  for (const std::string& var : arguments.Values("--var")) {
    if (auto error = AddVariable(var, arguments, analysis)) return error;
  }
  for (const std::string& formula : arguments.Values("--formula")) {
    if (auto error = AddFormula(formula, analysis)) return error;
  }
  ExportSettings& settings = analysis.export_settings();
  settings.format = format;
  settings.include_title = settings.include_definition = settings.include_column_titles = true;
  settings.include_header_rows = settings.include_data_rows = true;
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
