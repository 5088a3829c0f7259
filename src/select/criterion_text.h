// Characters and text rules shared by the criterion languages: the boolean operator characters,
// the case folding used by every case-insensitive comparison, the length limit and the
// normalisations applied to typed criteria before they compile.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/case_tables.h"

namespace jov {

// Operator characters (Windows-1252 bytes).
constexpr char kUnionChar = '|';
constexpr char kIntersectionChar = '&';
constexpr char kEitherOrChar = '\xB1';
constexpr char kComplementChar = '\xAC';
constexpr char kOpenChar = '(';
constexpr char kCloseChar = ')';
// The missing-value, empty-text and absent-item mark; it also starts advanced text patterns.
constexpr char kBackslashChar = '\\';

// Value conditions and text patterns are cut to this many characters before they compile.
constexpr size_t kMaxCriterionLength = 1023;
// Brackets nest at most this deep; a deeper "(" ends the expression there.
constexpr int kMaxNesting = 64;

inline bool IsBinaryOperatorChar(char c) {
  return c == kUnionChar || c == kIntersectionChar || c == kEitherOrChar;
}
// The characters that join or group operands in every language.
inline bool IsBooleanChar(char c) {
  return IsBinaryOperatorChar(c) || c == kComplementChar || c == kOpenChar || c == kCloseChar;
}
inline bool IsQuoteChar(char c) { return c == '"' || c == '\''; }

// Folds one byte for case-insensitive comparison: a-z to A-Z and 0xE0-0xFE to 0xC0-0xDE, except
// 0xF7. `table` is UpperCaseTable(), fetched once by loops over long texts.
inline unsigned char FoldWith(const unsigned char* table, char c) {
  return table[static_cast<unsigned char>(c)];
}
inline unsigned char Fold(char c) { return FoldWith(UpperCaseTable(), c); }

// Cuts `text` to kMaxCriterionLength characters.
void CutToCriterionLength(std::string& text);

// Compiles a typed criterion with `compile`, which corrects the text in place: the text is cut
// to the length limit first. Correcting may lengthen it again (numbers written out in full, date
// keywords written as dates); a corrected text over the limit is cut and compiled once more, so
// that the text kept is the one the program came from and compiles to itself when read back.
template <typename Compile>
auto CompileCriterion(std::string& text, Compile compile) -> decltype(compile(text)) {
  constexpr int kMaxRounds = 4;
  CutToCriterionLength(text);
  auto result = compile(text);
  for (int round = 1; round < kMaxRounds && text.size() > kMaxCriterionLength; ++round) {
    CutToCriterionLength(text);
    result = compile(text);
  }
  return result;
}
// Replaces every run of two or more "." outside quotes (double-quote characters or apostrophes)
// by one "_".
void ReplaceDotRuns(std::string& text);
// Removes every blank.
void RemoveBlanks(std::string& text);
// `text` without leading and trailing blanks.
std::string_view TrimBlanksView(std::string_view text);
// A criterion as one field of a stored line: tabs and line breaks become blanks.
std::string OneField(std::string_view text);

}  // namespace jov
