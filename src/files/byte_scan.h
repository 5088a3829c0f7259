// Finding one or two byte values in short runs of text (a line's end, a field's tab) eight
// bytes at a time: the lines and fields of the section stream are a few dozen bytes long, too
// short for a library call to pay for itself.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace jov {
namespace byte_scan {

constexpr uint64_t kOnes = 0x0101010101010101u;
constexpr uint64_t kHighs = 0x8080808080808080u;

// A mark in the high bit of each byte of `word` that equals `c`. Bytes above the first match
// may be marked falsely (a borrow runs on from the match), so only the lowest mark counts.
inline uint64_t Matches(uint64_t word, unsigned char c) {
  const uint64_t x = word ^ (kOnes * c);
  return (x - kOnes) & ~x & kHighs;
}

// A mark in the high bit of each byte of `word` that equals `c`, and of no other byte: slower
// than Matches by two operations, for loops that take every match of a word.
inline uint64_t ExactMatches(uint64_t word, unsigned char c) {
  constexpr uint64_t kLows = ~kHighs;
  const uint64_t x = word ^ (kOnes * c);
  return ~(((x & kLows) + kLows) | x) & kHighs;
}

inline uint64_t Load(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

}  // namespace byte_scan

// Whether any byte of [p, p + size) is below `limit` (at most 128).
inline bool AnyByteBelow(const char* p, size_t size, unsigned char limit) {
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    const uint64_t word = byte_scan::Load(p + i);
    if (((word - byte_scan::kOnes * limit) & ~word & byte_scan::kHighs) != 0) return true;
  }
  for (; i < size; ++i) {
    if (static_cast<unsigned char>(p[i]) < limit) return true;
  }
  return false;
}

// The first byte in [p, end) that is `a` or `b`, or `end`.
inline const char* FindEither(const char* p, const char* end, unsigned char a, unsigned char b) {
  for (; end - p >= 8; p += 8) {
    const uint64_t word = byte_scan::Load(p);
    const uint64_t found = byte_scan::Matches(word, a) | byte_scan::Matches(word, b);
    if (found != 0) return p + std::countr_zero(found) / 8;
  }
  for (; p != end; ++p) {
    if (static_cast<unsigned char>(*p) == a || static_cast<unsigned char>(*p) == b) return p;
  }
  return end;
}

// Calls `found(i)` for each i in [0, size) where text[i] == c, in order.
template <typename Found>
inline void ForEachByte(const char* text, size_t size, unsigned char c, Found&& found) {
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    for (uint64_t marks = byte_scan::ExactMatches(byte_scan::Load(text + i), c); marks != 0;
         marks &= marks - 1) {
      found(i + static_cast<size_t>(std::countr_zero(marks)) / 8);
    }
  }
  if (i == size) return;
  if (size < 8) {
    for (; i < size; ++i) {
      if (static_cast<unsigned char>(text[i]) == c) found(i);
    }
    return;
  }
  // The word that ends with the text; its bytes before i were looked at already.
  const size_t start = size - 8;
  uint64_t marks = byte_scan::ExactMatches(byte_scan::Load(text + start), c);
  marks &= ~uint64_t{0} << (8 * (i - start));
  for (; marks != 0; marks &= marks - 1) {
    found(start + static_cast<size_t>(std::countr_zero(marks)) / 8);
  }
}

}  // namespace jov
