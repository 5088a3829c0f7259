#include "analysis/formula_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "shell/special_numbers.h"

namespace jov {
namespace {

// Powers of ten beyond this give infinity or zero for any mantissa of kMaxNumberCharacters.
constexpr double kMaxExponent = 1000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsMark(char c) { return c == '.' || c == ','; }
bool IsSign(char c) { return c == '+' || c == '-'; }

char At(std::string_view text, size_t pos) { return pos < text.size() ? text[pos] : '\0'; }

// The value of `c` as a digit of `radix` (8 or 16), or -1.
int RadixDigit(char c, int radix) {
  int digit = -1;
  if (IsDigit(c)) digit = c - '0';
  if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
  if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
  return digit < radix ? digit : -1;
}

// Digits with blanks read over; one "." or "," starts the fraction, whose digits scale by
// 1/radix each. None without a digit.
std::optional<FormulaNumber> ReadRadixNumber(std::string_view text, size_t pos, int radix) {
  double value = 0;
  double scale = 1;
  bool in_fraction = false;
  bool any_digit = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == ' ') continue;
    if (IsMark(c) && !in_fraction) {
      in_fraction = true;
      continue;
    }
    const int digit = RadixDigit(c, radix);
    if (digit < 0) break;
    any_digit = true;
    if (in_fraction) {
      scale /= radix;
      value += digit * scale;
    } else {
      value = value * radix + digit;
    }
  }
  if (!any_digit) return std::nullopt;
  return FormulaNumber{value, pos};
}

// The digits of a decimal number, without its marks, and where the decimal mark stands among
// them.
struct DecimalDigits {
  std::string digits;
  size_t point = std::string::npos;  // digits before the last mark; npos without a mark
  size_t end = 0;
};

// Reads digits, marks and blanks. Each mark starts the fraction; a later mark turns the earlier
// one into a thousands separator, so only the last mark counts.
DecimalDigits ScanDecimal(std::string_view text, size_t pos) {
  DecimalDigits result;
  size_t collected = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == ' ') continue;
    if (!IsDigit(c) && !IsMark(c)) break;
    if (collected == kMaxNumberCharacters) break;
    ++collected;
    if (IsMark(c)) {
      result.point = result.digits.size();
    } else {
      result.digits.push_back(c);
    }
  }
  result.end = pos;
  return result;
}

// The correctly rounded value of the digits times 10^exponent; the missing number without a
// digit or with a missing exponent.
double DecimalValue(const DecimalDigits& number, double exponent) {
  if (number.digits.empty() || std::isnan(exponent)) return kMissingNumber;
  const double power = std::clamp(exponent, -kMaxExponent, kMaxExponent);
  const size_t point = std::min(number.point, number.digits.size());
  std::string text = "0";
  text.append(number.digits, 0, point);
  text += '.';
  text.append(number.digits, point);
  text += 'e';
  text += std::to_string(static_cast<int>(power));
  double value = 0;
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (read.ec == std::errc::result_out_of_range) return power > 0 ? kPlusInfinity : 0.0;
  return value;
}

// "E" or "e" then a digit or a sign starts an exponent: a run of signs (each "-" flips it) and a
// decimal number, truncated toward zero. Returns the exponent and moves `pos` past it; 0 and
// `pos` unchanged when no exponent starts there.
double ReadExponent(std::string_view text, size_t& pos) {
  const char mark = At(text, pos);
  const char next = At(text, pos + 1);
  if ((mark != 'E' && mark != 'e') || !(IsDigit(next) || IsSign(next))) return 0;
  ++pos;
  double sign = 1;
  for (; IsSign(At(text, pos)); ++pos) {
    if (text[pos] == '-') sign = -sign;
  }
  const DecimalDigits digits = ScanDecimal(text, pos);
  pos = digits.end;
  return sign * std::trunc(DecimalValue(digits, 0));
}

FormulaNumber ReadDecimalNumber(std::string_view text, size_t pos) {
  const DecimalDigits mantissa = ScanDecimal(text, pos);
  size_t end = mantissa.end;
  const double exponent = ReadExponent(text, end);
  return FormulaNumber{DecimalValue(mantissa, exponent), end};
}

}  // namespace

std::optional<FormulaNumber> ReadFormulaNumber(std::string_view text, size_t pos) {
  const char c = At(text, pos);
  if (c == '0' && (At(text, pos + 1) == 'x' || At(text, pos + 1) == 'X')) {
    if (std::optional<FormulaNumber> number = ReadRadixNumber(text, pos + 2, 16)) return number;
  }
  if (c == '$') return ReadRadixNumber(text, pos + 1, 16);
  if (c == '#') return ReadRadixNumber(text, pos + 1, 8);
  if (IsDigit(c) || IsMark(c)) return ReadDecimalNumber(text, pos);
  return std::nullopt;
}

}  // namespace jov
