// The 8-bit case tables behind every case-insensitive comparison, and the six case options a
// dimension applies to its codes, texts and host codes.
#pragma once

#include <string>
#include <string_view>

namespace jov {

// A-Z <-> a-z and 0xC0-0xDE <-> 0xE0-0xFE, except 0xD7 and 0xF7, which have no partner.
unsigned char UpperCase(unsigned char c);
unsigned char LowerCase(unsigned char c);
// The table behind UpperCase, for loops that fold every byte of long texts.
const unsigned char* UpperCaseTable();

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Index order and stored letters "ULDWSN".
enum class CaseOption : unsigned char {
  kUpper = 0,            // U: every character upper case
  kLower = 1,            // L: every character lower case
  kStandard = 2,         // D: first character upper, the rest lower
  kWordCaps = 3,         // W: word-initial letters upper, the rest lower
  kCaseSensitive = 4,    // S: unchanged, compared exactly
  kCaseInsensitive = 5,  // N: unchanged, compared ignoring case
};
constexpr int kCaseOptionCount = 6;
constexpr std::string_view kCaseOptionLetters = "ULDWSN";

char CaseOptionLetter(CaseOption option);
// The option of a stored letter (either case); false when the letter is not one of "ULDWSN".
bool CaseOptionFromLetter(char letter, CaseOption* option);

// True when the option rewrites values (U, L, D, W).
bool CaseOptionRewrites(CaseOption option);
// True when values compare exactly (S).
inline bool CaseOptionIsExact(CaseOption option) { return option == CaseOption::kCaseSensitive; }

// Rewrites `text` in place as the option demands.
void ApplyCaseOption(CaseOption option, std::string& text);

// Compares under the option: exactly for S, else ignoring case.
inline bool EqualsUnder(CaseOption option, std::string_view a, std::string_view b) {
  return CaseOptionIsExact(option) ? a == b : EqualsIgnoringCase(a, b);
}

}  // namespace jov
