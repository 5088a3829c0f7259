#include "files/line_sink.h"

#include <gtest/gtest.h>

#include <string>

namespace jov {
namespace {

// A single-line text loses its tabs and line breaks wherever they lie (in the words a text is
// scanned by, or in its tail), and keeps every other byte, other control bytes and bytes above
// 127 included.
TEST(LineSinkTest, TextsLoseTabsAndLineBreaksOnly) {
  const std::string kept = "\x01\x0B\x0C\x0E\x1F\x7F\x80\xE5\xFF x";
  for (const char breaker : {'\t', '\r', '\n'}) {
    for (size_t at = 0; at <= 20; ++at) {
      std::string text = std::string(20, 'a') + kept;
      text.insert(at, 1, breaker);
      std::string expected = text;
      expected[at] = ' ';
      StringByteSink bytes;
      LineSink sink(bytes, "\r\n");
      sink.Text(text).EndLine();
      ASSERT_TRUE(sink.Finish());
      EXPECT_EQ(bytes.text(), expected + "\r\n") << "at " << at;
    }
  }
  StringByteSink bytes;
  LineSink sink(bytes, "\r");
  sink.Add("L").Text(kept).Tab().Text("").Tab();
  sink.EndLine();
  ASSERT_TRUE(sink.Finish());
  EXPECT_EQ(bytes.text(), "L" + kept + "\r");
}

}  // namespace
}  // namespace jov
