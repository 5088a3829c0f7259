// Command scripts as the script reader takes them: lines at any line end, split into tokens.
// What must hold: lines hold no line end, tokens stay within their bound and the end of a line
// is told alike by both calls, and every line's tokens, written back in quotes, read back to
// the same tokens.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "io/script_reader.h"

namespace jov {
namespace {

std::vector<std::string> Tokens(std::string_view line) {
  TokenLine tokens(line);
  std::vector<std::string> all;
  for (;;) {
    const bool at_end = tokens.AtEnd();
    std::string token;
    const bool read = tokens.Next(&token);
    JOV_FUZZ_CHECK(read == !at_end);
    if (!read) return all;
    JOV_FUZZ_CHECK(token.size() <= TokenLine::kMaxToken);
    all.push_back(std::move(token));
  }
}

// A token as one quoted word: runs in double quotes, a double quote itself in apostrophes.
std::string Quoted(std::string_view token) {
  std::string out;
  char open = 0;
  for (const char c : token) {
    const char quote = c == '"' ? '\'' : '"';
    if (quote != open) {
      if (open != 0) out += open;
      out += quote;
      open = quote;
    }
    out += c;
  }
  return open == 0 ? "\"\"" : out + open;
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(script) {
  const std::string_view text = jov::fuzz::AsText(data, size);
  jov::TextScriptLines lines(text);
  std::string_view line;
  size_t line_bytes = 0;
  while (lines.Next(&line)) {
    JOV_FUZZ_CHECK(line.find_first_of("\r\n") == std::string_view::npos);
    line_bytes += line.size();
    JOV_FUZZ_CHECK(line_bytes <= size);
    const std::vector<std::string> tokens = jov::Tokens(line);
    std::string written;
    for (const std::string& token : tokens) written += jov::Quoted(token) + " ";
    JOV_FUZZ_CHECK(jov::Tokens(written) == tokens);
  }
}
