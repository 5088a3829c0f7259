// The user's stamp, which operations that change or delete data obtain before they start: the
// current minute with the user's signature (at most three characters). The signature is kept in
// the preferences; when they hold none, the front end's signature prompt (the desktop's dialog,
// a question on the terminal) asks once, and the answer is kept there for the rest of the run
// and saved with the preferences by the program.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/packed_date.h"

namespace jov {

class SignaturePrompt {
 public:
  virtual ~SignaturePrompt() = default;
  // The user's signature; nothing when the user gives none.
  virtual std::optional<std::string> AskSignature() = 0;
};

// Makes `prompt` the one asked while the object lives; the previous one afterwards.
class ScopedSignaturePrompt {
 public:
  explicit ScopedSignaturePrompt(SignaturePrompt* prompt);
  ~ScopedSignaturePrompt();
  ScopedSignaturePrompt(const ScopedSignaturePrompt&) = delete;
  ScopedSignaturePrompt& operator=(const ScopedSignaturePrompt&) = delete;

 private:
  SignaturePrompt* previous_;
};

// Sets the user's signature in the preferences: blanks at both ends removed, cut to three
// characters. False (nothing changed) when nothing is left.
bool SetUserSignature(std::string_view signature);

// The current minute with the user's signature, asked for when there is none; nothing when
// there is still none: the user is told that nothing was changed (3615), and the operation
// does not start.
std::optional<Stamp> ObtainUserStamp();

}  // namespace jov
