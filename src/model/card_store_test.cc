#include "model/card_store.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <vector>

#include "shell/process.h"

namespace jov {
namespace {

constexpr DayCode kJan1 = PackDay(2024, 1, 1);
constexpr DayCode kJan2 = PackDay(2024, 1, 2);

class CardStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }

  // A card with one group and one line, as a reader leaves it.
  CardRef CardWithLine(Date date) {
    const CardRef card = store_.CreateCard(date);
    store_.CreateLine(store_.FindOrAddGroup(card, 0));
    return card;
  }
  std::vector<Sequence> Numbers(DayCode day) {
    std::vector<Sequence> numbers;
    for (CardRef c = store_.FirstCard(); c != kCardSentinel; c = store_.NextCard(c)) {
      if (store_.CardId(c).day == day) numbers.push_back(store_.card(c).sequence);
    }
    return numbers;
  }
  Sequence RunEnd(DayCode day) {
    const DayRef d = store_.FindDay(day);
    const CardRef run_end = store_.day(d).run_end;
    return run_end == kNoRecord ? 0 : store_.card(run_end).sequence;
  }

  CardStore store_;
};

TEST_F(CardStoreTest, TakenNumbersYieldTheFirstFreeNumberAbove) {
  EXPECT_EQ(store_.card(store_.CreateCard({kJan1, 1})).sequence, 1);
  EXPECT_EQ(store_.card(store_.CreateCard({kJan1, 1})).sequence, 2);
  EXPECT_EQ(store_.card(store_.CreateCard({kJan1, 0})).sequence, 3);

  for (Sequence n : {1, 2, 4}) store_.CreateCard({kJan2, n});
  EXPECT_EQ(RunEnd(kJan2), 2);
  EXPECT_EQ(store_.card(store_.CreateCard({kJan2, 2})).sequence, 3);
  EXPECT_EQ(RunEnd(kJan2), 4);
  EXPECT_EQ(Numbers(kJan2), (std::vector<Sequence>{1, 2, 3, 4}));
  EXPECT_TRUE(store_.TakeCardsChanged());
  EXPECT_FALSE(store_.TakeCardsChanged());
}

TEST_F(CardStoreTest, NumbersNearTheEndOfTheDayDoNotOverflow) {
  const CardRef top = store_.CreateCard({kJan1, kEndOfDay});
  EXPECT_EQ(store_.card(top).sequence, kEndOfDay - 1);  // kEndOfDay itself marks the day's end
  EXPECT_EQ(store_.CreateCard({kJan1, kEndOfDay - 1}), kNoRecord);
  EXPECT_EQ(store_.card_count(), 1u);
  EXPECT_FALSE(StopRequested());
}

TEST_F(CardStoreTest, DeletesCascadeFromLinesToCardsAndDays) {
  const CardRef card = store_.CreateCard({kJan1, 1});
  const GroupRef group = store_.FindOrAddGroup(card, 0);
  const LineRef line = store_.CreateLine(group);
  store_.SetLineText(line, "rent");
  store_.SetTitle(card, "Invoice");
  EXPECT_EQ(store_.day_count(), 1u);
  store_.DeleteLine(card, group, line);
  EXPECT_EQ(store_.card_count(), 0u);
  EXPECT_EQ(store_.group_count(), 0u);
  EXPECT_EQ(store_.line_count(), 0u);
  EXPECT_EQ(store_.day_count(), 0u);
  EXPECT_EQ(store_.texts().count(), 0u);
  EXPECT_EQ(store_.FirstCard(), kCardSentinel);

  // A second group keeps the card alive; FinishCard drops empty groups and empty cards.
  const CardRef kept = store_.CreateCard({kJan1, 1});
  const GroupRef g1 = store_.FindOrAddGroup(kept, 17);
  const GroupRef g2 = store_.FindOrAddGroup(kept, 18);
  EXPECT_EQ(store_.FindOrAddGroup(kept, 17), g1);
  const LineRef a = store_.CreateLine(g1);
  store_.CreateLine(g2);
  store_.FindOrAddGroup(kept, 19);
  store_.FinishCard(kept);
  EXPECT_EQ(store_.group_count(), 2u);
  store_.DeleteLine(kept, g1, a);
  EXPECT_EQ(store_.card_count(), 1u);
  EXPECT_EQ(store_.card(kept).first_group, g2);
  const CardRef empty = store_.CreateCard({kJan2, 1});
  store_.FinishCard(empty);
  EXPECT_EQ(store_.card_count(), 1u);
  EXPECT_EQ(store_.day_count(), 1u);
}

