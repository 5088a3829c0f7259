#include "model/database_merge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/packed_date.h"
#include "shell/pending_error.h"
#include "shell/process.h"

namespace jov {
namespace {

class DatabaseMergeTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }

  // A card of one group for account `account` with one line per value, each line coded to
  // `centre` in the second dimension.
  static CardRef AddCard(Database& db, Date id, const char* account, const char* centre,
                         std::vector<double> values) {
    CardStore& cards = db.cards();
    const CardRef card = cards.CreateCard(id);
    cards.SetTitle(card, std::string("Card ") + account);
    const GroupRef group = cards.FindOrAddGroup(card, db.FindByCode(0, account));
    for (double value : values) {
      const LineRef line = cards.CreateLine(group);
      const double fields[] = {value, -value};
      cards.SetValues(line, fields);
      cards.SetLineText(line, "row " + std::to_string(value));
      const ComponentRef slots[] = {db.FindByCode(1, centre)};
      cards.SetComponents(line, slots);
    }
    return card;
  }

  // Every line as "card id: account centre value1 value2 text".
  static std::vector<std::string> Lines(const Database& db) {
    std::vector<std::string> out;
    const CardStore& cards = db.cards();
    for (CardRef c = cards.FirstCard(); c != kCardSentinel; c = cards.NextCard(c)) {
      for (GroupRef g = cards.card(c).first_group; g != kNoRecord; g = cards.group(g).next) {
        for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
          std::string row = std::to_string(cards.CardId(c).sequence) + ": ";
          row += db.component(db.LineComponent(g, l, 0)).code + " ";
          row += db.component(db.LineComponent(g, l, 1)).code + " ";
          for (int f = 0; f < db.value_field_count(); ++f) {
            row += std::to_string(static_cast<int>(cards.GetValue(l, f))) + " ";
          }
          out.push_back(row + std::string(cards.LineText(l)));
        }
      }
    }
    return out;
  }
};

TEST_F(DatabaseMergeTest, ComponentsAreMatchedByCodeAndCardsCopiedWhole) {
  const DayCode day = PackDay(2024, 3, 1);
  Database source;
  source.SetValueFieldCount(2);
  source.AddComponent(0, "19", "Cash and bank", "");
  source.AddComponent(0, "1910", "Cash", "K1");
  source.AddComponent(0, "1930", "Bank", "");
  source.AddComponent(1, "P1", "Project one", "");
  const CardRef card = AddCard(source, {day, 1}, "1910", "P1", {10, 20});
  Stamp stamp;
  stamp.time = 123456;
  stamp.SetSignature("AB");
  source.cards().SetNotes(card, "checked", stamp);
  source.cards().Examine(card, stamp);
  AddCard(source, {day, 2}, "1930", "P1", {30});

  Database target;
  target.SetValueFieldCount(2);
  target.SetCardDigits(5);
  target.AddComponent(0, "1910", "Kassa", "");  // its own text stays
  target.AddComponent(1, "P1", "P", "");
  target.AddComponent(1, "P2", "Other", "");
  AddCard(target, {day, 1}, "1910", "P2", {99});

  MergeInto(target, source);

  EXPECT_EQ(target.component(target.FindByCode(0, "1910")).text, "Kassa");
  EXPECT_EQ(target.component(target.FindByCode(0, "1930")).text, "Bank");
  EXPECT_TRUE(target.IsDescendant(target.FindByCode(0, "19"), target.FindByCode(0, "1930")));
  EXPECT_EQ(target.FindByHost(0, "K1"), kNoComponent) << "the target's component keeps its host";
  EXPECT_EQ(target.card_digits(), 5);
  // The source's card 1 of the day is taken in the target: it becomes card 2, and the source's
  // card 2 becomes card 3.
  EXPECT_EQ(Lines(target), (std::vector<std::string>{
                               "1: 1910 P2 99 -99 row 99.000000",
                               "2: 1910 P1 10 -10 row 10.000000",
                               "2: 1910 P1 20 -20 row 20.000000",
                               "3: 1930 P1 30 -30 row 30.000000",
                           }));
  const CardRef copy = target.cards().FindCard({day, 2});
  EXPECT_EQ(target.cards().Title(copy), "Card 1910");
  EXPECT_EQ(target.cards().Notes(copy), "checked");
  EXPECT_EQ(target.cards().card(copy).notes_stamp, stamp);
  EXPECT_EQ(target.cards().card(copy).examined, stamp);
}

TEST_F(DatabaseMergeTest, ValueFieldsAndSlotsFollowTheTarget) {
  const DayCode day = PackDay(2023, 12, 31);
  Database source;
  source.SetValueFieldCount(3);
  source.AddComponent(0, "3010", "Sales", "");
  source.AddComponent(1, "P1", "Project", "");
  AddCard(source, {day, 1}, "3010", "P1", {5});

  // Fewer value fields: the third is dropped. No second dimension yet: it is added with the
  // components the lines refer to.
  Database narrow;
  narrow.SetValueFieldCount(1);
  MergeInto(narrow, source);
  EXPECT_EQ(Lines(narrow), (std::vector<std::string>{"1: 3010 P1 5 row 5.000000"}));

  // More value fields: the extra ones are 0.
  Database wide;
  wide.SetValueFieldCount(4);
  MergeInto(wide, source);
  EXPECT_EQ(Lines(wide), (std::vector<std::string>{"1: 3010 P1 5 -5 0 0 row 5.000000"}));
}

TEST_F(DatabaseMergeTest, AStopRequestEndsTheMergeBetweenCards) {
  Database source;
  source.AddComponent(0, "1", "One", "");
  source.AddComponent(1, "P", "Project", "");
  for (int i = 1; i <= 3; ++i) AddCard(source, {PackDay(2024, 1, i), 1}, "1", "P", {1.0 * i});
  Database target;
  RequestStop();
  MergeInto(target, source);
  EXPECT_EQ(target.cards().card_count(), 0u);
  EXPECT_NE(target.FindByCode(0, "1"), kNoComponent);  // components come first
}

}  // namespace
}  // namespace jov
