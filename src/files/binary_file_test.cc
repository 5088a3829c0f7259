#include "files/binary_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "files/binary_format.h"
#include "files/binary_stream.h"
#include "files/block_cipher.h"
#include "files/stream_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

namespace bf = binary_format;

// A section stream as a database writer leaves it: CR line ends, "##End" last.
std::string SectionText(size_t lines, unsigned seed = 1) {
  std::mt19937 random(seed);
  std::string text = "##BaseOptions\rCN\t3\r##Cards\r";
  for (size_t i = 0; i < lines; ++i) {
    text += "L" + std::to_string(random() % 5000) + "\t" + std::to_string(random() % 100000) +
            ".5\tK\xE4kt " + std::to_string(i % 13) + "\r";
  }
  return text + "##End\r";
}

BinaryWriteOptions Options(bool compressed, std::string password = "") {
  BinaryWriteOptions options;
  options.compressed = compressed;
  options.password = std::move(password);
  options.database_value = 0xCAFE0042;
  return options;
}

TEST(BinaryFileTest, RoundTripsWithAndWithoutCompressionAndPassword) {
  const std::string text = SectionText(3000);
  for (bool compressed : {false, true}) {
    for (const std::string password : {"", "Hemlig"}) {
      const std::string file = EncodeBinaryFile(text, Options(compressed, password));
      const std::optional<BinaryHeader> header = ReadBinaryHeader(file);
      ASSERT_TRUE(header);
      EXPECT_EQ(header->password_expected, !password.empty());
      EXPECT_EQ(header->compressed, compressed);
      EXPECT_EQ(header->format_date, "001219");
      EXPECT_EQ(header->database_value, 0xCAFE0042u);
      const std::optional<std::string_view> key =
          password.empty() ? std::nullopt : std::optional<std::string_view>("hEMLIG");
      const BinaryReadResult read = DecodeBinaryFile(file, key);
      ASSERT_EQ(read.status, BinaryReadStatus::kOk) << compressed << password;
      EXPECT_EQ(read.section_text, text);
      if (compressed) {
        EXPECT_LT(file.size(), text.size() / 2);
      }
    }
  }
}

TEST(BinaryFileTest, UncompressedBlocksAreStoredAndFull) {
  const std::string text = SectionText(2000);
  const std::string file = EncodeBinaryFile(text, Options(false));
  // Blocks of 12,000 text bytes: header, then 8-byte block headers with the length in plain.
  const auto length_at = [&](size_t pos) {
    return size_t{static_cast<unsigned char>(file[pos + 4])} << 8 |
           static_cast<unsigned char>(file[pos + 5]);
  };
  EXPECT_EQ(length_at(bf::kHeaderSize), bf::kBlockTextSize);
  EXPECT_EQ(length_at(bf::kHeaderSize + bf::kBlockHeaderSize + bf::kBlockTextSize),
            bf::kBlockTextSize);
}

TEST(BinaryFileTest, BlockChecksumRotatesRightThenXorsEachByte) {
  std::mt19937 random(4);
  for (size_t length : {0, 1, 7, 8, 9, 100, 12000}) {
    std::string payload;
    for (size_t i = 0; i < length; ++i) payload.push_back(static_cast<char>(random()));
    uint16_t expected = 0;
    for (char c : payload) {
      expected = static_cast<uint16_t>((expected >> 1) | (expected << 15));
      expected ^= static_cast<unsigned char>(c);
    }
    EXPECT_EQ(BlockChecksum(payload), expected) << length;
  }
}

