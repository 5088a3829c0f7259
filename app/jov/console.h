// The terminal side of the `jov` program: alerts printed on stderr in UTF-8, questions asked on
// the terminal when there is one (else answered with their safe button), and the password prompt.
#pragma once

#include <optional>
#include <string>

#include "files/password.h"
#include "shell/alert.h"

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
// echo); without a terminal it cancels, so scripts never hang.
class ConsolePasswordPrompt : public PasswordPrompt {
 public:
  explicit ConsolePasswordPrompt(std::optional<std::string> password)
      : password_(std::move(password)) {}
  std::optional<std::string> Ask(const std::string& title, const std::string& prompt) override;

 private:
  std::optional<std::string> password_;
};

bool HaveTerminal();

}  // namespace jov
