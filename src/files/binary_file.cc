#include "files/binary_file.h"

#include <cstring>

#include "files/binary_format.h"
#include "files/lz_coder.h"

namespace jov {
namespace {

namespace bf = binary_format;

uint16_t RotateRight(uint16_t value, int bits) {
  return static_cast<uint16_t>((value >> bits) | (value << ((16 - bits) & 15)));
}

// For each byte: rotate the sum right by one bit, then XOR the byte into its low bits. Eight
// bytes at a time this is the sum rotated by eight, XOR each byte rotated by its remaining
// steps, which breaks the chain from byte to byte.
}  // namespace

size_t ExpectedFileSize(size_t section_bytes, bool compressed) {
  const size_t blocks = section_bytes / bf::kBlockTextSize + 1;
  // Section text codes to about half its size; room for a little more saves a copy.
  const size_t payload = compressed ? section_bytes / 5 * 3 : section_bytes;
  return bf::kHeaderSize + blocks * bf::kBlockHeaderSize + payload + bf::kBlockTextSize;
}

uint16_t BlockChecksum(std::string_view payload) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(payload.data());
  uint16_t sum = 0;
  size_t i = 0;
  for (; i + 8 <= payload.size(); i += 8) {
    uint16_t mixed = 0;
    for (int j = 0; j < 8; ++j) mixed ^= RotateRight(bytes[i + j], 7 - j);
    sum = RotateRight(sum, 8) ^ mixed;
  }
  for (; i < payload.size(); ++i) sum = RotateRight(sum, 1) ^ bytes[i];
  return sum;
}

namespace {

uint32_t ReadBigEndian32(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void PutBigEndian16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value));
}

const unsigned char* Bytes(std::string_view text) {
  return reinterpret_cast<const unsigned char*>(text.data());
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

std::string Header(const BinaryWriteOptions& options, const BlockCipher& cipher) {
  std::string header(bf::kHeaderSize, '\0');
  header[0] = static_cast<char>(bf::kMagic0);
  header[1] = static_cast<char>(bf::kMagic1);
  header.replace(2, bf::kMagicText.size(), bf::kMagicText);
  header.replace(bf::kFormatDateOffset, bf::kFormatDate.size(), bf::kFormatDate);
  header[bf::kPasswordMarkOffset] =
      options.password.empty() ? bf::kWithoutPassword : bf::kWithPassword;
  header[bf::kFixedIOffset] = bf::kFixedI;
  header[bf::kKindOffset] = bf::kKindOwn;
  header[bf::kCompressionOffset] = options.compressed ? bf::kCompressed : bf::kNotCompressed;
  header[bf::kTableMarkOffset] = bf::kTableFilled;
  cipher.SaveTo(reinterpret_cast<unsigned char*>(header.data()) + bf::kGeneratorOffset);
  for (int i = 0; i < 4; ++i) {
    header[bf::kDatabaseValueOffset + i] =
        static_cast<char>(options.database_value >> (24 - 8 * i));
  }
  return header;
}

}  // namespace

std::optional<BinaryHeader> ReadBinaryHeader(std::string_view file_bytes) {
  if (file_bytes.size() < bf::kHeaderSize) return std::nullopt;
  const unsigned char* p = Bytes(file_bytes);
  if (p[0] != bf::kMagic0 || p[1] != bf::kMagic1 || file_bytes.substr(2, 3) != bf::kMagicText) {
    return std::nullopt;
  }
  BinaryHeader header;
  header.format_date = std::string(file_bytes.substr(bf::kFormatDateOffset, 6));
  header.password_expected = file_bytes[bf::kPasswordMarkOffset] == bf::kWithPassword;
  header.kind = file_bytes[bf::kKindOffset];
  header.compressed = file_bytes[bf::kCompressionOffset] == bf::kCompressed;
  header.table_filled = file_bytes[bf::kTableMarkOffset] == bf::kTableFilled;
  header.database_value = ReadBigEndian32(p + bf::kDatabaseValueOffset);
  return header;
}

// ---------------------------------------------------------------------------------------------
// Writing

BinaryFileWriter::BinaryFileWriter(const BinaryWriteOptions& options, std::string& out)
    : options_(options), out_(out) {
  cipher_.Randomise();
  out_ += Header(options_, cipher_);
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
}