TEST_F(CardStoreTest, FindCardGivesTheCardOrTheFirstAfterIt) {
  for (Sequence n : {1, 2, 3, 5, 8, 13}) CardWithLine({kJan2, n});
  const CardRef before = CardWithLine({kJan1, 4});
  EXPECT_EQ(store_.FindCard({kJan1, 1}), before);
  EXPECT_EQ(store_.card(store_.FindCard({kJan2, 4})).sequence, 5);   // forward half
  EXPECT_EQ(store_.card(store_.FindCard({kJan2, 9})).sequence, 13);  // backward half
  EXPECT_EQ(store_.card(store_.FindCard({kJan2, 13})).sequence, 13);
  EXPECT_EQ(store_.FindCard({kJan2, 14}), kCardSentinel);
  EXPECT_EQ(store_.FindCard({kJan2, kEndOfDay}), kCardSentinel);
  EXPECT_EQ(store_.card(store_.FindCard({PackDay(2023, 12, 31), 7})).sequence, 4);
  EXPECT_EQ(store_.CardId(store_.FindCard({PackDay(2024, 1, 1), kEndOfDay})).day, kJan2);
}

TEST_F(CardStoreTest, StampsFollowTheChangeRules) {
  const CardRef card = store_.CreateCard({kJan1, 1});
  Stamp first, second;
  first.time = 100;
  first.SetSignature("ABC");
  second.time = 200;
  second.SetSignature("XY");
  store_.RecordChange(card, first);
  EXPECT_EQ(store_.card(card).created, first);
  EXPECT_TRUE(store_.card(card).modified.empty());
  store_.Examine(card, second);
  store_.Approve(card, second);
  store_.RecordChange(card, second);
  EXPECT_EQ(store_.card(card).modified, second);
  EXPECT_TRUE(store_.card(card).examined.empty());
  EXPECT_TRUE(store_.card(card).approved.empty());
  store_.RecordChange(card, first);  // the creator's own stamp clears the modified one
  EXPECT_TRUE(store_.card(card).modified.empty());
  EXPECT_EQ(store_.card(card).created, first);
}

// Random creations, deletions and moves against a plain model of numbers per day.
TEST_F(CardStoreTest, RandomOperationsMatchAReferenceModel) {
  std::mt19937 random(12345);
  std::map<DayCode, std::set<Sequence>> model;
  std::vector<CardRef> live;
  size_t most_live = 0;
  const auto random_date = [&] {
    return Date{PackDay(2024, 1, 1 + static_cast<int>(random() % 6)),
                static_cast<Sequence>(random() % 7)};
  };
  const auto take_number = [&](Date date) {
    Sequence n = std::max<Sequence>(date.sequence, 1);
    while (model[date.day].count(n)) ++n;
    model[date.day].insert(n);
    return n;
  };
  for (int step = 0; step < 4000; ++step) {
    const unsigned action = random() % 10;
    if (action < 5 || live.empty()) {
      const Date date = random_date();
      const Sequence expected = take_number(date);
      const CardRef card = CardWithLine(date);
      ASSERT_EQ(store_.CardId(card), (Date{date.day, expected}));
      live.push_back(card);
    } else {
      const size_t pick = random() % live.size();
      const CardRef card = live[pick];
      const Date id = store_.CardId(card);
      model[id.day].erase(id.sequence);
      if (model[id.day].empty()) model.erase(id.day);
      if (action < 8) {
        store_.DeleteCard(card);
        live.erase(live.begin() + static_cast<long>(pick));
      } else {
        const Date date = random_date();
        const Sequence expected = take_number(date);
        ASSERT_TRUE(store_.MoveCard(card, date));
        ASSERT_EQ(store_.CardId(card), (Date{date.day, expected}));
      }
    }
    most_live = std::max(most_live, live.size());

    // Cards in Date order are exactly the model's, and every run end is right.
    std::vector<Date> listed;
    for (CardRef c = store_.FirstCard(); c != kCardSentinel; c = store_.NextCard(c)) {
      listed.push_back(store_.CardId(c));
    }
    std::vector<Date> expected;
    for (const auto& [day, numbers] : model) {
      for (Sequence n : numbers) expected.push_back({day, n});
    }
    ASSERT_EQ(listed, expected) << "step " << step;
    ASSERT_EQ(store_.day_count(), model.size());
    for (const auto& [day, numbers] : model) {
      Sequence run = 0;
      while (numbers.count(run + 1)) ++run;
      ASSERT_EQ(RunEnd(day), run) << "step " << step;
    }
  }
  // Freed records were reused: the pools never held more than the most cards alive at once.
  EXPECT_LE(store_.lines().size(), most_live);
}

}  // namespace
}  // namespace jov
