#include "model/text_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "shell/pending_error.h"
#include "shell/process.h"

namespace jov {
namespace {

std::string Filled(size_t length, char seed) {
  std::string text(length, ' ');
  for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>(seed + i % 61);
  return text;
}

// Random sets, replacements (also from the views of other held texts and of the text itself),
// and frees against a plain model: every held text must read back as the model has it, at
// every length form (short, long) and across block ends and text-sized blocks.
TEST(TextStoreTest, EveryTextReadsBackThroughSetsReplacementsAndFrees) {
  ResetProcess();
  TextStore store;
  std::vector<TextHandle> handles(300, kNoText);
  std::vector<std::string> model(handles.size());
  std::mt19937 random(7);
  const size_t lengths[] = {1, 2, 13, 254, 255, 256, 4000, 70000, TextStore::kBlockBytes + 3};
  for (int step = 0; step < 6000; ++step) {
    const size_t i = random() % handles.size();
    const unsigned action = random() % 8;
    if (action == 0) {
      store.Free(&handles[i]);
      model[i].clear();
    } else if (action == 1) {
      const size_t j = random() % handles.size();
      ASSERT_TRUE(store.Set(&handles[i], store.Get(handles[j])));
      model[i] = model[j];
    } else {
      const size_t length =
          action == 2 ? lengths[random() % std::size(lengths)] : 1 + random() % 40;
      model[i] = Filled(length, static_cast<char>('!' + step % 50));
      ASSERT_TRUE(store.Set(&handles[i], model[i]));
    }
    EXPECT_EQ(handles[i] == kNoText, model[i].empty());
  }
  size_t count = 0, bytes = 0;
  for (size_t i = 0; i < handles.size(); ++i) {
    ASSERT_EQ(store.Get(handles[i]), model[i]) << i;
    count += model[i].empty() ? 0 : 1;
    bytes += model[i].size();
  }
  EXPECT_EQ(store.count(), count);
  EXPECT_EQ(store.TextBytes(), bytes);
  EXPECT_FALSE(StopRequested());
}

// Room is taken again by a text of the same length, and a text is rewritten in place when its
// length form stays, so that editing and deleting do not let the blocks grow without end.
TEST(TextStoreTest, FreedRoomIsTakenAgain) {
  TextStore store;
  TextHandle a = kNoText, b = kNoText, c = kNoText;
  ASSERT_TRUE(store.Set(&a, "invoice"));
  ASSERT_TRUE(store.Set(&b, "receipt"));
  const TextHandle first = a;
  store.Free(&a);
  EXPECT_EQ(a, kNoText);
  ASSERT_TRUE(store.Set(&c, "payment"));
  EXPECT_EQ(c, first);
  ASSERT_TRUE(store.Set(&b, "credits"));
  EXPECT_EQ(store.Get(b), "credits");
  size_t allocated = 0;
  for (int i = 0; i < 100000; ++i) {
    ASSERT_TRUE(store.Set(&b, i % 2 ? "a longer text" : "short"));
    if (i == 10) allocated = store.BytesAllocated();
  }
  EXPECT_EQ(store.BytesAllocated(), allocated);
  EXPECT_EQ(store.Get(b), "a longer text");
  EXPECT_EQ(store.Get(c), "payment");
  EXPECT_EQ(store.count(), 2u);
}

}  // namespace
}  // namespace jov
