#include "files/binary_stream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "files/binary_format.h"
#include "shell/process.h"

namespace jov {
namespace {

namespace bf = binary_format;

// Lines of 1 to 40 bytes ending in CR, LF or CR LF in turn, `bytes` long in all; `lines` gets
// them as the reader hands them on, each ending with CR.
std::string MixedLines(size_t bytes, std::string& lines) {
  static constexpr std::string_view kEnds[] = {"\r", "\n", "\r\n"};
  std::mt19937 random(3);
  std::string text;
  for (size_t i = 0; text.size() < bytes; ++i) {
    std::string line = "L" + std::to_string(i) + "\t" + std::to_string(random() % 100000) + ".25";
    line.resize(std::min<size_t>(1 + random() % 40, line.size() + random() % 20), 'x');
    const std::string_view end = kEnds[i % 3];
    if (text.size() + line.size() + end.size() > bytes) {
      line.assign(bytes - text.size() - 1, 'y');
      text += line + "\r";
      lines += line + "\r";
      break;
    }
    text += line;
    text += end;
    lines += line + "\r";
  }
  return text;
}

// Every line lies across the end of a block (and of a batch of blocks) at every offset, its CR
// LF pair split too, and "##End" starts, ends or is cut at a block's end, with and without a line
// end of its own: the filler line before the text is 24 to 55 bytes, and a padding line of 1 to
// 61 bytes moves everything after it through more than the longest line.
TEST(BinaryBlockSourceTest, LinesReadTheSameWhereverTheBlocksEnd) {
  ResetProcess();
  // The text after "jovmagic" ends 60 bytes before the end of the ninth block (past the first
  // batch of eight) when the filler and the padding are shortest.
  const size_t body = 9 * bf::kBlockTextSize - 60 - 24 - 1 - 9 - 2;
  std::string expected_body;
  const std::string text = MixedLines(body, expected_body);
  ASSERT_EQ(text.size(), body);
  for (const bool compressed : {true, false}) {
    BinaryWriteOptions options;
    options.compressed = compressed;
    for (size_t padding = 0; padding <= 60; ++padding) {
      const bool end_line = padding % 2 == 0;
      const std::string pad = "P" + std::string(padding, 'p');
      const std::string file =
          EncodeBinaryFile(pad + "\n" + text + (end_line ? "##End\r\n" : "##End"), options);
      const BinaryReadResult read = DecodeBinaryFile(file, std::nullopt);
      ASSERT_EQ(read.status, BinaryReadStatus::kOk) << compressed << " " << padding;
      // Not ASSERT_EQ: the texts are too long to print.
      ASSERT_TRUE(read.section_text == pad + "\r" + expected_body + "##End\r")
          << compressed << " " << padding;
    }
  }
}

// Damage far into the file, past the batches decoded ahead, ends the read as corrupted after the
// text before it, and a stream cut short before "##End" is corrupted too.
TEST(BinaryBlockSourceTest, DamageAfterManyBlocksIsCorruption) {
  ResetProcess();
  std::string lines;
  const std::string text = MixedLines(40 * bf::kBlockTextSize, lines) + "##End\r";
  std::string file = EncodeBinaryFile(text, BinaryWriteOptions());
  ASSERT_EQ(DecodeBinaryFile(file, std::nullopt).status, BinaryReadStatus::kOk);
  std::string damaged = file;
  damaged[damaged.size() * 3 / 4] ^= 0x40;
  EXPECT_EQ(DecodeBinaryFile(damaged, std::nullopt).status, BinaryReadStatus::kCorrupted);
  const std::string cut = EncodeBinaryFile(text.substr(0, text.size() - 6), BinaryWriteOptions());
  EXPECT_EQ(DecodeBinaryFile(cut, std::nullopt).status, BinaryReadStatus::kCorrupted);
}

}  // namespace
}  // namespace jov
