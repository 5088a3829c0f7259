#include "select/interval_condition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace jov {
namespace {

// Stands in for the selections' date points: "Month" is November 2001, "Day" its 15th. Like
// a time scale whose period names begin with their year, it takes "2001" with an offset
// ("2001-11") for a period: the first quarter of 2001.
class StandInResolver : public DatePointResolver {
 public:
  std::optional<DateRange> Resolve(std::string_view text) const override {
    ++calls;
    if (text == "Month")
      return DateRange{{PackDay(2001, 11, 1), 1}, {PackDay(2001, 11, 30), kEndOfDay}};
    if (text == "Day")
      return DateRange{{PackDay(2001, 11, 15), 1}, {PackDay(2001, 11, 15), kEndOfDay}};
    if (text.starts_with("2001-"))
      return DateRange{{PackDay(2001, 1, 1), 1}, {PackDay(2001, 3, 31), kEndOfDay}};
    if (text == "Nowhere") return DateRange{};
    if (text == "Backwards")
      return DateRange{{PackDay(2001, 11, 15), 1}, {PackDay(2001, 11, 1), 1}};
    return std::nullopt;
  }
  mutable int calls = 0;
};

template <typename Item>
struct IntervalCase {
  std::string typed;
  std::string corrected;
  std::vector<Item> pass;
  std::vector<Item> fail;
};

template <typename Condition, typename Item>
void CheckCases(const std::vector<IntervalCase<Item>>& cases) {
  StandInResolver resolver;
  for (const IntervalCase<Item>& c : cases) {
    SCOPED_TRACE("typed: " + c.typed);
    std::string text = c.typed;
    std::optional<Condition> condition = Condition::Compile(text, &resolver);
    ASSERT_TRUE(condition.has_value());
    EXPECT_EQ(text, c.corrected);
    for (const Item& item : c.pass) EXPECT_TRUE(condition->Evaluate(item));
    for (const Item& item : c.fail) EXPECT_FALSE(condition->Evaluate(item));
    std::string again = text;
    ASSERT_TRUE(Condition::Compile(again, &resolver).has_value());
    EXPECT_EQ(again, text);
  }
}

Date Id(int y, int m, int d, Sequence s) { return {PackDay(y, m, d), s}; }

TEST(IntervalConditionTest, CardIdentifiers) {
  const Date absent{kNoDay, 0};
  CheckCases<CardIdCondition, Date>({
      {"011115",
       "011115",
       {Id(2001, 11, 15, 1), Id(2001, 11, 15, 999)},
       {Id(2001, 11, 14, 5), Id(2001, 11, 16, 1), absent}},
      {"011115-3", "011115-3", {Id(2001, 11, 15, 3)}, {Id(2001, 11, 15, 2), Id(2001, 11, 15, 4)}},
      {"011115 _ 011120", "011115_011120", {Id(2001, 11, 20, 7)}, {Id(2001, 11, 21, 1)}},
      {"<011115", "<011115", {Id(2001, 11, 14, 999), absent}, {Id(2001, 11, 15, 1)}},
      {">011115", ">011115", {Id(2001, 11, 16, 1)}, {Id(2001, 11, 15, 99999), absent}},
      {"=<011115", "<=011115", {Id(2001, 11, 15, 99)}, {Id(2001, 11, 16, 1)}},
      {">=011115-2", ">=011115-2", {Id(2001, 11, 15, 2)}, {Id(2001, 11, 15, 1)}},
      {"><011115", "<>011115", {Id(2001, 11, 14, 1), absent}, {Id(2001, 11, 15, 2)}},
      {"\\", "\\", {absent}, {Id(2001, 11, 15, 1)}},
      {"\xAC\\", "\xAC\\", {Id(1900, 1, 1, 1)}, {absent}},
      {"=", "\\", {absent}, {Id(2001, 11, 15, 1)}},
      {"01", "01", {Id(2001, 1, 1, 1), Id(2001, 12, 31, 5)}, {Id(2002, 1, 1, 1)}},
      {"Month", "Month", {Id(2001, 11, 30, 5)}, {Id(2001, 12, 1, 1)}},
      {"Month & \xAC Day",
       "Month&\xAC"
       "Day",
       {Id(2001, 11, 14, 1)},
       {Id(2001, 11, 15, 1)}},
      {"01|xyz", "01", {Id(2001, 5, 5, 1)}, {Id(2002, 5, 5, 1)}},
  });
}

StampTime At(int y, int m, int d, int h = 0, int min = 0) {
  return PackStampTime({y, m, d, h, min});
}

TEST(IntervalConditionTest, StampsWithPrecisionAndKeywords) {
  const StampTime never = 0;
  CheckCases<StampCondition, StampTime>({
      {"2001-11-15", "2001-11-15", {At(2001, 11, 15, 13, 45)}, {At(2001, 11, 16), never}},
      {"2001-11-15 10", "2001-11-15 10", {At(2001, 11, 15, 10, 59)}, {At(2001, 11, 15, 11)}},
      {"<2001", "<2001", {At(2000, 12, 31, 23, 59), never}, {At(2001, 1, 1)}},
      {"<=2001", "<=2001", {At(2001, 12, 31, 23, 59), never}, {At(2002, 1, 1)}},
      {">2001", ">2001", {At(2002, 1, 1)}, {At(2001, 12, 31, 23, 59), never}},
      {">=2001", ">=2001", {At(2001, 1, 1)}, {never}},
      {"<>2001", "<>2001", {never, At(2002, 1, 1)}, {At(2001, 6, 1)}},
      {"\\", "\\", {never}, {At(2001, 1, 1)}},
      {"Month", "2001-11-01_2001-11-30", {At(2001, 11, 30, 23, 59)}, {At(2001, 12, 1)}},
      {"<>Day", "<>2001-11-15", {At(2001, 11, 16)}, {At(2001, 11, 15, 12)}},
      {"Month_2002", "2001-11-01_2002", {At(2002, 12, 31, 23, 59)}, {At(2001, 10, 31)}},
      {"2001_Month", "2001_2001-11-30", {At(2001, 1, 1)}, {At(2001, 12, 1)}},
      {"2001 _ 2002-06", "2001_2002-06", {At(2002, 6, 30, 23, 59)}, {At(2002, 7, 1)}},
      {"2001|nodate", "2001", {At(2001, 2, 2)}, {At(2002, 2, 2)}},
  });
}

// An operand that gives no date is deleted with its comparison and the operator that joined
// it; the operands around it keep their meaning.
TEST(IntervalConditionTest, OperandsThatGiveNoDateAreDeletedAlone) {
  CheckCases<CardIdCondition, Date>({
      {"xyz|240105", "240105", {Id(2024, 1, 5, 1)}, {Id(2024, 1, 6, 1)}},
      {"240105|xyz|240107", "240105|240107", {Id(2024, 1, 7, 3)}, {Id(2024, 1, 6, 1)}},
      {"240105|<xyz|>240107", "240105|>240107", {Id(2024, 1, 8, 1)}, {Id(2024, 1, 6, 1)}},
      {"(xyz|abc)|240105", "240105", {Id(2024, 1, 5, 1)}, {Id(2024, 1, 6, 1)}},
      {"24&(xyz|2401)", "24&(2401)", {Id(2024, 1, 5, 1)}, {Id(2024, 2, 1, 1)}},
      {"\xAC"
       "xyz|240105",
       "240105",
       {Id(2024, 1, 5, 1)},
       {Id(2024, 1, 6, 1)}},
      {"xyz\xAC"
       "240105",
       "\xAC"
       "240105",
       {Id(2024, 1, 6, 1)},
       {Id(2024, 1, 5, 1)}},
      {"xyz&\xAC"
       "240105",
       "\xAC"
       "240105",
       {Id(2024, 1, 6, 1)},
       {Id(2024, 1, 5, 1)}},
      {"240105\xAC"
       "xyz",
       "240105",
       {Id(2024, 1, 5, 1)},
       {Id(2024, 1, 6, 1)}},
      {"240101_xyz", "240101", {Id(2024, 1, 1, 9)}, {Id(2024, 1, 2, 1)}},
      {"xyz_240107|2501", "240107|2501", {Id(2025, 1, 9, 1)}, {Id(2024, 1, 6, 1)}},
  });
  CheckCases<StampCondition, StampTime>({
      {"xyz|20240105", "20240105", {At(2024, 1, 5, 12)}, {At(2024, 1, 6)}},
      {"20240105|xyz|20240107", "20240105|20240107", {At(2024, 1, 7, 8)}, {At(2024, 1, 6, 8)}},
  });
  for (const char* nothing : {"xyz", "xyz|abc", "(xyz)", "xyz|"}) {
    std::string text = nothing;
    EXPECT_FALSE(CardIdCondition::Compile(text, nullptr).has_value()) << nothing;
    EXPECT_EQ(text, "");
  }
}

TEST(IntervalConditionTest, KeywordsResolveOnceWithoutAResolverTheyGiveNoDate) {
  StandInResolver resolver;
  std::string text = "Month";
  ASSERT_TRUE(StampCondition::Compile(text, &resolver).has_value());
  EXPECT_EQ(resolver.calls, 1);
  text = "Month";
  EXPECT_FALSE(StampCondition::Compile(text, nullptr).has_value());
  EXPECT_EQ(text, "");
  for (const char* no_days : {"Nowhere", "Backwards"}) {
    text = no_days;
    EXPECT_FALSE(StampCondition::Compile(text, &resolver).has_value());
    text = no_days;
    EXPECT_FALSE(CardIdCondition::Compile(text, &resolver).has_value());
  }
}

TEST(IntervalConditionTest, HostileTexts) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "(<01|";
  EXPECT_TRUE(CardIdCondition::Compile(text, nullptr).has_value());
  std::string bytes;
  for (int c = 0x80; c <= 0xFF; ++c) bytes += static_cast<char>(c);
  text = "01|" + bytes;
  EXPECT_TRUE(StampCondition::Compile(text, nullptr).has_value());
  text = "9" + bytes;  // the operand ends at the first operator byte, 0xAC
  EXPECT_TRUE(CardIdCondition::Compile(text, nullptr).has_value());
}

}  // namespace
}  // namespace jov
