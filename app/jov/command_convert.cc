// jov convert: reads any database file and saves it in binary or text form.
#include "commands.h"
#include "files/save_setup.h"
#include "session.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--text", "", "save in text form"},
    {"--binary", "", "save in binary form"},
    {"--store", "", "write binary blocks uncompressed"},
    kPasswordOption,
};

int RunConvert(const CommandArguments& arguments) {
  const std::vector<std::string>& files = arguments.operands();
  if (files.size() != 2) return arguments.UsageError("give one input and one output file");
  if (arguments.Has("--text") && arguments.Has("--binary")) {
    return arguments.UsageError("give --text or --binary, not both");
  }
  const std::optional<std::string> password = PasswordArgument(arguments);
  Session session;
  ConsolePasswordPrompt prompt(password);
  Database* db = session.Open(files[0], password, prompt);
  if (db == nullptr || Interrupted()) return kExitFailed;
  const std::string& out = files[1];
  DatabaseFormat format = FormatForFileName(out);
  if (arguments.Has("--text")) format = DatabaseFormat::kText;
  if (arguments.Has("--binary")) format = DatabaseFormat::kBinary;
  SaveSetup setup = db->Attached<SaveSetups>().in_effect();
  setup.compressed = !arguments.Has("--store");
  // A binary file keeps the password; a text file only when the user agrees (asked below).
  setup.sections[static_cast<size_t>(SaveSection::kProtection)] =
      db->Attached<DatabasePassword>().password.HasPassword();
  const bool saved =
      SaveDatabaseFile(*db, out, format, setup, session.registry(), &prompt, /*adopt=*/true);
  FlushPendingError();
  return session.Status(saved);
}

}  // namespace

const Command kConvertCommand = {
    "convert",
    "save a database file in binary (.jov) or text (.jox) form",
    "jov convert [--text|--binary] [--store] [--password PW] IN OUT",
    "Reads any database file and saves it. The form follows --text or --binary, else the\n"
    "extension of OUT (.jox text, anything else binary). --store writes binary blocks\n"
    "uncompressed. A database with a password keeps it in a binary file; a text file gets\n"
    "it only when you confirm on the terminal.\n",
    kOptions,
    RunConvert,
};

}  // namespace jov
