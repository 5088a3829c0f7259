#include "files/password.h"

#include "model/string_hash.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

std::string Masked(std::string_view text) {
  std::string masked(text);
  for (char& c : masked) {
    if (static_cast<unsigned char>(c) != Password::kMask)
      c = static_cast<char>(c ^ Password::kMask);
  }
  return masked;
}

// The prompt, then the check of the entry against the database's password.
bool PromptAndCheck(Database& database, PasswordPrompt& prompt, MessageId message) {
  const Password& password = database.Attached<DatabasePassword>().password;
  const std::optional<std::string> entry = prompt.Ask(database.Title(), MessageText(message));
  if (!entry) return false;
  if (Password::CheckValue(*entry) != password.check_value()) {
    AlertRecord alert(msg::kIncorrectPassword);
    alert.Button(msg::kButtonOk);
    ReportAlert(alert);
    return false;
  }
  return true;
}

}  // namespace

uint32_t Password::CheckValue(std::string_view text) {
  if (text.empty()) return 0;
  return StringHash(text, kCheckTableSize) + 1;
}

void Password::SetPassword(std::string_view text) {
  masked_ = Masked(text);
  check_value_ = CheckValue(text);
}

std::string Password::GetPassword() const { return Masked(masked_); }

bool VerifyForWindow(Database& database, PasswordPrompt& prompt) {
  const DatabasePassword& kept = database.Attached<DatabasePassword>();
  if (!kept.password.HasPassword() || kept.read_from_text) return true;
  return PromptAndCheck(database, prompt, msg::kPasswordForWindow);
}

bool VerifyForTextSave(Database& database, PasswordPrompt& prompt, bool includes_protection) {
  if (!database.Attached<DatabasePassword>().password.HasPassword()) return true;
  if (!PromptAndCheck(database, prompt, msg::kPasswordForTextSave)) return false;
  if (!includes_protection) return true;
  AlertRecord question(msg::kPasswordInTextFile);
  question.ConfirmButton(msg::kButtonSave, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  return ReportAlert(question) == 0;
}

}  // namespace jov
