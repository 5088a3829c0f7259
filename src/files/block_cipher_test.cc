#include "files/block_cipher.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace jov {
namespace {

// Scrambling runs eight steps at a time; it must give exactly the bytes of single steps, from
// any state, at any table index, across calls of any length.
TEST(BlockCipherTest, ScrambleEqualsSingleSteps) {
  std::mt19937 random(17);
  for (int trial = 0; trial < 200; ++trial) {
    unsigned char start[12];
    for (unsigned char& byte : start) byte = static_cast<unsigned char>(random());
    BlockCipher fast, slow;
    fast.LoadFrom(start);
    slow.LoadFrom(start);
    if (trial % 2) {
      fast.FillTable();
      slow.FillTable();
    }
    for (int k = static_cast<int>(random() % 70); k > 0; --k) fast.Step(), slow.Step();
    for (int call = 0; call < 5; ++call) {
      std::vector<unsigned char> bytes(random() % 300);
      for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(random());
      std::vector<unsigned char> expected = bytes;
      for (unsigned char& byte : expected) byte ^= slow.Step();
      fast.Scramble(bytes.data(), bytes.size());
      ASSERT_EQ(bytes, expected) << "trial " << trial << " call " << call;
    }
  }
}

TEST(BlockCipherTest, HeaderWordsRoundTripAndPasswordsFoldCase) {
  BlockCipher cipher;
  cipher.Randomise();
  unsigned char saved[12];
  cipher.SaveTo(saved);
  BlockCipher lower, upper;
  lower.LoadFrom(saved);
  upper.LoadFrom(saved);
  lower.MixPassword("l\xF6senord");
  upper.MixPassword("L\xD6SENORD");
  for (int i = 0; i < 100; ++i) ASSERT_EQ(lower.Step(), upper.Step());

  BlockCipher other;
  other.LoadFrom(saved);
  other.MixPassword("losenord");
  BlockCipher keyed;
  keyed.LoadFrom(saved);
  keyed.MixPassword("l\xF6senord");
  int same = 0;
  for (int i = 0; i < 100; ++i) same += other.Step() == keyed.Step();
  EXPECT_LT(same, 10);
}

}  // namespace
}  // namespace jov
