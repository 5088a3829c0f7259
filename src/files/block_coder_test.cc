#include "files/block_coder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "files/binary_file.h"
#include "files/binary_format.h"

namespace jov {
namespace {

struct Coded {
  char coding;
  std::string payload;
  uint16_t checksum;
  bool operator==(const Coded&) const = default;
};

// Blocks of every kind: compressible text, random bytes that coding would enlarge (stored),
// empty and short ones.
std::vector<std::string> Blocks() {
  std::mt19937 random(3);
  std::vector<std::string> blocks;
  for (int i = 0; i < 40; ++i) {
    std::string block;
    const size_t size = i % 7 == 6 ? random() % 50 : binary_format::kBlockTextSize;
    while (block.size() < size) {
      if (i % 5 == 4) {
        block.push_back(static_cast<char>(random()));
      } else {
        block += "L" + std::to_string(random() % 100000) + "\t\tK" + std::to_string(i) + "\r";
      }
    }
    block.resize(size);
    blocks.push_back(block);
  }
  return blocks;
}

// Pushes the blocks as a writer does, taking the oldest out whenever the coder is full.
std::vector<Coded> CodeAll(const std::vector<std::string>& blocks, bool compressed, int workers) {
  BlockCoder coder(compressed, workers);
  std::vector<Coded> coded;
  const auto take = [&] {
    const CodedBlock block = coder.TakeOldest();
    coded.push_back({block.coding, std::string(block.payload), block.checksum});
  };
  for (const std::string& block : blocks) {
    if (coder.full()) take();
    std::string text = block;
    coder.Push(text);
    EXPECT_TRUE(text.empty());
  }
  while (coder.pending() > 0) take();
  return coded;
}

// The threads change nothing in the file: every block comes out in the order pushed, coded and
// checksummed as one thread alone codes it.
TEST(BlockCoderTest, BlocksComeOutInOrderCodedAsByOneThread) {
  const std::vector<std::string> blocks = Blocks();
  for (const bool compressed : {true, false}) {
    std::vector<Coded> expected;
    for (const std::string& block : blocks) {
      Coded one{binary_format::kCodingStored, block, 0};
      if (compressed) {
        std::string tokens;
        EncodeLzBlock(block, tokens);
        if (tokens.size() < binary_format::kMaxPayload) {
          one = {binary_format::kCodingOwn, tokens, 0};
        }
      }
      one.checksum = BlockChecksum(one.payload);
      expected.push_back(one);
    }
    ASSERT_EQ(expected[4].coding, binary_format::kCodingStored);  // random bytes
    for (const int workers : {0, 1, 3}) {
      EXPECT_EQ(CodeAll(blocks, compressed, workers), expected)
          << "compressed " << compressed << ", workers " << workers;
    }
  }
}

// A save stopped half way drops the blocks it pushed: the coder ends without waiting for them
// to be taken out, and leaves no thread behind.
TEST(BlockCoderTest, ACoderDroppedWithBlocksPendingEndsItsThreads) {
  const std::vector<std::string> blocks = Blocks();
  for (int pushed = 0; pushed <= 16; pushed += 4) {
    BlockCoder coder(true, 2);
    for (int i = 0; i < pushed; ++i) {
      std::string text = blocks[static_cast<size_t>(i)];
      coder.Push(text);
    }
    EXPECT_EQ(coder.pending(), static_cast<size_t>(pushed));
  }
}

}  // namespace
}  // namespace jov
