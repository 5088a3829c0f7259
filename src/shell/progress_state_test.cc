#include "shell/progress_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "shell/process.h"

namespace jov {
namespace {

// Drives a progress state with a clock the test moves.
class ProgressStateTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }

  // Reports `steps` times, `interval` ms apart, each `units` of 64 bytes further on; returns
  // the seconds to go after each report.
  std::vector<int> Run(int steps, uint32_t interval, int64_t units) {
    std::vector<int> shown;
    for (int i = 0; i < steps; ++i) {
      now_ += interval;
      position_ += units * 64;
      state_.Report(position_);
      shown.push_back(state_.seconds_to_go());
    }
    return shown;
  }

  uint32_t now_ = 4'000'000'000u;  // close to the tick count's wrap-around
  int64_t position_ = 0;
  ProgressState state_{[this] { return now_; }};
};

TEST_F(ProgressStateTest, ReportsCloserThanFiftyMillisecondsMergeExceptTheLast) {
  state_.Start(ProgressMode::kOpening, "demo.jov", 6400, false);
  EXPECT_EQ(state_.total_units(), 100);
  int steps = 0;
  std::vector<int> bar;
  // 64 bytes every 10 ms up to 6,208 bytes, then the end 22 ms after the step before.
  for (int i = 1; i <= 97; ++i) {
    now_ += 10;
    const ProgressStep step = state_.Report(i * 64);
    if (step.stepped) {
      ++steps;
      EXPECT_EQ(state_.done_units() % 5, 0) << "a step every 50 ms, at " << i;
      EXPECT_TRUE(step.bar_moved);
      bar.push_back(state_.bar_end());
    }
  }
  now_ += 2;
  const ProgressStep last = state_.Report(6400);
  EXPECT_TRUE(last.stepped) << "the end is always a step";
  EXPECT_EQ(steps, 19);
  EXPECT_EQ(bar.front(), 5 * 272 / 100);
  EXPECT_EQ(state_.bar_end(), ProgressState::kBarWidth);
  EXPECT_EQ(state_.done_units(), 100);
  // A report in the same millisecond as the last step is merged while work remains.
  EXPECT_FALSE(state_.Report(6400 + 64).bar_moved);
}

TEST_F(ProgressStateTest, EstimatesOnlyOnceTheRingIsFull) {
  for (const auto& [long_operation, ring] : {std::pair{false, 24}, std::pair{true, 64}}) {
    position_ = 0;
    state_.Start(ProgressMode::kOpening, "big.jov", int64_t{64} << 20, long_operation);
    EXPECT_EQ(state_.time_text(), "Estimating");
    const std::vector<int> shown = Run(ring - 1, 50, 50);
    EXPECT_EQ(shown.back(), ProgressState::kNoEstimate);
    EXPECT_EQ(state_.time_text(), "Estimating");
    Run(1, 50, 50);
    // One unit per millisecond: (1,048,576 - 50 * ring) units to go take that many ms.
    const int expected = static_cast<int>((1048576 - 50 * ring) / 1000.0 + 0.5);
    EXPECT_EQ(state_.time_text(), ProgressState::TimeToGoText(expected));
    EXPECT_EQ(state_.seconds_to_go(), expected - 1) << "the countdown starts at the estimate";
  }
}

TEST_F(ProgressStateTest, CountsDownAndReestimatesPastAQuarterWideningTheRing) {
  state_.Start(ProgressMode::kImporting, "big.jov", int64_t{64} << 20, false);
  Run(24, 50, 50);  // one unit per ms: 1,047 s to go, counting down from there
  const int first = state_.seconds_to_go() + 1;
  EXPECT_EQ(first, 1047);
  // Ten seconds at the same speed count the shown time down second by second.
  Run(200, 50, 50);
  EXPECT_EQ(state_.seconds_to_go(), first - 11);
  EXPECT_EQ(state_.ring_capacity(), 24);
  // A little slower: the new estimate stays within a quarter of (s + 8), so it is not shown.
  Run(200, 50, 45);
  EXPECT_EQ(state_.seconds_to_go(), first - 21);
  EXPECT_EQ(state_.ring_capacity(), 24);
  // Half the speed, then four times that: as the ring fills with the new rates the estimate
  // moves past a quarter of (s + 8) and is replaced, and every replacement widens the ring by 8.
  int replacements = 0;
  int before = state_.seconds_to_go();
  auto count = [&](const std::vector<int>& shown) {
    for (int s : shown) {
      if (std::abs(s - before) > 2) ++replacements;  // a countdown moves by one or two
      before = s;
    }
  };
  count(Run(60, 50, 25));
  EXPECT_GT(state_.seconds_to_go(), 1700);
  EXPECT_GE(replacements, 1);
  EXPECT_EQ(state_.ring_capacity(), 24 + 8 * replacements);
  count(Run(400, 50, 100));
  EXPECT_LT(state_.seconds_to_go(), 600);
  EXPECT_EQ(state_.ring_capacity(), std::min(24 + 8 * replacements, ProgressState::kMaxRing));
}

TEST_F(ProgressStateTest, StalledWorkKeepsEstimatingAndTheTimeLineBelongsToReading) {
  state_.Start(ProgressMode::kOpening, "slow.jov", 64 * 1000, false);
  Run(40, 50, 0);
  EXPECT_EQ(state_.seconds_to_go(), ProgressState::kNoEstimate);
  EXPECT_EQ(state_.time_text(), "Estimating");
  EXPECT_EQ(state_.Title(), "Opening slow.jov");
  EXPECT_TRUE(state_.ShowsTimeToGo());
  state_.Start(ProgressMode::kSaving, "slow.jov", 64, false);
  EXPECT_EQ(state_.Title(), "Saving slow.jov");
  EXPECT_FALSE(state_.ShowsTimeToGo());
  // The end reported in the millisecond of the previous step still ends the bar.
  state_.Report(64);
  EXPECT_EQ(state_.bar_end(), ProgressState::kBarWidth);
  state_.SetSection(std::string(40, 'x'));
  EXPECT_EQ(state_.section().size(), ProgressState::kMaxText);
}

TEST_F(ProgressStateTest, TimeTexts) {
  for (const auto& [seconds, text] :
       {std::pair{150, "2 Minutes 30 Seconds"}, std::pair{120, "2 Minutes 0 Seconds"},
        std::pair{75, "1 Minute 15 Seconds"}, std::pair{60, "1 Minute 0 Seconds"},
        std::pair{59, "59 Seconds"}, std::pair{2, "2 Seconds"}, std::pair{1, "1 Second"},
        std::pair{0, ""}, std::pair{-3, ""}}) {
    EXPECT_EQ(ProgressState::TimeToGoText(seconds), text) << seconds;
  }
}

}  // namespace
}  // namespace jov
