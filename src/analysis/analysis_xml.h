// What the XML forms of the analyses share: the notes element of a result document, an element
// on a line of its own, and the reading of a command document's "template" element, whose
// "selection" and "export-options" children every kind takes the same way.
#pragma once

#include <functional>
#include <string_view>

#include "files/export_settings.h"
#include "files/line_sink.h"
#include "files/xml_reader.h"
#include "select/selection.h"

namespace jov {

// "<name>text</name>" on a line of its own; with `number` >= 0 the start tag carries
// num="number".
void WriteXmlElementLine(LineSink& out, std::string_view name, std::string_view text,
                         int number = -1);

// "<notes>", the notes a line each, "</notes>" and an empty line.
void WriteXmlNotes(LineSink& out, std::string_view notes);

// Reads the children of the "template" element the reader has just entered, up to its end
// tag: "selection" into the selection, "export-options" into the settings, and every other
// element through `element`, which reads the element's attributes (the reader stands on its
// start tag) and returns false for an element it does not know (reported as unknown). False
// when the document ends or breaks first.
bool ReadTemplateXml(XmlReader& reader, Selection& selection, ExportSettings& settings,
                     const std::function<bool(const std::string& name)>& element);

// The attributes of a "values" element: "decimals", one character of "MT0123456".
void ReadDecimalsXml(XmlReader& reader, int& decimals);

// An "on"/"off" attribute value; nothing (reported through the reader) for another.
std::optional<bool> OnOffValue(XmlReader& reader, const XmlAttribute& attribute);

}  // namespace jov
