#include "select/value_condition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "select/criterion_text.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

struct ValueCase {
  std::string typed;
  std::string corrected;
  std::vector<double> pass;
  std::vector<double> fail;
};

TEST(ValueConditionTest, CompilesCorrectsAndEvaluates) {
  const double nan = kMissingNumber;
  const std::vector<ValueCase> cases = {
      {">=100", ">=100", {100, 1e9, kPlusInfinity}, {99.99, nan}},
      {"=>100", ">=100", {100}, {99}},
      {"<>5", "<>5", {4, 6}, {5, nan}},
      {"><5", "<>5", {4}, {5, nan}},
      {"=<5", "<=5", {5, kMinusInfinity}, {5.5, nan}},
      {"<=>5", "<>5", {4}, {5}},
      {"<5", "<5", {4.9}, {5, nan}},
      {">5", ">5", {5.1}, {5, nan}},
      {"=5", "=5", {5}, {5.1}},
      {"5", "5", {5}, {4}},
      {"100_200", "100_200", {100, 150, 200}, {99, 201, nan}},
      {"\xAC"
       "100_200",
       "\xAC"
       "100_200",
       {99, 201, nan},
       {100, 200}},
      {"200_100", "200_100", {150}, {99}},  // a range holds what lies between its ends
      {"100..200", "100_200", {150}, {99}},
      {"100_", "100", {100}, {101}},
      {" 1 000 , 5 ", "1000.5", {1000.5}, {1000}},
      {"\\", "\\", {nan}, {0}},
      {"=\\", "=\\", {nan}, {0}},
      {"\xAC\\", "\xAC\\", {0, -3}, {nan}},
      // An operator without a number tests for the missing value.
      {"=", "\\", {nan}, {0}},
      {">=", ">\\", {nan}, {100}},
      {">\\", ">\\", {nan}, {1}},
      // Operators: priorities, doubled operators and doubled complements.
      {"1|2&3", "1|2&3", {1}, {2, 3}},
      {"(1|2)&<2", "(1|2)&<2", {1}, {2}},
      {"1|&|2", "1|2", {1, 2}, {3}},
      {"1\xB1<5", "1\xB1<5", {2}, {1, 7}},
      {"\xAC\xAC"
       "5",
       "5",
       {5},
       {4}},
      {"<10\xAC"
       "5",
       "<10\xAC"
       "5",
       {4},
       {5, 11}},
      {"<10\xAC\xAC"
       "5",
       "<10&5",
       {5},
       {4}},
      {"<10&\xAC"
       "5",
       "<10&\xAC"
       "5",
       {4},
       {5}},
      // Missing ")" added, text where the grammar stops dropped.
      {"(1|2", "(1|2)", {2}, {3}},
      {"1|2)|3", "1|2", {2}, {3}},
      {"5abc", "5", {5}, {6}},
      {"1|", "1", {1}, {2}},
      {"<5_7", "<5", {4}, {6}},
      // Strict comparisons at the ends of the number line.
      {"<-i", "<- inf", {}, {kMinusInfinity, -1e308, nan}},
      {">i", ">+ inf", {}, {kPlusInfinity, nan}},
      {"<=-i", "<=- inf", {kMinusInfinity}, {-1e308}},
      {"<0", "<0", {-4.9e-324}, {0.0, -0.0}},
      {"<>0", "<>0", {4.9e-324}, {-0.0, nan}},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE("typed: " + c.typed);
    std::string text = c.typed;
    std::optional<ValueCondition> condition = ValueCondition::Compile(text);
    ASSERT_TRUE(condition.has_value());
    EXPECT_EQ(text, c.corrected);
    for (double v : c.pass) EXPECT_TRUE(condition->Evaluate(v)) << v;
    for (double v : c.fail) EXPECT_FALSE(condition->Evaluate(v)) << v;
    // The corrected text compiles to itself.
    std::string again = text;
    ASSERT_TRUE(ValueCondition::Compile(again).has_value());
    EXPECT_EQ(again, text);
  }
}

