#include "io/script_reader.h"

#include "files/line_source.h"
#include "model/case_tables.h"

namespace jov {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

}  // namespace

void TokenLine::SkipBlanks() {
  while (position_ < line_.size() && IsBlank(line_[position_])) ++position_;
}

bool TokenLine::AtEnd() {
  SkipBlanks();
  if (line_.substr(position_).starts_with("//")) position_ = line_.size();
  return position_ >= line_.size();
}

bool TokenLine::Next(std::string* token) {
  token->clear();
  if (AtEnd()) return false;
  while (position_ < line_.size() && !IsBlank(line_[position_])) {
    const char c = line_[position_++];
    if (!IsQuote(c)) {
      if (token->size() < kMaxToken) token->push_back(c);
      continue;
    }
    // A quoted run: everything up to the same quote, blanks included; an unclosed run ends
    // with the line.
    const size_t close = line_.find(c, position_);
    const size_t end = close == std::string_view::npos ? line_.size() : close;
    const std::string_view run = line_.substr(position_, end - position_);
    token->append(run.substr(0, kMaxToken - std::min(kMaxToken, token->size())));
    position_ = close == std::string_view::npos ? line_.size() : close + 1;
  }
  return true;
}

std::string TokenLine::Next() {
  std::string token;
  Next(&token);
  return token;
}

struct TextScriptLines::State {
  explicit State(std::string_view text) : bytes(text), lines(bytes) {}
  MemoryByteSource bytes;
  LineSource lines;
};

TextScriptLines::TextScriptLines(std::string_view text) : state_(std::make_unique<State>(text)) {}

TextScriptLines::~TextScriptLines() = default;

bool TextScriptLines::Next(std::string_view* line) { return state_->lines.Next(line); }

bool TokenIs(std::string_view token, std::string_view word) {
  return EqualsIgnoringCase(token, word);
}

bool TokenStartsWith(std::string_view token, std::string_view word) {
  return token.size() >= word.size() && EqualsIgnoringCase(token.substr(0, word.size()), word);
}

}  // namespace jov
