#include "files/file_kind.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/message_ids.h"

namespace jov {
namespace {

std::string BinaryHead(std::string_view date, char letter, char password = 'o',
                       char compression = 'Z') {
  std::string head = std::string("\x05\x13Uxe", 5) + std::string(date) + password + "i" + letter +
                     compression + "6";
  head.resize(40, '\0');
  head[32] = '\x01', head[35] = '\x02';
  return head;
}

TEST(FileKindTest, TextDatabasesByFormatDate) {
  EXPECT_EQ(SniffFileKind("##JOV-Text\t960101\r").kind, FileKind::kPreRelease);
  const FileSniff own = SniffFileKind("##JOV-Text\t001219\r##End\r");
  EXPECT_EQ(own.kind, FileKind::kText);
  EXPECT_EQ(own.format_date, 20001219u);
  EXPECT_FALSE(own.later_version);
  const FileSniff later = SniffFileKind("##JOV-Text\t010315\r");
  EXPECT_EQ(later.kind, FileKind::kText);
  EXPECT_TRUE(later.later_version);
  // A file that ends within the head line has no date, whether or not the separator came.
  for (const char* cut : {"##JOV-Text", "##JOV-Text\t"}) {
    EXPECT_EQ(SniffFileKind(cut).kind, FileKind::kPreRelease) << cut;
  }
}

TEST(FileKindTest, BinaryDatabasesByDateAndKindLetter) {
  EXPECT_EQ(SniffFileKind(BinaryHead("981205", 'U')).kind, FileKind::kPreRelease);
  EXPECT_EQ(SniffFileKind(BinaryHead("961101", 'U')).kind, FileKind::kPreRelease);
  EXPECT_EQ(SniffFileKind(BinaryHead("970601", 'U')).kind, FileKind::kBinaryEarly);
  const FileSniff own = SniffFileKind(BinaryHead("990101", 'U', 'x', '-'));
  EXPECT_EQ(own.kind, FileKind::kBinary);
  EXPECT_TRUE(own.password);
  EXPECT_FALSE(own.compressed);
  EXPECT_EQ(own.database_value, 0x01000002u);
  EXPECT_EQ(SniffFileKind(BinaryHead("001219", 'B')).kind, FileKind::kBinaryB);
  EXPECT_EQ(SniffFileKind(BinaryHead("001219", 'N')).kind, FileKind::kBinaryN);
  EXPECT_EQ(SniffFileKind(BinaryHead("001219", 'Q')).kind, FileKind::kNothing);
  EXPECT_TRUE(SniffFileKind(BinaryHead("050101", 'U')).later_version);
  EXPECT_EQ(SniffFileKind("##Uxe001219oiUZ6").kind, FileKind::kBinary);
}

TEST(FileKindTest, OtherFilesInOrder) {
  EXPECT_EQ(SniffFileKind("\xA5\xA5\xA5rest").kind, FileKind::kThirdGeneration);
  EXPECT_EQ(SniffFileKind("<?XML version").kind, FileKind::kXmlCommands);
  EXPECT_EQ(SniffFileKind("<JOV-XML>").kind, FileKind::kXmlCommands);
  EXPECT_EQ(SniffFileKind("#FLAGGA 0\r\n#SIETYP 4\r\n").kind, FileKind::kSie);
  EXPECT_EQ(SniffFileKind("x##JOV-Text").kind, FileKind::kDamaged);
  EXPECT_EQ(SniffFileKind("#JOV at the start only").kind, FileKind::kNotDatabase);
  EXPECT_EQ(SniffFileKind("garbage \x13Uxe").kind, FileKind::kDamaged);
  EXPECT_EQ(SniffFileKind("").kind, FileKind::kNotDatabase);
  EXPECT_EQ(SniffFileKind(std::string(600, 'a') + "#SIETYP").kind, FileKind::kNotDatabase);
}

TEST(FileKindTest, QuickDatabaseTestAndRefusals) {
  EXPECT_TRUE(LooksLikeDatabaseFile(BinaryHead("001219", 'U')));
  EXPECT_TRUE(LooksLikeDatabaseFile("\r\n  ##JOV-Text\t001219"));
  EXPECT_FALSE(LooksLikeDatabaseFile("Konto;Belopp\r\n"));
  EXPECT_EQ(RefusalMessage(FileKind::kText), kNoMessage);
  EXPECT_EQ(RefusalMessage(FileKind::kDamaged), msg::kCorrupted);
  EXPECT_EQ(RefusalMessage(FileKind::kThirdGeneration), msg::kThirdGeneration);
  EXPECT_EQ(RefusalMessage(FileKind::kSie), msg::kNotDatabase);
}

}  // namespace
}  // namespace jov
