#include "files/xml_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/markup_text.h"
#include "files/xml_channel_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

using testing::CollectingChannel;

// The events of a document as text: "<name a=v>", "</name>", "'text'" (blank-only text left
// out), "done" or "error".
std::string Events(std::string_view document, CollectingChannel& channel) {
  XmlReader reader(document, &channel);
  std::string out;
  for (;;) {
    switch (reader.Next()) {
      case XmlReader::Event::kStart:
        out += "<" + reader.name();
        for (const XmlAttribute& a : reader.attributes()) out += " " + a.name + "=" + a.value;
        out += ">";
        break;
      case XmlReader::Event::kEnd:
        out += "</" + reader.name() + ">";
        break;
      case XmlReader::Event::kText:
        if (reader.text().find_first_not_of(" \r\n\t") != std::string::npos) {
          out += "'" + reader.text() + "'";
        }
        break;
      case XmlReader::Event::kDone:
        return out + "done";
      case XmlReader::Event::kError:
        return out + "error";
    }
  }
}

TEST(XmlReaderTest, ReadsElementsAttributesAndReferences) {
  ResetProcess();
  struct Case {
    std::string document;
    std::string events;
  };
  const std::vector<Case> cases = {
      {"<?xml version=\"1.0\"?>\r\n<a>\r\n<b x=\"1\" y='two'>t</b>\r\n</a>\r\n",
       "<a><b x=1 y=two>'t'</b></a>done"},
      {"<a><!-- note --><b/><c q=\"&lt;&amp;&quot;\"></c></a>", "<a><b></b><c q=<&\"></c></a>done"},
      {"<v>&gt;=100&#38;&#x41;&#233;</v>", "<v>'>=100&A\xE9'</v>done"},
      {"<v><![CDATA[a<b&c]]></v>", "<v>'a<b&c'</v>done"},
      {"<v>&#x20AC;&#x4E2D;</v>", "<v>'\x80?'</v>done"},
      // What breaks the document: one report, and nothing read after it.
      {"<a><b></a>", "<a><b>error"},
      {"<a>", "<a>error"},
      {"<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", "error"},
      {"<a>&e;</a>", "<a>error"},
      {"<a>&#0;</a>", "<a>error"},
      {"<a x=1></a>", "error"},
      {"<a x=\"1\"x=\"2\"></a>", "error"},
      {"<a x=\"1\" x=\"2\"></a>", "error"},
      {"<a x=\"<\"></a>", "error"},
      {"text<a/>", "error"},
      {"<a>\x01</a>", "<a>error"},
      {"<1a/>", "error"},
  };
  for (const Case& c : cases) {
    CollectingChannel channel;
    EXPECT_EQ(Events(c.document, channel), c.events) << c.document;
    const bool broke = c.events.ends_with("error");
    EXPECT_EQ(channel.reports.size(), broke ? 1u : 0u) << c.document;
    if (broke) {
      EXPECT_TRUE(channel.reports[0].starts_with("Malformed XML near")) << c.document;
    }
  }
}

TEST(XmlReaderTest, NestingIsBounded) {
  std::string deep;
  for (size_t i = 0; i <= XmlReader::kMaxDepth; ++i) deep += "<a>";
  CollectingChannel channel;
  XmlReader reader(deep, &channel);
  size_t starts = 0;
  while (reader.Next() == XmlReader::Event::kStart) ++starts;
  EXPECT_EQ(starts, XmlReader::kMaxDepth);
  EXPECT_EQ(channel.reports.size(), 1u);
}

TEST(XmlReaderTest, ElementTextSkipsAndReportsNestedElements) {
  CollectingChannel channel;
  XmlReader reader("<a>x<b><c/></b>y</a><d/>", &channel);
  ASSERT_EQ(reader.Next(), XmlReader::Event::kStart);
  std::string text;
  ASSERT_TRUE(reader.ReadElementText(&text));
  EXPECT_EQ(text, "xy");
  EXPECT_EQ(channel.reports, std::vector<std::string>{"Unknown tag \"b\"."});
  ASSERT_EQ(reader.Next(), XmlReader::Event::kStart);
  EXPECT_EQ(reader.name(), "d");
}

TEST(XmlReaderTest, EscapedTextReadsBack) {
  const std::string text = "a&b <c> \"d\" \t\xE9\x81";
  std::string document = "<e";
  AppendXmlAttribute(document, "q", text);
  document += ">";
  AppendXmlEscaped(document, text);
  document += "</e>";
  CollectingChannel channel;
  XmlReader reader(document, &channel);
  ASSERT_EQ(reader.Next(), XmlReader::Event::kStart);
  EXPECT_EQ(reader.attributes()[0].value, text);
  std::string read;
  ASSERT_TRUE(reader.ReadElementText(&read));
  EXPECT_EQ(read, text);
  EXPECT_TRUE(channel.reports.empty());
}

}  // namespace
}  // namespace jov