TEST(ValueConditionTest, ConditionsBeyondTheTruthTableRunTheProgram) {
  // Nine and more operands are evaluated by the program itself, fewer through the truth table.
  std::string text = "1|2|3|4|5|6|7|8|\xAC(9|<0)";
  std::string small = "1|2|3|\xAC(9|<0)";
  std::optional<ValueCondition> large = ValueCondition::Compile(text);
  std::optional<ValueCondition> table = ValueCondition::Compile(small);
  ASSERT_TRUE(large && table);
  for (double v : {1.0, 8.0, 9.0, -1.0, 10.0, kMissingNumber}) {
    EXPECT_EQ(large->Evaluate(v), v != v || (v != 9 && v >= 0)) << v;
    EXPECT_EQ(table->Evaluate(v), v != v || (v != 9 && v >= 0)) << v;
  }
}

TEST(ValueConditionTest, TextsWithoutAnOperandCompileToNothing) {
  for (std::string text : {"", "   ", "abc", "|", "()", "\xAC", "_5", ")"}) {
    EXPECT_FALSE(ValueCondition::Compile(text).has_value()) << text;
    EXPECT_EQ(text, "");
  }
}

TEST(ValueConditionTest, NumbersAreWrittenInTheSystemFormat) {
  // With the fewest decimals that keep the number: what is shown is what is tested.
  std::string text = "=1.50|2,25|1e3|0.1|1e-15|123456789.123";
  std::optional<ValueCondition> condition = ValueCondition::Compile(text);
  ASSERT_TRUE(condition.has_value());
  EXPECT_EQ(text, "=1.5|2.25|1000|0.1|0.000000000000001|123456789.123");
  EXPECT_TRUE(condition->Evaluate(1e-15));
  EXPECT_TRUE(condition->Evaluate(123456789.123));
  text = "<1e-300";
  condition = ValueCondition::Compile(text);
  EXPECT_EQ(text, "<0");
  EXPECT_FALSE(condition->Evaluate(1e-301));
}

TEST(ValueConditionTest, HostileTextsCompileSoundly) {
  std::string long_chain;
  for (int i = 0; i < 10000; ++i) long_chain += "1|";
  std::string text = long_chain;
  ASSERT_TRUE(ValueCondition::Compile(text).has_value());
  EXPECT_LE(text.size(), kMaxCriterionLength);

  std::string nested(10000, '(');
  nested += "5";
  text = nested;
  // Brackets beyond the nesting limit end the expression: nothing is left to compile.
  EXPECT_FALSE(ValueCondition::Compile(text).has_value());

  std::string deep = std::string(kMaxNesting, '(') + "5";
  text = deep;
  std::optional<ValueCondition> condition = ValueCondition::Compile(text);
  ASSERT_TRUE(condition.has_value());
  EXPECT_EQ(text, deep + std::string(kMaxNesting, ')'));
  EXPECT_TRUE(condition->Evaluate(5));

  std::string bytes;
  for (int c = 0x80; c <= 0xFF; ++c) bytes += static_cast<char>(c);
  text = "1|" + bytes + "|2";
  condition = ValueCondition::Compile(text);
  ASSERT_TRUE(condition.has_value());
  EXPECT_TRUE(condition->Evaluate(1));
}

// Numbers written out in full can make the corrected text longer than a criterion may be; it
// is cut and compiled again, so that what is kept compiles to itself.
TEST(ValueConditionTest, CorrectedTextsStayWithinTheLengthLimit) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "1e99|";
  ASSERT_TRUE(ValueCondition::Compile(text).has_value());
  EXPECT_LE(text.size(), kMaxCriterionLength);
  std::string again = text;
  ASSERT_TRUE(ValueCondition::Compile(again).has_value());
  EXPECT_EQ(again, text);
}

}  // namespace
}  // namespace jov
