#include "files/markup_text.h"

#include <gtest/gtest.h>

#include "files/xml_check_test_util.h"

namespace jov {
namespace {

TEST(MarkupTextTest, HtmlKeepsAmpersandsAndQuotesAndNamesTheNordicLetters) {
  std::string out;
  AppendHtmlEscaped(out, "\xC5sa & <Co> \"\xE4\xE5\xF6\xFC\xC4\xD6\xDC\xE9\"");
  EXPECT_EQ(out, "&Aring;sa & &lt;Co&gt; \"&auml;&aring;&ouml;&uuml;&Auml;&Ouml;&Uuml;\xE9\"");
}

TEST(MarkupTextTest, XmlEscapesWhatXmlRequires) {
  std::string out;
  AppendXmlEscaped(out, "\xC5sa & <Co> \"q\"\tx\x01\x81");
  EXPECT_EQ(out, "\xC5sa &amp; &lt;Co&gt; \"q\"\tx &#129;");
  out.clear();
  AppendXmlAttribute(out, "title", "say \"hi\" & go\r\n");
  EXPECT_EQ(out, " title=\"say &quot;hi&quot; &amp; go&#13;&#10;\"");
}

// Every byte a text may hold, in element text and in an attribute, gives a document that a
// real parser reads.
TEST(MarkupTextTest, EveryByteGivesWellFormedXml) {
  JOV_REQUIRE_XML_PARSER();
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  std::string document = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<t";
  AppendXmlAttribute(document, "a", all);
  document.append(">");
  AppendXmlEscaped(document, all);
  document.append("</t>\n");
  EXPECT_TRUE(testing::WellFormedXml(document));
}

}  // namespace
}  // namespace jov
