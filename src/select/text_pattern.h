// TextPattern: which card titles, line texts or notes pass. Plain operands are literals found
// anywhere in the text ignoring case; "\" alone stands for the empty text; "\" followed by more
// starts an advanced pattern that must match the whole text. Operands are joined by the
// boolean operators.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "select/advanced_pattern.h"
#include "select/boolean_program.h"

namespace jov {

struct TextTest {
  enum Kind : uint8_t { kContains, kEmpty, kAdvanced };
  Kind kind;
  std::string folded;     // kContains: the literal, folded
  uint32_t advanced = 0;  // kAdvanced: the pattern's index
};

class TextPattern {
 public:
  // Compiles `text` and replaces it by its corrected form: cut to 1,023 characters, runs of
  // two or more dots outside quotes written "_" (in plain literals too), an empty literal
  // before an operator written "\", advanced patterns corrected, whatever does not fit the
  // grammar dropped. Nothing when no operand remains.
  static std::optional<TextPattern> Compile(std::string& text);

  bool Matches(const char* chars, size_t length) const;
  bool Matches(std::string_view text) const { return Matches(text.data(), text.size()); }
  // The result for the empty text, computed once when compiled: what cards without a title
  // and lines without a text get.
  bool empty_text_result() const { return empty_text_result_; }

 private:
  TextPattern(BooleanProgram<TextTest> program, std::vector<AdvancedPattern> advanced);

  BooleanProgram<TextTest> program_;
  std::vector<AdvancedPattern> advanced_;
  bool empty_text_result_ = false;
};

// A missing pattern passes every text.
inline bool MatchTextPattern(const TextPattern* pattern, const char* chars, size_t length) {
  return pattern == nullptr || pattern->Matches(chars, length);
}

}  // namespace jov
