// jov cards: the card analysis without a window: the cards a selection takes, with their groups
// and lines below them as the data contents say, like a register of vouchers.
#include "analysis/card_analysis.h"
#include "analysis_command.h"
#include "commands.h"
#include "selection_options.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    kFromOption,
    kToOption,
    kWhereOption,
    {"--groups", "WHICH", "the groups below each card: none, selected (default) or all"},
    {"--lines", "WHICH", "the lines below each group: none, selected (default) or all"},
    {"--format", "FORMAT", "text, html or xml (default: by the extension of --output, else text)"},
    {"--output", "FILE", "write the table to FILE instead of the terminal"},
    kPasswordOption,
};

std::optional<DataContents> ContentsNamed(std::string_view name) {
  if (name == "none") return DataContents::kNone;
  if (name == "selected") return DataContents::kSelected;
  if (name == "all") return DataContents::kAll;
  return std::nullopt;
}

// Sets the analysis from the command line; a usage error's text when an option is wrong.
std::optional<std::string> Configure(const CommandArguments& arguments, CardAnalysis& analysis) {
  CardAnalysisOptions& options = analysis.options();
  for (const auto& [option, contents] :
       {std::pair{"--groups", &options.groups}, std::pair{"--lines", &options.lines}}) {
    const std::optional<std::string> name = arguments.Value(option);
    if (!name) continue;
    const std::optional<DataContents> chosen = ContentsNamed(*name);
    if (!chosen) return std::string(option) + " is none, selected or all";
    *contents = *chosen;
  }
  Database& db = analysis.database();
  options.columns.values.fill(false);
  for (int k = 0; k < db.value_field_count(); ++k) options.columns.values[k] = true;
  options.columns.dimensions.fill(true);  // the dimensions the database uses
  std::string error;
  if (!ApplySelectionOptions(arguments, analysis.selection(), &error)) return error;
  analysis.set_title(KindName(AnalysisKind::kCards));
  ExportSettings& settings = analysis.export_settings();
  settings.include_title = settings.include_definition = settings.include_column_titles = true;
  settings.include_data_rows = true;
  return std::nullopt;
}

int RunCards(const CommandArguments& arguments) {
  return RunAnalysisCommand<CardAnalysis>(arguments, &Configure);
}

}  // namespace

const Command kCardsCommand = {
    "cards",
    "list the cards of a selection with their groups and lines (a register of vouchers)",
    "jov cards [--from DATE] [--to DATE] [--where DIM=EXPR ...] [--groups WHICH]\n"
    "          [--lines WHICH] [--format text|html|xml] [--output FILE] [--password PW] FILE",
    "Runs the card analysis on the database: every card from --from through --to that has a\n"
    "line the --where expressions admit (in a group whose first-dimension component they\n"
    "admit), with its identifier and title; below it its groups (the first dimension's\n"
    "component) and below each group its lines (the other components, the line text and the\n"
    "values). --groups and --lines choose which: none, the selected ones (those with a line\n"
    "the selection takes, and those lines), or all. Lines are listed only below groups.\n",
    kOptions,
    RunCards,
};

}  // namespace jov
