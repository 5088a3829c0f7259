// The "<selection>" element as read from outside (commands, copied analyses), through the shared
// XML element reader. What must hold: a reading that fails says so through the error channel;
// what was read writes an element that reads back, without a report, into the same criteria.
#include "files/line_sink.h"
#include "files/xml_reader.h"
#include "fuzz_support.h"
#include "fuzz_target.h"
#include "model/database.h"
#include "select/selection.h"
#include "select/selection_test_util.h"

namespace jov {
namespace {

// Reads the element at the start of `document` into `selection`; false when there is none or
// the reading failed.
bool Read(std::string_view document, Selection& selection, fuzz::CountingChannel& channel) {
  XmlReader reader(document, &channel);
  XmlReader::Event event = reader.Next();
  while (event == XmlReader::Event::kText) event = reader.Next();
  if (event != XmlReader::Event::kStart || reader.name() != "selection") return false;
  const bool read = selection.ReadXml(reader);
  JOV_FUZZ_CHECK(read || channel.reports > 0);
  return read;
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(selection_xml) {
  jov::fuzz::QuietRun run;
  jov::Selection selection(jov::fuzz::SelectionDatabase());
  jov::fuzz::CountingChannel channel;
  if (!jov::Read(jov::fuzz::AsText(data, size), selection, channel)) return;
  jov::StringByteSink bytes;
  jov::LineSink sink(bytes, "\n");
  selection.WriteXml(sink);
  sink.Finish();
  jov::Selection again(jov::fuzz::SelectionDatabase());
  jov::fuzz::CountingChannel again_channel;
  JOV_FUZZ_CHECK(jov::Read(bytes.text(), again, again_channel));
  JOV_FUZZ_CHECK(again_channel.reports == 0);
  JOV_FUZZ_CHECK(jov::CriterionTexts(again) == jov::CriterionTexts(selection));
}
