#include "command.h"

#include <algorithm>
#include <iostream>

namespace jov {
namespace {

constexpr std::string_view kQuestionsText =
    "Questions (a later file version, a password, saving a password in a text file) are\n"
    "asked on the terminal; without one they take the answer that changes nothing, and the\n"
    "password comes from --password only.\n";

const OptionSpec* FindOption(const Command& command, std::string_view name) {
  for (const OptionSpec& option : command.options) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

bool IsHelp(std::string_view argument) { return argument == "--help" || argument == "-h"; }

constexpr std::string_view kStrict = "--strict";

// The option column of a help line: "--password PW".
std::string OptionLabel(const OptionSpec& option) {
  std::string label(option.name);
  if (!option.value_name.empty()) label.append(" ").append(option.value_name);
  return label;
}

void AppendOptionLine(std::string& text, std::string_view label, std::string_view help,
                      size_t width) {
  text.append("  ").append(label).append(width - label.size() + 2, ' ').append(help) += '\n';
}

}  // namespace

bool CommandArguments::Has(std::string_view option) const {
  return std::any_of(options_.begin(), options_.end(),
                     [&](const auto& given) { return given.first == option; });
}

std::optional<std::string> CommandArguments::Value(std::string_view option) const {
  std::optional<std::string> value;
  for (const auto& [name, given] : options_) {
    if (name == option) value = given;
  }
  return value;
}

std::vector<std::string> CommandArguments::Values(std::string_view option) const {
  std::vector<std::string> values;
  for (const auto& [name, given] : options_) {
    if (name == option) values.push_back(given);
  }
  return values;
}

int CommandArguments::UsageError(std::string_view error) const {
  std::cerr << "jov " << command_->name << ": " << error << "\nUsage: " << command_->usage << "\n";
  return kExitUsage;
}

ParsedCommandLine ParseCommandLine(const Command& command, std::span<const char* const> arguments) {
  ParsedCommandLine parsed{CommandArguments(command), false, ""};
  const auto mistake = [&](std::string text) {
    if (parsed.error.empty()) parsed.error = std::move(text);
  };
  bool operands_only = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (operands_only || !argument.starts_with('-') || argument == "-") {
      parsed.arguments.operands_.emplace_back(argument);
    } else if (argument == "--") {
      operands_only = true;
    } else if (IsHelp(argument)) {
      parsed.help = true;
    } else if (argument == kStrict) {
      parsed.arguments.strict_ = true;
    } else {
      const size_t equals = argument.find('=');
      const std::string_view name = argument.substr(0, equals);
      const OptionSpec* option = FindOption(command, name);
      if (option == nullptr) {
        mistake("unknown option '" + std::string(name) + "'");
      } else if (option->value_name.empty()) {
        if (equals != std::string_view::npos) {
          mistake("option '" + std::string(name) + "' takes no value");
        }
        parsed.arguments.options_.emplace_back(name, "");
      } else if (equals != std::string_view::npos) {
        parsed.arguments.options_.emplace_back(name, argument.substr(equals + 1));
      } else if (i + 1 < arguments.size()) {
        parsed.arguments.options_.emplace_back(name, arguments[++i]);
      } else {
        mistake("option '" + std::string(name) + "' needs a value");
      }
    }
  }
  return parsed;
}

std::string CommandHelp(const Command& command) {
  std::string text = "Usage: " + std::string(command.usage) + "\n\n" + std::string(command.help);
  size_t width = kStrict.size();
  for (const OptionSpec& option : command.options) {
    width = std::max(width, OptionLabel(option).size());
  }
  text += "\nOptions:\n";
  for (const OptionSpec& option : command.options) {
    AppendOptionLine(text, OptionLabel(option), option.help, width);
  }
  AppendOptionLine(text, kStrict, "fail (status 1) when warnings were printed", width);
  AppendOptionLine(text, "--help", "show this text and exit", width);
  return text + "\n" + std::string(kQuestionsText);
}

}  // namespace jov
