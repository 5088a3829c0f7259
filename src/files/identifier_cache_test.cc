#include "files/identifier_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace jov {
namespace {

TEST(IdentifierCacheTest, FindsExactlyWhatWasAddedThroughGrowth) {
  IdentifierCache cache;
  EXPECT_EQ(cache.Find("K1"), kNoComponent);
  for (ComponentRef i = 0; i < 5000; ++i) cache.Add("K" + std::to_string(i), 100 + i);
  for (ComponentRef i = 0; i < 5000; ++i) EXPECT_EQ(cache.Find("K" + std::to_string(i)), 100 + i);
  EXPECT_EQ(cache.Find("k1"), kNoComponent);  // exact text only
  EXPECT_EQ(cache.Find(""), kNoComponent);
  cache.Add("K1", 7);
  EXPECT_EQ(cache.Find("K1"), 7u);
  cache.Clear();
  EXPECT_EQ(cache.Find("K2"), kNoComponent);
}

// Texts of every length that differ in a single byte, at every position, or only in length
// (trailing zero bytes, shared first 16 bytes) are different identifiers.
TEST(IdentifierCacheTest, TellsApartTextsThatDifferInOneByteOrInLength) {
  IdentifierCache cache;
  std::vector<std::string> texts;
  for (size_t length = 1; length <= 40; ++length) {
    const std::string base(length, 'a');
    texts.push_back(base);
    texts.push_back(base + std::string(1, '\0'));
    for (size_t i = 0; i < length; ++i) {
      std::string changed = base;
      changed[i] = 'b';
      texts.push_back(changed);
    }
  }
  for (size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(cache.Find(texts[i]), kNoComponent) << texts[i];
    cache.Add(texts[i], static_cast<ComponentRef>(100 + i));
  }
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(cache.Find(texts[i]), 100 + i) << texts[i];
}

}  // namespace
}  // namespace jov
