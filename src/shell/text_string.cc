#include "shell/text_string.h"

#include <new>

namespace jov {

TextString::TextString() { text_.reserve(kInitialRoom); }

TextString::TextString(std::string_view text) : TextString() { Append(text.substr(0, kMaxLength)); }

bool TextString::Reserve(size_t length) {
  if (length > kMaxLength) return false;
  if (length <= text_.capacity()) return true;
  const size_t room = (length + kGrowthSlack + 3) / 4 * 4;
  try {
    text_.reserve(room);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool TextString::Append(std::string_view more) { return Insert(text_.size(), more); }

bool TextString::Insert(size_t pos, std::string_view more) {
  if (pos > text_.size() || !Reserve(text_.size() + more.size())) return false;
  text_.insert(pos, more);
  return true;
}

bool TextString::Replace(size_t pos, size_t count, std::string_view with) {
  if (pos > text_.size()) return false;
  if (count > text_.size() - pos) count = text_.size() - pos;
  if (!Reserve(text_.size() - count + with.size())) return false;
  text_.replace(pos, count, with);
  return true;
}

bool TextString::ReplaceAll(std::string_view what, std::string_view with) {
  if (what.empty()) return true;
  std::string result;
  size_t from = 0;
  for (size_t at = text_.find(what); at != std::string::npos; at = text_.find(what, from)) {
    result.append(text_, from, at - from).append(with);
    from = at + what.size();
    if (result.size() > kMaxLength) return false;
  }
  result.append(text_, from, std::string::npos);
  if (!Reserve(result.size())) return false;
  text_.assign(result);
  return true;
}

}  // namespace jov
