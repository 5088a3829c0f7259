#include "select/criterion_text.h"

#include <algorithm>

namespace jov {

void CutToCriterionLength(std::string& text) {
  if (text.size() > kMaxCriterionLength) text.resize(kMaxCriterionLength);
}

void ReplaceDotRuns(std::string& text) {
  std::string out;
  out.reserve(text.size());
  char quote = 0;  // the quote character of the quoted text being passed, if any
  for (size_t i = 0; i < text.size(); ++i) {
    if (quote == 0 && IsQuoteChar(text[i])) {
      quote = text[i];
    } else if (text[i] == quote) {
      quote = 0;
    }
    if (quote == 0 && text[i] == '.' && i + 1 < text.size() && text[i + 1] == '.') {
      while (i + 1 < text.size() && text[i + 1] == '.') ++i;
      out.push_back('_');
    } else {
      out.push_back(text[i]);
    }
  }
  text = std::move(out);
}

void RemoveBlanks(std::string& text) { std::erase(text, ' '); }

std::string_view TrimBlanksView(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string OneField(std::string_view text) {
  std::string field(text);
  for (char& c : field) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return field;
}

}  // namespace jov
