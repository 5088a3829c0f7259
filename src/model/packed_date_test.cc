#include "model/packed_date.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace jov {
namespace {

constexpr DayCode D(int year, int month, int day) { return PackDay(year, month, day); }

TEST(PackedDateTest, PackingFollowsTheBitLayout) {
  EXPECT_EQ(D(2024, 1, 5), 124u * 512 + 32 + 5);
  EXPECT_EQ(UnpackDay(D(2027, 12, 31)), (CalendarDate{2027, 12, 31}));
  EXPECT_LT(D(2023, 12, 31), D(2024, 1, 1));
  EXPECT_EQ(PackStampTime({2001, 3, 15, 12, 30}),
            (101u << 20 | 3u << 16 | 15u << 11 | 12u << 6 | 30u));
  const StampParts parts = UnpackStampTime(PackStampTime({2027, 12, 31, 23, 59}));
  EXPECT_EQ(parts.year, 2027);
  EXPECT_EQ(parts.minute, 59);
  EXPECT_EQ(StampDay(PackStampTime({2027, 12, 31, 23, 59})), D(2027, 12, 31));

  // Dates order by day, then sequence.
  const Date a{D(2024, 1, 1), kEndOfDay}, b{D(2024, 1, 2), 1}, c{D(2024, 1, 2), 2};
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  EXPECT_EQ(b, (Date{D(2024, 1, 2), 1}));
}

TEST(PackedDateTest, StampsCompareTimeAndSignature) {
  Stamp stamp;
  EXPECT_TRUE(stamp.empty());
  stamp.SetSignature("ABCD");
  EXPECT_EQ(stamp.Signature(), "ABC");
  EXPECT_FALSE(stamp.empty());
  stamp.SetSignature(std::string_view("X\0Y", 3));
  EXPECT_EQ(stamp.Signature(), "X");
  EXPECT_EQ(stamp.signature[2], '\0');  // nothing left over from "ABC"

  Stamp other;
  other.SetSignature("X");
  EXPECT_EQ(stamp, other);
  other.time = 1;
  EXPECT_NE(stamp, other);
  EXPECT_FALSE(other.empty());

  const LocalTime before = LocalNow();
  const Stamp now = StampNow("JDOE");
  EXPECT_EQ(now.Signature(), "JDO");
  EXPECT_GE(now.time,
            PackStampTime({before.year, before.month, before.day, before.hour, before.minute}));
  const LocalTime after = LocalNow();
  EXPECT_LE(now.time,
            PackStampTime({after.year, after.month, after.day, after.hour, after.minute}));
  const DayCode today = Today();
  EXPECT_TRUE(today == D(before.year, before.month, before.day) ||
              today == D(after.year, after.month, after.day));
}

TEST(PackedDateTest, DayTextsReadWithFillPivotAndClamps) {
  EXPECT_EQ(DayCodeText(D(2024, 1, 5)), "240105");
  EXPECT_EQ(DayCodeText(D(1999, 12, 31)), "991231");
  struct Case {
    const char* text;
    DayCode start;
    DayCode end;
  };
  const Case cases[] = {
      {"0002", D(2000, 2, 1), D(2000, 2, 29)},
      {"99", D(1999, 1, 1), D(1999, 12, 31)},
      {"27", D(2027, 1, 1), D(2027, 12, 31)},
      {"28", D(1928, 1, 1), D(1928, 12, 31)},
      {"2", D(2020, 1, 1), D(2020, 12, 31)},  // a lone year digit is the decade
      {"01023", D(2001, 2, 28), D(2001, 2, 28)},
      {"24021", D(2024, 2, 10), D(2024, 2, 19)},
      {"241345", D(2024, 12, 31), D(2024, 12, 31)},
      {"240230", D(2024, 2, 29), D(2024, 2, 29)},
      {"230230", D(2023, 2, 28), D(2023, 2, 28)},
      {"240000", D(2024, 1, 1), D(2024, 1, 1)},
      {"240101-5", D(2024, 1, 1), D(2024, 1, 1)},
      {"24 01 05", D(2024, 1, 5), D(2024, 1, 5)},
      {"2401051234", D(2024, 1, 5), D(2024, 1, 5)},
      {"2401-05", D(2024, 1, 1), D(2024, 1, 31)},
      {"", kNoDay, kNoDay},
      {"-240101", kNoDay, kNoDay},
      {"\xE5\xE4\xF6", kNoDay, kNoDay},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadDayCode(c.text, DateBound::kStart), c.start) << c.text;
    EXPECT_EQ(ReadDayCode(c.text, DateBound::kEnd), c.end) << c.text;
  }
}

