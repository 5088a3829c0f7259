// Owned texts of cards and lines (titles, notes, line texts) addressed by a 32-bit handle, so
// that a record carries 4 bytes for a text that is usually absent. Handle 0 means no text.
//
// The texts lie one after the other in large blocks, each behind its length (one byte, or five
// from kLongLength bytes on); a handle is the position of that length: block number in the high
// bits, offset in the block below. A text costs its bytes and one more, with no per-text
// allocation. Blocks never move, so a text's bytes stay where they are until it is replaced or
// freed; the room of a freed text is taken again by a later text of the same length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace jov {

using TextHandle = uint32_t;
constexpr TextHandle kNoText = 0;

class TextStore {
 public:
  static constexpr int kOffsetBits = 20;
  static constexpr size_t kBlockBytes = size_t{1} << kOffsetBits;
  static constexpr size_t kFirstBlockBytes = 4096;
  static constexpr size_t kMaxBlocks = size_t{1} << (32 - kOffsetBits);
  // A length of this or more is stored in four bytes after this marker byte.
  static constexpr unsigned char kLongLength = 255;

  TextStore();
  TextStore(const TextStore&) = delete;
  TextStore& operator=(const TextStore&) = delete;

  // The text, valid until it is replaced or freed.
  std::string_view Get(TextHandle handle) const {
    if (handle == kNoText) return {};
    const unsigned char* at = blocks_[handle >> kOffsetBits].get() + (handle & kOffsetMask);
    if (at[0] != kLongLength) return {reinterpret_cast<const char*>(at + 1), at[0]};
    uint32_t length;
    std::memcpy(&length, at + 1, sizeof length);
    return {reinterpret_cast<const char*>(at + 5), length};
  }
  // Replaces the text behind `*handle` (the handle may change): an empty text frees it and
  // leaves kNoText. `text` may be a view of any held text, this one included. False (the text
  // unchanged, the pending out-of-memory error posted) when memory or handles run out.
  bool Set(TextHandle* handle, std::string_view text);
  void Free(TextHandle* handle);

  size_t count() const { return count_; }
  // Bytes of all held texts.
  size_t TextBytes() const { return text_bytes_; }
  // Bytes of the blocks and of the lists of free room.
  size_t BytesAllocated() const;

 private:
  static constexpr uint32_t kOffsetMask = (uint32_t{1} << kOffsetBits) - 1;

  // The bytes a text of `length` takes with its length.
  static size_t SpanOf(size_t length) { return length + (length < kLongLength ? 1 : 5); }
  unsigned char* At(TextHandle handle) const {
    return blocks_[handle >> kOffsetBits].get() + (handle & kOffsetMask);
  }
  // Room for a span: freed room of that size, else the end of the last block, else a new block;
  // kNoText when none can be had.
  TextHandle Reserve(size_t span);
  bool NewBlock(size_t bytes);
  void Write(TextHandle handle, std::string_view text);
  void Release(TextHandle handle);

  std::vector<std::unique_ptr<unsigned char[]>> blocks_;
  size_t used_ = 0;                                             // bytes taken in the last block
  size_t capacity_ = 0;                                         // its size
  std::unordered_map<uint32_t, std::vector<TextHandle>> free_;  // freed room by span
  size_t free_count_ = 0;
  size_t count_ = 0;
  size_t text_bytes_ = 0;
  size_t block_bytes_ = 0;
};

}  // namespace jov
