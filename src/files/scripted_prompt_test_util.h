// For tests: a password prompt that answers from a list and remembers what it was asked; an
// absent answer (or an empty list) is a cancel.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "files/password.h"

namespace jov {

class ScriptedPrompt : public PasswordPrompt {
 public:
  std::optional<std::string> Ask(const std::string& title, const std::string& prompt) override {
    titles.push_back(title);
    prompts.push_back(prompt);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<std::optional<std::string>> answers;
  std::vector<std::string> titles;
  std::vector<std::string> prompts;
};

}  // namespace jov
