// The field tokenizer shared by every section reader: a line's tab-separated fields as views into
// the line, each without its trailing blanks. The storage is reused from line to line.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace jov {

class Fields {
 public:
  // Splits `line` at tabs; the views stay valid as long as the line does.
  void Split(std::string_view line);

  size_t size() const { return count_; }
  // The field, or an empty view past the last one.
  std::string_view operator[](size_t index) const {
    return index < count_ ? fields_[index] : std::string_view();
  }

 private:
  // fields_[0, count_) are the line's; the storage only grows, so that splitting a line of no
  // more fields than an earlier one writes views and nothing else.
  std::vector<std::string_view> fields_;
  size_t count_ = 0;
};

// `text` without trailing blanks.
std::string_view TrimTrailingBlanks(std::string_view text);

// The whole number a field holds (read by the tolerant number parser, rounded towards zero and
// limited to the range of int); nothing when it holds no number.
std::optional<int> FieldInteger(std::string_view text);

// The value of a key line: the rest of the first field after the key when there is one
// ("-CS"), else the second field ("-C", tab, "S").
std::string_view KeyValue(const Fields& fields, size_t key_length);

// What follows the key of a line, after one tab when there is one: "ZX|1|" and "ZX", tab,
// "|1|" both give "|1|" for a key of two characters.
std::string_view ValueAfterKey(std::string_view line, size_t key_length);

}  // namespace jov
