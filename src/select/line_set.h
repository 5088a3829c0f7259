// LineSet: one bit per record of a database's line pool, the result of a subset and the lines a
// scan collects. Sized to the pool when it is made; a line at or past the size is not in the
// set. Bits past the size are always clear, so counts and comparisons see only real lines.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "model/line_store.h"

namespace jov {

class LineSet {
 public:
  LineSet() = default;
  LineSet(const LineSet& other) { CopyFrom(other); }
  LineSet& operator=(const LineSet& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  LineSet(LineSet&&) noexcept = default;
  LineSet& operator=(LineSet&&) noexcept = default;

  size_t size() const { return size_; }
  // The memory the bits take.
  size_t BytesAllocated() const { return WordCount(capacity_) * sizeof(uint64_t); }

  // Sets the size to `size` bits, all clear. False, with the set left empty (size 0) and the
  // pending out-of-memory error posted, when the memory cannot be had. A copy that fails leaves
  // the set empty in the same way.
  bool Reset(size_t size);
  // Frees the bits: the set becomes empty, of size 0.
  void Free();

  bool Test(LineRef line) const {
    return line < size_ && (words_[line >> 6] >> (line & 63) & 1) != 0;
  }
  // The line must be below size().
  void Set(LineRef line) { words_[line >> 6] |= uint64_t{1} << (line & 63); }
  void Clear(LineRef line) { words_[line >> 6] &= ~(uint64_t{1} << (line & 63)); }
  void SetAll();
  void ClearAll();
  bool Any() const;
  size_t Count() const;

  // In place, bit by bit over this set's size; `other` may be smaller (its missing bits are
  // clear).
  LineSet& operator|=(const LineSet& other);
  LineSet& operator&=(const LineSet& other);
  LineSet& operator^=(const LineSet& other);
  LineSet& Subtract(const LineSet& other);
  void Complement();

  // Same size and the same bits.
  bool operator==(const LineSet& other) const;

  // The words behind the bits, for loops that test many lines: bit (line & 63) of word line >> 6.
  const uint64_t* words() const { return words_.get(); }
  uint64_t* words() { return words_.get(); }

 private:
  static size_t WordCount(size_t bits) { return (bits + 63) / 64; }
  void CopyFrom(const LineSet& other);
  void ClearTail();

  size_t size_ = 0;
  size_t capacity_ = 0;  // bits the words can hold
  std::unique_ptr<uint64_t[]> words_;
};

}  // namespace jov
