// The keystream generator that scrambles binary database files: three 32-bit words, a 64-byte
// table and its index. The stream depends on a random start kept in the file header, on the
// file's kind letter and on the database password.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace jov {

class BlockCipher {
 public:
  BlockCipher() { Reset(); }

  void Reset();
  // Starts from the tick count and a process-wide word that changes at every call, so that two
  // saves in the same millisecond still differ.
  void Randomise();
  // One keystream byte.
  unsigned char Step() {
    const uint32_t a = a_, b = b_, c = c_;
    c_ = (c << 8) | (b >> 24);
    b_ = (b << 8) | (a >> 24);
    a_ = (a << 8) | (((c >> 24) ^ (b >> 10) ^ (a >> 3)) & 0xFF);
    const unsigned char out = static_cast<unsigned char>(c) ^ table_[index_];
    index_ = (index_ + 1) & 63;
    return out;
  }
  void Mix(uint32_t value);
  // Folds letters to upper case, so that passwords compare without regard to case.
  void MixPassword(std::string_view password);
  void FillTable();

  // A, B ^ mask, C as 12 big-endian bytes (header bytes 20..31), and back.
  void SaveTo(unsigned char* bytes) const;
  void LoadFrom(const unsigned char* bytes);

  // XORs `size` bytes with the next keystream bytes.
  void Scramble(unsigned char* bytes, size_t size);

 private:
  uint32_t a_ = 1, b_ = 1, c_ = 1;
  unsigned index_ = 0;
  std::array<unsigned char, 64> table_{};
};

}  // namespace jov
