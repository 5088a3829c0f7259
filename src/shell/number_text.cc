#include "shell/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "shell/special_numbers.h"

namespace jov {
namespace {

// The powers of ten that doubles hold exactly.
constexpr auto kPowersOfTen = [] {
  std::array<double, 23> powers{};
  double power = 1;
  for (double& entry : powers) entry = power, power *= 10;
  return powers;
}();

// The scanner of ParseNumber. The value read so far is kept exactly as a digit string times a
// power of ten, and converted once at the end, so the result is correctly rounded.
class NumberScanner {
 public:
  // Returns true when the scan ends early (at an infinity).
  bool Take(char c);
  double Result() const;

 private:
  enum class State { kNoDigit, kInteger, kFraction, kExponent };
  enum class Kept { kDigit, kLeadingZero, kDropped };

  // 768 significant digits decide the rounding of any double; later digits only add a sticky 1.
  static constexpr int kMaxDigits = 770;
  static constexpr int64_t kExponentLimit = 100000;

  void Digit(int digit);
  Kept Keep(int digit);
  void Separator();
  double Convert() const;

  State state_ = State::kNoDigit;
  char digits_[kMaxDigits];
  int count_ = 0;                // significant digits kept
  bool sticky_ = false;          // a non-zero digit was dropped
  int64_t shift_ = 0;            // the power of ten of the last kept digit
  int64_t fraction_digits_ = 0;  // digits since the last separator, in the fraction
  int64_t exponent_ = 0;
  bool exponent_negative_ = false;
  bool negative_ = false;
  bool digit_seen_ = false;
  bool exponent_mark_ = false;
  bool infinite_ = false;
};

bool NumberScanner::Take(char c) {
  if (c >= '0' && c <= '9') {
    Digit(c - '0');
  } else if (c == ',' || c == '.') {
    Separator();
  } else if (c == '-') {
    (state_ == State::kExponent ? exponent_negative_ : negative_) = true;
  } else if (c == 'E' || c == 'e') {
    if (!digit_seen_) count_ = 1, digits_[0] = '1', shift_ = 0;  // "E3" is 1000
    exponent_mark_ = true;
    state_ = State::kExponent;
  } else if (c == 'I' || c == 'i') {
    infinite_ = true;
  }
  return infinite_;
}

void NumberScanner::Digit(int digit) {
  digit_seen_ = true;
  switch (state_) {
    case State::kExponent:
      exponent_ = std::min(exponent_ * 10 + digit, kExponentLimit);
      return;
    case State::kFraction:
      ++fraction_digits_;
      if (Keep(digit) != Kept::kDropped) --shift_;
      return;
    default:
      state_ = State::kInteger;
      if (Keep(digit) == Kept::kDropped) ++shift_;
      return;
  }
}

NumberScanner::Kept NumberScanner::Keep(int digit) {
  if (count_ == 0 && digit == 0) return Kept::kLeadingZero;
  if (count_ == kMaxDigits) {
    sticky_ = sticky_ || digit != 0;
    return Kept::kDropped;
  }
  digits_[count_++] = static_cast<char>('0' + digit);
  return Kept::kDigit;
}

// A separator inside the fraction turns the digits since the previous one into thousands.
void NumberScanner::Separator() {
  if (state_ == State::kFraction) shift_ += fraction_digits_;
  fraction_digits_ = 0;
  state_ = State::kFraction;
}

double NumberScanner::Convert() const {
  if (count_ == 0) return 0.0;
  int64_t power = (exponent_negative_ ? -exponent_ : exponent_) + shift_;
  // Up to 15 digits and a power of ten held exactly: one rounding, so already the nearest.
  if (!sticky_ && count_ <= 15 && power >= -22 && power <= 22) {
    int64_t units = 0;
    for (int i = 0; i < count_; ++i) units = units * 10 + (digits_[i] - '0');
    const double exact_power = kPowersOfTen[power < 0 ? -power : power];
    return power < 0 ? static_cast<double>(units) / exact_power
                     : static_cast<double>(units) * exact_power;
  }
  char text[kMaxDigits + 24];
  char* end = std::copy(digits_, digits_ + count_, text);
  if (sticky_) *end++ = '1', --power;
  *end++ = 'e';
  power = std::clamp<int64_t>(power, -4 * kExponentLimit, 4 * kExponentLimit);
  end = std::to_chars(end, text + sizeof text, power).ptr;
  double value = 0.0;
  if (std::from_chars(text, end, value).ec == std::errc::result_out_of_range) {
    value = power > 0 ? kPlusInfinity : 0.0;
  }
  return value;
}

double NumberScanner::Result() const {
  if (infinite_) return negative_ ? kMinusInfinity : kPlusInfinity;
  if (!digit_seen_ && !exponent_mark_) return kMissingNumber;
  const double value = Convert();
  return negative_ ? -value : value;
}

// Room for the fixed form of the largest double with kMaxDecimals decimals.
constexpr size_t kNumberTextSize = 1 + 309 + 1 + kMaxDecimals + 8;

// "00" to "99", for writing digits two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes `units` / 10^decimals, trailing zeros and point dropped. The zeros of the fraction are
// dropped before anything is written, and the digits are made from the right two at a time:
// savers write millions of values.
char* WriteScaled(char* out, int64_t units, int decimals) {
  if (units < 0) *out++ = '-';
  uint64_t rest = units < 0 ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  while (decimals > 0 && rest % 10 == 0) rest /= 10, --decimals;
  char digits[24];
  char* const end = digits + sizeof digits;
  char* first = end;
  for (; rest >= 100; rest /= 100) {
    first -= 2;
    std::memcpy(first, &kDigitPairs[2 * (rest % 100)], 2);
  }
  if (rest >= 10) {
    first -= 2;
    std::memcpy(first, &kDigitPairs[2 * rest], 2);
  } else {
    *--first = static_cast<char>('0' + rest);
  }
  // At least one digit before the point.
  while (end - first < decimals + 1) *--first = '0';
  char* const point = end - decimals;
  out = std::copy(first, point, out);
  if (decimals == 0) return out;
  *out++ = '.';
  return std::copy(point, end, out);
}

// The fast way, for values below 1e15 / 10^decimals. Every k + 0.5 below 2^52 is a double and
// rounding is monotonic, so p = value × 10^decimals (rounded) lies on the same side of every half
// as the exact product, and p's nearest integer is the exact product's, unless p is exactly a
// half. Returns nullptr in that case.
char* WriteByIntegers(char* out, double value, int decimals) {
  const double power = kPowersOfTen[decimals];
  if (!(std::fabs(value) < 1e15 / power)) return nullptr;
  const double scaled = value * power;
  const double floor = std::floor(scaled);
  const double fraction = scaled - floor;
  if (fraction == 0.5) return nullptr;
  const auto units = static_cast<int64_t>(floor) + (fraction > 0.5 ? 1 : 0);
  return WriteScaled(out, units, decimals);
}

// The exact value rounded to `decimals` decimals, trailing zeros and point dropped.
char* WriteRounded(char* out, char* limit, double value, int decimals) {
  char* end = std::to_chars(out, limit, value, std::chars_format::fixed, decimals).ptr;
  if (decimals > 0) {
    while (end[-1] == '0') --end;
    if (end[-1] == '.') --end;
  }
  return end;
}

// The plain form that writers produce, "-123.45" with at most 15 digits, read without the
// scanner: the digits as an integer over an exact power of ten, rounded once, which is the
// scanner's own result for such a text. False for anything else.
bool ParsePlainNumber(std::string_view text, double* value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  p += negative ? 1 : 0;
  const char* const first = p;
  // Unsigned, so that the digits of a long number wrap harmlessly before it is refused.
  uint64_t units = 0;
  for (; p != end && static_cast<unsigned>(*p - '0') < 10; ++p) {
    units = units * 10 + static_cast<unsigned>(*p - '0');
  }
  int digits = static_cast<int>(p - first), decimals = 0;
  if (p != end && *p == '.') {
    const char* const fraction = ++p;
    for (; p != end && static_cast<unsigned>(*p - '0') < 10; ++p) {
      units = units * 10 + static_cast<unsigned>(*p - '0');
    }
    decimals = static_cast<int>(p - fraction);
    digits += decimals;
  }
  if (p != end || digits == 0 || digits > 15) return false;
  const double magnitude = static_cast<double>(units) / kPowersOfTen[decimals];
  *value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

double ParseNumber(std::string_view text) {
  double plain;
  if (ParsePlainNumber(text, &plain)) return plain;
  NumberScanner scanner;
  for (const char c : text) {
    if (scanner.Take(c)) break;
  }
  return scanner.Result();
}

void AppendNumber(std::string& out, double value, int decimals) {
  const std::string_view special = SpecialNumberText(value);
  if (!special.empty()) {
    out.append(special);
    return;
  }
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  char text[kNumberTextSize];
  char* end = WriteByIntegers(text, value, decimals);
  if (end == nullptr) end = WriteRounded(text, text + sizeof text, value, decimals);
  const char* begin = text;
  if (end - begin == 2 && begin[0] == '-' && begin[1] == '0') ++begin;  // no "-0"
  out.append(begin, static_cast<size_t>(end - begin));
}

std::string FormatNumber(double value, int decimals) {
  std::string text;
  AppendNumber(text, value, decimals);
  return text;
}

void AppendShownNumber(std::string& out, double value, int decimals,
                       const NumberSeparators& separators) {
  if (!std::isfinite(value)) {
    out.append(SpecialNumberText(value));
    return;
  }
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  char plain[kNumberTextSize];
  char* end = WriteByIntegers(plain, value, decimals);
  if (end == nullptr) end = WriteRounded(plain, plain + sizeof plain, value, decimals);
  std::string_view digits(plain, static_cast<size_t>(end - plain));
  if (digits == "-0") digits = "0";
  if (digits.starts_with('-')) {
    out.push_back('-');
    digits.remove_prefix(1);
  }
  const size_t point = std::min(digits.find('.'), digits.size());
  for (size_t i = 0; i < point; ++i) {
    if (separators.thousand != 0 && i > 0 && (point - i) % 3 == 0)
      out.push_back(separators.thousand);
    out.push_back(digits[i]);
  }
  if (decimals == 0) return;
  out.push_back(separators.decimal);
  const std::string_view fraction = point < digits.size() ? digits.substr(point + 1) : "";
  out.append(fraction);
  out.append(static_cast<size_t>(decimals) - fraction.size(), '0');
}

}  // namespace jov
