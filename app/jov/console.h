// The terminal side of the `jov` program: alerts printed on stderr in UTF-8, questions asked on
// the terminal when there is one (else answered with their safe button), and the password prompt.
#pragma once

#include <optional>
#include <string>

#include "automation/script_host.h"
#include "files/password.h"
#include "model/user_stamp.h"
#include "shell/alert.h"
#include "shell/progress.h"

namespace jov {

class ConsoleSink : public AlertSink {
 public:
  // A command error of a script is printed and counted; on a terminal the user chooses how the
  // script goes on, without one it continues.
  int Report(AlertRecord& alert) override;
  // The command errors of scripts met so far.
  int error_count() const { return error_count_; }

 private:
  int error_count_ = 0;
};

// The reports printed so far that were not questions: the errors and warnings met by the work,
// which --strict turns into a failure.
int PrintedReports();

// Answers with the password given on the command line, else asks on the terminal (without
// echo); without a terminal it cancels, so scripts never hang. An entry with characters that
// Windows-1252 lacks is refused (msg::kPasswordCharacters), as a cancel.
class ConsolePasswordPrompt : public PasswordPrompt {
 public:
  explicit ConsolePasswordPrompt(std::optional<std::string> password)
      : password_(std::move(password)) {}
  std::optional<std::string> Ask(const std::string& title, const std::string& prompt) override;

 private:
  std::optional<std::string> password_;
};

// Answers the signature question on the terminal; without one there is no signature, and
// work that needs one does not start.
class ConsoleSignaturePrompt : public SignaturePrompt {
 public:
  std::optional<std::string> AskSignature() override;
};

// What command scripts show, on the terminal: messages on stdout, the beep and the log file
// question on stderr. There are no windows to close or show.
class ConsoleScriptHost : public ScriptHost {
 public:
  void ShowMessage(const std::string& title, const std::string& text, int seconds) override;
  void Beep() override;
  std::optional<std::string> ChooseLogFile(const std::string& title,
                                           const std::string& proposed) override;
  PasswordPrompt* password_prompt() override { return &prompt_; }

 private:
  ConsolePasswordPrompt prompt_{std::nullopt};
};

// Long operations as one line on stderr: title, bar, section and time to go, redrawn in place
// and cleared at the end. Shows nothing when stderr is not a terminal.
class ConsoleProgress : public ProgressDisplay {
 public:
  static constexpr int kBarCharacters = 24;
  ConsoleProgress();
  void Begin(const ProgressState& state) override;
  void Update(const ProgressState& state, const ProgressStep& step) override;
  void End(const ProgressState& state) override;

  // The line for a state, without the carriage return (UTF-8).
  static std::string Line(const ProgressState& state);

 private:
  bool terminal_;
  size_t drawn_ = 0;  // characters of the line on the screen
};

bool HaveTerminal();

}  // namespace jov
