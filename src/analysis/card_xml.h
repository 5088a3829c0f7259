// The XML of a card analysis: its result, the "<JOV-Cards" element, and its options as the
// children of a command document's "template" element.
//
// Result: "<JOV-Cards" (with the title as an attribute when the export settings include it),
// the notes, the selection (when the definition is included), then with the data rows the rows
// nested as "<card>", "<group>" and "<line>" elements, each visible non-empty cell a line of
// its own after a tab: "id", "title", "dim" (num 1 or 2), "text", "value" (num: the field's
// number, when the database has more than one value field), "dim" (num 3-16).
//
// Options, in any order up to "</template>":
//   <selection>...</selection>
//   <columns card-id="on" cardtitle="off" linetext="on" value="on" value2="off" dim1="on" .../>
//   <contents groups="all" lines="none"/>      each "none" (or empty), "selected" or "all"
//   <values decimals="2"/>
//   <export-options .../>
// Other values, attributes and elements are reported through the reader's error channel.
#pragma once

#include "analysis/card_analysis.h"
#include "files/line_sink.h"
#include "files/xml_reader.h"

namespace jov {

void WriteCardsXml(const CardAnalysis& analysis, LineSink& out);

bool ReadCardXmlOptions(XmlReader& reader, CardAnalysis& analysis);

}  // namespace jov
