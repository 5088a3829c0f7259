// The XML of a line analysis: its result, the "<JOV-Lines" element, and its options as the
// children of a command document's "template" element.
//
// Result: "<JOV-Lines" (with the title as an attribute when the export settings include it),
// the notes, the selection (when the definition is included), then, with the header rows, one
// element per summary row ("before", "positive", ..., "neginterest"; for period, after, max,
// min and average a "-value" element with value field 1's cell and an "-accum" element with the
// accumulated column's, each when its column is visible), and with the data rows one "<line>"
// per line row holding an element per visible non-empty cell: "card-id", "cardtitle", "dim"
// (num: the dimension's number), "linetext", "value" and "accum" (num: the field's number,
// when the database has more than one value field).
//
// Options, in any order up to "</template>":
//   <selection>...</selection>
//   <columns card-id="on" cardtitle="off" linetext="on" value="on" accum="on" dim1="on" .../>
//   <headers before="on" positive="off" ... turnoverrate="off"/>
//   <values decimals="2"/>
//   <export-options .../>
// Values other than "on" and "off", unknown attributes and unknown elements are reported
// through the reader's error channel.
#pragma once

#include <string_view>

#include "analysis/line_analysis.h"
#include "files/line_sink.h"
#include "files/xml_reader.h"

namespace jov {

void WriteLinesXml(const LineAnalysis& analysis, LineSink& out);

bool ReadLineXmlOptions(XmlReader& reader, LineAnalysis& analysis);

// The element names of the summary rows, in summary order.
std::string_view SummaryXmlName(LineSummary summary);

}  // namespace jov
