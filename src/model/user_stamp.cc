#include "model/user_stamp.h"

#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/process.h"

namespace jov {
namespace {

struct SignaturePromptSlot : ProcessSlot {
  SignaturePrompt* prompt = nullptr;
};

SignaturePrompt*& CurrentPrompt() { return Process().Slot<SignaturePromptSlot>().prompt; }

std::string_view TrimmedBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

ScopedSignaturePrompt::ScopedSignaturePrompt(SignaturePrompt* prompt) : previous_(CurrentPrompt()) {
  CurrentPrompt() = prompt;
}

ScopedSignaturePrompt::~ScopedSignaturePrompt() { CurrentPrompt() = previous_; }

bool SetUserSignature(std::string_view signature) {
  signature = TrimmedBlanks(signature).substr(0, Stamp::kMaxSignature);
  if (signature.empty()) return false;
  Process().preferences.signature = std::string(signature);
  return true;
}

std::optional<Stamp> ObtainUserStamp() {
  const std::string& kept = Process().preferences.signature;
  if (TrimmedBlanks(kept).empty()) {
    SignaturePrompt* prompt = CurrentPrompt();
    const std::optional<std::string> answer =
        prompt != nullptr ? prompt->AskSignature() : std::nullopt;
    if (!answer || !SetUserSignature(*answer)) {
      AlertRecord alert(msg::kNoSignature);
      ReportAlert(alert);
      return std::nullopt;
    }
  }
  return StampNow(TrimmedBlanks(Process().preferences.signature));
}

}  // namespace jov
