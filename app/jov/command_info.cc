// jov info: the information report of database files.
#include <iostream>

#include "commands.h"
#include "files/analysis_template.h"
#include "model/database_info.h"
#include "platform/file_io.h"
#include "platform/text_encoding.h"
#include "session.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {kPasswordOption};

int RunInfo(const CommandArguments& arguments) {
  if (arguments.operands().empty()) return arguments.UsageError("no file given");
  std::optional<std::string> password;
  if (!PasswordArgument(arguments, kPasswordOption.name, password)) return kExitUsage;
  Session session;
  ConsolePasswordPrompt prompt(std::nullopt);
  bool ok = true;
  for (const std::string& path : arguments.operands()) {
    if (Interrupted()) return kExitFailed;
    Database* db = session.Open(path, password, prompt);
    if (db == nullptr) {
      ok = false;
      continue;
    }
    const DatabaseInfo info = CountDatabaseInfo(*db, FileSize(path).value_or(0),
                                                AnalysisTemplates::Of(*db).AnalysisCount());
    std::cout << "== " << path << "\n"
              << Utf8FromCp1252(DatabaseInfoReport(*db, info, db->card_digits()));
    session.open().Close(*db);
  }
  return session.Status(ok);
}

}  // namespace

const Command kInfoCommand = {
    "info",
    "report the size and contents of database files",
    "jov info [--password PW] FILE...",
    "Prints the information report of each database: sizes, cards, groups, lines, texts,\n"
    "the first and last card, and how much of each dimension the data uses.\n",
    kOptions,
    RunInfo,
};

}  // namespace jov
