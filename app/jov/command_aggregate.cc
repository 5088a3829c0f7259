// jov aggregate: condenses the lines of a database (or of a subset, a date range and component
// expressions) into summary cards, one per period, and saves the result.
#include <iostream>

#include "analysis/aggregate.h"
#include "commands.h"
#include "platform/text_encoding.h"
#include "rewrite_target.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--by", "RESOLUTION",
     "onecard, years, halfyears, tertials, quarters, 2months, months, halfmonths, 4weeks, "
     "3weeks, 2weeks, weeks, days or cards"},
    {"--time-scale", "NAME", "one card per period of the database's time scale NAME"},
    {"--date", "DATE", "the date of the one card of --by onecard (default: the first card)"},
    {"--title", "TEXT", "the title of the summary cards"},
    {"--period-names", "", "end each title with the period's name (the default)"},
    {"--no-period-names", "", "titles without the period's name"},
    {"--duplicate", "", "keep the source lines"},
    {"--keep-zero-lines", "", "keep summary lines whose sums are all zero"},
    kSubsetOption,
    kFromOption,
    kToOption,
    kWhereOption,
    kOutOption,
    kSaveOption,
    kSignatureOption,
    kPasswordOption,
    {"--force", "", "write even when reading DB lost data"},
};

// The command line as the option tokens of the script command.
std::vector<std::string> Tokens(const CommandArguments& arguments) {
  std::vector<std::string> tokens;
  if (const std::optional<std::string> by = arguments.Value("--by")) tokens.push_back("-" + *by);
  if (const std::optional<std::string> date = arguments.Value("--date")) {
    tokens.insert(tokens.end(), {"-onecard", DatePointText(*date)});
  }
  if (const std::optional<std::string> scale = arguments.Value("--time-scale")) {
    tokens.insert(tokens.end(), {"-timescale", Cp1252FromUtf8(*scale)});
  }
  if (const std::optional<std::string> title = arguments.Value("--title")) {
    tokens.insert(tokens.end(), {"-title", Cp1252FromUtf8(*title)});
  }
  const std::pair<std::string_view, std::string_view> switches[] = {
      {"--period-names", "-periodnames"},
      {"--no-period-names", "-noperiodnames"},
      {"--duplicate", "-duplicate"},
      {"--keep-zero-lines", "-keepzerolines"}};
  for (const auto& [option, token] : switches) {
    if (arguments.Has(option)) tokens.emplace_back(token);
  }
  return tokens;
}

int RunAggregate(const CommandArguments& arguments) {
  const int resolutions = arguments.Has("--by") + arguments.Has("--time-scale");
  if (resolutions != 1) return arguments.UsageError("give --by RESOLUTION or --time-scale NAME");
  if (arguments.Has("--date") && arguments.Value("--by") != "onecard") {
    return arguments.UsageError("--date is the date of --by onecard");
  }
  Session session;
  RewriteTarget target(arguments, session);
  if (target.status) return *target.status;
  AggregateSettings settings;
  const std::vector<std::string> rejected =
      ApplyAggregateOptions(settings, target.database(), Tokens(arguments));
  if (!rejected.empty()) {
    const bool scale = arguments.Has("--time-scale");
    return arguments.UsageError(scale ? "the database has no time scale \"" +
                                            Utf8FromCp1252(rejected.front()) + "\""
                                      : "unknown resolution \"" + *arguments.Value("--by") + "\"");
  }
  AggregateResult result;
  if (!Aggregate(target.database(), target.window(), settings, &result)) {
    if (!Interrupted()) std::cerr << "jov aggregate: no lines were aggregated; nothing saved\n";
    return kExitFailed;
  }
  std::cout << "aggregated " << result.source_lines << " lines into " << result.lines_made
            << " lines on " << result.cards_made << " new cards\n";
  return target.Save();
}

}  // namespace

const Command kAggregateCommand = {
    "aggregate",
    "condense the lines of a database into one summary card per period",
    "jov aggregate (--by RESOLUTION | --time-scale NAME) [--date DATE] [--title TEXT]\n"
    "              [--period-names|--no-period-names] [--duplicate] [--keep-zero-lines]\n"
    "              [--subset NAME] [--from DATE] [--to DATE] [--where DIM=EXPR]...\n"
    "              [--signature S] [--password PW] [--force] (--out OUT | --save) DB",
    "Condenses the lines of DB into summary cards: one per calendar period of RESOLUTION\n"
    "(months, quarters, weeks ...), one per period of a time scale of the database, one card\n"
    "in all (onecard, dated --date), or within each card (cards). Lines with the same\n"
    "components are summed into one line; summary lines whose sums are all zero are left out\n"
    "unless --keep-zero-lines is given. The source lines go, unless --duplicate keeps them, and\n"
    "the cards they leave are stamped as changed with your signature (--signature, else the\n"
    "preferences, else you are asked).\n"
    "\n"
    "Every line is aggregated unless --subset, --from, --to or --where narrow them. A summary\n"
    "card is dated at the start of its period and titled TEXT, followed by the period's name\n"
    "(2024, 2401-2403, 2401, 240101-240107) unless --no-period-names is given.\n"
    "\n"
    "The result is saved as OUT, or over DB with --save; DB is never changed otherwise.\n",
    kOptions,
    RunAggregate,
};

}  // namespace jov