void BinaryFileWriter::WriteBlock() {
  char coding = bf::kCodingStored;
  std::string_view payload = text_;
  if (options_.compressed) {
    coded_.clear();
    EncodeLzBlock(text_, coded_);
    // A coding that is not shorter than the limit is stored as it is; every reader takes "-".
    if (coded_.size() < bf::kMaxPayload) {
      coding = bf::kCodingOwn;
      payload = coded_;
    }
  }
  const size_t start = out_.size();
  out_.append(bf::kBlockMark);
  out_.push_back(coding);
  PutBigEndian16(out_, static_cast<uint32_t>(payload.size()));
  PutBigEndian16(out_, BlockChecksum(payload));
  out_.append(payload);
  auto* bytes = reinterpret_cast<unsigned char*>(out_.data() + start);
  cipher_.Scramble(bytes, 4);
  cipher_.Scramble(bytes + bf::kBlockHeaderSize, payload.size());
  text_.clear();
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

// Decodes one block's payload by its coding byte. An unknown coding, or tokens that cannot be
// decoded to their end, are damage: dropping the block's text would lose data without a word.
bool DecodePayload(char coding, std::string_view payload, std::string& out, size_t& end) {
  if (coding == bf::kCodingStored) {
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

// A complete section stream ends with the "##End" line (blank lines may follow); a file cut
// at a block boundary lacks it.
bool EndsWithEndSection(std::string_view text) {
  const size_t last = text.find_last_not_of("\r\n");
  if (last == std::string_view::npos) return false;
  const size_t start = text.find_last_of("\r\n", last);
  std::string_view line = text.substr(start == std::string_view::npos ? 0 : start + 1);
  line = line.substr(0, line.find_first_of("\r\n"));
  return line.substr(0, line.find('\t')) == bf::kEndSection;
}

// Drops everything up to and including the "jovmagic" line; false when there is none.
bool SkipToSections(std::string& text) {
  size_t line = 0;
  while (line < text.size()) {
    size_t end = text.find_first_of("\r\n", line);
    if (end == std::string::npos) end = text.size();
    const bool magic = std::string_view(text).substr(line, end - line) == bf::kMagicLine;
    if (end < text.size()) {
      const char first = text[end];
      ++end;
      if (end < text.size() && (text[end] == '\r' || text[end] == '\n') && text[end] != first) {
        ++end;
      }
    }
    if (magic) {
      text.erase(0, end);
      return true;
    }
    line = end;
  }
  return false;
}

}  // namespace

BinaryFileReader::BinaryFileReader(std::string_view file, std::optional<std::string_view> password)
    : file_(file) {
  const std::optional<BinaryHeader> header = ReadBinaryHeader(file);
  if (!header) return;
  header_ = *header;
  if (header->kind != bf::kKindOwn && header->kind != bf::kKindOlder) {
    status_ = BinaryReadStatus::kUnknownKind;
    return;
  }
  cipher_.LoadFrom(Bytes(file) + bf::kGeneratorOffset);
  cipher_.Mix(header->kind == bf::kKindOwn ? bf::kKindSeedOwn : bf::kKindSeedOlder);
  keyed_ = header->password_expected || password.has_value();
  if (password) cipher_.MixPassword(*password);
  if (header->table_filled) cipher_.FillTable();
  status_ = BinaryReadStatus::kOk;
  position_ = bf::kHeaderSize;
}

bool BinaryFileReader::Fail(BinaryReadStatus status) {
  status_ = status;
  return false;
}

bool BinaryFileReader::NextBlock(std::string& out, size_t& end) {
  if (status_ != BinaryReadStatus::kOk || AtEnd()) return false;
  const bool first = position_ == bf::kHeaderSize;
  if (file_.size() - position_ < bf::kBlockHeaderSize) return Fail(BinaryReadStatus::kCorrupted);
  unsigned char head[bf::kBlockHeaderSize];
  std::memcpy(head, file_.data() + position_, sizeof head);
  cipher_.Scramble(head, 4);
  if (std::memcmp(head, bf::kBlockMark.data(), 3) != 0) {
    return Fail(first && keyed_ ? BinaryReadStatus::kIncorrectPassword
                                : BinaryReadStatus::kCorrupted);
  }
  const size_t length = size_t{head[4]} << 8 | head[5];
  const uint16_t checksum = static_cast<uint16_t>(head[6] << 8 | head[7]);
  position_ += bf::kBlockHeaderSize;
  if (length >= bf::kMaxPayload || file_.size() - position_ < length) {
    return Fail(BinaryReadStatus::kCorrupted);
  }
  payload_.assign(file_.substr(position_, length));
  cipher_.Scramble(reinterpret_cast<unsigned char*>(payload_.data()), length);
  position_ += length;
  if (BlockChecksum(payload_) != checksum ||
      !DecodePayload(static_cast<char>(head[3]), payload_, out, end)) {
    return Fail(BinaryReadStatus::kCorrupted);
  }
  return true;
}

BinaryReadResult DecodeBinaryFile(std::string_view file, std::optional<std::string_view> password) {
  BinaryFileReader reader(file, password);
  BinaryReadResult result;
  result.header = reader.header();
  std::string& text = result.section_text;
  size_t end = 0;
  while (reader.NextBlock(text, end)) {
  }
  result.status = reader.status();
  text.resize(end);
  if (result.status == BinaryReadStatus::kOk &&
      (!SkipToSections(text) || !EndsWithEndSection(text))) {
    result.status = BinaryReadStatus::kCorrupted;
  }
  return result;
}

}  // namespace jov
