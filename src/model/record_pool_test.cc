#include "model/record_pool.h"

#include <gtest/gtest.h>

#include "model/card_store.h"
#include "model/line_store.h"
#include "shell/process.h"

namespace jov {
namespace {

struct Record {
  uint32_t number = kNoRecord;
  uint32_t next = kNoRecord;
};

class RecordPoolTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
};

// The checks that abort are compiled out of release builds.
class RecordPoolDeathTest : public RecordPoolTest {
 protected:
  void SetUp() override {
#if !JOV_CHECKS
    GTEST_SKIP() << "the debug checks are compiled out in this build";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    RecordPoolTest::SetUp();
  }
};

TEST_F(RecordPoolTest, FreedRecordsAreReusedOnce) {
  RecordPool<Record> pool;
  const uint32_t a = pool.Allocate(), b = pool.Allocate();
  pool.Free(a);
  EXPECT_FALSE(pool.IsLive(a));
  EXPECT_EQ(pool.Allocate(), a);
  EXPECT_EQ(pool.Allocate(), 2u);
  EXPECT_TRUE(pool.IsLive(b));
}

// A record freed twice would sit on the free list twice and be handed out to two owners.
TEST_F(RecordPoolDeathTest, DoubleFreesAndNumbersPastTheEndAbort) {
  RecordPool<Record> pool;
  const uint32_t ref = pool.Allocate();
  pool.Free(ref);
  EXPECT_DEATH(pool.Free(ref), "freed twice");
  EXPECT_DEATH(pool[ref + 1], "past the end");

  LineStore lines;
  const LineRef line = lines.Allocate();
  lines.Free(line);
  EXPECT_DEATH(lines.Free(line), "freed twice");
  EXPECT_DEATH(lines.next(line + 7), "past the end");
}

// Day, card, group and line numbers are all plain integers: one passed for another compiles,
// and the card store's checks catch it.
TEST_F(RecordPoolDeathTest, SwappedReferencesInTheCardStoreAbort) {
  CardStore store;
  const CardRef first = store.CreateCard({PackDay(2024, 1, 1), 1});
  const CardRef second = store.CreateCard({PackDay(2024, 1, 1), 2});
  const GroupRef group = store.FindOrAddGroup(first, 1);
  const LineRef line = store.CreateLine(group);
  ASSERT_NE(second, group);
  EXPECT_DEATH(store.CreateLine(second), "not a live group");
  EXPECT_DEATH(store.SetTitle(kCardSentinel, "x"), "not a live card");
  store.DeleteLine(first, group, line);  // the emptied card goes with it
  EXPECT_DEATH(store.SetTitle(first, "gone"), "not a live card");
  EXPECT_DEATH(store.SetLineText(line, "gone"), "not a live line");
}

}  // namespace
}  // namespace jov
