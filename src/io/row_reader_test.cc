#include "io/row_reader.h"

#include <gtest/gtest.h>

#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

// Hands out at most `piece` bytes a read, so that rows and characters are cut anywhere.
class PieceInput : public ImportInput {
 public:
  PieceInput(std::string_view text, size_t piece) : text_(text), piece_(piece) {}
  std::optional<size_t> Read(char* buffer, size_t size) override {
    return memory_.Read(buffer, std::min(size, piece_));
  }

 private:
  std::string_view text_;
  size_t piece_;
  MemoryImportInput memory_{text_};
};

class FailingInput : public ImportInput {
 public:
  std::optional<size_t> Read(char*, size_t) override { return std::nullopt; }
};

std::vector<std::string> Rows(ImportInput& input, const ImportSetup& setup) {
  RowReader reader(input, setup);
  std::vector<std::string> rows;
  while (reader.NextRow()) rows.emplace_back(reader.row());
  return rows;
}

std::vector<std::string> Rows(std::string_view text, const ImportSetup& setup = ImportSetup()) {
  MemoryImportInput input(text);
  return Rows(input, setup);
}

std::string EveryByte() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

// The bytes as read: the rows put together again with their terminators.
std::string Converted(std::string_view text, const ImportSetup& setup) {
  const std::string ended = std::string(text) + "#";
  MemoryImportInput input(ended);
  RowReader reader(input, setup);
  std::string converted;
  while (reader.NextRow())
    converted.append(reader.row()).push_back(static_cast<char>(setup.row_terminator));
  return converted.substr(0, text.size());
}

class RowReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
  }
  void TearDown() override { ResetProcess(); }
  RecordingSink sink_;
};

