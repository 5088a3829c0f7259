// jov run: opens a database as a user would (its "##Commands" section and its start-up macros
// run) and runs a command script against it, from a file or from the command line.
#include <iostream>
#include <memory>

#include "automation/command_runner.h"
#include "commands.h"
#include "platform/file_io.h"
#include "platform/text_encoding.h"
#include "session.h"
#include "shell/error_log_sink.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    {"-c", "COMMANDS", "run these commands (one per line)"},
    {"--log", "FILE", "write every error of the run to FILE instead of the terminal"},
    kSignatureOption,
    kPasswordOption,
};

// The error log of --log, counting what it writes so that the exit status can tell.
class CountingLogSink : public ErrorLogSink {
 public:
  using ErrorLogSink::ErrorLogSink;
  int Report(AlertRecord& alert) override {
    ++count_;
    return ErrorLogSink::Report(alert);
  }
  int count() const { return count_; }

 private:
  int count_ = 0;
};

// The script: the file's bytes (Windows-1252, as the database's texts), or the -c text given
// in UTF-8.
std::optional<std::string> ScriptText(const CommandArguments& arguments) {
  if (const std::optional<std::string> commands = arguments.Value("-c")) {
    return Cp1252FromUtf8(*commands);
  }
  const std::string& file = arguments.operands()[1];
  std::optional<std::string> text = ReadWholeFile(file);
  if (!text) std::cerr << "jov run: cannot read " << file << "\n";
  return text;
}

int RunRun(const CommandArguments& arguments) {
  const size_t scripts = arguments.operands().size() - 1 + (arguments.Has("-c") ? 1 : 0);
  if (arguments.operands().empty() || scripts != 1) {
    return arguments.UsageError("give the database and either a script file or -c COMMANDS");
  }
  std::optional<std::string> password;
  if (!PasswordArgument(arguments, kPasswordOption.name, password)) return kExitUsage;
  const std::optional<std::string> script = ScriptText(arguments);
  if (!script) return kExitFailed;
  Session session;
  if (!ApplySignatureArgument(arguments)) return kExitUsage;
  std::unique_ptr<CountingLogSink> log;
  std::optional<ScopedSink> logging;
  if (const std::optional<std::string> file = arguments.Value("--log")) {
    log = std::make_unique<CountingLogSink>(Cp1252FromUtf8(*file), /*append=*/false);
    logging.emplace(log.get());
  }
  ConsolePasswordPrompt prompt(password);
  Database* db = session.Open(arguments.operands().front(), password, prompt, /*for_user=*/true);
  if (db == nullptr) return kExitFailed;
  // Messages of the script are titled with its file's name.
  const std::string title =
      arguments.Has("-c") ? std::string() : std::string(FileNameOf(arguments.operands()[1]));
  const int errors = RunScript(*db, *script, Cp1252FromUtf8(title), session.script_host());
  FlushPendingError();
  const bool logged_errors = log != nullptr && log->count() > 0;
  return session.Status(errors == 0 && !logged_errors);
}

}  // namespace

const Command kRunCommand = {
    "run",
    "open a database and run a command script on it",
    "jov run [--signature S] [--log FILE] [--password PW] DB (SCRIPT | -c COMMANDS)",
    "Opens the database DB as a user opens it - the commands of its ##Commands section and the\n"
    "macros marked to run at opening run first - then runs the command script in the file\n"
    "SCRIPT, or the COMMANDS given with -c, against it. The commands and their options are\n"
    "described in docs/command-scripts.md. File names in the script are taken in the folder of\n"
    "DB unless they are full paths. Errors are printed and the script goes on (on a terminal you\n"
    "choose: Continue, Cancel, Stop or Log To File..). Exits with 1 when a command raised an\n"
    "error. --signature signs the changes that need a stamp (deleteData, transform, aggregate).\n",
    kOptions,
    RunRun,
};

}  // namespace jov
