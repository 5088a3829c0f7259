#include "shell/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "shell/special_numbers.h"

namespace jov {
namespace {

// The correctly rounded double of a plain decimal text, as a reference.
double Reference(const std::string& text) {
  double value = 0;
  const char* begin = text.data();
  if (*begin == '-') ++begin;
  std::from_chars(begin, text.data() + text.size(), value);
  return text[0] == '-' ? -value : value;
}

TEST(ParseNumberTest, ReadsWhatPeopleAndOtherProgramsWrite) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"12 345,67 kr", 12345.67},
      {"1,234.5", 1234.5},
      {"1.234,5", 1234.5},
      {"1234.5", 1234.5},
      {"1.000.000", 1000},  // the last separator is the decimal point
      {"1.000.000,5", 1000000.5},
      {"1,000,000.25", 1000000.25},
      {"0,001", 0.001},
      {".5", 0.5},
      {"0.3", 0.3},
      {"0.1", 0.1},
      {"-42", -42},
      {"42-", -42},
      {"kr 5", 5},
      {"E3", 1000},
      {"-E3", -1000},
      {"2E3", 2000},
      {"1.5E-3", 0.0015},
      {"1,5e2", 150},
      {"e-2", 0.01},
      {"0", 0},
      {"0/0", 0},  // the missing-number text is no number to the scanner
      {"007", 7},
      {"0.000000000000000000000000000000000000000000000001", 1e-48},
      {"1e400", kPlusInfinity},
      {"-1e400", kMinusInfinity},
      {"1e-400", 0},
      {"1e99999999999999999999", kPlusInfinity},
      {"1e-99999999999999999999", 0},
      {"I", kPlusInfinity},
      {"-inf", kMinusInfinity},
      {"+ inf", kPlusInfinity},
      {"- inf", kMinusInfinity},
      {"12i34", kPlusInfinity},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseNumber(c.text), c.expected) << c.text;
  }
  for (const char* text : {"", "-", "abc", ".,.,", "kr", "\xE5\xE4\xF6"}) {
    EXPECT_TRUE(IsMissing(ParseNumber(text))) << text;
  }
}

// The plain texts that writers produce take a short way; it must give the correctly rounded
// value, as the general scanner does, and hand everything else to the scanner.
TEST(ParseNumberTest, PlainNumbersReadAsTheNearestDouble) {
  for (const char* text :
       {"0", "-0", "1.5", "-2.75", "0.1", "0.3", "123456789.012345", "999999999999999",
        "-0.000000000000001", "4503599627370.497", "5.", ".5", "0.000000000000000000001"}) {
    EXPECT_EQ(ParseNumber(text), std::strtod(text, nullptr)) << text;
  }
  EXPECT_TRUE(std::signbit(ParseNumber("-0")));
  EXPECT_EQ(ParseNumber("1234567890123456.5"), 1234567890123456.5);  // 17 digits: the scanner
  EXPECT_EQ(ParseNumber("1.2.3"), 12.3);                             // thousands: the scanner
}

TEST(ParseNumberTest, RoundsCorrectlyHoweverManyDigits) {
  // 2^53 + 1 lies halfway between two doubles: ties go to even, anything above goes up, even a
  // last non-zero digit far beyond the digits the scanner keeps.
  const std::string halfway = "9007199254740993";
  EXPECT_EQ(ParseNumber(halfway), 9007199254740992.0);
  EXPECT_EQ(ParseNumber(halfway + "." + std::string(2000, '0') + "1"), 9007199254740994.0);
  EXPECT_EQ(ParseNumber(halfway + std::string(2000, '0') + "1" + "e-2001"), 9007199254740994.0);
  EXPECT_EQ(ParseNumber(halfway + "." + std::string(2000, '0')), 9007199254740992.0);

  std::mt19937 random(8);
  for (int i = 0; i < 20000; ++i) {
    std::string text = i % 2 ? "-" : "";
    const int integer_digits = static_cast<int>(random() % 30);
    const int fraction_digits = static_cast<int>(random() % 30);
    for (int d = 0; d < integer_digits; ++d) text += static_cast<char>('0' + random() % 10);
    if (integer_digits == 0) text += '0';
    text += '.';
    for (int d = 0; d < fraction_digits; ++d) text += static_cast<char>('0' + random() % 10);
    if (fraction_digits == 0) text += '0';
    ASSERT_EQ(ParseNumber(text), Reference(text)) << text;
  }
}

TEST(ParseNumberTest, HostileTextsEndWithoutHarm) {
  EXPECT_EQ(ParseNumber(std::string(100, '9')), 1e100);
  EXPECT_EQ(ParseNumber(std::string(100000, '9')), kPlusInfinity);
  EXPECT_EQ(ParseNumber("0." + std::string(100000, '0') + "1"), 0);
  EXPECT_EQ(ParseNumber(std::string(1000, ',') + "5"), 0.5);
  std::string all_bytes;
  for (int byte = 1; byte < 256; ++byte) {
    if (byte != 'I' && byte != 'i') all_bytes += static_cast<char>(byte);
  }
  EXPECT_FALSE(std::isnan(ParseNumber(all_bytes)));  // holds digits, "-" and "E"
  std::string high;
  for (int byte = 0x80; byte < 0x100; ++byte) high += static_cast<char>(byte);
  EXPECT_TRUE(IsMissing(ParseNumber(high)));
}

