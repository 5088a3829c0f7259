#include "files/fields.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "files/byte_scan.h"
#include "shell/number_text.h"

namespace jov {

std::string_view TrimTrailingBlanks(std::string_view text) {
  size_t size = text.size();
  while (size > 0 && text[size - 1] == ' ') --size;
  return text.substr(0, size);
}

std::optional<int> FieldInteger(std::string_view text) {
  const double value = ParseNumber(text);
  if (std::isnan(value)) return std::nullopt;
  if (value >= INT_MAX) return INT_MAX;
  if (value <= INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string_view KeyValue(const Fields& fields, size_t key_length) {
  const std::string_view first = fields[0];
  return first.size() > key_length ? first.substr(key_length) : fields[1];
}

std::string_view ValueAfterKey(std::string_view line, size_t key_length) {
  std::string_view value = line.substr(std::min(line.size(), key_length));
  if (value.starts_with('\t')) value.remove_prefix(1);
  return value;
}

void Fields::Split(std::string_view line) {
  const char* const text = line.data();
  size_t count = 0;
  size_t start = 0;
  // Takes [start, stop) without its trailing blanks as the next field.
  const auto take = [&](size_t stop) {
    size_t last = stop;
    while (last != start && text[last - 1] == ' ') --last;
    if (count == fields_.size()) fields_.resize(2 * count + 8);
    fields_[count++] = std::string_view(text + start, last - start);
    start = stop + 1;
  };
  ForEachByte(text, line.size(), '\t', take);
  take(line.size());
  count_ = count;
}

}  // namespace jov