TEST_F(RowReaderTest, RowsEndAtTheTerminatorAndTheLastNeedsNone) {
  EXPECT_EQ(Rows("a\rb\r\rc"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(Rows("a\r"), (std::vector<std::string>{"a"}));
  EXPECT_TRUE(Rows("").empty());
  ImportSetup lf;
  lf.row_terminator = '\n';
  // With LF rows, the CR of CR LF files stays in the row; fields leave it out later.
  EXPECT_EQ(Rows("a\r\nb\n", lf), (std::vector<std::string>{"a\r", "b"}));
}

// Each character set converts before the terminator is looked for; every byte value is read.
TEST_F(RowReaderTest, EveryByteOfEachCharacterSet) {
  const std::string all = EveryByte();
  ImportSetup setup;
  setup.character_set = CharacterSet::kAnsi;
  EXPECT_EQ(Converted(all, setup), all);

  struct Case {
    CharacterSet set;
    std::vector<std::pair<int, int>> bytes;  // file byte, byte read
  };
  const Case cases[] = {
      {CharacterSet::kMacintosh,
       {{'a', 'a'},
        {0x80, 0xC4},
        {0x8A, 0xE4},
        {0xA5, 0x95},
        {0xDB, 0x80},
        {0xB0, '?'},
        {0xB2, '<'},
        {0xF0, '?'}}},
      {CharacterSet::kAscii7, {{'a', 'a'}, {0xC8, 'H'}, {0x8D, 13}}},
      {CharacterSet::kOem,
       {{'a', 'a'},
        {0x81, 0xFC},
        {0x94, 0xF6},
        {0x9B, 0xA2},
        {0xB3, '|'},
        {0xC4, '-'},
        {0xE1, 0xDF},
        {0xF8, 0xB0}}},
      {CharacterSet::kEbcdic,
       {{5, 5},
        {0x25, ' '},
        {0x40, ' '},
        {0x4B, '.'},
        {0x81, 'a'},
        {0x89, 'i'},
        {0xC1, 'A'},
        {0xC9, 'I'},
        {0xF0, '0'},
        {0xF9, '9'},
        {0x5B, '$'},
        {0xFF, ' '}}},
  };
  for (const Case& c : cases) {
    setup.character_set = c.set;
    const std::string read = Converted(all, setup);
    ASSERT_EQ(read.size(), 256u) << static_cast<int>(c.set);
    for (const auto& [from, to] : c.bytes) {
      EXPECT_EQ(static_cast<unsigned char>(read[from]), to)
          << static_cast<int>(c.set) << " byte " << from;
    }
  }
  // With ASCII 7 bit, byte 141 is a CR once converted: the terminator is found after conversion.
  setup.character_set = CharacterSet::kAscii7;
  EXPECT_EQ(Rows("a\x8D"
                 "b",
                 setup),
            (std::vector<std::string>{"a", "b"}));
}

TEST_F(RowReaderTest, CharacterConversionsFollowTheCharacterSet) {
  ImportSetup setup;
  setup.character_set = CharacterSet::kMacintosh;
  setup.conversion_from = "x\x80x";
  setup.conversion_to = "yAz";  // the first conversion of a byte wins
  EXPECT_EQ(Converted("x\x80\x8A", setup), "yA\xE4");
}

// A UTF-8 file holding every Windows-1252 character reads back as those bytes, however the
// reads cut it; characters that 1252 lacks become "?" and are counted.
TEST_F(RowReaderTest, Utf8IsReadIntoWindows1252) {
  ImportSetup setup;
  setup.character_set = CharacterSet::kUtf8;
  std::string all = EveryByte();
  all.erase(13, 1);                        // the terminator
  const std::string text = "\xEF\xBB\xBF"  // a byte-order mark, dropped
                           + Utf8FromCp1252(all) +
                           "\r\xE4\xB8\xAD\xE2\x82\xAC\r";  // a CJK character and a euro sign
  for (size_t piece : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, RowReader::kBlockBytes}) {
    PieceInput input(text, piece);
    RowReader reader(input, setup);
    ASSERT_TRUE(reader.NextRow());
    EXPECT_EQ(reader.row(), all) << piece;
    ASSERT_TRUE(reader.NextRow());
    EXPECT_EQ(reader.row(), "?\x80");
    EXPECT_FALSE(reader.NextRow());
    EXPECT_EQ(reader.replaced_characters(), 1u);
  }
}

// Rows of every length up to the block, cut by reads of any size, come out whole.
TEST_F(RowReaderTest, RowsAcrossBlocksAndReads) {
  std::string text;
  std::vector<std::string> expected;
  for (size_t length = 0; length <= RowReader::kBlockBytes; length += 997) {
    expected.emplace_back(length, static_cast<char>('a' + expected.size() % 26));
    text += expected.back() + "\r";
  }
  expected.emplace_back(RowReader::kBlockBytes - 1, 'z');
  text += expected.back() + "\r";
  for (size_t piece : {size_t{1}, size_t{4093}, RowReader::kBlockBytes}) {
    PieceInput input(text, piece);
    EXPECT_EQ(Rows(input, ImportSetup()), expected) << piece;
  }
  EXPECT_TRUE(sink_.alerts().empty());
}

// A row longer than the block is reported once and dropped to its terminator: its tail is not
// read as a row of its own.
TEST_F(RowReaderTest, TooLongRowsAreDroppedWhole) {
  const std::string text = "first\r" + std::string(20000, 'x') + "\rmiddle\r" +
                           std::string(RowReader::kBlockBytes, 'y') + "\rlast\r" +
                           std::string(30000, 'z');
  MemoryImportInput input(text);
  RowReader reader(input, ImportSetup());
  std::vector<std::string> rows;
  while (reader.NextRow()) rows.emplace_back(reader.row());
  EXPECT_EQ(rows, (std::vector<std::string>{"first", "middle", "last"}));
  EXPECT_EQ(reader.too_long_rows(), 3u);
  EXPECT_EQ(sink_.Texts(), (std::vector<std::string>{"Too long rows in this file"}));
}

TEST_F(RowReaderTest, JoinedRowsAreSeparatedByTheFieldSeparator) {
  ImportSetup setup;
  setup.field_separator = ';';
  MemoryImportInput input("a\rb\rc\rd\re");
  RowReader reader(input, setup);
  ASSERT_TRUE(reader.NextRow());
  reader.JoinRows(3);
  EXPECT_EQ(reader.row(), "a;b;c");
  ASSERT_TRUE(reader.NextRow());
  reader.JoinRows(5);  // the file ends first
  EXPECT_EQ(reader.row(), "d;e");
  EXPECT_EQ(reader.rows(), 5u);
  EXPECT_FALSE(reader.NextRow());
}

TEST_F(RowReaderTest, AReadErrorEndsTheRows) {
  FailingInput input;
  RowReader reader(input, ImportSetup());
  EXPECT_FALSE(reader.NextRow());
  EXPECT_TRUE(reader.read_failed());
}

}  // namespace
}  // namespace jov
