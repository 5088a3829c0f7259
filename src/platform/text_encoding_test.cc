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

}  // namespace
}  // namespace jov
