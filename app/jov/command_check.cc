// jov check: what each file is, and whether it opens as a database.
#include <iostream>

#include "commands.h"
#include "files/file_kind.h"
#include "session.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {kPasswordOption};

const char* KindText(FileKind kind) {
  switch (kind) {
    case FileKind::kBinary:
      return "binary database";
    case FileKind::kBinaryB:
      return "binary database (kind B)";
    case FileKind::kText:
      return "text database";
    case FileKind::kBinaryN:
      return "binary database of an unreadable kind";
    case FileKind::kBinaryEarly:
      return "binary database of an early, unreadable format";
    case FileKind::kPreRelease:
      return "database of a pre-release format";
    case FileKind::kThirdGeneration:
      return "database of the third format generation";
    case FileKind::kLaterFormat:
      return "database of a later format";
    case FileKind::kXmlCommands:
      return "XML command document";
    case FileKind::kSie:
      return "SIE file";
    case FileKind::kNotDatabase:
      return "not a database file";
    case FileKind::kDamaged:
      return "damaged database file";
    case FileKind::kNothing:
      return "unreadable";
  }
  return "unknown";
}

int RunCheck(const CommandArguments& arguments) {
  if (arguments.operands().empty()) return arguments.UsageError("no file given");
  std::optional<std::string> password;
  if (!PasswordArgument(arguments, kPasswordOption.name, password)) return kExitUsage;
  Session session;
  ConsolePasswordPrompt prompt(std::nullopt);
  bool all_open = true;
  for (const std::string& path : arguments.operands()) {
    if (Interrupted()) return kExitFailed;
    const FileSniff sniff = SniffFile(path);
    Database* db = session.Open(path, password, prompt);
    std::cout << path << ": " << KindText(sniff.kind) << ", "
              << (db != nullptr ? "opens" : "does not open") << "\n";
    if (db == nullptr)
      all_open = false;
    else
      session.open().Close(*db);
  }
  return all_open ? kExitSuccess : kExitFailed;
}

}  // namespace

const Command kCheckCommand = {
    "check",
    "tell what each file is and whether it opens as a database",
    "jov check [--password PW] FILE...",
    "Names each file's kind and whether it opens as a database; exits 1 when one does not.\n",
    kOptions,
    RunCheck,
};

}  // namespace jov
