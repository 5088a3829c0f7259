#include "files/multiline_text.h"

#include <algorithm>

namespace jov {

namespace {

void Encode(std::string_view text, std::string& coded) {
  coded.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      coded.push_back(text_format::kEncodedReturn);
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      coded.push_back(c == '\t' ? text_format::kEncodedTab : c);
    }
  }
}

bool EndsWithContinuation(std::string_view text) {
  return text.ends_with(text_format::kContinuation);
}

}  // namespace

void WriteMultilineField(LineSink& sink, std::string_view text, std::string& scratch) {
  Encode(text, scratch);
  std::string_view rest = scratch;
  while (rest.size() > text_format::kMaxUnsplitBytes) {
    sink.Add(rest.substr(0, text_format::kPieceBytes)).Add(text_format::kContinuation);
    sink.EndLine();
    rest.remove_prefix(text_format::kPieceBytes);
  }
  sink.Add(rest);
  if (EndsWithContinuation(rest)) {
    sink.Add(text_format::kContinuation);
    sink.EndLine();
  }
  sink.EndLine();
}

void DecodeMultiline(std::string_view coded, std::string* text) {
  text->assign(coded);
  std::replace(text->begin(), text->end(), text_format::kEncodedReturn, '\r');
  std::replace(text->begin(), text->end(), text_format::kEncodedTab, '\t');
}

bool TakeContinuation(std::string_view* line) {
  if (!EndsWithContinuation(*line)) return false;
  line->remove_suffix(text_format::kContinuation.size());
  return true;
}

}  // namespace jov
