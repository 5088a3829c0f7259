#include "model/string_hash.h"

#include <gtest/gtest.h>

namespace jov {
namespace {

TEST(StringHashTest, SizeTableFollowsTheBitLength) {
  EXPECT_EQ(HashTableSize(0), 1229u);
  EXPECT_EQ(HashTableSize(1023), 1229u);
  EXPECT_EQ(HashTableSize(1024), 2459u);
  EXPECT_EQ(HashTableSize(2000), 2459u);
  EXPECT_EQ(HashTableSize(2 * 2459), 9833u);  // growth from 2459
  EXPECT_EQ(HashTableSize(2 * 4919), 19661u);
  EXPECT_EQ(HashTableSize((1u << 23) + 5), 20132683u);
  // Beyond the listed sizes the series goes on rather than failing.
  EXPECT_EQ(HashTableSize(1u << 24), 40265327u);
  EXPECT_EQ(HashTableSize(2ull * 20132683), 80530643u);
  EXPECT_EQ(HashTableSize(uint64_t{1} << 40), 2576980451u);
  EXPECT_EQ(HashThreshold(2459), 2459u - 307u);
}

TEST(StringHashTest, SmallTablesHashCharacterPairsFoldedToUpperCase) {
  // "AB": h = (0 << 15 | 'A' << 8 | 'B') mod 2459; "ABC" adds the pair ('C', NUL).
  const uint32_t ab = (('A' << 8) | 'B') % 2459;
  EXPECT_EQ(StringHash("AB", 2459), ab);
  EXPECT_EQ(StringHash("ab", 2459), ab);
  EXPECT_EQ(StringHash("ABC", 2459), ((uint64_t{ab} << 15) | ('C' << 8)) % 2459);
  EXPECT_EQ(StringHash("", 2459), 0u);
  EXPECT_EQ(StringHash(std::string_view("AB\0CD", 5), 2459), ab);  // ends at the NUL
  EXPECT_EQ(StringHash("\xE5", 2459), StringHash("\xC5", 2459));
}

TEST(StringHashTest, LargeTablesHashCharacterByCharacter) {
  const uint32_t size = 157291;
  uint64_t h = 'A';
  h = (((h & 0x7FFFFF) << 8) | 'B') % size;
  h = (((h & 0x7FFFFF) << 8) | 'C') % size;
  EXPECT_EQ(StringHash("abc", size), h);
  EXPECT_LT(StringHash(std::string(1000, '\xFF'), size), size);
}

}  // namespace
}  // namespace jov
