#include "files/binary_format.h"

#include <algorithm>

namespace jov {
namespace {

namespace bf = binary_format;

void PutBigEndian(unsigned char* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out[i] = static_cast<unsigned char>(value >> (8 * (bytes - 1 - i)));
}

uint32_t GetBigEndian(const unsigned char* in, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | in[i];
  return value;
}

// The byte at `offset`, or 0 past the end of `bytes`.
char ByteAt(std::string_view bytes, size_t offset) {
  return offset < bytes.size() ? bytes[offset] : '\0';
}

}  // namespace

void BinaryHeader::EncodeTo(std::string* out) const {
  unsigned char header[bf::kHeaderSize] = {};
  std::copy(bf::kMagic.begin(), bf::kMagic.end(), header);
  std::copy_n(format_date.begin(), std::min(format_date.size(), bf::kFormatDateSize),
              header + bf::kFormatDateOffset);
  header[bf::kPasswordMarkOffset] = password_expected ? bf::kWithPassword : bf::kWithoutPassword;
  header[bf::kFixedIOffset] = bf::kFixedI;
  header[bf::kKindOffset] = static_cast<unsigned char>(kind);
  header[bf::kCompressionOffset] = compressed ? bf::kCompressed : bf::kNotCompressed;
  header[bf::kTableMarkOffset] = table_filled ? bf::kTableFilled : '\0';
  std::copy(generator.begin(), generator.end(), header + bf::kGeneratorOffset);
  PutBigEndian(header + bf::kDatabaseValueOffset, database_value, 4);
  out->append(reinterpret_cast<const char*>(header), sizeof header);
}

std::optional<BinaryHeader> BinaryHeader::DecodeFrom(std::string_view bytes) {
  if (!bytes.starts_with(bf::kMagic) && !bytes.starts_with(bf::kHashMagic)) return std::nullopt;
  BinaryHeader header;
  header.format_date =
      std::string(bytes.substr(std::min(bytes.size(), bf::kFormatDateOffset), bf::kFormatDateSize));
  header.password_expected = ByteAt(bytes, bf::kPasswordMarkOffset) == bf::kWithPassword;
  header.kind = ByteAt(bytes, bf::kKindOffset);
  header.compressed = ByteAt(bytes, bf::kCompressionOffset) != bf::kNotCompressed;
  header.table_filled = ByteAt(bytes, bf::kTableMarkOffset) == bf::kTableFilled;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.size() >= bf::kGeneratorOffset + bf::kGeneratorSize) {
    std::copy_n(p + bf::kGeneratorOffset, bf::kGeneratorSize, header.generator.begin());
  }
  if (bytes.size() >= bf::kDatabaseValueOffset + 4) {
    header.database_value = GetBigEndian(p + bf::kDatabaseValueOffset, 4);
  }
  return header;
}

void BlockHeader::EncodeTo(unsigned char* out) const {
  std::copy(bf::kBlockMark.begin(), bf::kBlockMark.end(), out);
  out[bf::kCodingOffset] = static_cast<unsigned char>(coding);
  PutBigEndian(out + bf::kLengthOffset, length, 2);
  PutBigEndian(out + bf::kChecksumOffset, checksum, 2);
}

std::optional<BlockHeader> BlockHeader::DecodeFrom(const unsigned char* bytes) {
  if (!std::equal(bf::kBlockMark.begin(), bf::kBlockMark.end(), bytes)) return std::nullopt;
  BlockHeader header;
  header.coding = static_cast<char>(bytes[bf::kCodingOffset]);
  header.length = static_cast<uint16_t>(GetBigEndian(bytes + bf::kLengthOffset, 2));
  header.checksum = static_cast<uint16_t>(GetBigEndian(bytes + bf::kChecksumOffset, 2));
  return header;
}

}  // namespace jov
