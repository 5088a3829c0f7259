// The line writer of the section stream: lines are built in a buffer, lose their trailing tabs,
// end with the line end chosen by the caller (CR LF for text files, CR for binary ones) and go
// to a byte sink in large chunks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/text_format.h"

namespace jov {

// Takes the bytes of a stream in chunks.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // False when the bytes could not be taken (the write then fails).
  virtual bool Write(std::string_view bytes) = 0;
};

// A byte sink that collects the stream in memory.
class StringByteSink : public ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    text_.append(bytes);
    return true;
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

class LineSink {
 public:
  static constexpr size_t kDefaultFlushBytes = 1 << 16;

  // Lines go to `bytes` whenever `flush_bytes` or more have collected.
  explicit LineSink(ByteSink& bytes, std::string_view line_end = text_format::kTextLineEnd,
                    size_t flush_bytes = kDefaultFlushBytes);
  LineSink(const LineSink&) = delete;
  LineSink& operator=(const LineSink&) = delete;

  // The buffer that the current line is appended to.
  std::string& line() { return buffer_; }
  LineSink& Add(std::string_view text) {
    buffer_.append(text);
    return *this;
  }
  LineSink& Add(char c) {
    buffer_.push_back(c);
    return *this;
  }
  LineSink& Tab() { return Add('\t'); }
  // A single-line text: tabs and line breaks, which would split the line, become blanks.
  LineSink& Text(std::string_view text);
  LineSink& Integer(long long value);
  // A value with `decimals` decimals, trailing zeros and point dropped; a missing value (NaN)
  // as "\\", the infinities as "+ inf" and "- inf".
  LineSink& Value(double value, int decimals);

  // Ends the current line: removes its trailing tabs (unless told not to) and adds the line end.
  void EndLine(bool drop_trailing_tabs = true);
  // The line end of later lines; may be empty.
  void set_line_end(std::string_view line_end) { line_end_ = line_end; }
  const std::string& line_end() const { return line_end_; }
  // A whole line: `text` and the line end.
  void WriteLine(std::string_view text) {
    Add(text);
    EndLine();
  }
  // A whole line whose trailing tabs are part of its grammar (a time-scale entry without a
  // name keeps the tab after its date): `text` as it stands and the line end.
  void WriteLineKeepingTabs(std::string_view text) {
    Add(text);
    EndLine(/*drop_trailing_tabs=*/false);
  }
  // Hands the rest of the buffer to the byte sink; false when any write failed.
  bool Finish();

 private:
  void Flush();

  ByteSink& bytes_;
  std::string line_end_;
  size_t flush_bytes_;
  std::string buffer_;
  size_t line_start_ = 0;
  bool failed_ = false;
};

}  // namespace jov
