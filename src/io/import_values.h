// Numbers and dates as text import reads them from fields: numbers written with any decimal
// separator, thousand separators and currency signs, and card dates in the eight formats of
// import setups.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "io/import_setup.h"
#include "model/packed_date.h"

namespace jov {

// Keeps the digits and "-", reads `decimal_separator` as the decimal point and drops every
// other character ("1.234,50 kr" with "," is 1234.5). A "-" before the digits, or right after
// them at the end ("1.234,50-", as bookkeeping exports write credits), makes the number
// negative. Nothing when no digit is left.
std::optional<double> ReadImportNumber(std::string_view text, unsigned char decimal_separator);

// The number in the form an import expression is built from: shortest exact digits, negative
// numbers in brackets.
void AppendExpressionNumber(std::string& out, double value);

// The card date in `format`; kNoDay when the text gives none. The six-digit formats rearrange
// the first six characters into YYMMDD for the general date reader; the separated formats take
// three runs of digits, years below 28 in this century, two-digit years from 28 in the last,
// and at most 2027, the month held to 1..12 and the day to the month.
DayCode ReadImportDate(std::string_view text, DateFormat format);

}  // namespace jov