TEST(BinaryFileTest, TwoSavesDifferInEveryScrambledByteYetReadTheSame) {
  const std::string text = SectionText(500);
  const std::string first = EncodeBinaryFile(text, Options(true));
  const std::string second = EncodeBinaryFile(text, Options(true));
  EXPECT_NE(first.substr(20, 12), second.substr(20, 12));
  EXPECT_EQ(first.substr(0, 20), second.substr(0, 20));
  size_t same = 0;
  const size_t common = std::min(first.size(), second.size());
  for (size_t i = bf::kHeaderSize; i < common; ++i) same += first[i] == second[i];
  EXPECT_LT(same, (common - bf::kHeaderSize) / 50);  // chance agreement only
  EXPECT_EQ(DecodeBinaryFile(first, std::nullopt).section_text,
            DecodeBinaryFile(second, std::nullopt).section_text);
}

TEST(BinaryFileTest, WrongOrUnexpectedPasswordsFailAtTheFirstBlock) {
  const std::string text = SectionText(100);
  const std::string locked = EncodeBinaryFile(text, Options(true, "secret"));
  EXPECT_EQ(DecodeBinaryFile(locked, "sekret").status, BinaryReadStatus::kIncorrectPassword);
  EXPECT_EQ(DecodeBinaryFile(locked, std::nullopt).status, BinaryReadStatus::kIncorrectPassword);
  EXPECT_EQ(DecodeBinaryFile(locked, "SECRET").status, BinaryReadStatus::kOk);
  const std::string open = EncodeBinaryFile(text, Options(true));
  EXPECT_EQ(DecodeBinaryFile(open, "secret").status, BinaryReadStatus::kIncorrectPassword);
}

TEST(BinaryFileTest, DamageEndsInCorruptionAndNeverInWrongText) {
  const std::string text = SectionText(40);
  const std::string file = EncodeBinaryFile(text, Options(true));
  for (size_t i = 0; i < file.size(); ++i) {
    std::string damaged = file;
    damaged[i] = static_cast<char>(damaged[i] ^ 0xFF);
    const BinaryReadResult read = DecodeBinaryFile(damaged, std::nullopt);
    // Only header bytes that decoding does not use may change and still read.
    if (read.status == BinaryReadStatus::kOk) {
      EXPECT_EQ(read.section_text, text) << "byte " << i;
      EXPECT_TRUE(i < bf::kHeaderSize) << "byte " << i;
    }
  }
  // Cut anywhere, at block boundaries included, the file is corrupted.
  const std::string big = EncodeBinaryFile(SectionText(3000), Options(true));
  for (size_t cut = 0; cut < big.size(); cut += 97) {
    const BinaryReadStatus status = DecodeBinaryFile(big.substr(0, cut), std::nullopt).status;
    EXPECT_EQ(status, BinaryReadStatus::kCorrupted) << "cut at " << cut;
  }
  size_t boundary = bf::kHeaderSize;
  while (boundary < big.size()) {
    const size_t length = size_t{static_cast<unsigned char>(big[boundary + 4])} << 8 |
                          static_cast<unsigned char>(big[boundary + 5]);
    boundary += bf::kBlockHeaderSize + length;
    if (boundary < big.size()) {
      EXPECT_EQ(DecodeBinaryFile(big.substr(0, boundary), std::nullopt).status,
                BinaryReadStatus::kCorrupted);
    }
  }
}

// The text of all the blocks the reader decodes, and its verdict.
std::pair<std::string, BinaryReadStatus> DecodeBlocks(BinaryFileReader& reader) {
  std::string text;
  size_t end = 0;
  while (reader.NextBlock(text, end)) {
  }
  text.resize(end);
  return {text, reader.status()};
}

