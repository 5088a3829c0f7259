// Numbers as text: the tolerant parser that reads numbers typed by people or written by other
// programs, and the writer of values with a fixed number of decimals (text database lines).
#pragma once

#include <string>
#include <string_view>

#include "shell/process.h"

namespace jov {

// Reads a number, tolerating whatever surrounds it: "12 345,67 kr" is 12345.67. The last "," or
// "." is the decimal point (earlier ones separate thousands); "-" makes the number negative, or
// the exponent after "E"/"e"; an "E" with no digit before it stands for 1 ("E3" is 1000); "I" or
// "i" gives an infinity; other characters are skipped. A text with no digit and no "E" gives the
// missing number (NaN). The result is the double nearest to the decimal value read.
double ParseNumber(std::string_view text);

// Writes `value` rounded to `decimals` decimals (clamped to 0..kMaxDecimals), trailing zeros and
// a trailing point dropped, "-" before a negative number (never "-0"); NaN and the infinities
// as "0/0", "+ inf" and "- inf". ParseNumber reads the text of a finite value back as the double
// nearest to it, which writes the same text again. Note that "0/0" reads back as 0, not NaN.
// AppendNumber allocates only when `out` must grow.
inline constexpr int kMaxDecimals = 20;
void AppendNumber(std::string& out, double value, int decimals);
std::string FormatNumber(double value, int decimals);

// A number as tables show it to people: rounded to `decimals` decimals (clamped to
// 0..kMaxDecimals) with every decimal written, the decimal separator for the point, and the
// integer part grouped by threes with the thousand separator when there is one ("-1 234,50");
// NaN and the infinities as AppendNumber writes them.
void AppendShownNumber(std::string& out, double value, int decimals,
                       const NumberSeparators& separators);

}  // namespace jov
