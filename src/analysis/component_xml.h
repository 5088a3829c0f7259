// The XML of a component analysis: its result, the "<JOV-Components" element, and its options
// as the children of a command document's "template" element.
//
// Result: "<JOV-Components" (with the title as an attribute when the export settings include
// it), the notes in "<notes>", the selection as "<selection>" (when the definition is
// included), then, when data rows are included and the analysis is calculated, one
// "<component" per shown row, with the attributes code, text and host of its component (each
// only when present; the root row has root, the dimension's plural name), holding one element
// per visible column, named by the column ("period"), with the shown text of its value.
//
// Options, in any order up to "</template>":
//   <selection>...</selection>       the selection
//   <columns before="on" period="bold" after="off" .../>
//                                    "off" or empty hides a column, "on" shows it, "bold"
//                                    shows it in bold
//   <viewdim num="2" name="Accounts" expand="all" structure="flat" filter="inuse"/>
//   <sort order="desc" column="atend"/>
//   <values decimals="2" sublevels="include"/>   for every column
//   <export-options .../>            the export settings (export_settings_xml.h)
// Unknown elements, attributes and values are reported through the reader's error channel
// (kUnknownTag, kUnknownAttribute, kUnknownValue) and reading goes on.
#pragma once

#include "analysis/component_analysis.h"
#include "files/line_sink.h"
#include "files/xml_reader.h"

namespace jov {

void WriteComponentsXml(const ComponentAnalysis& analysis, LineSink& out);

// Reads the children of the "template" element the reader has just entered, up to its end tag,
// into the analysis's options, selection and export settings. False when the document ends or
// breaks first.
bool ReadComponentXmlOptions(XmlReader& reader, ComponentAnalysis& analysis);

}  // namespace jov
