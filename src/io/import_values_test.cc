#include "io/import_values.h"

#include <gtest/gtest.h>

namespace jov {
namespace {

TEST(ImportValuesTest, Numbers) {
  struct Case {
    std::string text;
    char decimal;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"1.234,50 kr", ',', 1234.5},
      {"1,234.50", '.', 1234.5},
      {"$ -12.5", '.', -12.5},
      {"1.234,50-", ',', -1234.5},  // a trailing minus, as bookkeeping exports write it
      {"- 7", '.', -7},
      {"12 345", '.', 12345},
      {".5", '.', 0.5},
      {"2024-01-05", '.', 2024},  // a minus between digits is not a sign
      {"abc", '.', std::nullopt},
      {"-", '.', std::nullopt},
      {",", ',', std::nullopt},
      {"", '.', std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadImportNumber(c.text, static_cast<unsigned char>(c.decimal)), c.value) << c.text;
  }
}

TEST(ImportValuesTest, ExpressionNumbersReadBackExactly) {
  std::string out;
  AppendExpressionNumber(out, 0.1);
  out += "-";
  AppendExpressionNumber(out, -2.5);
  EXPECT_EQ(out, "0.1-(-2.5)");
}

TEST(ImportValuesTest, DatesInEveryFormat) {
  struct Case {
    DateFormat format;
    std::string text;
    DayCode day;
  };
  const Case cases[] = {
      {DateFormat::kYYMMDD, "240315", PackDay(2024, 3, 15)},
      {DateFormat::kYYMMDD, "990315", PackDay(1999, 3, 15)},
      {DateFormat::kYYDDMM, "241503", PackDay(2024, 3, 15)},
      {DateFormat::kMMDDYY, "031524", PackDay(2024, 3, 15)},
      {DateFormat::kDDMMYY, "150324", PackDay(2024, 3, 15)},
      {DateFormat::kDDMMYY, "1503", kNoDay},  // fewer than six characters
      {DateFormat::kYMD, "2024-03-15", PackDay(2024, 3, 15)},
      {DateFormat::kYDM, "24.15.3", PackDay(2024, 3, 15)},
      {DateFormat::kMDY, "3/15/2024", PackDay(2024, 3, 15)},
      {DateFormat::kDMY, "5.13.99", PackDay(1999, 12, 5)},  // the month held to 12
      {DateFormat::kDMY, "1/1/05", PackDay(2005, 1, 1)},
      {DateFormat::kDMY, "31/2/2024", PackDay(2024, 2, 29)},  // the day held to the month
      {DateFormat::kDMY, "0/0/27", PackDay(2027, 1, 1)},
      {DateFormat::kDMY, "1/1/28", PackDay(1928, 1, 1)},
      {DateFormat::kDMY, "1/1/1500", PackDay(1900, 1, 1)},
      {DateFormat::kDMY, "1/1/2031", PackDay(2027, 1, 1)},  // the last year the files hold
      {DateFormat::kDMY, "1/1", kNoDay},
      {DateFormat::kDMY, "", kNoDay},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadImportDate(c.text, c.format), c.day)
        << c.text << " as " << kDateFormatNames[static_cast<size_t>(c.format)];
  }
}

}  // namespace
}  // namespace jov
