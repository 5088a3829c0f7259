// Owned texts of cards and lines (titles, notes, line texts) addressed by a 32-bit handle, so
// that a record carries 4 bytes for a text that is usually absent. Handle 0 means no text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jov {

using TextHandle = uint32_t;
constexpr TextHandle kNoText = 0;

class TextStore {
 public:
  TextStore();

  std::string_view Get(TextHandle handle) const {
    return handle == kNoText ? std::string_view() : std::string_view(texts_[handle]);
  }
  // Replaces the text behind `*handle`: an empty text frees it and leaves kNoText. False (the
  // text unchanged, the pending out-of-memory error posted) when memory runs out.
  bool Set(TextHandle* handle, std::string_view text);
  void Free(TextHandle* handle);

  size_t count() const { return texts_.size() - 1 - free_.size(); }
  // Bytes of all held texts.
  size_t TextBytes() const { return text_bytes_; }

 private:
  std::vector<std::string> texts_;  // texts_[0] unused
  std::vector<TextHandle> free_;
  size_t text_bytes_ = 0;
};

}  // namespace jov
