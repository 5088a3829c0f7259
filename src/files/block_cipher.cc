#include "files/block_cipher.h"

#include <bit>
#include <cstring>

#include "files/binary_format.h"
#include "model/case_tables.h"
#include "platform/clock.h"
#include "shell/process.h"

namespace jov {
namespace {

// The fixed start of word A when randomising.
constexpr uint32_t kRandomStart = 0x6A09E667;
constexpr int kRandomiseSteps = 64;
constexpr int kMixSteps = 16;
constexpr int kPasswordSteps = 32;

// Changes at every randomised keystream so that files saved in one millisecond differ.
struct CipherEntropy : ProcessSlot {
  uint32_t value = 0x2545F491;
};

uint32_t ReadBigEndian(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void WriteBigEndian(unsigned char* p, uint32_t value) {
  p[0] = static_cast<unsigned char>(value >> 24);
  p[1] = static_cast<unsigned char>(value >> 16);
  p[2] = static_cast<unsigned char>(value >> 8);
  p[3] = static_cast<unsigned char>(value);
}

}  // namespace

void BlockCipher::Reset() {
  a_ = b_ = c_ = 1;
  index_ = 0;
  table_.fill(0);
}

void BlockCipher::Randomise() {
  const uint32_t ticks = TickCountMs();
  uint32_t& entropy = Process().Slot<CipherEntropy>().value;
  entropy = entropy * 2654435761u + 0x9E3779B9u;
  a_ = kRandomStart;
  b_ = entropy ^ ticks;
  c_ = ticks;
  for (int i = 0; i < kRandomiseSteps; ++i) Step();
}

void BlockCipher::Mix(uint32_t value) {
  a_ ^= value;
  for (int i = 0; i < kMixSteps; ++i) Step();
}

void BlockCipher::MixPassword(std::string_view password) {
  for (size_t i = password.size(); i-- > 0;) {
    a_ ^= UpperCase(static_cast<unsigned char>(password[i]));
    Step();
  }
  for (int i = 0; i < kPasswordSteps; ++i) Step();
}

void BlockCipher::FillTable() {
  std::array<unsigned char, 64> bytes;
  for (unsigned char& byte : bytes) byte = Step();
  table_ = bytes;
}

namespace {

// Eight steps shift the 96-bit register by eight bytes: C becomes the old A, B and A the eight
// new bytes. Each new byte is an XOR of bits of the register, so the eight of them are the XOR
// of one table entry per register byte (bytes 0..3 of A, 4..7 of B, 8..11 of C, high first).
using EightStepTables = std::array<std::array<uint64_t, 256>, 12>;

constexpr uint64_t NewBytesOfEightSteps(uint32_t a, uint32_t b, uint32_t c) {
  uint64_t fresh = 0;
  for (int i = 0; i < 8; ++i) {
    const uint32_t byte = ((c >> 24) ^ (b >> 10) ^ (a >> 3)) & 0xFF;
    c = (c << 8) | (b >> 24);
    b = (b << 8) | (a >> 24);
    a = (a << 8) | byte;
    fresh = fresh << 8 | byte;
  }
  return fresh;
}

constexpr EightStepTables MakeEightStepTables() {
  EightStepTables tables{};
  for (int position = 0; position < 12; ++position) {
    const int shift = 24 - 8 * (position % 4);
    for (uint32_t value = 0; value < 256; ++value) {
      const uint32_t word = value << shift;
      tables[position][value] =
          NewBytesOfEightSteps(position < 4 ? word : 0, position >= 4 && position < 8 ? word : 0,
                               position >= 8 ? word : 0);
    }
  }
  return tables;
}

constexpr EightStepTables kEightSteps = MakeEightStepTables();

uint64_t EightNewBytes(uint32_t a, uint32_t b, uint32_t c) {
  uint64_t fresh = 0;
  for (int i = 0; i < 4; ++i) {
    const int shift = 24 - 8 * i;
    fresh ^= kEightSteps[i][(a >> shift) & 0xFF] ^ kEightSteps[4 + i][(b >> shift) & 0xFF] ^
             kEightSteps[8 + i][(c >> shift) & 0xFF];
  }
  return fresh;
}

// The bytes of a word from the highest to the lowest, as a little-endian load sees them.
uint64_t HighFirst(uint32_t word) {
  return (word >> 24) | (word >> 8 & 0xFF00) | (word << 8 & 0xFF0000) | uint64_t{word << 24};
}

}  // namespace

void BlockCipher::Scramble(unsigned char* bytes, size_t size) {
  size_t i = 0;
  if (size >= 8) {
    // Works on local copies: the bytes written could alias the members.
    uint32_t a = a_, b = b_, c = c_;
    unsigned index = index_;
    // The table twice over, so that eight entries from any index are one load.
    unsigned char table[128];
    std::memcpy(table, table_.data(), 64);
    std::memcpy(table + 64, table_.data(), 64);
    for (; i + 8 <= size; i += 8) {
      // The outputs of eight steps are the low byte of C, the bytes of B and the top three of
      // A, highest first.
      if constexpr (std::endian::native == std::endian::little) {
        uint64_t key;
        std::memcpy(&key, table + index, 8);
        key ^= (c & 0xFF) | HighFirst(b) << 8 | (HighFirst(a) & 0xFFFFFF) << 40;
        uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        word ^= key;
        std::memcpy(bytes + i, &word, 8);
      } else {
        const uint32_t out[8] = {c, b >> 24, b >> 16, b >> 8, b, a >> 24, a >> 16, a >> 8};
        for (int j = 0; j < 8; ++j) {
          bytes[i + j] ^= static_cast<unsigned char>(out[j]) ^ table[index + j];
        }
      }
      const uint64_t fresh = EightNewBytes(a, b, c);
      c = a;
      b = static_cast<uint32_t>(fresh >> 32);
      a = static_cast<uint32_t>(fresh);
      index = (index + 8) & 63;
    }
    a_ = a, b_ = b, c_ = c;
    index_ = index;
  }
  for (; i < size; ++i) bytes[i] ^= Step();
}

void BlockCipher::SaveTo(unsigned char* bytes) const {
  WriteBigEndian(bytes, a_);
  WriteBigEndian(bytes + 4, b_ ^ binary_format::kHeaderMask);
  WriteBigEndian(bytes + 8, c_);
}

void BlockCipher::LoadFrom(const unsigned char* bytes) {
  a_ = ReadBigEndian(bytes);
  b_ = ReadBigEndian(bytes + 4) ^ binary_format::kHeaderMask;
  c_ = ReadBigEndian(bytes + 8);
}

}  // namespace jov
