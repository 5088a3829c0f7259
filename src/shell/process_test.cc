#include "shell/process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <thread>

#include "shell/pending_error.h"

namespace jov {
namespace {

struct Counter : ProcessSlot {
  int value = 0;
};

struct Label : ProcessSlot {
  std::string text = "fresh";
};

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
};

TEST_F(ProcessTest, SlotsAreKeptPerKindUntilTheProcessIsReset) {
  Process().Slot<Counter>().value = 7;
  Process().Slot<Label>().text = "used";
  EXPECT_EQ(Process().Slot<Counter>().value, 7);
  EXPECT_EQ(Process().Slot<Label>().text, "used");

  ResetProcess();
  EXPECT_EQ(Process().Slot<Counter>().value, 0);
  EXPECT_EQ(Process().Slot<Label>().text, "fresh");
}

// Ctrl-C and a second thread both stop the engine's work through the same flag, which the
// engine's thread clears when it reports.
TEST_F(ProcessTest, StopRequestsArriveFromOtherThreadsAndSignalHandlers) {
  std::thread([] { RequestStop(); }).join();
  EXPECT_TRUE(StopRequested());
  FlushPendingError();
  EXPECT_FALSE(StopRequested());

  auto* const previous = std::signal(SIGUSR1, [](int) { RequestStop(); });
  std::raise(SIGUSR1);
  std::signal(SIGUSR1, previous);
  EXPECT_TRUE(StopRequested());
  ResetProcess();
  EXPECT_FALSE(StopRequested());
}

}  // namespace
}  // namespace jov
