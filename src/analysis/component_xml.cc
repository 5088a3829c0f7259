#include "analysis/component_xml.h"

#include <charconv>
#include <optional>
#include <string>

#include "analysis/analysis_xml.h"
#include "files/markup_text.h"
#include "model/case_tables.h"
#include "model/database.h"

namespace jov {
namespace {

constexpr std::string_view kRootElement = "JOV-Components";

bool Is(std::string_view text, std::string_view word) { return EqualsIgnoringCase(text, word); }

void WriteRow(const ComponentAnalysis& analysis, int row, LineSink& out) {
  const Database& database = analysis.database();
  const ComponentRow& shown = analysis.rows()[row];
  std::string& line = out.line();
  line.append("<component");
  if (shown.parent < 0) {
    AppendXmlAttribute(line, "root",
                       database.GetName(name_id::kFirstPlural + analysis.view_dimension()));
  } else {
    const Component& component = database.component(shown.component);
    AppendXmlAttribute(line, "code", component.code);
    if (!component.text.empty()) AppendXmlAttribute(line, "text", component.text);
    if (!component.host.empty()) AppendXmlAttribute(line, "host", component.host);
  }
  out.Add(">").EndLine();
  for (int kind = 0; kind < kComponentColumns; ++kind) {
    if (!analysis.options().columns[kind].visible) continue;
    const auto column = static_cast<ComponentColumn>(kind);
    WriteXmlElementLine(out, kColumnXmlNames[kind], analysis.CellText(row, column));
  }
  out.Add("</component>").EndLine();
}

// --- Options

void ReadColumns(XmlReader& reader, ComponentAnalysisOptions& options) {
  for (const XmlAttribute& attribute : reader.attributes()) {
    const std::optional<ComponentColumn> kind = ColumnOfXmlName(attribute.name);
    if (!kind) {
      reader.ReportUnknownAttribute(attribute.name);
      continue;
    }
    ColumnOptions& column = options.column(*kind);
    const std::string& value = attribute.value;
    if (value.empty() || Is(value, "off")) {
      column.visible = false;
    } else if (Is(value, "on") || Is(value, "bold")) {
      column.visible = true;
      column.bold = Is(value, "bold");
    } else {
      reader.ReportUnknownValue(value, attribute.name);
    }
  }
}

std::optional<int> DimensionNumbered(std::string_view text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (number < 1 || number > kDimensionCount) return std::nullopt;
  return number - 1;
}

// Sets one attribute of "viewdim"; false for a value it does not take.
bool ReadViewAttribute(const Database& database, const XmlAttribute& attribute,
                       ComponentAnalysisOptions& options, bool* known) {
  const std::string& name = attribute.name;
  const std::string& value = attribute.value;
  if (Is(name, "num") || Is(name, "name")) {
    const std::optional<int> dimension =
        Is(name, "num") ? DimensionNumbered(value) : std::optional<int>();
    const int found = dimension          ? *dimension
                      : Is(name, "name") ? database.FindDimension(value)
                                         : -1;
    if (found >= 0) options.view_dimension = found;
    return found >= 0;
  }
  if (Is(name, "expand")) {
    if (Is(value, "all")) options.expansion = "\\";
    return Is(value, "all");
  }
  if (Is(name, "structure")) return Is(value, "flat");  // set by the caller
  if (Is(name, "filter")) {
    if (Is(value, "all")) options.filter = RowFilter::kAll;
    if (Is(value, "inuse")) options.filter = RowFilter::kInUse;
    return Is(value, "all") || Is(value, "inuse");
  }
  *known = false;
  return false;
}

void ReadViewDimension(XmlReader& reader, const Database& database,
                       ComponentAnalysisOptions& options) {
  options.flat = false;  // without "structure" the rows are a hierarchy
  for (const XmlAttribute& attribute : reader.attributes()) {
    bool known = true;
    if (ReadViewAttribute(database, attribute, options, &known)) {
      if (Is(attribute.name, "structure")) options.flat = true;
    } else if (!known) {
      reader.ReportUnknownAttribute(attribute.name);
    } else {
      reader.ReportUnknownValue(attribute.value, attribute.name);
    }
  }
}

std::optional<ComponentSort> SortNamed(std::string_view name) {
  for (int order = 0; order < kSortOrders; ++order) {
    if (!kSortXmlNames[order].empty() && Is(name, kSortXmlNames[order])) {
      return static_cast<ComponentSort>(order);
    }
  }
  return std::nullopt;
}

void ReadSort(XmlReader& reader, ComponentAnalysisOptions& options) {
  for (const XmlAttribute& attribute : reader.attributes()) {
    if (Is(attribute.name, "order")) {
      const std::optional<ComponentSort> order = SortNamed(attribute.value);
      if (order) options.sort = *order;
      if (!order) reader.ReportUnknownValue(attribute.value, attribute.name);
    } else if (Is(attribute.name, "column")) {
      const std::optional<ComponentColumn> column = ColumnOfXmlName(attribute.value);
      if (column) options.sort_column = *column;
      if (!column) reader.ReportUnknownValue(attribute.value, attribute.name);
    } else {
      reader.ReportUnknownAttribute(attribute.name);
    }
  }
}

void ReadValues(XmlReader& reader, ComponentAnalysisOptions& options) {
  for (const XmlAttribute& attribute : reader.attributes()) {
    const std::string& value = attribute.value;
    if (Is(attribute.name, "decimals")) {
      const std::optional<int> decimals = DecimalsOfLetter(value.empty() ? '\0' : value[0]);
      if (!decimals) reader.ReportUnknownValue(value, attribute.name);
      for (ColumnOptions& column : options.columns)
        column.decimals = decimals.value_or(column.decimals);
    } else if (Is(attribute.name, "sublevels")) {
      const bool include = Is(value, "include");
      if (!include && !Is(value, "exclude")) {
        reader.ReportUnknownValue(value, attribute.name);
        continue;
      }
      for (ColumnOptions& column : options.columns) column.sublevels = include;
    } else {
      reader.ReportUnknownAttribute(attribute.name);
    }
  }
}

}  // namespace

void WriteComponentsXml(const ComponentAnalysis& analysis, LineSink& out) {
  const ExportSettings& settings = analysis.export_settings();
  out.Add("<").Add(kRootElement);
  if (settings.include_title) AppendXmlAttribute(out.line(), "title", analysis.Title());
  out.Add(">").EndLine();
  if (settings.include_notes && !analysis.Notes().empty()) WriteXmlNotes(out, analysis.Notes());
  if (settings.include_definition) analysis.selection().WriteXml(out);
  if (settings.include_data_rows && analysis.calculated()) {
    for (const int row : analysis.displayed()) WriteRow(analysis, row, out);
  }
  out.Add("</").Add(kRootElement).Add(">").EndLine();
}

bool ReadComponentXmlOptions(XmlReader& reader, ComponentAnalysis& analysis) {
  ComponentAnalysisOptions& options = analysis.options();
  return ReadTemplateXml(reader, analysis.selection(), analysis.export_settings(),
                         [&](const std::string& name) {
                           if (name == "columns") {
                             ReadColumns(reader, options);
                           } else if (name == "viewdim") {
                             ReadViewDimension(reader, analysis.database(), options);
                           } else if (name == "sort") {
                             ReadSort(reader, options);
                           } else if (name == "values") {
                             ReadValues(reader, options);
                           } else {
                             return false;
                           }
                           return true;
                         });
}

}  // namespace jov
