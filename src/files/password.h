// The database password: held masked in memory, with a check value (the string hash of the
// upper-cased password) that decides prompts, and the "##Protection" entries kept unchanged.
// Both the check value and the keystream fold letters to upper case, so passwords compare
// without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/database.h"

namespace jov {

class Password {
 public:
  // The held text is every byte XORed with this mask, except bytes equal to it, so that the
  // held form never contains a NUL.
  static constexpr unsigned char kMask = 0x5A;
  // The hash table size whose string hash makes the check value.
  static constexpr uint32_t kCheckTableSize = 2516603;

  // An empty text removes the password.
  void SetPassword(std::string_view text);
  std::string GetPassword() const;
  bool HasPassword() const { return check_value_ != 0; }
  uint32_t check_value() const { return check_value_; }
  void CopyFrom(const Password& other) { *this = other; }

  // 0 for an empty text, else the string hash of the text plus 1.
  static uint32_t CheckValue(std::string_view text);

  // The two-field entries of "##Protection", kept and written back as they are.
  std::vector<std::pair<std::string, std::string>> entries;

 private:
  std::string masked_;
  uint32_t check_value_ = 0;
};

// The password of a database, kept with it.
struct DatabasePassword : DatabaseAttachment {
  explicit DatabasePassword(Database&) {}
  Password password;
  // True when the database was read from a text file: its windows open without a prompt.
  bool read_from_text = false;
  // Set when a read met a "##Protection" section (the open pipeline clears it first): only
  // then has the file said what its password is.
  bool section_read = false;
};

// Asks the user for a password; tests and the `jov` program answer it. Returns nothing when the
// user cancels. `title` and `prompt` are composed texts (1252).
class PasswordPrompt {
 public:
  virtual ~PasswordPrompt() = default;
  virtual std::optional<std::string> Ask(const std::string& title, const std::string& prompt) = 0;
};

// Before a protected window opens: allowed without a password or for a database read from a
// text file; else the prompt (msg::kPasswordForWindow), and msg::kIncorrectPassword when the
// entry's check value differs.
bool VerifyForWindow(Database& database, PasswordPrompt& prompt);

// Before a save in text form (msg::kPasswordForTextSave); when the save includes the Protection
// section the user is then asked whether the password may appear in the file
// (msg::kPasswordInTextFile), and "No" cancels.
bool VerifyForTextSave(Database& database, PasswordPrompt& prompt, bool includes_protection);

}  // namespace jov
