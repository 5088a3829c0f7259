#include "shell/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/progress_state.h"

namespace jov {
namespace {

// Builds one resource's bytes from its items.
std::string TableBytes(std::initializer_list<std::string> items) {
  std::string bytes;
  for (const std::string& item : items) {
    bytes.push_back(static_cast<char>(item.size() & 0xFF));
    bytes.push_back(static_cast<char>(item.size() >> 8));
    bytes += item;
    bytes.push_back('\0');
  }
  return bytes;
}

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
};

TEST_F(MessagesTest, BuiltInEnglishTablesHoldTheListedTexts) {
  EXPECT_EQ(MessageText(msg::kCorrupted), "File \"@0\" is corrupted.");
  EXPECT_EQ(MessageText(msg::kFirstDimensionSingular), "Dim 1");
  EXPECT_EQ(MessageText(msg::kFirstDimensionPlural), "Dim 1s");
  EXPECT_EQ(MessageText(1209), " from System");
  EXPECT_EQ(MessageText(msg::kReduceValueFields),
            "Are you sure you want to reduce value fields?\nThe values will be permanently "
            "erased from the database.");
  EXPECT_EQ(MessageText(3119), "Properties for  \"@0\"");
  EXPECT_EQ(MessageText(kNoMessage), "");
  EXPECT_FALSE(StopRequested());
}

TEST_F(MessagesTest, GapsInATableAreEmptyItems) {
  // Table 2100 lists items 0, 1 and 10..14; the items between are empty, and past the end
  // there is nothing.
  EXPECT_EQ(BuiltInMessageTables().LookupItem(2100, 5, kEnglish), "");
  EXPECT_EQ(BuiltInMessageTables().LookupItem(2100, 12, kEnglish),
            "Dimension \"@0\" must be filled in.");
  EXPECT_FALSE(BuiltInMessageTables().LookupItem(2100, 15, kEnglish).has_value());
}

TEST_F(MessagesTest, OtherLanguagesFallBackToEnglishPerItemAndPerTable) {
  const std::string english = TableBytes({"Zero", "One", "Two"});
  const std::string swedish = TableBytes({"Noll", "", "Tv\xE5"});
  const MessageResource resources[] = {{3800, english}, {3801, swedish}, {4000, english}};
  const MessageTables tables(resources);

  EXPECT_EQ(tables.Lookup(3800, kSwedish), "Noll");
  EXPECT_EQ(tables.Lookup(3801, kSwedish), "One");  // empty item in Swedish
  EXPECT_EQ(tables.Lookup(3802, kSwedish), "Tv\xE5");
  EXPECT_EQ(tables.Lookup(4001, kSwedish), "One");  // no Swedish table 4000
  EXPECT_EQ(tables.Lookup(3801, kEnglish), "One");
  EXPECT_EQ(tables.Lookup(3805, kSwedish), std::nullopt);

  bool english_missing = false;
  EXPECT_EQ(tables.Lookup(4100, kSwedish, &english_missing), std::nullopt);
  EXPECT_TRUE(english_missing);
}

TEST_F(MessagesTest, MissingEnglishTablePostsResourceErrorOncePerTable) {
  const std::string english = TableBytes({"Zero"});
  const MessageResource resources[] = {{3800, english}};
  const MessageTables tables(resources);
  Process().messages = &tables;

  EXPECT_EQ(MessageText(4100), "");
  EXPECT_TRUE(StopRequested());
  EXPECT_EQ(Process().pending_error.record.message, msg::kResourceError);

  StopFlag() = false;
  EXPECT_EQ(MessageText(4101), "");
  EXPECT_FALSE(StopRequested());
}

TEST_F(MessagesTest, DamagedResourceBytesYieldNothing) {
  const std::string truncated = TableBytes({"Zero", "One"}).substr(0, 9);
  const MessageResource resources[] = {{3800, truncated}};
  const MessageTables tables(resources);
  EXPECT_EQ(tables.LookupItem(3800, 0, kEnglish), "Zero");
  EXPECT_FALSE(tables.LookupItem(3800, 1, kEnglish).has_value());
}

TEST_F(MessagesTest, LanguageChooserMapsAlphabeticalNamesToIndices) {
  std::vector<std::string> names;
  for (int language : LanguageChooserOrder()) names.push_back(LanguageName(language));
  EXPECT_EQ(names, (std::vector<std::string>{"Dansk", "Deutsch", "English",
                                             "Fran\xE7"
                                             "ais",
                                             "Nederlands", "Norsk", "Slovak", "Suomi", "Svenska"}));
}

// The placeholders a text uses, as a set of digits.
std::string Placeholders(const std::string& text) {
  std::string digits;
  for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1)) {
    if (at + 1 < text.size() && text[at + 1] >= '0' && text[at + 1] <= '2' &&
        digits.find(text[at + 1]) == std::string::npos) {
      digits.push_back(text[at + 1]);
    }
  }
  std::sort(digits.begin(), digits.end());
  return digits;
}

TEST_F(MessagesTest, TheSwedishTablesTranslateEveryEnglishItemWithItsPlaceholders) {
  const MessageTables& tables = BuiltInMessageTables();
  int items = 0;
  for (const MessageResource& resource : BuiltInMessageResources()) {
    if (resource.number % 100 != kEnglish) continue;
    const int base = static_cast<int>(resource.number);
    for (int item = 0; item < 100; ++item) {
      const std::optional<std::string> english = tables.LookupItem(base, item, kEnglish);
      if (!english || english->empty()) continue;
      ++items;
      const std::optional<std::string> swedish = tables.LookupItem(base, item, kSwedish);
      ASSERT_TRUE(swedish && !swedish->empty()) << base + item << " " << *english;
      EXPECT_EQ(Placeholders(*swedish), Placeholders(*english)) << base + item;
    }
  }
  EXPECT_GT(items, 700);
  // The longest time to go, in Swedish, as the progress display shows it.
  Process().preferences.language = kSwedish;
  EXPECT_EQ(ProgressState::TimeToGoText(31999), "533 minuter 19 sekunder");
}

}  // namespace
}  // namespace jov
