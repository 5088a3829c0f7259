#include "select/component_code_text.h"

#include "select/component_expression.h"
#include "select/criterion_text.h"

namespace jov {
namespace {

bool IsTokenChar(char c) {
  switch (c) {
    case kBackslashChar:
    case '?':
    case kLowestChar:
    case '_':
    case '^':
    case '!':
      return true;
    default:
      return IsBooleanChar(c);
  }
}

// Where an unquoted code that starts at `pos` ends.
size_t CodeEnd(std::string_view text, size_t pos) {
  while (pos < text.size() && !IsTokenChar(text[pos]) && IntervalMarkLength(text, pos) == 0) {
    ++pos;
  }
  return pos;
}

}  // namespace

size_t IntervalMarkLength(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  if (text[pos] == '_') return 1;
  size_t n = 0;
  while (pos + n < text.size() && text[pos + n] == '.') ++n;
  return n >= 2 ? n : 0;
}

bool ReadCodeText(std::string_view text, size_t* pos, std::string* code) {
  if (*pos >= text.size()) return false;
  if (IsQuoteChar(text[*pos])) {
    const size_t close = text.find(text[*pos], *pos + 1);
    const size_t end = close == text.npos ? text.size() : close;
    code->assign(text.substr(*pos + 1, end - *pos - 1));
    if (code->empty()) return false;
    *pos = close == text.npos ? end : end + 1;
    return true;
  }
  const size_t end = CodeEnd(text, *pos);
  std::string_view run = text.substr(*pos, end - *pos);
  while (!run.empty() && run.back() == ' ') run.remove_suffix(1);
  if (run.empty()) return false;
  code->assign(run);
  *pos = end;
  return true;
}

void SkipCodeText(std::string_view text, size_t* pos) {
  std::string code;
  if (ReadCodeText(text, pos, &code)) return;
  const size_t mark = IntervalMarkLength(text, *pos);
  *pos += mark > 0 ? mark : 1;
}

void AppendCode(std::string& out, std::string_view code) {
  bool plain =
      !code.empty() && !IsQuoteChar(code.front()) && code.front() != ' ' && code.back() != ' ';
  for (size_t i = 0; plain && i < code.size(); ++i) {
    plain = !IsTokenChar(code[i]) && IntervalMarkLength(code, i) == 0;
  }
  if (plain) {
    out.append(code);
    return;
  }
  const char quote = code.find('\'') == code.npos ? '\'' : '"';
  out.push_back(quote);
  out.append(code);
  out.push_back(quote);
}

}  // namespace jov
