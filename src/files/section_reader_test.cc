#include "files/section_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "files/kept_sections.h"
#include "files/stream_test_util.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/pending_error.h"
#include "shell/process.h"

namespace jov {
namespace {

using testing::ReadStream;
using testing::WriteStream;

class SectionReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
};

TEST_F(SectionReaderTest, EndAloneGivesAnEmptyDatabaseWithDefaults) {
  Database database;
  const ReadResult result = ReadStream(database, "##End\r\n");
  EXPECT_TRUE(result.ok);
  EXPECT_TRUE(result.saw_end);
  EXPECT_TRUE(result.errors.empty());
  EXPECT_EQ(database.card_digits(), Database::kDefaultCardDigits);
  EXPECT_EQ(database.value_decimals(), Database::kDefaultValueDecimals);
  EXPECT_EQ(database.value_field_count(), 1);
  EXPECT_EQ(database.cards().card_count(), 0u);
  for (int d = 0; d < kDimensionCount; ++d) EXPECT_FALSE(database.IsDimensionUsed(d));
}

TEST_F(SectionReaderTest, UnknownSectionsAreReportedAndReadingGoesOn) {
  Database database;
  const ReadResult result = ReadStream(database,
                                       "##JOV-Text 001219\n"
                                       "##Gadgets\tx\nsome body\n"
                                       "##Xy\n"  // too short a name to report
                                       "##BaseOptions\nCD\t4\n"
                                       "##End\n"
                                       "##BaseOptions\nCD\t1\n");  // after the end: not read
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(testing::ErrorTexts(result), std::vector<std::string>{"Unknown section \"Gadgets\"."});
  EXPECT_EQ(database.value_decimals(), 4);
}

TEST_F(SectionReaderTest, DimensionNumbersOutsideTheRangeSkipTheSection) {
  Database database;
  const ReadResult result = ReadStream(database,
                                       "##Dimension\t0\nA\n##Dimension\t17\nB\n##Dimension\tx\nC\n"
                                       "##DimImport\t99\nbody\n##Dimension\t2\nD\n");
  EXPECT_TRUE(result.ok);
  EXPECT_TRUE(result.errors.empty());
  EXPECT_EQ(database.FindByCode(0, "A"), kNoComponent);
  EXPECT_NE(database.FindByCode(1, "D"), kNoComponent);
  EXPECT_TRUE(database.Attached<KeptSections>().Of("DimImport").empty());
}

TEST_F(SectionReaderTest, AStopEndsTheReadAndNoDatabaseIsHandedOut) {
  RequestStop();
  MemoryByteSource bytes("##Dimension\t1\nA\n##End\n");
  LineSource lines(bytes);
  ReadResult result;
  EXPECT_EQ(ReadNewDatabase(lines, DefaultSectionRegistry(), &result), nullptr);
  EXPECT_FALSE(result.ok);
}

TEST_F(SectionReaderTest, ANewDatabaseIsReadUnmodified) {
  MemoryByteSource bytes("##Dimension\t1\nA\tText\n");
  LineSource lines(bytes);
  ReadResult result;
  std::unique_ptr<Database> database = ReadNewDatabase(lines, DefaultSectionRegistry(), &result);
  ASSERT_NE(database, nullptr);
  EXPECT_TRUE(result.ok);
  EXPECT_FALSE(result.saw_end);
  EXPECT_FALSE(database->modified());
  EXPECT_NE(database->FindByCode(0, "A"), kNoComponent);
}

// Notifications reach listeners once per section, after it has been read.
TEST_F(SectionReaderTest, ChangeFlagsBecomeNotificationsAfterTheCards) {
  struct Listener : DatabaseListener {
    std::vector<ChangeCode> codes;
    void OnDatabaseChange(Database&, ChangeCode code, int, int) override {
      if (code == ChangeCode::kComponents || code == ChangeCode::kCards) codes.push_back(code);
    }
  } listener;
  Database database;
  database.AddListener(&listener);
  ReadStream(database, "##Cards\nC240101-1\nG1000\nL5\nC240102-1\nG1000\nL6\n##End\n");
  database.RemoveListener(&listener);
  EXPECT_EQ(listener.codes, (std::vector<ChangeCode>{ChangeCode::kComponents, ChangeCode::kCards}));
}

// A text file is parsed a chunk of the file at a time: a database whose lines end in CR, LF,
// CR LF and LF CR by turns, whose last line "##End" has no line end, reads the same whichever
// offsets its chunks end at, the "##End" split at each of its bytes and ending a chunk exactly.
TEST_F(SectionReaderTest, ATextFileReadInChunksOfAnySizeGivesTheSameDatabase) {
  const std::vector<std::string> lines = {"##JOV-Text\t001219",
                                          "##BaseOptions",
                                          "LN\t3",
                                          "CN\t2",
                                          "##Dimension\t1",
                                          "-N\tAccount\tAccounts",
                                          "1000\tCash",
                                          "2000\tBank",
                                          "##Dimension\t2",
                                          "P1\tProject",
                                          "##Cards",
                                          "C240101-1\tFirst card",
                                          "Nx\tnote/==",
                                          "second line",
                                          "G1000",
                                          "L1\t2\t3\tline text\tP1",
                                          "L-4.5\t\t\t\tP1",
                                          "G2000",
                                          "L7",
                                          "C240102-3\tSecond",
                                          "G1000",
                                          "L8\t9",
                                          "##End"};
  const std::string_view ends[] = {"\r", "\n", "\r\n", "\n\r"};
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    if (i + 1 < lines.size()) text += ends[i % 4];
  }
  Database whole;
  const ReadResult whole_result = ReadStream(whole, text);
  ASSERT_TRUE(whole_result.saw_end);
  ASSERT_TRUE(whole_result.errors.empty());
  ASSERT_EQ(whole.cards().line_count(), 4u);
  const std::string expected = WriteStream(whole);

