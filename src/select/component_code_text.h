// The text form of codes in component expressions: where a code ends, quoted codes, the
// interval mark, and how a code is quoted when it is printed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jov {

// The length of the interval mark at text[pos]: 1 for "_", the run's length for two or more
// dots, else 0.
size_t IntervalMarkLength(std::string_view text, size_t pos);

// Reads a code at text[*pos]: a text in apostrophes or double quotes (the closing quote may be
// missing), or a run of characters up to the next token character, without its trailing
// blanks. False (nothing consumed) when no code stands there.
bool ReadCodeText(std::string_view text, size_t* pos, std::string* code);

// Moves *pos past one piece of text that stands where an operator was expected: a code, a
// quoted code or one token character (a run of dots as a whole).
void SkipCodeText(std::string_view text, size_t* pos);

// Appends `code`, in apostrophes when it contains a token character or begins with a quote or
// a blank, or in double quotes when it also contains an apostrophe.
void AppendCode(std::string& out, std::string_view code);

}  // namespace jov
