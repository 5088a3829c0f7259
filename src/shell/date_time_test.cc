#include "shell/date_time.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "platform/clock.h"

namespace jov {
namespace {

constexpr Seconds1900 kDay = 86400;

DateTime Make(int year, int month, int day, int hour, int minute, int second, int precision) {
  DateTime value;
  value.year = static_cast<int16_t>(year);
  value.month = static_cast<uint8_t>(month);
  value.day = static_cast<uint8_t>(day);
  value.hour = static_cast<uint8_t>(hour);
  value.minute = static_cast<uint8_t>(minute);
  value.second = static_cast<uint8_t>(second);
  value.precision = static_cast<uint8_t>(precision);
  return value;
}

TEST(DateTimeTest, SecondsAtTheEdgesOfTheCalendar) {
  EXPECT_TRUE(DateTime::FromSeconds(0).invalid);
  EXPECT_EQ(DateTime::FromSeconds(0), DateTime::Invalid());
  EXPECT_EQ(DateTime::FromSeconds(59 * kDay), Make(1900, 2, 29, 0, 0, 0, 5));
  EXPECT_EQ(DateTime::FromSeconds(60 * kDay - 1), Make(1900, 2, 29, 23, 59, 59, 5));
  EXPECT_EQ(DateTime::FromSeconds(1), Make(1900, 1, 1, 0, 0, 1, 5));
  EXPECT_EQ(StartSeconds(Make(1901, 1, 1, 0, 0, 0, kDayPrecision)), 366 * kDay);
  EXPECT_EQ(StartSeconds(DateTime::Invalid()), 0u);
  EXPECT_EQ(EndSeconds(DateTime::Invalid()), 0u);

  // The last representable second, and intervals reaching past it.
  constexpr Seconds1900 kLast = std::numeric_limits<Seconds1900>::max();
  EXPECT_EQ(DateTime::FromSeconds(kLast), Make(2036, 2, 6, 6, 28, 15, 5));
  EXPECT_EQ(EndSeconds(DateTime::Parse("2036", true)), kLast);
  EXPECT_EQ(StartSeconds(Make(2036, 12, 31, 0, 0, 0, 5)), kLast);
}

TEST(DateTimeTest, EndSecondsCloseEachIntervalJustBeforeTheNext) {
  struct Case {
    DateTime value;
    DateTime next;  // the first second after the interval
    Seconds1900 length;
  };
  const Case cases[] = {
      {Make(1999, 1, 1, 0, 0, 0, 0), Make(2000, 1, 1, 0, 0, 0, 5), 365 * kDay},
      {Make(2000, 1, 1, 0, 0, 0, 0), Make(2001, 1, 1, 0, 0, 0, 5), 366 * kDay},
      {Make(1900, 1, 1, 0, 0, 0, 0), Make(1901, 1, 1, 0, 0, 0, 5), 366 * kDay},
      {Make(2000, 2, 9, 9, 9, 9, 1), Make(2000, 3, 1, 0, 0, 0, 5), 29 * kDay},
      {Make(2001, 2, 1, 0, 0, 0, 1), Make(2001, 3, 1, 0, 0, 0, 5), 28 * kDay},
      {Make(2001, 12, 5, 0, 0, 0, 1), Make(2002, 1, 1, 0, 0, 0, 5), 31 * kDay},
      {Make(2001, 4, 30, 7, 0, 0, 2), Make(2001, 5, 1, 0, 0, 0, 5), kDay},
      {Make(2001, 4, 30, 23, 5, 0, 3), Make(2001, 5, 1, 0, 0, 0, 5), 3600},
      {Make(2001, 4, 30, 23, 59, 7, 4), Make(2001, 5, 1, 0, 0, 0, 5), 60},
      {Make(2001, 4, 30, 23, 59, 59, 5), Make(2001, 5, 1, 0, 0, 0, 5), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(FormatReadable(c.value));
    EXPECT_EQ(EndSeconds(c.value) + 1, StartSeconds(c.next));
    EXPECT_EQ(EndSeconds(c.value) - StartSeconds(c.value) + 1, c.length);
  }
}

TEST(DateTimeTest, ParseReadsCenturyPrecisionFillAndClamps) {
  struct Case {
    const char* text;
    bool upper;
    DateTime expected;
  };
  const Case cases[] = {
      {"99", false, Make(1999, 1, 1, 0, 0, 0, 0)},
      {"99", true, Make(1999, 12, 31, 23, 59, 59, 0)},
      {"99-01-31", false, Make(1999, 1, 31, 0, 0, 0, 2)},
      {"05-01-31", false, Make(2005, 1, 31, 0, 0, 0, 2)},
      {"2001", true, Make(2001, 12, 31, 23, 59, 59, 0)},
      {"2001", false, Make(2001, 1, 1, 0, 0, 0, 0)},
      {"1999-12", false, Make(1999, 12, 1, 0, 0, 0, 1)},
      {"2000-02", true, Make(2000, 2, 29, 23, 59, 59, 1)},
      {"2001-02", true, Make(2001, 2, 28, 23, 59, 59, 1)},
      // 1501, raised to 1900; the month digits 31 clamp to December.
      {"15-01-31", false, Make(1900, 12, 1, 0, 0, 0, 1)},
      {"2001-11-15 09", false, Make(2001, 11, 15, 9, 0, 0, 3)},
      {"2001-11-15 09:05", true, Make(2001, 11, 15, 9, 5, 59, 4)},
      {"2001-11-15 09:05'07", false, Make(2001, 11, 15, 9, 5, 7, 5)},
      {"20011115090507 and 42 more digits", false, Make(2001, 11, 15, 9, 5, 7, 5)},
      {"01-11-15 09:05:07", false, Make(2001, 11, 15, 9, 5, 7, 5)},  // 12 digits + "20"
      {"20011", false, Make(2001, 10, 1, 0, 0, 0, 1)},               // odd count: half a field
      {"20011", true, Make(2001, 12, 31, 23, 59, 59, 1)},
      {"2", true, Make(2036, 12, 31, 23, 59, 59, 0)},
      {"2001-13-45 25:61:99", false, Make(2001, 12, 31, 23, 59, 59, 5)},
      {"2001-02-30", false, Make(2001, 2, 28, 0, 0, 0, 2)},
      {"1900-02-30", false, Make(1900, 2, 29, 0, 0, 0, 2)},
      {"2001-00-00", false, Make(2001, 1, 1, 0, 0, 0, 2)},
      {"2999-06", false, Make(2036, 6, 1, 0, 0, 0, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.upper ? " upper" : ""));
    EXPECT_EQ(DateTime::Parse(c.text, c.upper), c.expected);
  }
  EXPECT_EQ(EndSeconds(DateTime::Parse("99", true)) + 1,
            StartSeconds(DateTime::Parse("2000", false)));
}

TEST(DateTimeTest, TextWithoutDigitsIsInvalid) {
  for (const char* text : {"", "-", "--::''", "no date", "\xE5\xE4\xF6"}) {
    const DateTime value = DateTime::Parse(text, false);
    EXPECT_TRUE(value.invalid) << text;
    EXPECT_EQ(StartSeconds(value), 0u);
    EXPECT_EQ(FormatReadable(value), "");
    EXPECT_EQ(FormatCompact(value), "");
  }
}

TEST(DateTimeTest, FormatsReachAsFarAsThePrecision) {
  const char* readable[] = {"2001",          "2001-11",          "2001-11-15",
                            "2001-11-15 09", "2001-11-15 09:05", "2001-11-15 09:05'07"};
  const char* compact[] = {"2001",       "200111",       "20011115",
                           "2001111509", "200111150905", "20011115090507"};
  for (int precision = 0; precision <= 5; ++precision) {
    const DateTime value = Make(2001, 11, 15, 9, 5, 7, precision);
    EXPECT_EQ(FormatReadable(value), readable[precision]);
    EXPECT_EQ(FormatCompact(value), compact[precision]);
  }
  EXPECT_EQ(FormatReadable(Make(1900, 1, 2, 0, 0, 0, 5)), "1900-01-02 00:00'00");
}

// Every day from 1900 to the end of the range, walked one by one with the month lengths.
TEST(DateTimeTest, FromSecondsAgreesWithADayByDayWalk) {
  const int month_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int year = 1900, month = 1, day = 1;
  for (int64_t n = 0; n * kDay + 86399 <= std::numeric_limits<Seconds1900>::max(); ++n) {
    const auto noon = static_cast<Seconds1900>(n * kDay + 12 * 3600 + 34 * 60 + 56);
    ASSERT_EQ(DateTime::FromSeconds(noon), Make(year, month, day, 12, 34, 56, 5)) << n;
    ASSERT_EQ(StartSeconds(Make(year, month, day, 0, 0, 0, kDayPrecision)), n * kDay);
    const int length = month_days[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
    if (++day > length) day = 1, ++month;
    if (month > 12) month = 1, ++year;
  }
}

TEST(DateTimeTest, SecondsAndTextsRoundTrip) {
  std::mt19937 random(1900);
  std::uniform_int_distribution<Seconds1900> any(1, std::numeric_limits<Seconds1900>::max());
  for (int i = 0; i < 200000; ++i) {
    const Seconds1900 seconds = i < 100 ? static_cast<Seconds1900>(i + 1) : any(random);
    const DateTime value = DateTime::FromSeconds(seconds);
    ASSERT_EQ(StartSeconds(value), seconds);
    ASSERT_EQ(EndSeconds(value), seconds);
    ASSERT_EQ(DateTime::Parse(FormatCompact(value), false), value) << FormatCompact(value);
    ASSERT_EQ(DateTime::Parse(FormatReadable(value), true), value) << FormatReadable(value);
    // The same instant at a coarser precision still covers it.
    DateTime coarse = value;
    coarse.precision = static_cast<uint8_t>(i % 6);
    ASSERT_LE(StartSeconds(coarse), seconds);
    ASSERT_GE(EndSeconds(coarse), seconds);
    ASSERT_EQ(DateTime::Parse(FormatReadable(coarse), false).precision, coarse.precision);
  }
}

TEST(DateTimeTest, HostileTextsGiveValidClampedValues) {
  std::string texts[] = {std::string(100, '9'), std::string(100, '0'), std::string(100, '-'),
                         std::string(1000, '\xFF')};
  for (const std::string& text : texts) {
    for (const bool upper : {false, true}) {
      const DateTime value = DateTime::Parse(text, upper);
      if (value.invalid) continue;
      EXPECT_GE(value.year, 1900);
      EXPECT_LE(value.year, 2036);
      EXPECT_LE(value.precision, 5);
    }
  }
  for (int byte = 0; byte < 256; ++byte) {
    const std::string text =
        std::string("20") + static_cast<char>(byte) + "01-0" + static_cast<char>(byte);
    const DateTime value = DateTime::Parse(text, byte % 2 == 0);
    EXPECT_FALSE(value.invalid);
    EXPECT_GE(value.month, 1);
    EXPECT_LE(value.month, 12);
  }
}

TEST(DateTimeTest, NowIsTheLocalClockAtSecondPrecision) {
  const LocalTime before = LocalNow();
  const DateTime now = DateTime::Now();
  EXPECT_FALSE(now.invalid);
  EXPECT_EQ(now.precision, kSecondPrecision);
  const Seconds1900 seconds = StartSeconds(now);
  const auto at = [](const LocalTime& t) {
    return StartSeconds(Make(t.year, t.month, t.day, t.hour, t.minute, t.second, 5));
  };
  EXPECT_GE(seconds, at(before));
  EXPECT_LE(seconds, at(LocalNow()));
}

}  // namespace
}  // namespace jov
