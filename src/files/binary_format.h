// The layout of the binary database file, shared by its reader, its writer and the file-kind
// test: the 40-byte header and the 8-byte block header (each with its encoder and decoder side
// by side), the block limits, the keystream seeds and the lines that frame the section text.
//
// Header, at offset 0:
//   offset size  content
//        0    5  magic: 0x05 0x13 "Uxe"
//        5    6  format date YYMMDD in ASCII digits (the section stream's, "001219")
//       11    1  "x" when a password keys the keystream, else "o"
//       12    1  "i"
//       13    1  kind letter: "U" written by this system, "B" older (read too), "N" unreadable
//       14    1  "Z" when the blocks are compressed, "-" when stored (each block names its own
//                coding; this mark only informs)
//       15    1  "6" when the keystream's table is filled
//       16    4  zero
//       20   12  keystream start: words A, B XOR kHeaderMask and C, each big-endian
//       32    4  the database's 32-bit value, big-endian, kept unchanged from read to save
//       36    4  zero
// Blocks follow up to the end of the file, each a block header and its payload:
//        0    3  "###"                        \ scrambled with the next four keystream bytes
//        3    1  coding: "b", "Z" or "-"      /
//        4    2  payload length, big-endian, below kMaxPayload
//        6    2  payload checksum (BlockChecksum), big-endian
//        8    L  payload, scrambled byte by byte
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/text_format.h"

namespace jov {
namespace binary_format {

// Header.
constexpr size_t kHeaderSize = 40;
constexpr std::string_view kMagic = "\x05\x13Uxe";
// An older form of the magic that the file-kind test still knows; the reader does not.
constexpr std::string_view kHashMagic = "##Uxe";
constexpr size_t kFormatDateOffset = 5;
constexpr size_t kFormatDateSize = 6;
constexpr size_t kPasswordMarkOffset = 11;
constexpr char kWithPassword = 'x';
constexpr char kWithoutPassword = 'o';
constexpr size_t kFixedIOffset = 12;
constexpr char kFixedI = 'i';
constexpr size_t kKindOffset = 13;
constexpr char kKindOwn = 'U';
constexpr char kKindOlder = 'B';
constexpr char kKindUnreadable = 'N';
constexpr size_t kCompressionOffset = 14;
constexpr char kCompressed = 'Z';
constexpr char kNotCompressed = '-';
constexpr size_t kTableMarkOffset = 15;
constexpr char kTableFilled = '6';
constexpr size_t kGeneratorOffset = 20;
constexpr size_t kGeneratorSize = 12;
constexpr uint32_t kHeaderMask = 0x3D91C7A4;
constexpr size_t kDatabaseValueOffset = 32;

// Keystream seeds mixed in for the kind letters.
constexpr uint32_t kKindSeedOwn = 1193046471u;
constexpr uint32_t kKindSeedOlder = 2068915330u;

// Block header.
constexpr size_t kBlockHeaderSize = 8;
constexpr std::string_view kBlockMark = "###";
constexpr size_t kCodingOffset = 3;
constexpr size_t kScrambledHeaderBytes = 4;  // the mark and the coding
constexpr size_t kLengthOffset = 4;
constexpr size_t kChecksumOffset = 6;
constexpr char kCodingOwn = 'b';          // this system's LZ coding
constexpr char kCodingOlder = 'Z';        // the older LZ coding, read only
constexpr char kCodingStored = '-';       // stored as it is
constexpr size_t kBlockTextSize = 12000;  // section text per block
// The most text a block of the older coding may decode to. Its writers' block size is not
// known; this is the readers' text buffer, which a block had to fit after the rest of the
// previous block's last line.
constexpr size_t kMaxOlderBlockText = 18000;
constexpr size_t kMaxPayload = 14000;  // a payload length of this or more is damage

// The section text starts with a filler line of 24..55 characters, then this line.
constexpr std::string_view kMagicLine = "jovmagic";
constexpr char kLineEnd = '\r';

}  // namespace binary_format

struct BinaryHeader {
  std::string format_date = std::string(text_format::kFormatDate);  // YYMMDD as stored
  bool password_expected = false;                                   // "x"
  char kind = binary_format::kKindOwn;
  bool compressed = true;                                                // anything but "-"
  bool table_filled = true;                                              // "6"
  std::array<unsigned char, binary_format::kGeneratorSize> generator{};  // as stored
  uint32_t database_value = 0;

  // Appends the 40 header bytes to `out`.
  void EncodeTo(std::string* out) const;
  // Decodes the header at the start of `bytes`: nothing unless they start with a magic (either
  // form). Bytes cut short decode as far as they reach; the fields past them keep their values
  // above, except the kind, which is then 0.
  static std::optional<BinaryHeader> DecodeFrom(std::string_view bytes);
};

struct BlockHeader {
  char coding = binary_format::kCodingStored;
  uint16_t length = 0;
  uint16_t checksum = 0;

  // Writes the 8 block-header bytes, unscrambled, at `out`.
  void EncodeTo(unsigned char* out) const;
  // Decodes 8 unscrambled block-header bytes; nothing when they lack the mark.
  static std::optional<BlockHeader> DecodeFrom(const unsigned char* bytes);
};

}  // namespace jov
