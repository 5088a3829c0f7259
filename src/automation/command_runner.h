// The command loop of scripts: one CommandRunner reads a script line by line, runs the command
// that each line's first token names against its database, and raises command errors through
// the command alert ("Continue", "Cancel", "Stop", "Log To File.."). Scripts run from three
// places: the steps of a macro, a script passed in whole (`jov run`, the automation method),
// and the "##Commands" section of a database file while the file is read.
//
// A script in a file's "##Commands" section was not started by the user, who merely opened the
// file: such a script may not write or delete files outside the database's folder without
// asking first (see AllowFileChange).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/password.h"
#include "files/section_registry.h"
#include "io/script_reader.h"
#include "shell/alert.h"

namespace jov {

class Database;
class ScriptHost;

// Where the script came from.
enum class ScriptOrigin {
  kOnPurpose,    // run by the user: a macro, `jov run`, an automation client
  kFileSection,  // the "##Commands" section of a file being opened
};

class CommandRunner {
 public:
  // `lines` and `host` must outlive the runner. `section_mark`: a line whose first token starts
  // with it ends the script and is left unread for the caller.
  CommandRunner(Database& database, ScriptLines& lines, ScriptHost& host,
                ScriptOrigin origin = ScriptOrigin::kOnPurpose, char section_mark = '#');

  // Runs the commands until the end of the script, a section mark line, or StopRequested.
  void Run();

  Database& database() { return database_; }
  ScriptHost& host() { return host_; }
  ScriptOrigin origin() const { return origin_; }
  // Answers password questions with the password the script gave (`password`), else asks the
  // host's prompt; never nullptr.
  PasswordPrompt* password_prompt() { return &prompt_; }
  // The section kinds that reads and saves of the script use.
  const SectionRegistry& registry();
  // The number of command errors raised so far.
  int error_count() const { return error_count_; }

  // Raises a command error with `message` and its arguments: reports it with the four buttons
  // and acts on the answer ("Cancel" also sets the database's cancelled flag; "Log To File.."
  // starts an error log and writes the error into it).
  void RaiseError(MessageId message, std::string_view argument = {},
                  std::string_view argument2 = {});

  // A file name of a command resolved against the database's folder (unless it is a full path)
  // and normalised.
  std::string ResolvePath(std::string_view name) const;
  // Whether `command` may write or delete `path`: always for scripts run on purpose and for
  // paths in the database's folder or below; otherwise the user is asked (3821), and a refusal
  // raises 3822. The question's first button refuses, so a run without a person refuses.
  bool AllowFileChange(std::string_view command, const std::string& path);

 private:
  // The password the script gave, else the host's prompt.
  class ScriptPasswordPrompt : public PasswordPrompt {
   public:
    explicit ScriptPasswordPrompt(CommandRunner& runner) : runner_(runner) {}
    std::optional<std::string> Ask(const std::string& title, const std::string& prompt) override;

   private:
    CommandRunner& runner_;
  };

  void RunLine(TokenLine& tokens, const std::string& word);
  void StartErrorLog(AlertRecord& alert);

  Database& database_;
  ScriptLines& lines_;
  ScriptHost& host_;
  ScriptOrigin origin_;
  char section_mark_;
  int error_count_ = 0;
  ScriptPasswordPrompt prompt_{*this};
  std::optional<SectionRegistry> registry_;
};

// Runs `script` on the database as the user's own script (a macro, `jov run`, the automation
// method): `title` is the alert title for the run; the error log that the script opens is
// closed at its end. Returns the number of command errors raised.
int RunScript(Database& database, std::string_view script, std::string_view title,
              ScriptHost& host);

// The folder that the database's commands resolve file names against: that of its file, or of
// the file being read into it; "." when there is neither.
std::string DatabaseFolder(Database& database);
inline constexpr std::string_view kDefaultErrorLog = "Errors.txt";
// The database's error log file: the one last chosen, else kDefaultErrorLog in its folder.
std::string ErrorLogFile(Database& database);

}  // namespace jov