TEST(FormatNumberTest, WritesDecimalsWithoutTrailingZeros) {
  struct Case {
    double value;
    int decimals;
    const char* expected;
  };
  const Case cases[] = {
      {1234.5, 2, "1234.5"},
      {2.0, 2, "2"},
      {-3.75, 1, "-3.8"},
      {0.005, 2, "0.01"},  // the double nearest 0.005 lies above it
      {12.344, 2, "12.34"},
      {-0.001, 2, "0"},
      {-0.0, 2, "0"},
      {0, 0, "0"},
      {1e20, 2, "100000000000000000000"},
      {123456789.125, 3, "123456789.125"},
      {2.675, 2, "2.67"},
      {1.005, 2, "1"},  // below the halves they are written as
      {0.125, 2, "0.12"},
      {0.375, 2, "0.38"},  // exact halves go to even
      {-0.05, 3, "-0.05"},
      {999999999.995, 2, "1000000000"},
      {0.5, 25, "0.5"},
      {7.25, -3, "7"},
      {kMissingNumber, 2, "0/0"},
      {kPlusInfinity, 2, "+ inf"},
      {kMinusInfinity, 0, "- inf"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.decimals), c.expected) << c.value;
  }
  std::string line = "V\t";
  AppendNumber(line, -1.5, 2);
  EXPECT_EQ(line, "V\t-1.5");
  EXPECT_EQ(FormatNumber(1.7976931348623157e308, kMaxDecimals).size(), 309u);
}

// The exact value rounded by the standard library, trailing zeros and point dropped.
std::string RoundedReference(double value, int decimals) {
  char text[400];
  char* end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
  if (decimals > 0) {
    while (end[-1] == '0') --end;
    if (end[-1] == '.') --end;
  }
  std::string result(text, end);
  return result == "-0" ? "0" : result;
}

TEST(FormatNumberTest, RoundsTheExactValueEvenNearHalves) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> unit(-1, 1);
  for (int i = 0; i < 300000; ++i) {
    const int decimals = static_cast<int>(random() % (kMaxDecimals + 1));
    double value = unit(random) * std::pow(10.0, static_cast<int>(random() % 34) - 16);
    if (i % 3 == 0) {
      // Near a half of the last decimal: 0.125, 2.675, 1e14 + 0.5 and their neighbours.
      const double scale = std::pow(10.0, decimals);
      const double half = (std::floor(value * scale) + 0.5) / scale;
      value = std::nextafter(half, i % 2 ? 1e300 : -1e300);
      if (i % 5 == 0) value = half;
    }
    ASSERT_EQ(FormatNumber(value, decimals), RoundedReference(value, decimals))
        << std::hexfloat << value << " " << decimals;
  }
}

TEST(FormatNumberTest, TextsRoundTripThroughTheParser) {
  std::mt19937_64 random(2);
  std::uniform_real_distribution<double> unit(-1, 1);
  for (int i = 0; i < 100000; ++i) {
    const int decimals = i % 7;
    const double value = unit(random) * std::pow(10.0, static_cast<int>(random() % 40) - 12);
    const std::string text = FormatNumber(value, decimals);
    const double read = ParseNumber(text);
    ASSERT_EQ(read, Reference(text)) << text;
    ASSERT_EQ(FormatNumber(read, decimals), text) << value;
    ASSERT_LE(std::fabs(read - value),
              0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(value) * 1e-15);
  }
  // A value that already has the given decimals comes back as the same double.
  for (int i = 0; i < 100000; ++i) {
    const int decimals = i % 7;
    const auto units = static_cast<int64_t>(random() % 2000000000000) - 1000000000000;
    const double value = ParseNumber(std::to_string(units) + "e-" + std::to_string(decimals));
    ASSERT_EQ(ParseNumber(FormatNumber(value, decimals)), value) << units;
  }
}

TEST(ShownNumberTest, KeepsEveryDecimalAndGroupsThousands) {
  const NumberSeparators plain = {'.', 0};
  const NumberSeparators nordic = {',', ' '};
  const struct {
    double value;
    int decimals;
    NumberSeparators separators;
    const char* text;
  } cases[] = {
      {1234567.5, 2, nordic, "1 234 567,50"},
      {-1234.6, 0, nordic, "-1 235"},
      {999.999, 2, nordic, "1 000,00"},
      {123, 2, nordic, "123,00"},
      {-0.001, 2, plain, "0.00"},
      {-0.4, 0, plain, "0"},
      {12345678, 0, plain, "12345678"},
      {0.125, 6, plain, "0.125000"},
      {1e21, 0, {'.', ','}, "1,000,000,000,000,000,000,000"},
      {kMissingNumber, 2, nordic, "0/0"},
      {kMinusInfinity, 2, nordic, "- inf"},
  };
  for (const auto& c : cases) {
    std::string text = "=";
    AppendShownNumber(text, c.value, c.decimals, c.separators);
    EXPECT_EQ(text, std::string("=") + c.text) << c.value;
  }
}

}  // namespace
}  // namespace jov
