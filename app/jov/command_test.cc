#include "command.h"

#include <gtest/gtest.h>

#include <vector>

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {{"--store", "", "a switch"}, {"--password", "PW", "a value"}};
const Command kCommand = {"try", "",       "jov try [--store] [--password PW] FILE...",
                          "",    kOptions, nullptr};

ParsedCommandLine Parse(std::vector<const char*> arguments) {
  return ParseCommandLine(kCommand, arguments);
}

TEST(JovCommandLineTest, OptionsAndOperands) {
  const ParsedCommandLine parsed =
      Parse({"a", "--password", "x", "-", "--store", "--password=y=z", "--", "--store", "-h"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_FALSE(parsed.help);
  EXPECT_EQ(parsed.arguments.operands(), (std::vector<std::string>{"a", "-", "--store", "-h"}));
  EXPECT_TRUE(parsed.arguments.Has("--store"));
  EXPECT_EQ(parsed.arguments.Value("--password"), "y=z");  // the last one given
  EXPECT_FALSE(Parse({"a"}).arguments.Value("--password").has_value());
}

TEST(JovCommandLineTest, MistakesAndHelp) {
  const struct {
    std::vector<const char*> arguments;
    const char* error;
  } cases[] = {
      {{"--nonsense", "a"}, "unknown option '--nonsense'"},
      {{"a", "--password"}, "option '--password' needs a value"},
      {{"--store=yes"}, "option '--store' takes no value"},
      {{"-x", "--bad"}, "unknown option '-x'"},  // the first mistake is the one told
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.arguments).error, c.error);
  // Help wins over mistakes anywhere on the line.
  const ParsedCommandLine help = Parse({"--nonsense", "--help"});
  EXPECT_TRUE(help.help);
}

}  // namespace
}  // namespace jov
