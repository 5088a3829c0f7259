#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace jov {
namespace {

using Names = std::vector<std::string>;

TEST(CommandLineTest, DocumentNamesSplitAtDrivesNetworkPathsAndQuotes) {
  EXPECT_EQ(DocumentNames("C:\\Data\\My Base.jov D:\\x.jox"),
            (Names{"C:\\Data\\My Base.jov", "D:\\x.jox"}));
  EXPECT_EQ(DocumentNames("\"a b.jov\" \"c.jox\""), (Names{"a b.jov", "c.jox"}));
  EXPECT_EQ(DocumentNames("C:\\a.jov \\\\server\\share\\b.jov"),
            (Names{"C:\\a.jov", "\\\\server\\share\\b.jov"}));
  EXPECT_EQ(DocumentNames("my file.jov"), (Names{"my file.jov"}));
  EXPECT_EQ(DocumentNames("\"\" x.jov"), (Names{"x.jov"}));             // empty quoted name
  EXPECT_EQ(DocumentNames("\"open end.jov"), (Names{"open end.jov"}));  // missing quote
  EXPECT_EQ(DocumentNames("  spaced.jov"), (Names{"spaced.jov"}));
}

TEST(CommandLineTest, SwitchesAndEmptyLinesOpenNothing) {
  EXPECT_TRUE(DocumentNames("").empty());
  EXPECT_TRUE(DocumentNames("-embedding").empty());
  EXPECT_TRUE(DocumentNames("/regserver x.jov").empty());
  EXPECT_TRUE(DocumentNames("   ").empty());
}

}  // namespace
}  // namespace jov
