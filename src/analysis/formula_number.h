// Reading the numbers of formula texts. Decimal numbers take "." and "," alike as the decimal
// mark, the earlier of two marks being a thousands separator, and read over blanks, so the
// digit groups of any locale read the same; hexadecimal ("0x", "$") and octal ("#") numbers may
// carry a fraction too.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace jov {

struct FormulaNumber {
  double value;  // the missing number for a decimal number without a digit (".")
  size_t end;    // the position after the number, blanks inside and after it included
};

// The most digits and marks a decimal number collects; the number ends before a further one.
constexpr size_t kMaxNumberCharacters = 256;

// Reads the number that starts at `pos`; none when no number starts there (nothing is read).
std::optional<FormulaNumber> ReadFormulaNumber(std::string_view text, size_t pos);

}  // namespace jov
