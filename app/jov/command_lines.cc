// jov lines: the line analysis without a window, its settings from the command line: a ledger
// of the lines a selection takes, with a running balance and the summary rows above it.
#include <cmath>
#include <cstdlib>
#include <string>

#include "analysis/line_analysis.h"
#include "analysis_command.h"
#include "commands.h"
#include "selection_options.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    kFromOption,
    kToOption,
    kWhereOption,
    {"--summary", "LETTERS",
     "summary rows, of B+-PFMmAE#CTR: Before, Positive, Negative, Period, After, Maximum, "
     "Minimum, Average, Median, lines (#), Cards, Turnover Time, Turnover Rate"},
    {"--interest", "R+,R-", "interest in percent per year on positive and negative balances"},
    {"--compound", "", "compound the interest by the day instead of linear interest"},
    {"--balance", "FIELD", "the value field whose running balance is shown (default: the first)"},
    {"--first-line", "", "show a card's identifier and title on its first line only"},
    {"--format", "FORMAT", "text, html or xml (default: by the extension of --output, else text)"},
    {"--output", "FILE", "write the table to FILE instead of the terminal"},
    kPasswordOption,
};

// Reads "R+,R-" (either may be left out: ",3" is 3 % on negative balances only).
bool ReadRates(std::string_view text, LineAnalysisOptions& options) {
  const size_t comma = text.find(',');
  const std::string_view positive = text.substr(0, comma);
  const std::string_view negative =
      comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  const auto read = [](std::string_view typed, double& rate) {
    if (typed.empty()) return true;
    const std::string digits(typed);
    char* end = nullptr;
    rate = std::strtod(digits.c_str(), &end);
    return end == digits.c_str() + digits.size() && std::isfinite(rate);
  };
  return read(positive, options.positive_rate) && read(negative, options.negative_rate);
}

// Sets the analysis from the command line; a usage error's text when an option is wrong.
std::optional<std::string> Configure(const CommandArguments& arguments, LineAnalysis& analysis) {
  Database& db = analysis.database();
  LineAnalysisOptions& options = analysis.options();
  options.SetSummaryLetters("");
  if (const std::optional<std::string> letters = arguments.Value("--summary")) {
    if (!options.SetSummaryLetters(*letters)) return "--summary takes letters of B+-PFMmAE#CTR";
  }
  if (const std::optional<std::string> rates = arguments.Value("--interest")) {
    if (!ReadRates(*rates, options)) return "--interest takes two rates in percent: R+,R-";
  }
  if (arguments.Has("--compound")) options.calculation = InterestCalculation::kExponential;
  if (const std::optional<std::string> field = arguments.Value("--balance")) {
    options.accumulated_field = ValueFieldNamed(db, *field);
    if (options.accumulated_field < 0) return "--balance names no value field of the database";
  }
  options.card_info_every_line = !arguments.Has("--first-line");
  options.columns.values.fill(false);
  for (int k = 0; k < db.value_field_count(); ++k) options.columns.values[k] = true;
  options.columns.dimensions.fill(true);  // the dimensions the database uses
  std::string error;
  if (!ApplySelectionOptions(arguments, analysis.selection(), &error)) return error;
  analysis.set_title(KindName(AnalysisKind::kLines));
  ExportSettings& settings = analysis.export_settings();
  settings.include_title = settings.include_definition = settings.include_column_titles = true;
  settings.include_header_rows = settings.include_data_rows = true;
  return std::nullopt;
}

int RunLines(const CommandArguments& arguments) {
  return RunAnalysisCommand<LineAnalysis>(arguments, &Configure);
}

}  // namespace

const Command kLinesCommand = {
    "lines",
    "list the lines of a selection with a running balance and summary rows (a ledger)",
    "jov lines [--from DATE] [--to DATE] [--where DIM=EXPR ...] [--summary LETTERS]\n"
    "          [--interest R+,R-] [--compound] [--balance FIELD] [--first-line]\n"
    "          [--format text|html|xml] [--output FILE] [--password PW] FILE",
    "Runs the line analysis on the database: every line of the cards from --from through --to\n"
    "that the --where expressions admit, in date order, with the card's identifier and title,\n"
    "the line's components, its text, its values and the running balance of a value field\n"
    "(--balance). Above the lines stand the summary rows that --summary asks for:\n"
    "  B Sum Before, + Positive, - Negative, P Period, F Sum After, M Maximum, m Minimum,\n"
    "  A Average, E Median, # Number of Lines, C Number of Cards, T Turnover Time (days),\n"
    "  R Turnover Rate (per year).\n"
    "With B the balance starts from the sum of the lines before --from; without it, from 0.\n"
    "--interest R+,R- adds the interest on positive and negative balances at those yearly\n"
    "rates in percent, by the day, linear unless --compound is given.\n",
    kOptions,
    RunLines,
};

}  // namespace jov
