#include "io/script_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace jov {
namespace {

std::vector<std::string> Tokens(std::string_view line) {
  TokenLine tokens(line);
  std::vector<std::string> all;
  std::string token;
  while (tokens.Next(&token)) all.push_back(token);
  return all;
}

using Strings = std::vector<std::string>;

TEST(TokenLineTest, SplitsQuotesAndComments) {
  const struct {
    std::string_view line;
    Strings tokens;
  } kCases[] = {
      {"", {}},
      {"  \t ", {}},
      {"eXpOrt \"Sales: Monthly\" out.txt // the monthly report",
       {"eXpOrt", "Sales: Monthly", "out.txt"}},
      // Quoted and unquoted runs that touch make one token; either quote opens a run.
      {"a\"b c\"d 'e \"f' x", {"ab cd", "e \"f", "x"}},
      {"\"\" next", {"", "next"}},
      // An unclosed run ends with the line.
      {"save \"my file.jov", {"save", "my file.jov"}},
      // A comment only where a token begins, and not inside quotes.
      {"message a//b \"//c\" // gone", {"message", "a//b", "//c"}},
      {"//whole line", {}},
      // Control bytes separate; bytes 128..255 belong to tokens.
      {"a\x01\x1f"
       "b \xe5\xe4\xf6",
       {"a", "b", "\xe5\xe4\xf6"}},
  };
  for (const auto& c : kCases) EXPECT_EQ(Tokens(c.line), c.tokens) << c.line;
}

TEST(TokenLineTest, LongTokensAreCutAndTheNextTokenStillReads) {
  const std::string plain(3000, 'p');
  const std::string quoted = "\"" + std::string(1000, 'q') + " " + std::string(1500, 'r') + "\"";
  const Strings tokens = Tokens(plain + " " + quoted + "x next");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0], std::string(TokenLine::kMaxToken, 'p'));
  EXPECT_EQ(tokens[1].size(), TokenLine::kMaxToken);
  EXPECT_EQ(tokens[1].substr(0, 1001), std::string(1000, 'q') + " ");
  EXPECT_EQ(tokens[2], "next");
}

TEST(TextScriptLinesTest, EveryLineEndAndPairCountsOnce) {
  TextScriptLines lines("one\r\ntwo\n\rthree\rfour\n\nsix");
  Strings read;
  std::string_view line;
  while (lines.Next(&line)) read.emplace_back(line);
  EXPECT_EQ(read, (Strings{"one", "two", "three", "four", "", "six"}));
}

TEST(TokenCompareTest, WholeTokenOrBeginning) {
  EXPECT_TRUE(TokenIs("EXPORT", "export"));
  EXPECT_FALSE(TokenIs("exports", "export"));
  EXPECT_TRUE(TokenStartsWith("-FILTERED", "-filter"));
  EXPECT_FALSE(TokenStartsWith("-fil", "-filter"));
  EXPECT_TRUE(TokenIs("\xc5r", "\xe5R"));  // the case table folds accented letters too
}

}  // namespace
}  // namespace jov
