#include "files/lz_coder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace jov {
namespace {

using Decoder = bool (*)(std::string_view, std::string&, size_t&);

// Appends the decoded text to `out` as a file reader does; true when all tokens were decoded.
bool Decode(std::string_view tokens, std::string& out, Decoder decoder = DecodeLzBlock) {
  size_t end = out.size();
  const bool whole = decoder(tokens, out, end);
  out.resize(end);
  return whole;
}

std::vector<int> Tokens(std::string_view text) {
  std::string coded;
  EncodeLzBlock(text, coded);
  std::vector<int> tokens;
  for (char c : coded) tokens.push_back(static_cast<unsigned char>(c));
  return tokens;
}

std::string RoundTrip(std::string_view text) {
  std::string coded, decoded;
  EncodeLzBlock(text, coded);
  EXPECT_TRUE(Decode(coded, decoded));
  return decoded;
}

TEST(LzCoderTest, RunsOfOneByteGrowByDoubling) {
  // Three literals, then matches of 3, 6, 12, 24, 48, 96 and 108 bytes, each at offset 0.
  EXPECT_EQ(Tokens(std::string(300, 'a')),
            (std::vector<int>{97, 97, 97, 192, 0,  216, 0, 17, 0,  29,  128, 0,
                              26, 43, 0,  0,   26, 91,  0, 0,  26, 103, 0,   0}));
}

TEST(LzCoderTest, LiteralsOutsideThePlainRangeAreEscaped) {
  EXPECT_EQ(Tokens("\xC8"), (std::vector<int>{24, 200}));
  EXPECT_EQ(Tokens("\t\r"), (std::vector<int>{9, 13}));
  EXPECT_EQ(Tokens(std::string("\0\x10\x1F", 3)), (std::vector<int>{24, 0, 24, 16, 24, 31}));
  EXPECT_EQ(Tokens(""), std::vector<int>{});
}

TEST(LzCoderTest, EveryMatchFormDecodesBack) {
  std::mt19937 random(5);
  // Far repeats (offsets past 2048 and 8192 are out of a block's reach only beyond 12000),
  // long repeats (lengths past 260), short ones, and bytes of every value.
  std::string text;
  std::string chunk;
  for (int i = 0; i < 700; ++i) chunk.push_back(static_cast<char>(random() % 256));
  text += chunk + std::string(3000, 'x') + chunk.substr(0, 3) + chunk.substr(100, 4) +
          chunk.substr(0, 300) + std::string(20, 'y') + chunk.substr(5, 15) + chunk;
  for (int i = 0; i < 40; ++i) text += "Konto 30" + std::to_string(i % 7) + "\tFaktura\r";
  ASSERT_LE(text.size(), 12000u);
  EXPECT_EQ(RoundTrip(text), text);

  for (int trial = 0; trial < 200; ++trial) {
    std::string random_text;
    const size_t length = random() % 12001;
    const int alphabet = 1 + static_cast<int>(random() % 256);
    for (size_t i = 0; i < length; ++i)
      random_text.push_back(static_cast<char>(random() % alphabet));
    ASSERT_EQ(RoundTrip(random_text), random_text) << "trial " << trial;
  }
}

// Blocks like those a save codes: card, group and line records of a few recurring shapes with
// varying numbers and identifiers, lines ending with CR.
std::string SectionLikeBlock(std::mt19937& random, size_t size) {
  std::string text;
  while (text.size() < size) {
    switch (random() % 6) {
      case 0:
        text += "C" + std::to_string(210101 + random() % 1200) + "-" +
                std::to_string(random() % 500) + "\tVerifikation " +
                std::to_string(random() % 90000) + "\r";
        break;
      case 1:
        text += "G" + std::to_string(1000 + random() % 400) + "\r";
        break;
      default:
        text += "L" + std::to_string(static_cast<int>(random() % 2000000) - 1000000) + "." +
                std::to_string(random() % 100) + "\t" + std::to_string(random() % 7) + "\t" +
                (random() % 3 == 0 ? "Text " + std::to_string(random() % 300) : "") + "\tK" +
                std::to_string(random() % 30) + "\tP" + std::to_string(random() % 400) + "\r";
    }
  }
  text.resize(size);
  return text;
}

// The coding of a block is part of the file format's bytes: a save of the same database must
// write the same file whatever the encoder's inner workings. The digest below was taken from
// the coder as it was when files were first written; a change that makes other (even valid,
// even shorter) tokens fails here.
TEST(LzCoderTest, TheCodingOfABlockStaysTheSame) {
  std::mt19937 random(11);
  std::string coded;
  for (int block = 0; block < 60; ++block) {
    const size_t size = block % 10 == 0 ? random() % 12001 : 12000;
    if (block % 4 == 3) {
      // Random bytes of a small alphabet: many chains of one hash, most of them colliding.
      std::string text;
      const unsigned alphabet = 2 + random() % 40;
      for (size_t i = 0; i < size; ++i)
        text.push_back(static_cast<char>('0' + random() % alphabet));
      EncodeLzBlock(text, coded);
    } else {
      EncodeLzBlock(SectionLikeBlock(random, size), coded);
    }
  }
  uint64_t digest = 14695981039346656037u;  // FNV-1a
  for (const char c : coded) digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211u;
  EXPECT_EQ(coded.size(), 414692u);
  EXPECT_EQ(digest, 4361693530001570690u);
}

TEST(LzCoderTest, DamagedTokensEndTheDecodingWithoutReadingOutside) {
  std::string out = "before";
  // A match reaching before the start of this block's output ends the block there.
  EXPECT_FALSE(Decode(std::string("ab\xC0\x05", 4), out));
  EXPECT_EQ(out, "beforeab");
  out.clear();
  EXPECT_FALSE(Decode("\x19\x01", out));  // a five-byte token cut short
  out.clear();
  EXPECT_FALSE(Decode("\x18", out));
  std::mt19937 random(9);
  for (int trial = 0; trial < 2000; ++trial) {
    std::string tokens;
    for (int i = 0; i < 64; ++i) tokens.push_back(static_cast<char>(random() % 256));
    out.clear();
    Decode(tokens, out);
    Decode(tokens, out, DecodeOlderLzBlock);
  }
}

// Matches are copied eight bytes at a time into room made for a whole block: a block decodes
// exactly up to the 12,000 bytes it may hold, and tokens that would go past are damage.
TEST(LzCoderTest, ABlockDecodesToAtMostItsSize) {
  for (const size_t run : {6000, 6001, 6002, 7000}) {
    // The coding of a run of "a", then its matches once more (the three literals left out),
    // which repeat the run at its end: twice the run less three bytes.
    std::string tokens;
    EncodeLzBlock(std::string(run, 'a'), tokens);
    tokens += tokens.substr(3);
    const bool fits = 2 * run - 3 <= 12000;
    std::string out = "before";
    EXPECT_EQ(Decode(tokens, out), fits) << run;
    EXPECT_EQ(out, "before" + std::string(fits ? 2 * run - 3 : out.size() - 6, 'a'));
    EXPECT_LE(out.size(), 6u + 12000u);
  }
}

TEST(LzCoderTest, OlderCodingDecodesItsTokens) {
  std::string out;
  // "abc", then a match of 3 at distance 3, a literal 250 through 255, and a 248 match:
  // L = (0x20 >> 5) + 4 = 5, D = 2 + 5 = 7.
  ASSERT_TRUE(Decode(std::string("abc\xFE\x00\xFF\xFA\xF8\x20\x02", 10), out, DecodeOlderLzBlock));
  EXPECT_EQ(out,
            "abcabc\xFA"
            "abcab");
}

}  // namespace
}  // namespace jov
