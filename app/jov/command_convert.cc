// jov convert: reads any database file and saves it in binary or text form, optionally with a
// new password or without its password.
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
    {"--set-password", "PW", "protect the saved database with this password"},
    {"--remove-password", "", "save the database without its password"},
    {"--force", "", "write even when reading IN lost data"},
};

// OUT "-" is the standard output.
std::string OutputPath(const std::string& out) { return out == "-" ? "/dev/stdout" : out; }

// The password the saved database has: the one it was read with, unless the command line
// sets a new one or removes it.
void ChoosePassword(Database& db, const CommandArguments& arguments,
                    const std::optional<std::string>& new_password) {
  Password& password = db.Attached<DatabasePassword>().password;
  if (new_password) password.SetPassword(*new_password);
  if (arguments.Has("--remove-password")) password.SetPassword("");
}

int RunConvert(const CommandArguments& arguments) {
  const std::vector<std::string>& files = arguments.operands();
  if (files.size() != 2) return arguments.UsageError("give one input and one output file");
  if (arguments.Has("--text") && arguments.Has("--binary")) {
    return arguments.UsageError("give --text or --binary, not both");
  }
  if (arguments.Has("--set-password") && arguments.Has("--remove-password")) {
    return arguments.UsageError("give --set-password or --remove-password, not both");
  }
  std::optional<std::string> password, new_password;
  if (!PasswordArgument(arguments, kPasswordOption.name, password) ||
      !PasswordArgument(arguments, "--set-password", new_password)) {
    return kExitUsage;
  }
  if (new_password && new_password->empty()) {
    return arguments.UsageError("--set-password needs a password; use --remove-password");
  }
  Session session;
  ConsolePasswordPrompt prompt(password);
  Database* db = session.Open(files[0], password, prompt);
  if (db == nullptr || Interrupted()) return kExitFailed;
  const std::string out = OutputPath(files[1]);
  if (!arguments.Has("--force") && ReadLostData(*db, files[0], files[1])) return kExitFailed;
  ChoosePassword(*db, arguments, new_password);
  DatabaseFormat format = FormatForFileName(out);
  if (arguments.Has("--text")) format = DatabaseFormat::kText;
  if (arguments.Has("--binary")) format = DatabaseFormat::kBinary;
  // A binary file is keyed by the password, a text file shows it only when the user agrees
  // (asked on saving).
  SaveSetup setup = SetupKeepingPassword(*db);
  setup.compressed = !arguments.Has("--store");
  // Saving as text asks for the database's password again: the one given for it here.
  return session.Save(*db, out, format, setup, new_password ? new_password : password);
}

}  // namespace

const Command kConvertCommand = {
    "convert",
    "save a database file in binary (.jov) or text (.jox) form",
    "jov convert [--text|--binary] [--store] [--password PW]\n"
    "            [--set-password PW|--remove-password] [--force] IN OUT",
    "Reads any database file and saves it. The form follows --text or --binary, else the\n"
    "extension of OUT (.jox text, anything else binary); OUT \"-\" is the standard output.\n"
    "--store writes binary blocks uncompressed.\n"
    "\n"
    "The saved database keeps the password it was read with: --password only opens IN.\n"
    "--set-password protects the saved database with a new password, --remove-password\n"
    "saves it without one. A binary file is keyed by the password; a text file shows it in\n"
    "plain, so it gets it only when you confirm on the terminal.\n"
    "\n"
    "When reading IN lost data (a line too long, an unknown section; the messages say what),\n"
    "nothing is written unless --force is given, so that OUT, which may be IN, keeps it.\n",
    kOptions,
    RunConvert,
};

}  // namespace jov
