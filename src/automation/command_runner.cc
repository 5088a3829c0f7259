#include "automation/command_runner.h"

#include <memory>

#include "automation/command_state.h"
#include "automation/script_commands.h"
#include "automation/script_host.h"
#include "automation/script_title.h"
#include "automation/section_kinds.h"
#include "files/database_file.h"
#include "platform/file_io.h"
#include "shell/command_error.h"
#include "shell/error_log_sink.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr std::string_view kCommentStart = "/*";
constexpr std::string_view kCommentEnd = "*/";

}  // namespace

std::string DatabaseFolder(Database& database) {
  if (!database.file_name().empty()) return FolderOf(database.file_name());
  const std::string& reading = database.Attached<DatabaseFileState>().reading_path;
  return reading.empty() ? std::string(".") : FolderOf(reading);
}

std::string ErrorLogFile(Database& database) {
  const std::string& chosen = CommandState::Of(database).log_file_name;
  return chosen.empty() ? JoinPath(DatabaseFolder(database), kDefaultErrorLog) : chosen;
}

CommandRunner::CommandRunner(Database& database, ScriptLines& lines, ScriptHost& host,
                             ScriptOrigin origin, char section_mark)
    : database_(database),
      lines_(lines),
      host_(host),
      origin_(origin),
      section_mark_(section_mark) {}

void CommandRunner::Run() {
  bool in_comment = false;
  std::string_view line;
  std::string word;
  while (!StopRequested() && lines_.Next(&line)) {
    TokenLine tokens(line);
    if (!tokens.Next(&word)) continue;
    // Comments take whole lines: "/*" opens one at the start of a line, and the first later line
    // that starts with "*/" closes it (and is skipped too).
    if (in_comment) {
      in_comment = !word.starts_with(kCommentEnd);
      continue;
    }
    if (!word.empty() && word.front() == section_mark_) return;
    RunLine(tokens, word);
    if (word.starts_with(kCommentStart)) in_comment = true;
  }
}

void CommandRunner::RunLine(TokenLine& tokens, const std::string& word) {
  for (const ScriptCommand& command : ScriptCommands()) {
    if (TokenIs(word, command.word)) {
      command.run(*this, tokens);
      return;
    }
  }
  if (!word.starts_with(kCommentStart) && !word.empty()) RaiseError(msg::kUnknownCommand, word);
}

void CommandRunner::RaiseError(MessageId message, std::string_view argument,
                               std::string_view argument2) {
  ++error_count_;
  AlertRecord alert(message);
  if (!argument.empty() || !argument2.empty()) alert.Arg(argument);
  if (!argument2.empty()) alert.Arg(argument2);
  switch (RaiseCommandError(alert)) {
    case CommandErrorAnswer::kCancel:
      CommandState::Of(database_).cancelled = true;
      break;
    case CommandErrorAnswer::kLogToFile:
      StartErrorLog(alert);
      break;
    default:
      break;
  }
}

void CommandRunner::StartErrorLog(AlertRecord& alert) {
  CommandState& state = CommandState::Of(database_);
  const std::optional<std::string> chosen =
      host_.ChooseLogFile(MessageText(msg::kLogToFile), ErrorLogFile(database_));
  if (chosen) {
    state.log_file_name = *chosen;
    state.ReplaceLogSink(std::make_unique<ErrorLogSink>(*chosen, /*append=*/false));
  }
  StopFlag().store(false);
  if (state.has_log_sink()) ReportAlert(alert);
}

std::optional<std::string> CommandRunner::ScriptPasswordPrompt::Ask(const std::string& title,
                                                                    const std::string& prompt) {
  const std::optional<std::string>& given = CommandState::Of(runner_.database()).password;
  if (given) return given;
  PasswordPrompt* asked = runner_.host().password_prompt();
  return asked != nullptr ? asked->Ask(title, prompt) : std::nullopt;
}

const SectionRegistry& CommandRunner::registry() {
  if (!registry_) registry_.emplace(FullSectionRegistry(host_));
  return *registry_;
}

std::string CommandRunner::ResolvePath(std::string_view name) const {
  return FullPath(DatabaseFolder(database_), name);
}

bool CommandRunner::AllowFileChange(std::string_view command, const std::string& path) {
  if (origin_ == ScriptOrigin::kOnPurpose) return true;
  if (IsInFolder(path, FullPath(DatabaseFolder(database_), "."))) return true;
  AlertRecord question(msg::kAllowFileCommand, 2);
  question.Arg(command).Arg(path).Button(msg::kButtonCancel).Button(msg::kButtonContinue);
  if (ReportAlert(question) == 1) return true;
  RaiseError(msg::kFileCommandRefused, command, path);
  return false;
}

int RunScript(Database& database, std::string_view script, std::string_view title,
              ScriptHost& host) {
  ScopedScriptTitle titled(title);
  TextScriptLines lines(script);
  CommandRunner runner(database, lines, host);
  runner.Run();
  CommandState::Of(database).DestroyLogSink();
  return runner.error_count();
}

}  // namespace jov
