#include "files/line_sink.h"

#include <charconv>
#include <cmath>

#include "files/byte_scan.h"
#include "files/text_format.h"
#include "shell/number_text.h"

namespace jov {

LineSink::LineSink(ByteSink& bytes, std::string_view line_end, size_t flush_bytes)
    : bytes_(bytes), line_end_(line_end), flush_bytes_(flush_bytes) {
  buffer_.reserve(2 * flush_bytes_);
}

LineSink& LineSink::Text(std::string_view text) {
  // Most texts hold no byte below a CR, and go as they stand.
  if (!AnyByteBelow(text.data(), text.size(), '\r' + 1)) {
    buffer_.append(text);
    return *this;
  }
  const size_t start = buffer_.size();
  buffer_.append(text);
  for (size_t i = start; i < buffer_.size(); ++i) {
    const char c = buffer_[i];
    if (c == '\t' || c == '\r' || c == '\n') buffer_[i] = ' ';
  }
  return *this;
}

LineSink& LineSink::Integer(long long value) {
  char digits[24];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  buffer_.append(digits, static_cast<size_t>(end - digits));
  return *this;
}

LineSink& LineSink::Value(double value, int decimals) {
  // Its display text "0/0" would read back as 0, and an empty field reads as 0.
  if (std::isnan(value)) {
    buffer_.append(text_format::kMissingValue);
  } else {
    AppendNumber(buffer_, value, decimals);
  }
  return *this;
}

void LineSink::EndLine(bool drop_trailing_tabs) {
  size_t size = buffer_.size();
  while (drop_trailing_tabs && size > line_start_ && buffer_[size - 1] == '\t') --size;
  buffer_.resize(size);
  buffer_.append(line_end_);
  if (buffer_.size() >= flush_bytes_) Flush();
  line_start_ = buffer_.size();
}

void LineSink::Flush() {
  if (!failed_ && !buffer_.empty() && !bytes_.Write(buffer_)) failed_ = true;
  buffer_.clear();
  line_start_ = 0;
}

bool LineSink::Finish() {
  Flush();
  return !failed_;
}

}  // namespace jov
