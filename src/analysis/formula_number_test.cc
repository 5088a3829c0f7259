#include "analysis/formula_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/formula_test_util.h"

namespace jov {
namespace {

struct NumberCase {
  const char* text;
  double value;
  size_t end;  // where reading stops
};

TEST(FormulaNumberTest, ReadsEveryNotation) {
  const NumberCase cases[] = {
      {"17", 17, 2},
      {"1.5E3", 1500, 5},
      {"1,234.5", 1234.5, 7},
      {"1.234,5", 1234.5, 7},
      {"1,234", 1.234, 5},  // a single mark is the decimal mark
      {"1 234 567,25+", 1234567.25, 12},
      {"1.000.000", 1000, 9},  // only the last mark counts
      {".5", 0.5, 2},
      {",25", 0.25, 3},
      {"5.", 5, 2},
      {"0.1", 0.1, 3},
      {"2.5e1.9", 25, 7},  // the exponent is truncated
      {"1e--2", 100, 5},   // each "-" flips the exponent's sign
      {"1E-+-2 ", 100, 7},
      {"3e-2", 0.03, 4},
      {"1E-310", 1e-310, 6},
      {"1e999", kPlusInfinity, 5},
      {"1e-999", 0, 6},
      {"2e+", kMissingNumber, 3},  // a sign without a number: the exponent is missing
      {"2e", 2, 1},                // not an exponent: "e" is left to the grammar
      {"2 x", 2, 2},
      {".", kMissingNumber, 1},
      {"0x1F", 31, 4},
      {"0X1f", 31, 4},
      {"$ff", 255, 3},
      {"$A.8", 10.5, 4},
      {"0x 1 0", 16, 6},
      {"$1.8.8", 1.5, 4},  // one fraction only
      {"#17", 15, 3},
      {"#7,4", 7.5, 4},
      {"#18", 1, 2},
      {"0x", 0, 1},  // no hexadecimal digit: the decimal 0
      {"0xg", 0, 1},
  };
  for (const NumberCase& c : cases) {
    const std::optional<FormulaNumber> number = ReadFormulaNumber(c.text, 0);
    ASSERT_TRUE(number) << c.text;
    EXPECT_TRUE(SameValue(number->value, c.value)) << c.text << " gave " << number->value;
    EXPECT_EQ(number->end, c.end) << c.text;
  }
}

TEST(FormulaNumberTest, OtherTextIsNoNumber) {
  for (const char* text : {"", "$", "$g", "#", "#8", "x", "-1", "+1", "e5", " 1"}) {
    EXPECT_FALSE(ReadFormulaNumber(text, 0)) << text;
  }
  EXPECT_FALSE(ReadFormulaNumber("12", 2));
  EXPECT_FALSE(ReadFormulaNumber("12", 200));
}

TEST(FormulaNumberTest, LongNumbersStopAtTheirLimit) {
  const std::string ones(400, '1');
  const std::optional<FormulaNumber> number = ReadFormulaNumber(ones, 0);
  ASSERT_TRUE(number);
  EXPECT_EQ(number->end, kMaxNumberCharacters);
  EXPECT_DOUBLE_EQ(number->value, 1.1111111111111111e255);

  // A fraction of many digits stays exact to the last place a double holds.
  const std::string third = "0." + std::string(300, '3');
  EXPECT_EQ(ReadFormulaNumber(third, 0)->value, 1.0 / 3);

  const std::string huge_hex = "$" + std::string(300, 'F');
  EXPECT_EQ(ReadFormulaNumber(huge_hex, 0)->value, kPlusInfinity);
}

}  // namespace
}  // namespace jov
