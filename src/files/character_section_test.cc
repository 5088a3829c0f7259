#include "files/character_section.h"

#include <gtest/gtest.h>

#include "files/stream_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

// The same letters under another 8-bit character set: every code of 128 and more moved.
std::string Foreign(std::string_view own) {
  std::string foreign(own);
  for (char& c : foreign) {
    if (static_cast<unsigned char>(c) >= 128) c = static_cast<char>(c ^ 0x40);
  }
  return foreign;
}

TEST(CharacterSectionTest, AFileFromAnotherCharacterSetReadsWithTheRightLetters) {
  ResetProcess();
  const std::string own_names = "\xC4pple \xE9t\xE9 \xA3";  // Äpple été £
  const std::string file = "##Characters\nU\t" + Foreign(text_format::kUpperCharacters) + "\nL\t" +
                           Foreign(text_format::kLowerCharacters) + "\nX\t" +
                           Foreign(text_format::kOtherCharacters) + "\n##SaveSetup\t" +
                           Foreign("\xC5r") + "\n\n##Dimension\t1\n1\t" + Foreign(own_names) +
                           "\n##End\n";
  Database database;
  ASSERT_TRUE(testing::ReadStream(database, file).ok);
  EXPECT_EQ(database.component(database.FindByCode(0, "1")).text, own_names);
  EXPECT_EQ(database.Attached<SaveSetups>().named().at(0).name, "\xC5r");
}

TEST(CharacterSectionTest, OwnCharactersTranslateNothing) {
  ResetProcess();
  Database database;
  database.AddComponent(0, "1", "\xC4\x80\xFF", "");
  const std::string written = testing::WriteStream(database);
  Database again;
  ASSERT_TRUE(testing::ReadStream(again, written).ok);
  EXPECT_EQ(again.component(again.FindByCode(0, "1")).text, "\xC4\x80\xFF");
}

TEST(CharacterSectionTest, OnlyHighDifferingBytesWithAnOwnLetterTranslate) {
  CharacterTable table = IdentityCharacterTable();
  AddTranslations("\x41\x90\x91\x92", "\xC4\x20\xC5\x92", &table);
  EXPECT_EQ(table, [] {
    CharacterTable expected = IdentityCharacterTable();
    expected[0x91] = 0xC5;
    return expected;
  }());
}

}  // namespace
}  // namespace jov
