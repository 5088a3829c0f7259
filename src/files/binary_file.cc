#include "files/binary_file.h"

#include <array>
#include <cstring>

#include "files/binary_format.h"
#include "files/lz_coder.h"

namespace jov {
namespace {

namespace bf = binary_format;

constexpr uint16_t RotateRight(uint16_t value, int bits) {
  return static_cast<uint16_t>((value >> bits) | (value << ((16 - bits) & 15)));
}

std::string FillerLine() {
  BlockCipher generator;
  generator.Randomise();
  const size_t length = 24 + (generator.Step() & 31);
  std::string line;
  for (size_t i = 0; i < length; ++i) {
    unsigned character = generator.Step() + 32u;
    if (character >= 251) character -= 185;
    line.push_back(static_cast<char>(character));
  }
  return line;
}

}  // namespace

size_t ExpectedFileSize(size_t section_bytes, bool compressed) {
  const size_t blocks = section_bytes / bf::kBlockTextSize + 1;
  // Section text codes to about half its size; room for a little more saves a copy.
  const size_t payload = compressed ? section_bytes / 5 * 3 : section_bytes;
  return bf::kHeaderSize + blocks * bf::kBlockHeaderSize + payload + bf::kBlockTextSize;
}

namespace {

// kRotated[j][v]: byte v rotated right by 7 - j bits in 16, its share in a group of eight.
using RotationTables = std::array<std::array<uint16_t, 256>, 8>;

constexpr RotationTables MakeRotationTables() {
  RotationTables tables{};
  for (int j = 0; j < 8; ++j) {
    for (int v = 0; v < 256; ++v) tables[j][v] = RotateRight(static_cast<uint16_t>(v), 7 - j);
  }
  return tables;
}

constexpr RotationTables kRotated = MakeRotationTables();

}  // namespace

// For each byte: rotate the sum right by one bit, then XOR the byte into its low bits. Eight
// bytes at a time this is the sum rotated by eight, XOR each byte rotated by its remaining
// steps, which breaks the chain from byte to byte.
uint16_t BlockChecksum(std::string_view payload) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(payload.data());
  uint16_t sum = 0;
  size_t i = 0;
  for (; i + 8 <= payload.size(); i += 8) {
    const uint16_t mixed = kRotated[0][bytes[i]] ^ kRotated[1][bytes[i + 1]] ^
                           kRotated[2][bytes[i + 2]] ^ kRotated[3][bytes[i + 3]] ^
                           kRotated[4][bytes[i + 4]] ^ kRotated[5][bytes[i + 5]] ^
                           kRotated[6][bytes[i + 6]] ^ kRotated[7][bytes[i + 7]];
    sum = RotateRight(sum, 8) ^ mixed;
  }
  for (; i < payload.size(); ++i) sum = RotateRight(sum, 1) ^ bytes[i];
  return sum;
}

std::optional<BinaryHeader> ReadBinaryHeader(std::string_view file_bytes) {
  if (file_bytes.size() < bf::kHeaderSize || !file_bytes.starts_with(bf::kMagic)) {
    return std::nullopt;
  }
  return BinaryHeader::DecodeFrom(file_bytes);
}

// ---------------------------------------------------------------------------------------------
// Writing

BinaryFileWriter::BinaryFileWriter(const BinaryWriteOptions& options, std::string& out)
    : options_(options),
      out_(out),
      coder_(options.compressed, options.compressed ? BlockCoder::DefaultWorkers() : 0) {
  cipher_.Randomise();
  BinaryHeader header;
  header.password_expected = !options_.password.empty();
  header.compressed = options_.compressed;
  header.database_value = options_.database_value;
  cipher_.SaveTo(header.generator.data());
  header.EncodeTo(&out_);
  cipher_.Mix(bf::kKindSeedOwn);
  if (!options_.password.empty()) cipher_.MixPassword(options_.password);
  cipher_.FillTable();
  text_.reserve(bf::kBlockTextSize);
  Append(FillerLine());
  Append(std::string_view(&bf::kLineEnd, 1));
  Append(bf::kMagicLine);
  Append(std::string_view(&bf::kLineEnd, 1));
}

void BinaryFileWriter::Append(std::string_view text) {
  while (!text.empty()) {
    const size_t room = bf::kBlockTextSize - text_.size();
    text_.append(text.substr(0, room));
    text.remove_prefix(std::min(room, text.size()));
    if (text_.size() == bf::kBlockTextSize) WriteBlock();
  }
}

void BinaryFileWriter::Finish() {
  if (!text_.empty()) WriteBlock();
  while (coder_.pending() > 0) WriteOldest();
}

void BinaryFileWriter::WriteBlock() {
  if (coder_.full()) WriteOldest();
  coder_.Push(text_);
  text_.reserve(bf::kBlockTextSize);
}

void BinaryFileWriter::WriteOldest() {
  const CodedBlock coded = coder_.TakeOldest();
  const size_t start = out_.size();
  BlockHeader header;
  header.coding = coded.coding;
  header.length = static_cast<uint16_t>(coded.payload.size());
  header.checksum = coded.checksum;
  out_.resize(start + bf::kBlockHeaderSize);
  auto* head = reinterpret_cast<unsigned char*>(out_.data() + start);
  header.EncodeTo(head);
  cipher_.Scramble(head, bf::kScrambledHeaderBytes);
  out_.append(coded.payload);
  cipher_.Scramble(reinterpret_cast<unsigned char*>(out_.data() + start + bf::kBlockHeaderSize),
                   coded.payload.size());
}

