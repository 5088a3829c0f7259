#include "files/line_source.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "files/fields.h"
#include "files/stream_test_util.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/message_ids.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

using testing::ChunkedSource;

std::vector<std::string> ReadAll(ByteSource& bytes, size_t max_line = text_format::kMaxLineBytes) {
  LineSource lines(bytes, max_line);
  std::vector<std::string> result;
  std::string_view line;
  while (lines.Next(&line)) result.emplace_back(line);
  return result;
}

using Lines = std::vector<std::string>;

TEST(LineSourceTest, LineEndsAreFoundInAnyChunkingOfTheText) {
  const struct {
    std::string_view text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\nc\n\rd", {"a", "b", "c", "d"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\nb\r\rc", {"a", "", "b", "", "c"}},
      {"\r\n", {""}},
      {"x\n\r\n\r", {"x", ""}},
  };
  for (const auto& c : cases) {
    for (size_t chunk = 1; chunk <= c.text.size() + 1; ++chunk) {
      ChunkedSource bytes(c.text, chunk);
      EXPECT_EQ(ReadAll(bytes), c.lines) << "chunks of " << chunk;
    }
  }
}

// A file read a chunk at a time splits its lines at every offset of a chunk, CR LF pairs and the
// last line without a line end included, and reads as the same text in one piece does.
TEST(LineSourceTest, AFileReadInChunksGivesTheLinesOfTheWholeText) {
  TempDir dir;
  const std::string text = "##JOV-Text\r\nC1\tA\rL1\t\t2\nL-3.5\n\rGA\r\n\r\n##End";
  const std::string path = dir.File("lines.jox");
  std::ofstream(path, std::ios::binary) << text;
  MemoryByteSource whole(text);
  const Lines expected = ReadAll(whole);
  ASSERT_EQ(expected.size(), 7u);
  for (size_t chunk = 1; chunk <= text.size() + 1; ++chunk) {
    InputFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(file.size(), text.size());
    FileByteSource bytes(file, chunk);
    EXPECT_EQ(ReadAll(bytes), expected) << "chunks of " << chunk;
    EXPECT_EQ(bytes.position(), text.size());
    EXPECT_FALSE(bytes.failed());
  }
  // A source over a file that was never opened reads nothing, and says so.
  InputFile closed;
  FileByteSource nothing(closed);
  EXPECT_TRUE(ReadAll(nothing).empty());
  EXPECT_TRUE(nothing.failed());
}

TEST(LineSourceTest, ALineTooLongIsReportedOnceAndReadEmpty) {
  ResetProcess();
  RecordingSink sink;
  ScopedSink scoped(&sink);
  for (size_t chunk : {3, 100}) {
    sink.Clear();
    ChunkedSource bytes("12345678\nok\n123456789\n", chunk);
    EXPECT_EQ(ReadAll(bytes, 8), (Lines{"12345678", "ok", ""}));
    ASSERT_EQ(sink.alerts().size(), 1u);
    EXPECT_EQ(sink.alerts()[0].message, msg::kLinesTooLong);
  }
}

TEST(LineSourceTest, TranslationAppliesToLaterLines) {
  MemoryByteSource bytes("a\x80\nb\x80\n");
  LineSource lines(bytes);
  std::string_view line;
  ASSERT_TRUE(lines.Next(&line));
  EXPECT_EQ(line, "a\x80");
  CharacterTable table = IdentityCharacterTable();
  table[0x80] = 0xC4;
  lines.SetTranslation(table);
  ASSERT_TRUE(lines.Next(&line));
  EXPECT_EQ(line, "b\xC4");
}

// The tabs of a line are found a word at a time: lines of every length up to three words, with
// tabs and blanks anywhere (at the ends of words and of the line too), split as a byte-by-byte
// reading does.
TEST(FieldsTest, EveryTabSplitsWhereverItLies) {
  std::mt19937 random(7);
  Fields fields;
  for (int round = 0; round < 4000; ++round) {
    std::string line(random() % 25, 'a');
    for (char& c : line) c = "ab \t\t"[random() % 5];
    std::vector<std::string_view> expected;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
      if (i < line.size() && line[i] != '\t') continue;
      expected.push_back(TrimTrailingBlanks(std::string_view(line).substr(start, i - start)));
      start = i + 1;
    }
    fields.Split(line);
    ASSERT_EQ(fields.size(), expected.size()) << line;
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(fields[i], expected[i]) << line;
  }
}

TEST(FieldsTest, FieldsLoseTrailingBlanksOnly) {
  Fields fields;
  fields.Split("  a  \t\tb c \t ");
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(fields[0], "  a");
  EXPECT_EQ(fields[1], "");
  EXPECT_EQ(fields[2], "b c");
  EXPECT_EQ(fields[3], "");
  EXPECT_EQ(fields[9], "");
  fields.Split("");
  EXPECT_EQ(fields.size(), 1u);

  fields.Split("-CS");
  EXPECT_EQ(KeyValue(fields, 2), "S");
  fields.Split("-C\tL");
  EXPECT_EQ(KeyValue(fields, 2), "L");
  EXPECT_EQ(FieldInteger("12"), 12);
  EXPECT_EQ(FieldInteger("1e99"), INT_MAX);
  EXPECT_EQ(FieldInteger("-7.9"), -7);
  EXPECT_EQ(FieldInteger("x"), std::nullopt);
}

}  // namespace
}  // namespace jov
