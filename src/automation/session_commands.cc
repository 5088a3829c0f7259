// The commands about the run itself: password, signature, message, close, quit, beep.
#include <cstdlib>
#include <string>

#include "automation/command_runner.h"
#include "automation/command_state.h"
#include "automation/script_commands.h"
#include "automation/script_host.h"
#include "automation/script_title.h"
#include "model/packed_date.h"
#include "model/user_stamp.h"
#include "shell/message_ids.h"
#include "shell/process.h"

namespace jov {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Every "//" of a message becomes a line break.
std::string WithLineBreaks(std::string_view words) {
  std::string text;
  for (size_t i = 0; i < words.size(); ++i) {
    if (words.substr(i, 2) == "//") {
      text.push_back('\n');
      ++i;
    } else {
      text.push_back(words[i]);
    }
  }
  return text;
}

}  // namespace

void RunPassword(CommandRunner& runner, TokenLine& arguments) {
  CommandState::Of(runner.database()).password = arguments.Next();
}

void RunSignature(CommandRunner&, TokenLine& arguments) {
  std::string signature(TrimBlanks(arguments.Next()));
  if (signature.size() > Stamp::kMaxSignature) {
    signature.resize(Stamp::kMaxSignature);
    AlertRecord question(msg::kTruncatedAfter, 2);
    question.Arg(signature)
        .Arg(static_cast<long long>(Stamp::kMaxSignature))
        .Button(msg::kButtonOk)
        .Button(msg::kButtonCancel);
    if (ReportAlert(question) != 0) return;
  }
  if (signature != Process().preferences.signature) SetUserSignature(signature);
}

void RunMessage(CommandRunner& runner, TokenLine& arguments) {
  std::string title = ScriptTitle();
  int seconds = 0;
  std::string words;
  std::string token;
  while (arguments.Next(&token)) {
    if (TokenStartsWith(token, "-title")) {
      title = arguments.Next();
    } else if (TokenStartsWith(token, "-seconds")) {
      seconds = std::atoi(arguments.Next().c_str());
    } else if (!token.empty() && token.front() == '-') {
      runner.RaiseError(msg::kUnknownOption, token);
    } else {
      if (!words.empty()) words.push_back(' ');
      words += token;
    }
  }
  if (!words.empty()) runner.host().ShowMessage(title, WithLineBreaks(words), seconds);
}

void RunClose(CommandRunner& runner, TokenLine& arguments) {
  std::string title;
  if (!arguments.Next(&title)) {
    CommandState::Of(runner.database()).close_requested = true;
    return;
  }
  runner.host().CloseWindow(runner.database(), title);
}

void RunQuit(CommandRunner& runner, TokenLine&) {
  CommandState& state = CommandState::Of(runner.database());
  state.automatic_open_actions = false;
  state.quit_requested = true;
}

void RunBeep(CommandRunner& runner, TokenLine&) { runner.host().Beep(); }

}  // namespace jov
