// The string hash and its prime size table, shared by the component index, the LZ coder of
// binary files and the password check. Characters are folded to upper case before hashing.
#pragma once

#include <cstdint>
#include <string_view>

namespace jov {

// The table size for a requested count n, chosen by b = floor(log2 n): 1229 below 2^10, then
// 2459, 4919, ... 20132683 for b = 23; larger counts continue the series (about 2.4 * 2^b, prime).
uint32_t HashTableSize(uint64_t requested_count);

// Entries allowed before a table of `size` grows: size - size/8.
inline uint32_t HashThreshold(uint32_t size) { return size - size / 8; }

// The hash of texts for a table of `size` slots, with the reduction modulo the size
// precomputed (the hash reduces once per character on large tables).
class StringHasher {
 public:
  explicit StringHasher(uint32_t size);
  // `text` ends at its first NUL, if any.
  uint32_t operator()(std::string_view text) const;
  uint32_t size() const { return size_; }

 private:
  uint32_t Mod(uint32_t value) const {
    return static_cast<uint32_t>((static_cast<unsigned __int128>(magic_ * value) * size_) >> 64);
  }

  uint32_t size_;
  uint64_t magic_;  // 2^64 / size, rounded up
};

inline uint32_t StringHash(std::string_view text, uint32_t size) {
  return StringHasher(size)(text);
}

}  // namespace jov
