// The export settings of an analysis window given in XML, as the "export-options" element of a
// command document's template: one attribute per setting, all optional.
//
//   format       "text", "html" or "xml"
//   title, columntitles, notes, definition, headers, data, columnwidths, excludequotes
//                "on" or "off": the include flags, the HTML column widths, quote removal
//   decimal, thousand, between, around, terminator
//                a separator: "system", "none", "crlf", "tab", "linefeed", "return", "space",
//                "comma", "point", "semicolon", "quote", "apostrophe", "underscore",
//                "padding", or one character standing for itself
//
// Names and words compare ignoring case.
#pragma once

#include "files/export_settings.h"
#include "files/xml_reader.h"

namespace jov {

// Reads the attributes of the "export-options" start tag the reader stands on, then skips to
// the element's end. An attribute it does not know is reported as kUnknownAttribute, a value
// it does not know as kUnknownValue; the setting then stays. False when the document ends or
// breaks first.
bool ReadExportSettingsXml(XmlReader& reader, ExportSettings& settings);

}  // namespace jov
