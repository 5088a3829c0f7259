// jov subsets: the subsets of a database with their combinations and named selections, and
// with --calculate the count line of each.
#include <iostream>
#include <optional>
#include <string>

#include "commands.h"
#include "platform/text_encoding.h"
#include "select/subset_list.h"
#include "session.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    kPasswordOption,
    {"--calculate", "", "calculate each subset and print its count line"},
};

// "label: value" for each criterion, separated by "; ".
std::string Criteria(const NamedSelection& selection) {
  std::string text;
  for (const DefinitionRow& row : selection.DefinitionRows()) {
    if (!text.empty()) text += "; ";
    text += row.label + ": " + row.value;
  }
  return text;
}

// The subset's line: name, combination and (calculated) count line; then one line per named
// selection. False when the subset could not be calculated.
bool PrintSubset(Subset& subset, bool calculate) {
  bool ok = true;
  std::string line = subset.name() + "\t" + subset.combination_text(/*displayed=*/true);
  if (calculate) {
    ok = subset.Calculate() && !StopRequested();
    line += "\t" + subset.CountLine();
  }
  std::cout << Utf8FromCp1252(line) << "\n";
  for (const auto& selection : subset.selections()) {
    std::cout << Utf8FromCp1252("\t" + selection->name() + "\t" + Criteria(*selection)) << "\n";
  }
  return ok;
}

int RunSubsets(const CommandArguments& arguments) {
  if (arguments.operands().size() != 1) return arguments.UsageError("give one database file");
  Session session;
  int status = kExitSuccess;
  Database* db = session.OpenFirstOperand(arguments, status);
  if (db == nullptr) return status;
  const bool calculate = arguments.Has("--calculate");
  bool ok = true;
  for (const auto& subset : SubsetList::Of(*db).subsets()) {
    if (Interrupted()) break;
    ok &= PrintSubset(*subset, calculate);
  }
  FlushPendingError();
  return session.Status(ok);
}

}  // namespace

const Command kSubsetsCommand = {
    "subsets",
    "list the subsets of a database, and count their lines",
    "jov subsets [--calculate] [--password PW] FILE",
    "Lists the subsets stored in the database, one line each: the name and the combination,\n"
    "and with --calculate how many lines the subset holds and in how many cards. Below each\n"
    "subset, one line per named selection: its name and its criteria. Lines are tab-separated.\n",
    kOptions,
    RunSubsets,
};

}  // namespace jov