TEST(PackedDateTest, CardIdsWriteWidthsAndReadNumbers) {
  const DayCode day = D(2024, 1, 1);
  struct Written {
    Sequence number;
    int width;
    const char* text;
  };
  const Written written[] = {
      {1, kNoWidth, "240101-1"},
      {1, 3, "240101-001"},
      {12345, 3, "240101-999"},
      {5, 0, "240101-0"},
      {kEndOfDay, 6, "240101-999999"},
      {-4, 2, "240101-00"},
      {kEndOfDay, kNoWidth, "240101-2147483647"},
  };
  for (const Written& w : written) {
    EXPECT_EQ(CardIdText({day, w.number}, w.width), w.text);
  }
  std::string line = "C";
  AppendCardId(line, {D(1999, 12, 31), 7}, 3);
  EXPECT_EQ(line, "C991231-007");

  struct Read {
    const char* text;
    Date start;
    Date end;
  };
  const Read read[] = {
      {"240101-1", {day, 1}, {day, 1}},
      {"240101-007", {day, 7}, {day, 7}},
      {"240101", {day, 1}, {day, kEndOfDay}},
      {"240101-", {day, 1}, {day, kEndOfDay}},
      {"240101-0", {day, 1}, {day, kEndOfDay}},
      {"240101-99999999999999", {day, kEndOfDay}, {day, kEndOfDay}},
      {"2401-3", {day, 3}, {D(2024, 1, 31), 3}},
      {"-5", {kNoDay, 5}, {kNoDay, 5}},
  };
  for (const Read& r : read) {
    EXPECT_EQ(ReadCardId(r.text, DateBound::kStart), r.start) << r.text;
    EXPECT_EQ(ReadCardId(r.text, DateBound::kEnd), r.end) << r.text;
  }
}

TEST(PackedDateTest, StampTextsReadTimeThenSignature) {
  const Stamp read = ReadStamp("0103151230ABCD");
  EXPECT_EQ(read.time, PackStampTime({2001, 3, 15, 12, 30}));
  EXPECT_EQ(read.Signature(), "ABC");
  EXPECT_EQ(StampText(read), "0103151230ABC");
  EXPECT_EQ(ReadableStampTime(read.time), "010315 12:30");

  struct Case {
    const char* text;
    StampTime time;
    const char* signature;
  };
  const Case cases[] = {
      {"01-03-15 12:30 XY", PackStampTime({2001, 3, 15, 12, 30}), "XY"},
      {"01.03.15.1230", PackStampTime({2001, 3, 15, 12, 30}), ""},
      {"0103", PackStampTime({2001, 3, 1, 0, 0}), ""},
      {"0103152575", PackStampTime({2001, 3, 15, 23, 59}), ""},
      {"010230", PackStampTime({2001, 2, 28, 0, 0}), ""},
      {"99123123599JD", PackStampTime({1999, 12, 31, 23, 59}), "JD"},  // 11th digit passed over
      {"ABC", 0, "ABC"},
      {"", 0, ""},
      {"   ", 0, ""},
      {"\t0103", 0, "\t01"},
  };
  for (const Case& c : cases) {
    const Stamp stamp = ReadStamp(c.text);
    EXPECT_EQ(stamp.time, c.time) << c.text;
    EXPECT_EQ(stamp.Signature(), c.signature) << c.text;
  }
  Stamp unset;
  unset.SetSignature("JD");
  EXPECT_EQ(StampText(unset), "JD");
  EXPECT_EQ(StampText(Stamp{}), "");
}

