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

// The hash of `text` (which ends at its first NUL, if any) for a table of `size` slots.
uint32_t StringHash(std::string_view text, uint32_t size);

}  // namespace jov
