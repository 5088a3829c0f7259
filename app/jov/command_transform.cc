// jov transform: moves cards between date ranges, replaces components, recomputes values and
// edits texts, for every line of a database or those of a subset, and saves the result.
#include <iostream>

#include "analysis/transform.h"
#include "commands.h"
#include "io/script_reader.h"
#include "platform/text_encoding.h"
#include "rewrite_target.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--settings", "TOKENS", "the transform's settings as KEY=VALUE tokens; repeatable"},
    {"--cards", "", "transform whole cards: move them, with their titles and notes, in place"},
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

// The tokens of every --settings value, read as a command script's line reads them (quotes
// keep blanks in a token).
std::vector<std::string> Tokens(const CommandArguments& arguments) {
  std::vector<std::string> tokens;
  for (const std::string& value : arguments.Values("--settings")) {
    const std::string text = Cp1252FromUtf8(value);
    TokenLine line(text);
    std::string token;
    while (line.Next(&token)) tokens.push_back(token);
  }
  return tokens;
}

int RunTransform(const CommandArguments& arguments) {
  if (!arguments.Has("--settings"))
    return arguments.UsageError("give the settings with --settings");
  Session session;
  RewriteTarget target(arguments, session);
  if (target.status) return *target.status;
  TransformSettings settings;
  const std::vector<std::string> rejected =
      ApplyTransformOptions(settings, target.database(), Tokens(arguments));
  if (!rejected.empty()) {
    return arguments.UsageError("setting \"" + Utf8FromCp1252(rejected.front()) +
                                "\" is not understood, or names what the database lacks");
  }
  WindowLines window = target.window();
  if (arguments.Has("--cards")) window.level = CardLevel::kCards;
  TransformResult result;
  if (!Transform(target.database(), window, settings, &result)) {
    if (!Interrupted()) std::cerr << "jov transform: no lines were transformed; nothing saved\n";
    return kExitFailed;
  }
  std::cout << "transformed " << result.lines << " lines of " << result.cards << " cards into "
            << result.cards_made << " new cards\n";
  return target.Save();
}

}  // namespace

const Command kTransformCommand = {
    "transform",
    "move cards in time, recode components, recompute values and edit texts",
    "jov transform --settings TOKENS... [--cards] [--subset NAME] [--from DATE] [--to DATE]\n"
    "              [--where DIM=EXPR]... [--signature S] [--password PW] [--force]\n"
    "              (--out OUT | --save) DB",
    "Rewrites the lines of DB (or those that --subset, --from, --to and --where choose) as\n"
    "the settings say, and saves the result as OUT, or over DB with --save. The settings are\n"
    "the tokens of the script command transform (docs/command-scripts.md), for instance\n"
    "  --settings \"CF=250101 D2=4010 'V1=Value * 1.25' TF=< 'TT=Moved '\"\n"
    "A: keep the data and write changed copies. CB, CE: the source date range (default: the\n"
    "data's first and last day). CF, CT: where its begin and end go. Dn: the component of\n"
    "dimension n (\\ for none). V, Vc: the formula of value field c over the fields' names and\n"
    "T (the card's place in the source range, 0 to 1). TF/TT, NF/NT, LF/LT: pattern and\n"
    "replacement for card titles, notes and line texts (< before, > after, \\ empty texts).\n"
    "\n"
    "Lines whose card changes date, title or notes move to a new card; with --cards whole\n"
    "cards change in place. Changed cards are stamped with your signature (--signature, else\n"
    "the preferences, else you are asked).\n",
    kOptions,
    RunTransform,
};

}  // namespace jov
