// The XML form of a selection: the "<selection>" element, written one child element a line and
// read back through the shared XML reader.
#include <charconv>
#include <string>

#include "files/markup_text.h"
#include "files/xml_reader.h"
#include "model/database.h"
#include "select/selection.h"

namespace jov {
namespace {

constexpr std::string_view kSelection = "selection";
constexpr std::string_view kFrom = "from";
constexpr std::string_view kTo = "to";
constexpr std::string_view kDim = "dim";
constexpr std::string_view kCardTitle = "cardtitle";
constexpr std::string_view kLineText = "linetext";
constexpr std::string_view kValue = "value";
constexpr std::string_view kSubset = "subset";
constexpr std::string_view kNum = "num";
constexpr std::string_view kName = "name";

// "<name>text</name>" on a line of its own.
void WriteElement(LineSink& out, std::string_view name, std::string_view text) {
  AppendXmlElement(out.line(), name, text);
  out.EndLine();
}

// "value" is field 0, "value2" ... "value24" fields 1-23; -1 for any other name.
int ValueFieldOfElement(std::string_view name) {
  if (!name.starts_with(kValue)) return -1;
  const std::string_view digits = name.substr(kValue.size());
  if (digits.empty()) return 0;
  int number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  const bool whole =
      error == std::errc() && end == digits.data() + digits.size() && digits[0] != '0';
  return whole && number >= 2 && number <= Selection::kValueFields ? number - 1 : -1;
}

// The dimension a "dim" element names by its "num" or "name" attribute; -1 when none. Other
// attributes are reported.
int DimensionOfElement(XmlReader& reader, const Database& database) {
  int dimension = -1;
  for (const XmlAttribute& attribute : reader.attributes()) {
    if (attribute.name == kNum) {
      int number = 0;
      const std::string& value = attribute.value;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
      if (error == std::errc() && end == value.data() + value.size() && number >= 1 &&
          number <= kDimensionCount) {
        dimension = number - 1;
      }
    } else if (attribute.name == kName) {
      if (dimension < 0) dimension = database.FindDimension(attribute.value);
    } else {
      reader.ReportUnknownAttribute(attribute.name);
    }
  }
  return dimension;
}

}  // namespace

void Selection::WriteXml(LineSink& out) const {
  out.Add("<").Add(kSelection).Add(">").EndLine();
  WriteElement(out, kFrom, from_.Text());
  WriteElement(out, kTo, to_.Text());
  for (int d = 0; d < kDimensionCount; ++d) {
    if (expressions_[d].text.empty()) continue;
    std::string& line = out.line();
    line.append("<").append(kDim);
    AppendXmlAttribute(line, kNum, std::to_string(d + 1));
    AppendXmlAttribute(line, kName, database_.GetName(name_id::kFirstSingular + d));
    line.append(">");
    AppendXmlEscaped(line, DisplayedExpression(d));
    line.append("</").append(kDim).append(">");
    out.EndLine();
  }
  if (!title_.text.empty()) WriteElement(out, kCardTitle, title_.text);
  if (!line_text_.text.empty()) WriteElement(out, kLineText, line_text_.text);
  for (int field = 0; field < kValueFields; ++field) {
    if (values_[field].text.empty()) continue;
    const std::string name =
        field == 0 ? std::string(kValue) : std::string(kValue) + std::to_string(field + 1);
    WriteElement(out, name, values_[field].text);
  }
  if (!subset().empty()) WriteElement(out, kSubset, subset());
  out.Add("</").Add(kSelection).Add(">").EndLine();
}

bool Selection::ReadXml(XmlReader& reader) {
  std::string text;
  for (;;) {
    switch (reader.Next()) {
      case XmlReader::Event::kText:
        break;  // the line ends between elements
      case XmlReader::Event::kEnd:
        return true;  // "</selection>": the reader matches end tags to start tags
      case XmlReader::Event::kDone:
      case XmlReader::Event::kError:
        return false;
      case XmlReader::Event::kStart: {
        const std::string name = reader.name();
        const int field = ValueFieldOfElement(name);
        const bool known = name == kFrom || name == kTo || name == kCardTitle ||
                           name == kLineText || name == kSubset || field >= 0;
        if (name == kDim) {
          const int dimension = DimensionOfElement(reader, database_);
          if (!reader.ReadElementText(&text)) return false;
          if (dimension >= 0) SetComponentExpression(dimension, text);
          break;
        }
        if (!known) {
          reader.ReportUnknownTag();
          if (!reader.SkipElement()) return false;
          break;
        }
        for (const XmlAttribute& attribute : reader.attributes()) {
          reader.ReportUnknownAttribute(attribute.name);
        }
        if (!reader.ReadElementText(&text)) return false;
        if (name == kFrom) SetFrom(text);
        if (name == kTo) SetTo(text);
        if (name == kCardTitle) SetCardTitle(text);
        if (name == kLineText) SetLineText(text);
        if (name == kSubset) SetSubset(text);
        if (field >= 0 && field < UsedValueFields()) SetValueCondition(field, text);
        break;
      }
    }
  }
}

}  // namespace jov
