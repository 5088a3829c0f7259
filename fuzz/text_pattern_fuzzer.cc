// Text patterns as typed, plain and advanced, matched against texts made from the input. What
// must hold: the corrected text compiles to itself and to a pattern that matches alike, and the
// stored result for the empty text is what matching the empty text gives.
#include <string>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "select/text_pattern.h"

JOV_FUZZ_TARGET(text_pattern) {
  const std::string_view input = jov::fuzz::AsText(data, size);
  // The pattern is the input up to its first NUL; what follows is a text to match.
  const size_t split = std::min(input.find('\0'), input.size());
  std::string text(input.substr(0, split));
  const auto [pattern, again] = jov::fuzz::CompileTwice(
      text, [](std::string& typed) { return jov::TextPattern::Compile(typed); });
  if (!pattern || !again) return;
  JOV_FUZZ_CHECK(pattern->empty_text_result() == pattern->Matches(""));
  const std::string_view subject = input.substr(std::min(split + 1, input.size()));
  for (const std::string_view candidate :
       {subject, input, std::string_view("abc"), std::string_view(text)}) {
    JOV_FUZZ_CHECK(pattern->Matches(candidate) == again->Matches(candidate));
  }
}
