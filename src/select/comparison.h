// The comparison operators that value conditions and interval conditions share. An operator is
// typed as a run of the characters "<", "=" and ">"; the set of characters in the run decides
// it, and it is written back in its canonical form.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace jov {

enum class Comparison : unsigned char {
  kEqual,         // "="
  kLess,          // "<"
  kGreater,       // ">"
  kLessEqual,     // "<="
  kGreaterEqual,  // ">="
  kNotEqual,      // "<>", also typed "><" or with "="
};

std::string_view ComparisonText(Comparison comparison);

// Reads the run of "<", "=" and ">" at text[*pos] and advances past it; nothing (and *pos
// unchanged) when none starts there.
std::optional<Comparison> ReadComparison(std::string_view text, size_t* pos);

// For an operator that no operand follows: it tests for a missing value. Writes "=\", ">\" ...
// when a "\" follows (and consumes it), else the operator with its last character replaced by
// "\" ("=" becomes "\", ">=" becomes ">\").
void AppendMissingTest(Comparison comparison, std::string_view text, size_t* pos, std::string* out);

}  // namespace jov
