// The LZ codings of binary database blocks: this system's "b" coding (encoder and decoder) and
// the older "Z" coding (decoder only). A block holds at most 12,000 bytes of text, so every
// position fits in 16 bits.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jov {

// Codes one block (at most 32,767 bytes) and appends the tokens to `out`. Matches are searched
// among earlier positions with the same three-byte hash, newest first, up to a fixed number of
// candidates; a match never reaches past its own distance. The tokens are part of the file's
// bytes: the same block always codes the same. An encoder keeps its tables from block to block,
// so that a writer coding many blocks allocates nothing per block.
class LzEncoder {
 public:
  void Encode(std::string_view block, std::string& out);

 private:
  // A block has at most 12,000 positions; 8,192 chains keep the tables that each block clears
  // small.
  static constexpr int kHashBits = 13;
  // Room after the block's copy for comparisons that read whole words.
  static constexpr size_t kSlack = 16;

  struct Match {
    size_t length = 2;
    size_t offset = 0;
  };

  size_t Hash(size_t p) const;
  // Chains position p; it needs three bytes from p on.
  void Insert(size_t p, size_t hash);
  Match Find(size_t p, size_t hash, size_t remaining) const;
  bool EmitMatch(size_t length, size_t offset);

  std::vector<unsigned char> data_;                     // the block and kSlack zero bytes
  size_t n_ = 0;                                        // the block's size
  std::array<int16_t, size_t{1} << kHashBits> head_;    // newest position per hash, or -1
  std::array<int16_t, size_t{1} << kHashBits> oldest_;  // oldest position per hash, or -1
  std::vector<int16_t> previous_;                       // the position chained before each position
  std::vector<unsigned char> tokens_;
  unsigned char* at_ = nullptr;  // the end of the tokens written
};

// Codes one block with an encoder of its own.
void EncodeLzBlock(std::string_view block, std::string& out);

// Decodes tokens and writes the text at out[end..], moving `end` past it; `out` is grown ahead
// as needed and its bytes past `end` are scratch (the caller cuts it to `end` when done), so
// decoding block after block fills each byte once. A token cut short at the end of the input,
// a match reaching before the start of this block's output, or text beyond what a block may
// hold (12,000 bytes in the "b" coding, 18,000 in the older one) ends the decoding there; the
// result says whether the whole input was decoded.
bool DecodeLzBlock(std::string_view tokens, std::string& out, size_t& end);
bool DecodeOlderLzBlock(std::string_view tokens, std::string& out, size_t& end);

}  // namespace jov
