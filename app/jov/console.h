// The terminal side of the `jov` program: alerts printed on stderr in UTF-8, questions asked on
// the terminal when there is one (else answered with their safe button), and the password prompt.
#pragma once

#include <optional>
#include <string>

#include "files/password.h"
#include "shell/alert.h"
#include "shell/progress.h"

namespace jov {

class ConsoleSink : public AlertSink {
 public:
  int Report(AlertRecord& alert) override;
  // Reports that were not questions: errors and warnings met by the work.
  int error_count() const { return error_count_; }

 private:
  int error_count_ = 0;
};

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
