#include "analysis/analysis_xml.h"

#include <algorithm>
#include <string>

#include "analysis/component_options.h"
#include "files/export_settings_xml.h"
#include "files/markup_text.h"
#include "model/case_tables.h"

namespace jov {

void WriteXmlElementLine(LineSink& out, std::string_view name, std::string_view text, int number) {
  if (number < 0) {
    AppendXmlElement(out.line(), name, text);
  } else {
    std::string& line = out.line();
    line.append("<").append(name);
    AppendXmlAttribute(line, "num", std::to_string(number));
    line.append(">");
    AppendXmlEscaped(line, text);
    line.append("</").append(name).append(">");
  }
  out.EndLine();
}

void WriteXmlNotes(LineSink& out, std::string_view notes) {
  out.Add("<notes>").EndLine();
  while (!notes.empty()) {
    const size_t end = std::min(notes.find_first_of("\r\n"), notes.size());
    AppendXmlEscaped(out.line(), notes.substr(0, end));
    out.EndLine();
    notes.remove_prefix(end);
    if (notes.starts_with("\r\n")) notes.remove_prefix(1);
    if (!notes.empty()) notes.remove_prefix(1);
  }
  out.Add("</notes>").EndLine();
  out.EndLine();
}

bool ReadTemplateXml(XmlReader& reader, Selection& selection, ExportSettings& settings,
                     const std::function<bool(const std::string& name)>& element) {
  for (;;) {
    switch (reader.Next()) {
      case XmlReader::Event::kText:
        break;
      case XmlReader::Event::kEnd:
        return true;  // "</template>"
      case XmlReader::Event::kDone:
      case XmlReader::Event::kError:
        return false;
      case XmlReader::Event::kStart: {
        const std::string name = reader.name();
        if (name == "selection") {
          for (const XmlAttribute& attribute : reader.attributes()) {
            reader.ReportUnknownAttribute(attribute.name);
          }
          if (!selection.ReadXml(reader)) return false;
          break;
        }
        if (name == "export-options") {
          if (!ReadExportSettingsXml(reader, settings)) return false;
          break;
        }
        if (!element(name)) reader.ReportUnknownTag();
        if (!reader.SkipElement()) return false;
        break;
      }
    }
  }
}

void ReadDecimalsXml(XmlReader& reader, int& decimals) {
  for (const XmlAttribute& attribute : reader.attributes()) {
    if (!EqualsIgnoringCase(attribute.name, "decimals")) {
      reader.ReportUnknownAttribute(attribute.name);
      continue;
    }
    const std::string& value = attribute.value;
    const std::optional<int> read = DecimalsOfLetter(value.size() == 1 ? value[0] : '\0');
    if (read) {
      decimals = *read;
    } else {
      reader.ReportUnknownValue(value, attribute.name);
    }
  }
}

std::optional<bool> OnOffValue(XmlReader& reader, const XmlAttribute& attribute) {
  if (EqualsIgnoringCase(attribute.value, "on")) return true;
  if (EqualsIgnoringCase(attribute.value, "off")) return false;
  reader.ReportUnknownValue(attribute.value, attribute.name);
  return std::nullopt;
}

}  // namespace jov
