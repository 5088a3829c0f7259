#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace jov {
namespace {

TEST(TextEncodingTest, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Cp1252FromUtf8(Utf8FromCp1252(all)), all);
  EXPECT_EQ(Utf8FromCp1252("\x80 \xE5\xE4\xF6"), "\xE2\x82\xAC \xC3\xA5\xC3\xA4\xC3\xB6");
}

TEST(TextEncodingTest, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(Cp1252FromUtf8("\xE4\xB8\xAD"), "?");  // a CJK character
  EXPECT_EQ(Cp1252FromUtf8("a\xC3"), "a?");        // cut sequence
  EXPECT_EQ(Cp1252FromUtf8("\xFF"
                           "b"),
            "?b");  // invalid lead byte
  EXPECT_EQ(Cp1252FromUtf8("\xC3"
                           "b"),
            "?b");  // missing continuation
}

// Texts that must not be folded are converted whole or not at all: "密码" and "Ωμ" are not "??".
TEST(TextEncodingTest, ExactConversionRefusesWhatWouldBeFolded) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Cp1252FromUtf8Exactly(Utf8FromCp1252(all)), all);
  EXPECT_EQ(Cp1252FromUtf8Exactly("??"), "??");
  for (const char* refused : {"\xE5\xAF\x86\xE7\xA0\x81", "\xCE\xA9\xCE\xBC", "a\xC3", "\xFF"}) {
    EXPECT_FALSE(Cp1252FromUtf8Exactly(refused).has_value()) << refused;
  }
}

std::string DecodeInPieces(std::string_view utf8, size_t piece, uint64_t* replaced) {
  Utf8StreamDecoder decoder;
  std::string out;
  for (size_t at = 0; at < utf8.size(); at += piece) {
    const std::string_view in = utf8.substr(at, piece);
    char buffer[64];
    out.append(buffer, decoder.Decode(in, buffer));
  }
  char last;
  out.append(&last, decoder.Finish(&last));
  *replaced = decoder.replaced();
  return out;
}

// However a stream is cut, it decodes as the whole text would: sequences cut at a piece's end
// are completed by the next piece, and only characters outside 1252 and broken bytes count.
TEST(TextEncodingTest, StreamDecodingDoesNotDependOnWherePiecesEnd) {
  const std::string text =
      "\xEF\xBB\xBF"           // byte-order mark: dropped at the start
      "a\xC3\xA4\xE2\x82\xAC"  // a, a-umlaut, euro
      "\xE4\xB8\xAD"           // outside 1252
      "\xF0\x9F\x98\x80"       // outside, four bytes
      "\xC3"                   // broken: no continuation
      "b\xEF\xBB\xBF"          // a mark later on is a character 1252 lacks
      "\xE2\x82";              // cut at the very end
  const std::string expected =
      "a\xE4\x80??\x3F"
      "b??";
  for (size_t piece = 1; piece <= text.size(); ++piece) {
    uint64_t replaced = 0;
    EXPECT_EQ(DecodeInPieces(text, piece, &replaced), expected) << piece;
    EXPECT_EQ(replaced, 5u) << piece;
  }
  EXPECT_TRUE(IsUtf8("plain \xC3\xA4"));
  EXPECT_FALSE(IsUtf8("\xE4 alone"));
  EXPECT_FALSE(IsUtf8("cut \xE2\x82"));
}

// Only well-formed UTF-8 counts as UTF-8: an overlong form would let a control character pass
// as two high bytes, and a text read as 1252 must not be taken for UTF-8 when read again.
TEST(TextEncodingTest, OverlongFormsSurrogatesAndTooHighCodePointsAreNotUtf8) {
  EXPECT_FALSE(IsUtf8("\xC0\x9D"));          // 0x1D in two bytes
  EXPECT_FALSE(IsUtf8("\xE0\x80\xAF"));      // '/' in three bytes
  EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_TRUE(IsUtf8("\xF4\x8F\xBF\xBF"));
  EXPECT_TRUE(IsUtf8("\xE0\xA0\x80"));
  uint64_t replaced = 0;
  EXPECT_EQ(DecodeInPieces("a\xC0\x9D" "b", 1, &replaced), "a?b");
  EXPECT_EQ(replaced, 1u);
}

}  // namespace
}  // namespace jov
