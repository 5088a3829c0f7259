#include "select/text_pattern.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace jov {
namespace {

struct PatternCase {
  std::string typed;
  std::string corrected;
  std::vector<std::string> pass;
  std::vector<std::string> fail;
};

void CheckCases(const std::vector<PatternCase>& cases) {
  for (const PatternCase& c : cases) {
    SCOPED_TRACE("typed: " + c.typed);
    std::string text = c.typed;
    std::optional<TextPattern> pattern = TextPattern::Compile(text);
    ASSERT_TRUE(pattern.has_value());
    EXPECT_EQ(text, c.corrected);
    for (const std::string& s : c.pass) {
      EXPECT_TRUE(pattern->Matches(s)) << '"' << s << '"';
      if (s.empty()) {
        EXPECT_TRUE(pattern->empty_text_result());
      }
    }
    for (const std::string& s : c.fail) {
      EXPECT_FALSE(pattern->Matches(s)) << '"' << s << '"';
      if (s.empty()) {
        EXPECT_FALSE(pattern->empty_text_result());
      }
    }
    std::string again = text;
    ASSERT_TRUE(TextPattern::Compile(again).has_value());
    EXPECT_EQ(again, text);
  }
}

TEST(TextPatternTest, PlainLiteralsAreFoundAnywhereIgnoringCase) {
  CheckCases({
      {"abc", "abc", {"xxABCxx", "abc"}, {"ab c", "", "xxabxx"}},
      {"a b", "a b", {"A B"}, {"ab"}},
      {"\xE5r", "\xE5r", {"\xC5R", "x\xE5rx"}, {"ar"}},
      {"\xF7", "\xF7", {"\xF7"}, {"\xD7"}},  // 0xF7 has no partner
      {"abc|xyz", "abc|xyz", {"-xyz-", "abc"}, {"ab"}},
      {"a&b", "a&b", {"ba"}, {"a"}},
      {"a\xAC"
       "b",
       "a\xAC"
       "b",
       {"a"},
       {"ab", "b"}},
      {"a\xB1"
       "b",
       "a\xB1"
       "b",
       {"a", "b"},
       {"ab", "c"}},
      {"(a|b)&c", "(a|b)&c", {"ac", "cb"}, {"ab"}},
      {"a(b", "a(b", {"xa(b"}, {"ab"}},
      // A run of dots is written "_" outside quotes, in plain literals as in advanced
      // patterns, so that stored texts read the same whichever form they were typed in.
      {"a..b", "a_b", {"xa_bx"}, {"a..b"}},
      {"a...b|'c..d'", "a_b|'c..d'", {"'c..d'"}, {"c_d"}},
  });
}

TEST(TextPatternTest, EmptyTextTests) {
  CheckCases({
      {"\\", "\\", {""}, {" ", "a"}},
      {"\xAC\\", "\xAC\\", {"a", " "}, {""}},
      {"|abc", "\\|abc", {"", "abc"}, {"x"}},
      {"(&a)", "(\\&a)", {}, {"", "a"}},
      {"abc|", "abc", {"abc"}, {""}},
      {"\xAC"
       "abc",
       "\xAC"
       "abc",
       {"", "x"},
       {"abc"}},
  });
}

TEST(TextPatternTest, AdvancedPatternsMatchTheWholeText) {
  CheckCases({
      {"\\abc", "\\abc", {"ABC", "abc"}, {"xxabc", "abcx", ""}},
      {"\\abc*", "\\abc*", {"abcdef", "abc"}, {"xabc"}},
      {"\\^a*", "\\^a*", {"abc", "a"}, {"Abc"}},
      {"\\^{ab}c", "\\^{ab}c", {"abC"}, {"Abc"}},
      {"\\{ab}+", "\\{ab}+", {"ab", "abab"}, {"aba", ""}},
      {"\\a_c:", "\\a_c:", {"", "abcab", "C"}, {"abd"}},
      {"\\a..c:", "\\a_c:", {"bb"}, {"d"}},
      {"\\a...c\"x..y\"", "\\a_c\"x..y\"", {"bx..y"}, {"bx_y"}},
      {"\\^a_c", "\\^a_c", {"b"}, {"B"}},
      {"\\a?c", "\\a?c", {"abc", "a-c"}, {"ac", "abbc"}},
      {"\\ab;cd", "\\ab;cd", {"ab", "CD"}, {"abcd"}},
      {"\\x(a;b)+y", "\\x{a;b}+y", {"xaby", "xay"}, {"xy"}},
      {"\\{a", "\\{a}", {"a"}, {"b"}},
      {"\\\"a*b\"", "\\\"a*b\"", {"A*B"}, {"ab", "axb"}},
      {"\\'a;b", "\\'a;b'", {"a;b"}, {"a"}},
      {"\\^'Ab'", "\\^'Ab'", {"Ab"}, {"ab"}},
      {"\\abc*|\\*xyz", "\\abc*|\\*xyz", {"abcq", "qxyz"}, {"qabc"}},
      {"(\\a(b))", "(\\a{b})", {"ab"}, {"abb"}},
      {"\\a:+:b", "\\a:+:b", {"b", "aab"}, {"ba"}},
      {"\\{a:}:", "\\{a:}:", {"", "aaa"}, {"b"}},
      {"\\+", "\\", {""}, {"+"}},  // nothing fits: the pattern is the empty text
      {"\\ab_", "\\ab", {"ab"}, {"ab_"}},
  });
}

TEST(TextPatternTest, HostileTextsCompileAndMatchQuickly) {
  const auto start = std::chrono::steady_clock::now();
  // Nested loops whose automaton would explode without merging duplicate states.
  std::string text = "\\";
  for (int i = 0; i < 40; ++i) text += "{a:";
  for (int i = 0; i < 40; ++i) text += "}:";
  text += "b";
  std::optional<TextPattern> pattern = TextPattern::Compile(text);
  ASSERT_TRUE(pattern.has_value());
  const std::string as(2000, 'a');
  EXPECT_FALSE(pattern->Matches(as));
  EXPECT_TRUE(pattern->Matches(as + "b"));
  const TextPattern copy = *pattern;  // a copy has scratch space of its own
  EXPECT_TRUE(copy.Matches(as + "b"));
  EXPECT_FALSE(copy.Matches(as + "c"));

  std::string stars = "\\";
  for (int i = 0; i < 500; ++i) stars += "*a";
  pattern = TextPattern::Compile(stars);
  ASSERT_TRUE(pattern.has_value());
  EXPECT_FALSE(pattern->Matches(std::string(5000, 'a').substr(0, 499)));

  std::string operators;
  for (int i = 0; i < 10000; ++i) operators += i % 2 ? "|" : "(\xAC";
  text = operators;
  EXPECT_TRUE(TextPattern::Compile(text).has_value());

  std::string bytes;
  for (int c = 0x80; c <= 0xFF; ++c) bytes += static_cast<char>(c);
  text = bytes;
  ASSERT_TRUE(TextPattern::Compile(text).has_value());
  text = "\\" + bytes + "{" + bytes;
  ASSERT_TRUE(TextPattern::Compile(text).has_value());
  text = std::string(10000, '{');
  text.insert(0, "\\");
  ASSERT_TRUE(TextPattern::Compile(text).has_value());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(TextPatternTest, MissingPatternPassesEverything) {
  EXPECT_TRUE(MatchTextPattern(nullptr, "x", 1));
  std::string text = "   ";
  std::optional<TextPattern> blank = TextPattern::Compile(text);
  ASSERT_TRUE(blank.has_value());  // blanks are literal characters
  EXPECT_FALSE(blank->Matches("x"));
  text = "";
  EXPECT_FALSE(TextPattern::Compile(text).has_value());
}

}  // namespace
}  // namespace jov
