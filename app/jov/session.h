// What every `jov` command works in: the console's alert sink and progress bar, the preferences,
// the section registry and the list of open databases, and Ctrl-C, which stops the work in hand
// through StopRequested so that a read or save ends cleanly.
#pragma once

#include <optional>
#include <string>

#include "command.h"
#include "console.h"
#include "files/database_file.h"
#include "files/save_setup.h"
#include "model/open_databases.h"

namespace jov {

// The option of every command that opens databases.
inline constexpr OptionSpec kPasswordOption = {"--password", "PW",
                                               "the password of protected databases"};
// The value of a password option in Windows-1252, nothing when it was not given. A password
// with characters that Windows-1252 lacks is no file's password: it is refused, with the
// reason printed, rather than folded into "?"; the result is then false and the command ends
// with kExitUsage.
bool PasswordArgument(const CommandArguments& arguments, std::string_view option,
                      std::optional<std::string>& password);

// The database's own save setup, with the Protection section whenever the database has a
// password (or entries kept with it), so that saving keeps the password it was read with.
SaveSetup SetupKeepingPassword(Database& db);

// Whether reading the database from `in` lost data that saving it to `out` would lose for
// good (msg::kReadLostData is reported when it did); commands then write nothing unless forced.
bool ReadLostData(Database& db, const std::string& in, const std::string& out);

// The option of every command whose work stamps what it changes: the user's signature for this
// run, in place of the one in the preferences (and of the question when they hold none).
inline constexpr OptionSpec kSignatureOption = {"--signature", "S",
                                                "the signature that stamps the changes"};
// Takes the signature of --signature for the run; false (reported) when it holds nothing but
// blanks.
bool ApplySignatureArgument(const CommandArguments& arguments);

// From here on, Ctrl-C (SIGINT) and SIGTERM request a stop instead of ending the program at
// once; a second one ends it the ordinary way.
void CatchInterrupts();
// True once Ctrl-C or SIGTERM arrived; the work in hand has been told to stop.
bool Interrupted();

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  ConsoleSink& sink() { return sink_; }
  // What command scripts of the run show, "##Commands" sections of files included.
  ConsoleScriptHost& script_host() { return script_host_; }
  const SectionRegistry& registry() const { return registry_; }
  OpenDatabases& open() { return open_; }
  // kExitSuccess when `ok` (the work was done), no command of a script failed and the user did
  // not interrupt it; warnings printed on the way do not change it (main applies --strict).
  int Status(bool ok) const;

  // Opens a database file (nullptr when it does not open), reporting the pending error. A
  // protected file that cannot open for want of a password says how to give one. With
  // `for_user` the database's start-up actions run as when a user opens it.
  Database* Open(const std::string& path, const std::optional<std::string>& password,
                 PasswordPrompt& prompt, bool for_user = false);
  // The database of a command that reads one: its first operand, opened with the password of
  // --password (asked for on a terminal when that gives none). Nothing when the password is
  // mistyped (`status` kExitUsage, the mistake printed) or the file does not open (kExitFailed).
  Database* OpenFirstOperand(const CommandArguments& arguments, int& status);
  // Saves the database to `out` as the file it then is, and answers the command's exit status.
  // A text save of a protected database asks for its password again: `password` answers, else
  // the terminal; without either it fails and says how to give the password.
  int Save(Database& db, const std::string& out, DatabaseFormat format, const SaveSetup& setup,
           const std::optional<std::string>& password);

 private:
  ConsoleSink sink_;
  ScopedSink scoped_;
  ConsoleProgress progress_;
  ConsoleSignaturePrompt signature_prompt_;
  ScopedSignaturePrompt scoped_signature_prompt_{&signature_prompt_};
  ConsoleScriptHost script_host_;
  const SectionRegistry registry_;
  OpenDatabases open_;
};

}  // namespace jov
