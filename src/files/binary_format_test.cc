#include "files/binary_format.h"

#include <gtest/gtest.h>

#include <string>

#include "files/binary_file.h"
#include "files/file_kind.h"

namespace jov {
namespace {

namespace bf = binary_format;

// The header this system writes, with recognisable generator words.
std::string OwnHeader() {
  BinaryHeader header;
  header.database_value = 0x01020304;
  for (size_t i = 0; i < header.generator.size(); ++i) header.generator[i] = 0xA0 + i;
  std::string bytes;
  header.EncodeTo(&bytes);
  return bytes;
}

TEST(BinaryHeaderTest, EncodesEveryByteOfTheLayout) {
  const std::string expected = std::string("\x05\x13Uxe001219oiUZ6\0\0\0\0", 20) +
                               "\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB" +
                               std::string("\x01\x02\x03\x04\0\0\0\0", 8);
  EXPECT_EQ(OwnHeader(), expected);
  const std::optional<BinaryHeader> decoded = ReadBinaryHeader(expected);
  ASSERT_TRUE(decoded);
  std::string again;
  decoded->EncodeTo(&again);
  EXPECT_EQ(again, expected);
}

// Each field set in the raw bytes at its offset: the file-kind test and the header reader read
// the same value from it.
TEST(BinaryHeaderTest, FileKindTestAndReaderAgreeOnEveryField) {
  const struct {
    size_t offset;
    std::string bytes;
    FileKind kind;
  } cases[] = {
      {bf::kKindOffset, "U", FileKind::kBinary},
      {bf::kKindOffset, "B", FileKind::kBinaryB},
      {bf::kKindOffset, "N", FileKind::kBinaryN},
      {bf::kKindOffset, "-", FileKind::kNothing},
      {bf::kPasswordMarkOffset, "x", FileKind::kBinary},
      {bf::kPasswordMarkOffset, "X", FileKind::kBinary},
      {bf::kCompressionOffset, "-", FileKind::kBinary},
      {bf::kCompressionOffset, "?", FileKind::kBinary},
      {bf::kDatabaseValueOffset, "\xFF\x00\x80\x01", FileKind::kBinary},
      {bf::kFormatDateOffset, "981205", FileKind::kPreRelease},
      {bf::kFormatDateOffset, "970601", FileKind::kBinaryEarly},
      {bf::kFormatDateOffset, "050101", FileKind::kBinary},
      {bf::kFormatDateOffset, "99 011", FileKind::kPreRelease},  // five digits: no date
  };
  for (const auto& c : cases) {
    std::string bytes = OwnHeader();
    bytes.replace(c.offset, c.bytes.size(), c.bytes);
    const FileSniff sniff = SniffFileKind(bytes);
    const std::optional<BinaryHeader> header = ReadBinaryHeader(bytes);
    ASSERT_TRUE(header) << c.offset << " " << c.bytes;
    EXPECT_EQ(sniff.kind, c.kind) << c.offset << " " << c.bytes;
    EXPECT_EQ(sniff.format_date, FormatDateValue(header->format_date)) << c.bytes;
    // Files of unreadable dates are refused before the rest of the header matters.
    if (c.kind == FileKind::kPreRelease || c.kind == FileKind::kBinaryEarly) continue;
    EXPECT_EQ(sniff.password, header->password_expected) << c.bytes;
    EXPECT_EQ(sniff.compressed, header->compressed) << c.bytes;
    EXPECT_EQ(sniff.database_value, header->database_value) << c.bytes;
    EXPECT_EQ(sniff.later_version, FormatDateValue(header->format_date) > kOwnFormatDate);
  }
}

// A file too short for a whole header is not read, but the file-kind test takes what it has.
TEST(BinaryHeaderTest, ShortHeadsAreSniffedAsFarAsTheyReach) {
  const std::string whole = OwnHeader();
  EXPECT_FALSE(ReadBinaryHeader(whole.substr(0, bf::kHeaderSize - 1)));
  EXPECT_EQ(SniffFileKind(whole.substr(0, bf::kKindOffset)).kind, FileKind::kNothing);
  const FileSniff up_to_kind = SniffFileKind(whole.substr(0, bf::kKindOffset + 1));
  EXPECT_EQ(up_to_kind.kind, FileKind::kBinary);
  EXPECT_EQ(up_to_kind.database_value, 0u);
  EXPECT_EQ(SniffFileKind(whole.substr(0, bf::kDatabaseValueOffset + 4)).database_value,
            0x01020304u);
  // The older magic is known to the file-kind test only.
  const std::string hashed = std::string(bf::kHashMagic) + whole.substr(bf::kMagic.size());
  EXPECT_EQ(SniffFileKind(hashed).kind, FileKind::kBinary);
  EXPECT_FALSE(ReadBinaryHeader(hashed));
}

TEST(BlockHeaderTest, RoundTripsAndNeedsItsMark) {
  BlockHeader header;
  header.coding = bf::kCodingOwn;
  header.length = 13999;
  header.checksum = 0xBEEF;
  unsigned char bytes[bf::kBlockHeaderSize];
  header.EncodeTo(bytes);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), sizeof bytes), "###b\x36\xAF\xBE\xEF");
  const std::optional<BlockHeader> decoded = BlockHeader::DecodeFrom(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->coding, bf::kCodingOwn);
  EXPECT_EQ(decoded->length, 13999);
  EXPECT_EQ(decoded->checksum, 0xBEEF);
  bytes[1] = '$';
  EXPECT_FALSE(BlockHeader::DecodeFrom(bytes));
}

}  // namespace
}  // namespace jov
