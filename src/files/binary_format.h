// Constants of the binary database file, shared by its reader and writer: the 40-byte header,
// the block header and its limits, the keystream seeds and the LZ token values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace jov::binary_format {

// Header (40 bytes).
constexpr size_t kHeaderSize = 40;
constexpr unsigned char kMagic0 = 0x05;
constexpr unsigned char kMagic1 = 0x13;
constexpr std::string_view kMagicText = "Uxe";  // offset 2
constexpr size_t kFormatDateOffset = 5;         // 6 ASCII digits YYMMDD
constexpr std::string_view kFormatDate = "001219";
constexpr size_t kPasswordMarkOffset = 11;
constexpr char kWithPassword = 'x';
constexpr char kWithoutPassword = 'o';
constexpr size_t kFixedIOffset = 12;
constexpr char kFixedI = 'i';
constexpr size_t kKindOffset = 13;
constexpr char kKindOwn = 'U';
constexpr char kKindOlder = 'B';
constexpr size_t kCompressionOffset = 14;
constexpr char kCompressed = 'Z';
constexpr char kNotCompressed = '-';
constexpr size_t kTableMarkOffset = 15;
constexpr char kTableFilled = '6';
constexpr size_t kGeneratorOffset = 20;  // A, B ^ kHeaderMask, C: big-endian words
constexpr uint32_t kHeaderMask = 0x3D91C7A4;
constexpr size_t kDatabaseValueOffset = 32;

// Keystream seeds mixed in for the kind letters.
constexpr uint32_t kKindSeedOwn = 1193046471u;
constexpr uint32_t kKindSeedOlder = 2068915330u;

// Blocks.
constexpr size_t kBlockHeaderSize = 8;
constexpr std::string_view kBlockMark = "###";
constexpr char kCodingOwn = 'b';          // this system's LZ coding
constexpr char kCodingOlder = 'Z';        // the older LZ coding, read only
constexpr char kCodingStored = '-';       // stored as it is
constexpr size_t kBlockTextSize = 12000;  // section text per block
constexpr size_t kMaxPayload = 14000;     // a payload length of this or more is damage

// The section text starts with a filler line of 24..55 characters, then this line.
constexpr std::string_view kMagicLine = "jovmagic";
constexpr char kLineEnd = '\r';
// The last section of every stream.
constexpr std::string_view kEndSection = "##End";

}  // namespace jov::binary_format
