#include "files/block_cipher.h"

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

unsigned char BlockCipher::Step() {
  const uint32_t a = a_, b = b_, c = c_;
  c_ = (c << 8) | (b >> 24);
  b_ = (b << 8) | (a >> 24);
  a_ = (a << 8) | (((c >> 24) ^ (b >> 10) ^ (a >> 3)) & 0xFF);
  const unsigned char out = static_cast<unsigned char>(c) ^ table_[index_];
  index_ = (index_ + 1) & 63;
  return out;
}

void BlockCipher::Randomise() {
  const uint32_t ticks = TickCountMs();
  uint32_t& entropy = Process().cipher_entropy;
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