// A file read a chunk at a time (headers and payloads cut at every kind of offset) decodes to
// the same text, and the same verdict when it is damaged or cut, as the file held whole.
TEST(BinaryFileTest, AFileHandedOverInChunksReadsAsTheWholeFile) {
  const std::string file = EncodeBinaryFile(SectionText(2000), Options(true, "pw"));
  std::string damaged = file;
  damaged[file.size() / 2] ^= 0x10;
  const std::string cuts[] = {file, damaged, file.substr(0, file.size() - 1),
                              file.substr(0, bf::kHeaderSize + 3), file.substr(0, 20)};
  for (const std::string& bytes : cuts) {
    BinaryFileReader whole_reader(bytes, "pw");
    const auto whole = DecodeBlocks(whole_reader);
    for (const size_t chunk : {1, 5, 39, 40, 41, 4096, 12007, 1 << 20}) {
      testing::ChunkedSource source(bytes, chunk);
      BinaryFileReader reader(source, "pw");
      const auto chunked = DecodeBlocks(reader);
      EXPECT_EQ(chunked.second, whole.second) << "chunks of " << chunk;
      EXPECT_TRUE(chunked.first == whole.first) << "chunks of " << chunk;
      EXPECT_EQ(reader.position(), whole_reader.position()) << "chunks of " << chunk;
    }
  }
}

TEST(BinaryFileTest, AbsurdLengthsAndUnknownKindsAreRefused) {
  std::string file = EncodeBinaryFile(SectionText(10), Options(false));
  std::string long_block = file;
  long_block[bf::kHeaderSize + 4] = static_cast<char>(14000 >> 8);
  long_block[bf::kHeaderSize + 5] = static_cast<char>(14000 & 0xFF);
  EXPECT_EQ(DecodeBinaryFile(long_block, std::nullopt).status, BinaryReadStatus::kCorrupted);
  std::string other_kind = file;
  other_kind[bf::kKindOffset] = 'N';
  EXPECT_EQ(DecodeBinaryFile(other_kind, std::nullopt).status, BinaryReadStatus::kUnknownKind);
  EXPECT_FALSE(ReadBinaryHeader(file.substr(0, 39)));
  EXPECT_FALSE(ReadBinaryHeader(std::string(40, 'x')));
}

// A block whose tokens reach back before its own start cannot have come from a sound writer;
// its text would be cut without a word, so the file counts as corrupted.
TEST(BinaryFileTest, TokensThatCannotBeDecodedMakeTheFileCorrupted) {
  std::string file = EncodeBinaryFile("##End\r", Options(false)).substr(0, bf::kHeaderSize);
  BlockCipher cipher;
  cipher.LoadFrom(reinterpret_cast<const unsigned char*>(file.data()) + bf::kGeneratorOffset);
  cipher.Mix(bf::kKindSeedOwn);
  cipher.FillTable();
  const std::string decodable = "x\rjovmagic\r##End\r";
  for (const std::string& payload : {decodable, decodable + "\xC0\x50"}) {
    std::string block = "###b";
    block.push_back(static_cast<char>(payload.size() >> 8));
    block.push_back(static_cast<char>(payload.size()));
    const uint16_t sum = BlockChecksum(payload);
    block.push_back(static_cast<char>(sum >> 8));
    block.push_back(static_cast<char>(sum));
    block += payload;
    BlockCipher keystream = cipher;
    auto* bytes = reinterpret_cast<unsigned char*>(block.data());
    keystream.Scramble(bytes, 4);
    keystream.Scramble(bytes + bf::kBlockHeaderSize, payload.size());
    const BinaryReadStatus status = DecodeBinaryFile(file + block, std::nullopt).status;
    EXPECT_EQ(status, payload == decodable ? BinaryReadStatus::kOk : BinaryReadStatus::kCorrupted);
  }
}

// Text that the "b" coding would blow up past the payload limit is stored instead.
TEST(BinaryFileTest, BlocksThatCodingWouldEnlargeAreStored) {
  std::mt19937 random(3);
  std::string text;
  while (text.size() < 30000) {
    const unsigned char c = static_cast<unsigned char>(192 + random() % 64);
    text.push_back(static_cast<char>(c));
    if (random() % 97 == 0) text += "\r";
  }
  text += "\r##End\r";
  const std::string file = EncodeBinaryFile(text, Options(true));
  const BinaryReadResult read = DecodeBinaryFile(file, std::nullopt);
  ASSERT_EQ(read.status, BinaryReadStatus::kOk);
  EXPECT_EQ(read.section_text, text);
}

}  // namespace
}  // namespace jov
