// TextString: the growable text that carries message texts and alert arguments. It never grows
// past kMaxLength characters; an edit that would is refused and leaves the text as it was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jov {

class TextString {
 public:
  static constexpr size_t kMaxLength = 32500;
  // Room a new value has in place, and the slack added when it grows (capacity rounds up to a
  // multiple of 4 after adding kGrowthSlack).
  static constexpr size_t kInitialRoom = 111;
  static constexpr size_t kGrowthSlack = 127;

  TextString();
  explicit TextString(std::string_view text);  // cut to kMaxLength

  const std::string& str() const { return text_; }
  std::string_view view() const { return text_; }
  size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }

  // Each returns false, changing nothing, when the result would exceed kMaxLength.
  bool Append(std::string_view more);
  bool Insert(size_t pos, std::string_view more);
  bool Replace(size_t pos, size_t count, std::string_view with);
  // Replaces every occurrence of `what`; false (text unchanged) if the result would be too long.
  bool ReplaceAll(std::string_view what, std::string_view with);

 private:
  bool Reserve(size_t length);

  std::string text_;
};

}  // namespace jov
