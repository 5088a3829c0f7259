#include "model/case_tables.h"

#include <gtest/gtest.h>

#include <string>

namespace jov {
namespace {

std::string Applied(CaseOption option, std::string text) {
  ApplyCaseOption(option, text);
  return text;
}

TEST(CaseTablesTest, LatinOneLettersFoldExceptTimesAndDivide) {
  EXPECT_EQ(UpperCase('a'), 'A');
  EXPECT_EQ(UpperCase(0xE5), 0xC5);  // å -> Å
  EXPECT_EQ(LowerCase(0xD6), 0xF6);  // Ö -> ö
  EXPECT_EQ(UpperCase(0xF7), 0xF7);  // ÷ has no partner
  EXPECT_EQ(LowerCase(0xD7), 0xD7);  // × has no partner
  EXPECT_EQ(UpperCase(0xFF), 0xFF);
  EXPECT_EQ(LowerCase(0xDF), 0xDF);
  EXPECT_TRUE(EqualsIgnoringCase("\xC5sa \xD6rn", "\xE5SA \xF6RN"));
  EXPECT_FALSE(EqualsIgnoringCase("\xD7", "\xF7"));
  EXPECT_FALSE(EqualsIgnoringCase("ab", "abc"));
}

TEST(CaseTablesTest, EachOptionRewritesAsDescribed) {
  EXPECT_EQ(Applied(CaseOption::kUpper, "Kassa \xE5r"), "KASSA \xC5R");
  EXPECT_EQ(Applied(CaseOption::kLower, "KASSA \xC5R"), "kassa \xE5r");
  EXPECT_EQ(Applied(CaseOption::kStandard, "kASSA OCH bANK"), "Kassa och bank");
  EXPECT_EQ(Applied(CaseOption::kCaseSensitive, "kASSA"), "kASSA");
  EXPECT_EQ(Applied(CaseOption::kCaseInsensitive, "kASSA"), "kASSA");
}

TEST(CaseTablesTest, WordCapsFollowsTheWordStartState) {
  // Blank, "-", "/" and "_" start a word; quotes, brackets, "." and ":" keep the state and
  // stay as they are; anything else clears it, digits included.
  EXPECT_EQ(Applied(CaseOption::kWordCaps, "sALES nORTH-wEST/eU_zONE"), "Sales North-West/Eu_Zone");
  EXPECT_EQ(Applied(CaseOption::kWordCaps, "(acme) 'big' \"x\".y:z [q] {r}"),
            "(Acme) 'Big' \"X\".y:z [Q] {R}");
  EXPECT_EQ(Applied(CaseOption::kWordCaps, "1ST floor"), "1st Floor");
  EXPECT_EQ(Applied(CaseOption::kWordCaps, "\xF6STRA \xE5SEN"), "\xD6stra \xC5sen");
  EXPECT_EQ(Applied(CaseOption::kWordCaps, ""), "");
}

TEST(CaseTablesTest, LettersMapToOptions) {
  for (int i = 0; i < kCaseOptionCount; ++i) {
    CaseOption option;
    ASSERT_TRUE(CaseOptionFromLetter(kCaseOptionLetters[i], &option));
    EXPECT_EQ(static_cast<int>(option), i);
    EXPECT_EQ(CaseOptionLetter(option), kCaseOptionLetters[i]);
  }
  CaseOption option = CaseOption::kUpper;
  EXPECT_TRUE(CaseOptionFromLetter('s', &option));
  EXPECT_EQ(option, CaseOption::kCaseSensitive);
  EXPECT_FALSE(CaseOptionFromLetter('X', &option));
  EXPECT_FALSE(CaseOptionFromLetter('\0', &option));
}

}  // namespace
}  // namespace jov