// Every day from 1900 through 2036, walked one by one with the month lengths.
TEST(PackedDateTest, DayNumbersAgreeWithADayByDayWalk) {
  const int month_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int year = 1900, month = 1, day = 1;
  DayCode previous = kNoDay;
  for (int32_t n = 0; year <= 2036; ++n) {
    const DayCode code = D(year, month, day);
    ASSERT_EQ(DayNumber(code), n) << year << "-" << month << "-" << day;
    ASSERT_EQ(DayCodeFromNumber(n), code) << n;
    ASSERT_EQ(PreviousDay(code), previous) << n;
    if (previous != kNoDay) {
      ASSERT_EQ(NextDay(previous), code) << n;
    }
    previous = code;
    const int length = month_days[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
    if (++day > length) day = 1, ++month;
    if (month > 12) month = 1, ++year;
  }
  EXPECT_EQ(DayNumber(D(1900, 1, 1)), 0);
  EXPECT_EQ(DayNumber(D(1900, 3, 1)), 60);
  EXPECT_EQ(DayCodeFromNumber(-1), kNoDay);
  EXPECT_EQ(NextDay(kNoDay), kNoDay);
  EXPECT_EQ(PreviousDay(kNoDay), kNoDay);
  EXPECT_EQ(NextDay(D(2024, 12, 31)), D(2025, 1, 1));
}

TEST(PackedDateTest, WeekdaysAreTrueFromMarch1900) {
  EXPECT_EQ(DayOfWeek(0), 0);                          // 1900-01-01 counts as Sunday
  EXPECT_EQ(DayOfWeek(DayNumber(D(1900, 3, 1))), 4);   // Thursday
  EXPECT_EQ(DayOfWeek(DayNumber(D(2000, 1, 1))), 6);   // Saturday
  EXPECT_EQ(DayOfWeek(DayNumber(D(2024, 1, 1))), 1);   // Monday
  EXPECT_EQ(DayOfWeek(DayNumber(D(2024, 2, 29))), 4);  // Thursday
  EXPECT_EQ(DayOfWeek(-1), 6);
}

// Every text form over many generated values from the years the pivot reaches.
TEST(PackedDateTest, TextFormsRoundTrip) {
  std::mt19937 random(28);
  for (DayCode code = D(1928, 1, 1); code <= D(2027, 12, 31); code = NextDay(code)) {
    const std::string text = DayCodeText(code);
    ASSERT_EQ(ReadDayCode(text, DateBound::kStart), code) << text;
    ASSERT_EQ(ReadDayCode(text, DateBound::kEnd), code) << text;
    const int width = static_cast<int>(random() % 8) - 1;  // kNoWidth or 0..6
    const Sequence largest = width == kNoWidth ? kEndOfDay : LargestCardNumber(width);
    const Date date{code, largest == 0 ? 1 : static_cast<Sequence>(1 + random() % largest)};
    const std::string id = CardIdText(date, width);
    if (width != 0) {
      ASSERT_EQ(ReadCardId(id, DateBound::kStart), date) << id;
    }
    ASSERT_EQ(CardIdText(ReadCardId(id, DateBound::kEnd), width), id);
  }
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabc\xC5\xC4\xD6";
  for (int i = 0; i < 100000; ++i) {
    const DayCode day = DayCodeFromNumber(DayNumber(D(1928, 1, 1)) + random() % 36524);
    const CalendarDate date = UnpackDay(day);
    Stamp stamp;
    stamp.time = PackStampTime({date.year, date.month, date.day, static_cast<int>(random() % 24),
                                static_cast<int>(random() % 60)});
    std::string signature;
    for (size_t n = random() % 4; n > 0; --n) signature += letters[random() % letters.size()];
    stamp.SetSignature(signature);
    const std::string text = StampText(stamp);
    ASSERT_EQ(ReadStamp(text), stamp) << text;
    ASSERT_EQ(ReadStamp(text.substr(0, 10)).time, stamp.time);
    const std::string readable = ReadableStampTime(stamp.time);
    ASSERT_EQ(ReadStamp(readable).time, stamp.time) << readable;
  }
}

TEST(PackedDateTest, HostileTextsReadAsValidDays) {
  std::vector<std::string> texts = {std::string(100, '9'), std::string(100, '0'),
                                    std::string(100, '-'), std::string(100, ' '),
                                    "9999999999-9999999999"};
  for (int byte = 0; byte < 256; ++byte) {
    texts.push_back(std::string(1, static_cast<char>(byte)));
    texts.push_back("24" + std::string(1, static_cast<char>(byte)) + "0229-" +
                    std::string(3, static_cast<char>(byte)));
  }
  std::string high;
  for (int byte = 0x80; byte < 0x100; ++byte) high += static_cast<char>(byte);
  texts.push_back(high);
  const auto valid = [](DayCode code) {
    if (code == kNoDay) return true;
    const CalendarDate date = UnpackDay(code);
    return date.year >= 1928 && date.year <= 2027 && date.month >= 1 && date.month <= 12 &&
           date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
  };
  for (const std::string& text : texts) {
    for (const DateBound bound : {DateBound::kStart, DateBound::kEnd}) {
      EXPECT_TRUE(valid(ReadDayCode(text, bound))) << text;
      const Date id = ReadCardId(text, bound);
      EXPECT_TRUE(valid(id.day)) << text;
      EXPECT_GE(id.sequence, 1);
    }
    const Stamp stamp = ReadStamp(text);
    EXPECT_TRUE(valid(StampDay(stamp.time))) << text;
    EXPECT_LE(UnpackStampTime(stamp.time).hour, 23);
    EXPECT_LE(stamp.Signature().size(), Stamp::kMaxSignature);
  }
}

}  // namespace
}  // namespace jov
