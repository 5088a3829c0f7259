#include "model/case_tables.h"

#include <array>

namespace jov {
namespace {

struct CaseTables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
};

constexpr CaseTables MakeCaseTables() {
  CaseTables tables;
  for (int c = 0; c < 256; ++c) {
    tables.upper[c] = static_cast<unsigned char>(c);
    tables.lower[c] = static_cast<unsigned char>(c);
  }
  for (int c = 'a'; c <= 'z'; ++c) {
    tables.upper[c] = static_cast<unsigned char>(c - 32);
    tables.lower[c - 32] = static_cast<unsigned char>(c);
  }
  for (int c = 0xE0; c <= 0xFE; ++c) {
    if (c == 0xF7) continue;
    tables.upper[c] = static_cast<unsigned char>(c - 32);
    tables.lower[c - 32] = static_cast<unsigned char>(c);
  }
  return tables;
}

constexpr CaseTables kTables = MakeCaseTables();

bool SetsWordStart(char c) { return c == ' ' || c == '-' || c == '/' || c == '_'; }

bool KeepsWordState(char c) {
  switch (c) {
    case '"':
    case '\'':
    case '(':
    case ')':
    case '.':
    case ':':
    case '{':
    case '}':
    case '[':
    case ']':
      return true;
    default:
      return false;
  }
}

void ApplyWordCaps(std::string& text) {
  bool word_start = true;
  for (char& c : text) {
    if (SetsWordStart(c)) {
      word_start = true;
    } else if (KeepsWordState(c)) {
      continue;
    } else if (word_start) {
      c = static_cast<char>(UpperCase(static_cast<unsigned char>(c)));
      word_start = false;
    } else {
      c = static_cast<char>(LowerCase(static_cast<unsigned char>(c)));
    }
  }
}

}  // namespace

unsigned char UpperCase(unsigned char c) { return kTables.upper[c]; }
unsigned char LowerCase(unsigned char c) { return kTables.lower[c]; }
const unsigned char* UpperCaseTable() { return kTables.upper.data(); }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (kTables.upper[static_cast<unsigned char>(a[i])] !=
        kTables.upper[static_cast<unsigned char>(b[i])]) {
      return false;
    }
  }
  return true;
}

char CaseOptionLetter(CaseOption option) { return kCaseOptionLetters[static_cast<size_t>(option)]; }

bool CaseOptionFromLetter(char letter, CaseOption* option) {
  const size_t index = kCaseOptionLetters.find(static_cast<char>(UpperCase(letter)));
  if (index == std::string_view::npos) return false;
  *option = static_cast<CaseOption>(index);
  return true;
}

bool CaseOptionRewrites(CaseOption option) {
  return option != CaseOption::kCaseSensitive && option != CaseOption::kCaseInsensitive;
}

void ApplyCaseOption(CaseOption option, std::string& text) {
  switch (option) {
    case CaseOption::kUpper:
      for (char& c : text) c = static_cast<char>(UpperCase(static_cast<unsigned char>(c)));
      break;
    case CaseOption::kLower:
      for (char& c : text) c = static_cast<char>(LowerCase(static_cast<unsigned char>(c)));
      break;
    case CaseOption::kStandard:
      for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        text[i] = static_cast<char>(i == 0 ? UpperCase(c) : LowerCase(c));
      }
      break;
    case CaseOption::kWordCaps:
      ApplyWordCaps(text);
      break;
    case CaseOption::kCaseSensitive:
    case CaseOption::kCaseInsensitive:
      break;
  }
}

}  // namespace jov
