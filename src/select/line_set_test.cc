#include "select/line_set.h"

#include <gtest/gtest.h>

namespace jov {
namespace {

LineSet Of(size_t size, std::initializer_list<LineRef> lines) {
  LineSet set;
  set.Reset(size);
  for (LineRef line : lines) set.Set(line);
  return set;
}

// Sizes that end inside a word: the bits past the size must never count or compare.
TEST(LineSetTest, OperationsKeepBitsPastTheSizeClear) {
  LineSet a = Of(70, {0, 63, 64, 69});
  const LineSet b = Of(65, {63, 64});
  EXPECT_EQ(a.Count(), 4u);
  EXPECT_FALSE(a.Test(70));
  EXPECT_FALSE(a.Test(1000));

  LineSet complement = a;
  complement.Complement();
  EXPECT_EQ(complement.Count(), 66u);
  complement.SetAll();
  EXPECT_EQ(complement.Count(), 70u);

  LineSet both = a;
  both &= b;
  EXPECT_EQ(both, Of(70, {63, 64}));
  LineSet either = a;
  either ^= b;
  EXPECT_EQ(either, Of(70, {0, 69}));
  LineSet minus = a;
  minus.Subtract(b);
  EXPECT_EQ(minus, Of(70, {0, 69}));
  LineSet any = b;
  any |= a;  // the larger set's bits past the smaller size are not taken
  EXPECT_EQ(any, Of(65, {0, 63, 64}));

  EXPECT_NE(Of(70, {}), Of(71, {}));
  EXPECT_FALSE(Of(70, {}).Any());
  EXPECT_TRUE(Of(70, {69}).Any());

  // A reset clears, whether the memory grows or is reused.
  a.Reset(10);
  EXPECT_EQ(a.Count(), 0u);
  a.Set(9);
  a.Reset(2000);
  EXPECT_EQ(a.Count(), 0u);
  a.Free();
  EXPECT_EQ(a.size(), 0u);
  EXPECT_FALSE(a.Test(0));
}

}  // namespace
}  // namespace jov
