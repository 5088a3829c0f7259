// Small pieces shared by the date and time text forms: the digit collector that every date
// reader uses, and the writer of two-digit fields.
#pragma once

#include <cstddef>
#include <string_view>

namespace jov {

// The digits a date reader took from a text, and where its walk ended.
struct DigitRun {
  static constexpr int kCapacity = 14;  // YYYYMMDDhhmmss

  char digits[kCapacity] = {};
  int count = 0;
  size_t end = 0;  // index of the character that ended the walk, or the text's size

  // The decimal value of the `width` digits from `first` on; positions not collected count as
  // the digit `fill`.
  int Field(int first, int width, char fill) const {
    int value = 0;
    for (int i = first; i < first + width; ++i) {
      value = value * 10 + ((i < count ? digits[i] : fill) - '0');
    }
    return value;
  }
};

enum class DigitWalk { kSkip, kStop };

// Walks `text` from the front. Digits are collected, at most `max_digits` of them (later digits
// are passed over); for any other character `classify(c)` says whether to pass over it or to
// end the walk there. `max_digits` is at most DigitRun::kCapacity.
template <typename Classify>
DigitRun CollectDigits(std::string_view text, int max_digits, Classify classify) {
  DigitRun run;
  size_t i = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (run.count < max_digits) run.digits[run.count++] = c;
    } else if (classify(c) == DigitWalk::kStop) {
      break;
    }
  }
  run.end = i;
  return run;
}

// Writes `value` (0..99) as two digits with a leading zero; returns the end.
inline char* WriteTwoDigits(char* out, unsigned value) {
  out[0] = static_cast<char>('0' + value / 10 % 10);
  out[1] = static_cast<char>('0' + value % 10);
  return out + 2;
}

}  // namespace jov
