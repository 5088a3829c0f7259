// XML documents as the shared XML reader takes them (a selection's element, the options of
// analyses). What must hold: nesting stays within its bound, a broken document is reported
// once, and a document that reads to its end, written again from its events with the escaping
// the writers use, reads to the same events.
#include <string>
#include <string_view>
#include <vector>

#include "files/markup_text.h"
#include "files/xml_reader.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

namespace jov {
namespace {

struct Reading {
  // One entry per event: start tags with their attributes, end tags, and character data,
  // adjacent data joined (a comment between two pieces of text splits them in the document).
  std::vector<std::string> events;
  bool whole = false;  // read to its end without a break
  // The document written again from its events.
  std::string rewritten;
};

Reading Read(std::string_view document) {
  fuzz::CountingChannel channel;
  XmlReader reader(document, &channel);
  Reading reading;
  bool in_text = false;
  for (;;) {
    const XmlReader::Event event = reader.Next();
    JOV_FUZZ_CHECK(reader.depth() <= XmlReader::kMaxDepth);
    if (event == XmlReader::Event::kText) {
      if (reader.text().empty()) continue;  // an empty CDATA section
      if (!in_text) reading.events.emplace_back("'");
      reading.events.back() += reader.text();
      AppendXmlEscaped(reading.rewritten, reader.text());
      in_text = true;
      continue;
    }
    in_text = false;
    if (event == XmlReader::Event::kStart) {
      std::string start = "<" + reader.name();
      for (const XmlAttribute& attribute : reader.attributes()) {
        AppendXmlAttribute(start, attribute.name, attribute.value);
      }
      reading.events.push_back(start + ">");
      reading.rewritten += reading.events.back();
    } else if (event == XmlReader::Event::kEnd) {
      reading.events.push_back("</" + reader.name() + ">");
      reading.rewritten += reading.events.back();
    } else {
      reading.whole = event == XmlReader::Event::kDone;
      JOV_FUZZ_CHECK(channel.reports == (reading.whole ? 0 : 1));
      JOV_FUZZ_CHECK(reader.Next() == event);  // nothing is read after the end or a break
      return reading;
    }
  }
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(xml) {
  jov::fuzz::QuietRun run;
  const jov::Reading first = jov::Read(jov::fuzz::AsText(data, size));
  if (!first.whole) return;
  const jov::Reading again = jov::Read(first.rewritten);
  JOV_FUZZ_CHECK(again.whole && again.events == first.events);
}
