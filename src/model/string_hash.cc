#include "model/string_hash.h"

#include <array>
#include <bit>

#include "model/case_tables.h"

namespace jov {
namespace {

constexpr uint32_t kSmallestSize = 1229;
constexpr int kFirstBits = 10;
// Sizes for b = 10 .. 30.
constexpr std::array<uint32_t, 21> kSizes = {
    2459,     4919,     9833,      19661,     39323,     78643,      157291,
    314581,   629171,   1258291,   2516603,   5033167,   10066337,   20132683,
    40265327, 80530643, 161061283, 322122557, 644245099, 1288490207, 2576980451u};

// Tables below this size hash the characters in pairs.
constexpr uint32_t kPairHashLimit = 65536;

unsigned char Folded(std::string_view text, size_t i) {
  return i < text.size() ? UpperCase(static_cast<unsigned char>(text[i])) : 0;
}

}  // namespace

uint32_t HashTableSize(uint64_t requested_count) {
  if (requested_count < (uint64_t{1} << kFirstBits)) return kSmallestSize;
  const int bits = std::bit_width(requested_count) - 1;
  const size_t index = static_cast<size_t>(bits - kFirstBits);
  return index < kSizes.size() ? kSizes[index] : kSizes.back();
}

StringHasher::StringHasher(uint32_t size) : size_(size), magic_(UINT64_MAX / size + 1) {}

uint32_t StringHasher::operator()(std::string_view text) const {
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  uint32_t h = 0;
  if (size_ < kPairHashLimit) {
    // h stays below 65536, so (h << 15) | c1 << 8 | c2 fits in 31 bits.
    for (size_t i = 0;; i += 2) {
      const unsigned char c1 = Folded(text, i);
      if (c1 == 0) break;
      const unsigned char c2 = Folded(text, i + 1);
      h = Mod((h << 15) | (uint32_t{c1} << 8) | c2);
      if (c2 == 0) break;
    }
    return h;
  }
  h = Folded(text, 0);
  for (size_t i = 1; i < text.size(); ++i) h = Mod(((h & 0x7FFFFF) << 8) | Folded(text, i));
  return h;
}

}  // namespace jov
