#include "console.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "platform/text_encoding.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

int printed_reports = 0;

// The button a question takes without a person to answer: the one that changes nothing.
int SafeButton(const AlertRecord& alert) {
  for (int i = 0; i < alert.button_count; ++i) {
    const MessageId b = alert.buttons[i];
    if (b == msg::kButtonCancel || b == msg::kButtonNo || b == msg::kButtonStop ||
        b == msg::kButtonDontSave || b == msg::kButtonDontChange || b == msg::kButtonDontDelete) {
      return i;
    }
  }
  return 0;
}

int AskOnTerminal(const AlertRecord& alert) {
  for (;;) {
    for (int i = 0; i < alert.button_count; ++i) {
      std::cerr << "  [" << i + 1 << "] " << Utf8FromCp1252(MessageText(alert.buttons[i])) << "\n";
    }
    std::cerr << "Choose 1-" << alert.button_count << ": " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return SafeButton(alert);
    const int choice = std::atoi(answer.c_str());
    if (choice >= 1 && choice <= alert.button_count) return choice - 1;
  }
}

// A command error carries "Log To File.." as its last button.
bool IsCommandError(const AlertRecord& alert) {
  return alert.button_count > 0 && alert.buttons[alert.button_count - 1] == msg::kLogToFile;
}

}  // namespace

ConsoleProgress::ConsoleProgress() : terminal_(::isatty(STDERR_FILENO)) {}

void ConsoleProgress::Begin(const ProgressState& state) { Update(state, {}); }

void ConsoleProgress::Update(const ProgressState& state, const ProgressStep&) {
  if (!terminal_) return;
  const std::string line = Line(state);
  const size_t width = line.size();
  std::cerr << "\r" << line << std::string(drawn_ > width ? drawn_ - width : 0, ' ') << std::flush;
  drawn_ = width;
}

void ConsoleProgress::End(const ProgressState&) {
  if (!terminal_ || drawn_ == 0) return;
  std::cerr << "\r" << std::string(drawn_, ' ') << "\r" << std::flush;
  drawn_ = 0;
}

std::string ConsoleProgress::Line(const ProgressState& state) {
  const int filled = state.bar_end() * kBarCharacters / ProgressState::kBarWidth;
  std::string line = state.Title() + " [" + std::string(filled, '#') +
                     std::string(kBarCharacters - filled, '.') + "]";
  if (!state.section().empty()) line += " " + state.section();
  if (state.ShowsTimeToGo() && !state.time_text().empty()) line += ", " + state.time_text();
  return Utf8FromCp1252(line);
}

int PrintedReports() { return printed_reports; }

bool HaveTerminal() { return ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO); }

int ConsoleSink::Report(AlertRecord& alert) {
  std::cerr << Utf8FromCp1252(alert.ComposeText()) << "\n";
  if (IsCommandError(alert)) {
    ++error_count_;
    return HaveTerminal() ? AskOnTerminal(alert) : alert.result;
  }
  if (alert.button_count < 2) {
    ++printed_reports;
    return 0;
  }
  return HaveTerminal() ? AskOnTerminal(alert) : SafeButton(alert);
}

std::optional<std::string> ConsolePasswordPrompt::Ask(const std::string& title,
                                                      const std::string& prompt) {
  if (password_) return std::exchange(password_, std::nullopt);
  if (!HaveTerminal()) return std::nullopt;
  std::cerr << Utf8FromCp1252(title) << "\n" << Utf8FromCp1252(prompt) << " " << std::flush;
  termios saved{};
  ::tcgetattr(STDIN_FILENO, &saved);
  termios quiet = saved;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  std::string entry;
  const bool read = static_cast<bool>(std::getline(std::cin, entry));
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  std::cerr << "\n";
  if (!read) return std::nullopt;
  // A character that database files cannot hold must not be folded into "?".
  std::optional<std::string> password = Cp1252FromUtf8Exactly(entry);
  if (!password) {
    AlertRecord refusal(msg::kPasswordCharacters);
    ReportAlert(refusal);
  }
  return password;
}

std::optional<std::string> ConsoleSignaturePrompt::AskSignature() {
  if (!HaveTerminal()) return std::nullopt;
  std::cerr << "Signature (up to 3 characters): " << std::flush;
  std::string entry;
  if (!std::getline(std::cin, entry)) return std::nullopt;
  return Cp1252FromUtf8(entry);
}

void ConsoleScriptHost::ShowMessage(const std::string& title, const std::string& text,
                                    int seconds) {
  if (!title.empty()) std::cout << Utf8FromCp1252(title) << ": ";
  std::cout << Utf8FromCp1252(text) << std::endl;
  // A message that closes by itself stays that long before the script goes on, where someone
  // can read it.
  if (seconds > 0 && HaveTerminal()) ::sleep(static_cast<unsigned>(seconds));
}

void ConsoleScriptHost::Beep() {
  if (HaveTerminal()) std::cerr << '\a' << std::flush;
}

std::optional<std::string> ConsoleScriptHost::ChooseLogFile(const std::string& title,
                                                            const std::string& proposed) {
  if (!HaveTerminal()) return std::nullopt;
  std::cerr << Utf8FromCp1252(title) << " [" << Utf8FromCp1252(proposed) << "]: " << std::flush;
  std::string entry;
  if (!std::getline(std::cin, entry)) return std::nullopt;
  return entry.empty() ? proposed : Cp1252FromUtf8(entry);
}

}  // namespace jov
