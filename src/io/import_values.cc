#include "io/import_values.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

namespace jov {
namespace {

// The years the date forms of database files can hold: two-digit years from 28 up to 27.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2027;
constexpr int kCenturyPivot = 28;

// A year as written in a separated date.
int ImportYear(int64_t year) {
  if (year >= kFirstYear) return static_cast<int>(std::min<int64_t>(year, kLastYear));
  if (year < kCenturyPivot) return 2000 + static_cast<int>(year);
  if (year <= 1000) return std::min(1900 + static_cast<int>(year), kLastYear);
  return kFirstYear;
}

// Up to three runs of digits, each ended by any other character; false when fewer.
bool ThreeNumbers(std::string_view text, std::array<int64_t, 3>& numbers) {
  size_t found = 0;
  size_t pos = 0;
  while (found < 3 && pos < text.size()) {
    if (text[pos] < '0' || text[pos] > '9') {
      ++pos;
      continue;
    }
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
      value = std::min<int64_t>(value * 10 + (text[pos] - '0'), 1'000'000'000);
    }
    numbers[found++] = value;
  }
  return found == 3;
}

DayCode SeparatedDate(std::string_view text, std::array<int, 3> order) {
  std::array<int64_t, 3> numbers{};
  if (!ThreeNumbers(text, numbers)) return kNoDay;
  const int year = ImportYear(numbers[static_cast<size_t>(order[0])]);
  const int month =
      static_cast<int>(std::clamp<int64_t>(numbers[static_cast<size_t>(order[1])], 1, 12));
  const int day = static_cast<int>(
      std::clamp<int64_t>(numbers[static_cast<size_t>(order[2])], 1, DaysInMonth(year, month)));
  return PackDay(year, month, day);
}

// The first six characters rearranged so that the pairs at `year`, `month` and `day` (pair
// indices) come in that order.
DayCode SixDigitDate(std::string_view text, int year, int month, int day) {
  if (text.size() < 6) return kNoDay;
  const std::string yymmdd = std::string(text.substr(2 * year, 2)) +
                             std::string(text.substr(2 * month, 2)) +
                             std::string(text.substr(2 * day, 2));
  return ReadDayCode(yymmdd);
}

}  // namespace

std::optional<double> ReadImportNumber(std::string_view text, unsigned char decimal_separator) {
  char kept[64];
  size_t size = 0;
  for (const char c : text) {
    if (size == sizeof kept) break;
    if ((c >= '0' && c <= '9') || c == '-') {
      kept[size++] = c;
    } else if (static_cast<unsigned char>(c) == decimal_separator) {
      kept[size++] = '.';
    }
  }
  const char* begin = kept;
  const char* const end = kept + size;
  bool negative = false;
  while (begin < end && *begin == '-') negative = true, ++begin;
  double value = 0;
  const std::from_chars_result read = std::from_chars(begin, end, value, std::chars_format::fixed);
  if (read.ec != std::errc() || read.ptr == begin) return std::nullopt;
  if (read.ptr + 1 == end && *read.ptr == '-') negative = true;
  return negative ? -value : value;
}

void AppendExpressionNumber(std::string& out, double value) {
  char text[32];
  const char* const end = std::to_chars(text, text + sizeof text, value).ptr;
  const std::string_view digits(text, static_cast<size_t>(end - text));
  if (value < 0) {
    out.append("(").append(digits).append(")");
  } else {
    out.append(digits);
  }
}

DayCode ReadImportDate(std::string_view text, DateFormat format) {
  switch (format) {
    case DateFormat::kYYMMDD:
      return ReadDayCode(text);
    case DateFormat::kYYDDMM:
      return SixDigitDate(text, 0, 2, 1);
    case DateFormat::kMMDDYY:
      return SixDigitDate(text, 2, 0, 1);
    case DateFormat::kDDMMYY:
      return SixDigitDate(text, 2, 1, 0);
    case DateFormat::kYMD:
      return SeparatedDate(text, {0, 1, 2});
    case DateFormat::kYDM:
      return SeparatedDate(text, {0, 2, 1});
    case DateFormat::kMDY:
      return SeparatedDate(text, {2, 0, 1});
    case DateFormat::kDMY:
      return SeparatedDate(text, {2, 1, 0});
  }
  return kNoDay;
}

}  // namespace jov
