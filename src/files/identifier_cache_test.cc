#include "files/identifier_cache.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace jov
