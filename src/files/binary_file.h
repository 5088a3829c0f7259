// Binary database files: the section text cut into blocks of at most 12,000 bytes, each coded
// ("b" LZ or stored), checksummed and scrambled with a keystream that runs on across blocks,
// behind a 40-byte header that holds the keystream's random start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/binary_format.h"
#include "files/block_cipher.h"
#include "files/block_coder.h"
#include "files/line_source.h"

namespace jov {

// The checksum of a block's payload (as coded, before scrambling): for each byte, rotate the
// 16-bit sum right by one bit, then XOR the byte into its low bits.
uint16_t BlockChecksum(std::string_view payload);

// A size to reserve for the file of `section_bytes` of section text, so that writing it
// rarely copies what is written.
size_t ExpectedFileSize(size_t section_bytes, bool compressed);

// The header of a file as the reader takes it: nothing unless the bytes hold a whole header
// with this system's magic.
std::optional<BinaryHeader> ReadBinaryHeader(std::string_view file_bytes);

struct BinaryWriteOptions {
  bool compressed = true;
  // Keys the keystream and marks the header "x" when not empty.
  std::string password;
  uint32_t database_value = 0;
};

// Writes a binary file into `out`: header, filler line, "jovmagic" and the section text, in
// blocks. The section text's lines end with CR. Blocks are coded on worker threads a few blocks
// behind the text appended, so `out` grows a block group at a time, and whole only after Finish.
class BinaryFileWriter {
 public:
  BinaryFileWriter(const BinaryWriteOptions& options, std::string& out);
  void Append(std::string_view text);
  // Writes the last, partial block.
  void Finish();

 private:
  void WriteBlock();
  // Scrambles the oldest coded block into `out`.
  void WriteOldest();

  BinaryWriteOptions options_;
  std::string& out_;
  BlockCipher cipher_;
  std::string text_;  // up to one block of section text
  BlockCoder coder_;
};

// Codes a whole section text as a binary file.
std::string EncodeBinaryFile(std::string_view section_text, const BinaryWriteOptions& options);

enum class BinaryReadStatus {
  kOk,
  kIncorrectPassword,  // the first block fails its mark, with a password expected or supplied
  kCorrupted,          // any other damage
  kUnknownKind,        // a kind letter other than "U" and "B"
};

// Reads a file block by block. `password` is mixed into the keystream when given, even when the
// header has "o". The blocks' text starts with the filler line and "jovmagic". The reader takes
// the file's bytes from a byte source, which must outlive it (a file is read a chunk at a time,
// so only a block of it is held), or keeps a view of bytes in memory, which must outlive it; the
// password is used up by the constructor, which reads the header.
class BinaryFileReader {
 public:
  BinaryFileReader(ByteSource& file, std::optional<std::string_view> password);
  BinaryFileReader(std::string_view file, std::optional<std::string_view> password);
  BinaryFileReader(const BinaryFileReader&) = delete;
  BinaryFileReader& operator=(const BinaryFileReader&) = delete;

  const BinaryHeader& header() const { return header_; }
  // kOk until the header or a block proves unreadable.
  BinaryReadStatus status() const { return status_; }
  // The bytes of the file read so far.
  size_t position() const { return position_; }

  // Writes the next block's text at out[end..] and moves `end` past it; `out` grows ahead as
  // needed and its bytes past `end` are scratch. False at the end of the file or on damage.
  bool NextBlock(std::string& out, size_t& end);

 private:
  void ReadHeader(std::optional<std::string_view> password);
  bool Fail(BinaryReadStatus status);
  // The next `count` bytes of the file, valid until the next call; false (all that was left
  // consumed) when fewer remain.
  bool Take(size_t count, std::string_view* bytes);
  // No byte of the file is left.
  bool AtEnd();

  MemoryByteSource memory_;
  ByteSource& file_;
  std::string_view chunk_;  // the source's current chunk, chunk_[chunk_used_..] not yet taken
  size_t chunk_used_ = 0;
  bool file_ended_ = false;
  std::string gathered_;  // bytes taken across chunks
  BinaryHeader header_;
  BinaryReadStatus status_ = BinaryReadStatus::kCorrupted;
  BlockCipher cipher_;
  bool keyed_ = false;
  size_t position_ = 0;
  std::string payload_;
};

}  // namespace jov
