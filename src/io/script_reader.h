// The reader of command scripts and of other files written in the same token language: lines
// end at CR or LF (a CR LF or LF CR pair is one line end); tokens are separated by runs of bytes
// 0 to 32; a double quote or an apostrophe opens a quoted run that ends at the same character
// (or at the end of the line), and quoted and unquoted runs that touch form one token; a token
// that begins with "//" outside quotes ends the line.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace jov {

// The tokens of one line. The line must outlive the object.
class TokenLine {
 public:
  // A longer token keeps its first kMaxToken bytes; the rest of it is skipped.
  static constexpr size_t kMaxToken = 2047;

  explicit TokenLine(std::string_view line = {}) : line_(line) {}

  // Reads the next token into `*token` (quotes removed); false at the end of the line or at a
  // "//" comment, with `*token` empty.
  bool Next(std::string* token);
  // The next token, empty at the end of the line (an empty quoted token also reads as empty).
  std::string Next();
  // True when no token is left before the end of the line or a comment.
  bool AtEnd();

 private:
  void SkipBlanks();

  std::string_view line_;
  size_t position_ = 0;
};

// Hands out the lines of a script.
class ScriptLines {
 public:
  virtual ~ScriptLines() = default;
  // The next line without its line end, valid until the next call; false at the end.
  virtual bool Next(std::string_view* line) = 0;
};

// The lines of a script held in memory.
class TextScriptLines : public ScriptLines {
 public:
  // `text` must outlive the object.
  explicit TextScriptLines(std::string_view text);
  ~TextScriptLines() override;
  bool Next(std::string_view* line) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Compares a token with a word, ignoring case: the whole token, or only its beginning (options
// that may be written out further, "-filter" as "-filtered").
bool TokenIs(std::string_view token, std::string_view word);
bool TokenStartsWith(std::string_view token, std::string_view word);

}  // namespace jov
