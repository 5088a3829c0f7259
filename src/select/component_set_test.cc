#include "select/component_set.h"

#include <gtest/gtest.h>

namespace jov {
namespace {

TEST(ComponentSetTest, GrowingAndComplementKeepBitsPastTheSizeClear) {
  ComponentSet set(70);
  set.Set(3);
  set.Set(69);
  set.Set(70);  // past the size: ignored
  EXPECT_EQ(set.Count(), 2u);
  set.Resize(130, true);  // new bits set, old ones kept
  EXPECT_TRUE(set.Test(3));
  EXPECT_FALSE(set.Test(4));
  EXPECT_TRUE(set.Test(70));
  EXPECT_TRUE(set.Test(129));
  EXPECT_FALSE(set.Test(130));
  EXPECT_EQ(set.Count(), 2u + 60u);
  set.Complement();
  EXPECT_EQ(set.Count(), 130u - 62u);
  set.Resize(65);
  set.SetAll(true);
  EXPECT_EQ(set.Count(), 65u);
  set.Resize(200);
  EXPECT_EQ(set.Count(), 65u);
}

TEST(ComponentSetTest, SetOperations) {
  ComponentSet a(100), b(100);
  for (ComponentRef r : {1u, 2u, 64u}) a.Set(r);
  for (ComponentRef r : {2u, 64u, 99u}) b.Set(r);
  ComponentSet u = a, i = a, x = a, m = a;
  u |= b;
  i &= b;
  x ^= b;
  m.Subtract(b);
  EXPECT_EQ(u.Count(), 4u);
  EXPECT_EQ(i.Count(), 2u);
  EXPECT_TRUE(x.Test(1) && x.Test(99) && !x.Test(2));
  EXPECT_TRUE(m.Test(1) && !m.Test(64) && !m.Test(99));
}

}  // namespace
}  // namespace jov