  TempDir dir;
  const std::string path = dir.File("mixed.jox");
  std::ofstream(path, std::ios::binary) << text;
  for (size_t chunk = 1; chunk <= text.size() + 1; ++chunk) {
    InputFile file;
    ASSERT_TRUE(file.Open(path));
    FileByteSource bytes(file, chunk);
    LineSource source(bytes);
    Database database;
    const ReadResult result = ReadSections(database, source, DefaultSectionRegistry());
    EXPECT_TRUE(result.saw_end) << "chunks of " << chunk;
    EXPECT_TRUE(result.errors.empty()) << "chunks of " << chunk;
    EXPECT_EQ(WriteStream(database), expected) << "chunks of " << chunk;
  }
}

// Whatever the bytes, the read ends, and what it built can be written again.
TEST_F(SectionReaderTest, RandomAndDamagedInputIsReadToTheEnd) {
  Database model;
  const std::string good =
      "##BaseOptions\nLN\t3\nCN\t2\n##Dimension\t1\n-N\tAccount\tAccounts\n1000\tCash\n"
      "##Dimension\t2\n-DT\n##Cards\n-DT\t2\nC240101-1\tTitle\nNx\tnote/==\nmore\n"
      "S2401011200AB\nG1000\nL1\t2\t3\ttext\tP1\n##SaveSetup\tS\nFT\nDF\tAU\nM2\t3\n\n##End\n";
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string text = good;
    const int damage = round % 3;
    if (damage == 0) {
      for (int i = 0; i < 8; ++i) text[random() % text.size()] = static_cast<char>(random());
    } else if (damage == 1) {
      text.resize(random() % text.size());
    } else {
      text.assign(200 + random() % 300, ' ');
      for (char& c : text) c = static_cast<char>(random() % 4 == 0 ? '\t' : random());
    }
    Database database;
    const ReadResult result = ReadStream(database, text);
    EXPECT_TRUE(result.ok);
    WriteStream(database);
  }
}

}  // namespace
}  // namespace jov