std::string EncodeBinaryFile(std::string_view section_text, const BinaryWriteOptions& options) {
  std::string out;
  out.reserve(ExpectedFileSize(section_text.size(), options.compressed));
  BinaryFileWriter writer(options, out);
  writer.Append(section_text);
  writer.Finish();
  return out;
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {

// Decodes one block's payload by its coding byte. An unknown coding, tokens that cannot be
// decoded to their end, or more text than a block holds, are damage: dropping the block's text
// would lose data without a word, and a block that claims more is a bomb, not a database.
bool DecodePayload(char coding, std::string_view payload, std::string& out, size_t& end) {
  if (coding == bf::kCodingStored) {
    if (payload.size() > bf::kBlockTextSize) return false;
    if (out.size() < end + payload.size())
      out.resize(std::max(out.size() * 2, end + payload.size()));
    std::memcpy(out.data() + end, payload.data(), payload.size());
    end += payload.size();
  } else if (coding == bf::kCodingOwn) {
    return DecodeLzBlock(payload, out, end);
  } else if (coding == bf::kCodingOlder) {
    return DecodeOlderLzBlock(payload, out, end);
  } else {
    return false;
  }
  return true;
}

}  // namespace

BinaryFileReader::BinaryFileReader(ByteSource& file, std::optional<std::string_view> password)
    : memory_({}), file_(file) {
  ReadHeader(password);
}

BinaryFileReader::BinaryFileReader(std::string_view file, std::optional<std::string_view> password)
    : memory_(file), file_(memory_) {
  ReadHeader(password);
}

void BinaryFileReader::ReadHeader(std::optional<std::string_view> password) {
  std::string_view bytes;
  if (!Take(bf::kHeaderSize, &bytes)) return;
  const std::optional<BinaryHeader> header = ReadBinaryHeader(bytes);
  if (!header) return;
  header_ = *header;
  if (header->kind != bf::kKindOwn && header->kind != bf::kKindOlder) {
    status_ = BinaryReadStatus::kUnknownKind;
    return;
  }
  cipher_.LoadFrom(header->generator.data());
  cipher_.Mix(header->kind == bf::kKindOwn ? bf::kKindSeedOwn : bf::kKindSeedOlder);
  keyed_ = header->password_expected || password.has_value();
  if (password) cipher_.MixPassword(*password);
  if (header->table_filled) cipher_.FillTable();
  status_ = BinaryReadStatus::kOk;
}

bool BinaryFileReader::Fail(BinaryReadStatus status) {
  status_ = status;
  return false;
}

bool BinaryFileReader::AtEnd() {
  while (chunk_used_ == chunk_.size() && !file_ended_) {
    chunk_used_ = 0;
    chunk_ = {};
    file_ended_ = !file_.Next(&chunk_);
  }
  return chunk_used_ == chunk_.size();
}

bool BinaryFileReader::Take(size_t count, std::string_view* bytes) {
  if (AtEnd()) return count == 0;
  if (chunk_.size() - chunk_used_ >= count) {
    // The usual case: the bytes lie whole in the current chunk.
    *bytes = chunk_.substr(chunk_used_, count);
    chunk_used_ += count;
    position_ += count;
    return true;
  }
  gathered_.clear();
  while (gathered_.size() < count && !AtEnd()) {
    const std::string_view piece = chunk_.substr(chunk_used_, count - gathered_.size());
    gathered_.append(piece);
    chunk_used_ += piece.size();
    position_ += piece.size();
  }
  *bytes = gathered_;
  return gathered_.size() == count;
}

bool BinaryFileReader::NextBlock(std::string& out, size_t& end) {
  if (status_ != BinaryReadStatus::kOk || AtEnd()) return false;
  const bool first = position_ == bf::kHeaderSize;
  std::string_view bytes;
  if (!Take(bf::kBlockHeaderSize, &bytes)) return Fail(BinaryReadStatus::kCorrupted);
  unsigned char head[bf::kBlockHeaderSize];
  std::memcpy(head, bytes.data(), sizeof head);
  cipher_.Scramble(head, bf::kScrambledHeaderBytes);
  const std::optional<BlockHeader> block = BlockHeader::DecodeFrom(head);
  if (!block) {
    return Fail(first && keyed_ ? BinaryReadStatus::kIncorrectPassword
                                : BinaryReadStatus::kCorrupted);
  }
  if (block->length >= bf::kMaxPayload || !Take(block->length, &bytes)) {
    return Fail(BinaryReadStatus::kCorrupted);
  }
  payload_.assign(bytes);
  cipher_.Scramble(reinterpret_cast<unsigned char*>(payload_.data()), block->length);
  if (BlockChecksum(payload_) != block->checksum ||
      !DecodePayload(block->coding, payload_, out, end)) {
    return Fail(BinaryReadStatus::kCorrupted);
  }
  return true;
}

}  // namespace jov
