#include "analysis/line_xml.h"

#include <array>
#include <optional>
#include <string>

#include "analysis/analysis_xml.h"
#include "analysis/component_options.h"
#include "files/markup_text.h"
#include "model/case_tables.h"
#include "model/database.h"

namespace jov {
namespace {

constexpr std::string_view kRootElement = "JOV-Lines";
constexpr std::array<std::string_view, kSummaryKinds> kSummaryNames = {
    "before",    "positive",     "negative",     "period",      "after",
    "max",       "min",          "average",      "median",      "linecount",
    "cardcount", "turnovertime", "turnoverrate", "posinterest", "neginterest"};

// The rows with a value element and an accumulated element.
bool HasBalanceElement(LineSummary summary) {
  switch (summary) {
    case LineSummary::kPeriod:
    case LineSummary::kAfter:
    case LineSummary::kMaximum:
    case LineSummary::kMinimum:
    case LineSummary::kAverage:
      return true;
    default:
      return false;
  }
}

// The table column of a kind (and index); -1 when it is not visible.
int ColumnOf(const LineAnalysis& analysis, LineColumnKind kind, int index = 0) {
  const auto& columns = analysis.columns();
  for (size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].kind == kind && (kind != LineColumnKind::kValue || columns[c].index == index)) {
      return static_cast<int>(c);
    }
  }
  return -1;
}

void WriteHeaders(const LineAnalysis& analysis, LineSink& out) {
  const int value = ColumnOf(analysis, LineColumnKind::kValue, 0);
  const int accum = ColumnOf(analysis, LineColumnKind::kAccumulated);
  for (const LineSummary summary : analysis.summary_rows()) {
    const std::string name(SummaryXmlName(summary));
    if (!HasBalanceElement(summary)) {
      const bool count = summary == LineSummary::kLineCount || summary == LineSummary::kCardCount;
      const int column = count ? 0 : value;
      std::string text;
      if (count) {
        text = std::to_string(summary == LineSummary::kLineCount
                                  ? analysis.result().rows.size()
                                  : analysis.result().card_starts.size());
      } else if (column >= 0) {
        text = analysis.SummaryCellText(summary, column);
      }
      WriteXmlElementLine(out, name, text);
      continue;
    }
    if (value >= 0)
      WriteXmlElementLine(out, name + "-value", analysis.SummaryCellText(summary, value));
    if (accum >= 0)
      WriteXmlElementLine(out, name + "-accum", analysis.SummaryCellText(summary, accum));
  }
  out.EndLine();
}

void WriteLineRows(const LineAnalysis& analysis, LineSink& out) {
  const bool numbered = analysis.database().value_field_count() > 1;
  const auto& columns = analysis.columns();
  std::vector<TableCell> cells;
  for (int row = analysis.FirstLineRow(); row < analysis.RowCount(); ++row) {
    analysis.FillRow(row, cells);
    out.Add("<line>").EndLine();
    for (size_t c = 0; c < columns.size(); ++c) {
      if (cells[c].text.empty()) continue;
      const LineAnalysis::ShownColumn& shown = columns[c];
      switch (shown.kind) {
        case LineColumnKind::kCardId:
          WriteXmlElementLine(out, "card-id", cells[c].text);
          break;
        case LineColumnKind::kCardTitle:
          WriteXmlElementLine(out, "cardtitle", cells[c].text);
          break;
        case LineColumnKind::kDimension:
          WriteXmlElementLine(out, "dim", cells[c].text, shown.index + 1);
          break;
        case LineColumnKind::kLineText:
          WriteXmlElementLine(out, "linetext", cells[c].text);
          break;
        case LineColumnKind::kValue:
          WriteXmlElementLine(out, "value", cells[c].text, numbered ? shown.index + 1 : -1);
          break;
        case LineColumnKind::kAccumulated:
          WriteXmlElementLine(out, "accum", cells[c].text, numbered ? shown.index + 1 : -1);
          break;
      }
    }
    out.Add("</line>").EndLine();
    out.EndLine();
  }
}

// "dim" followed by 1-16: the dimension's index; -1 for another name.
int DimensionOfAttribute(std::string_view name) {
  if (name.size() < 4 || !EqualsIgnoringCase(name.substr(0, 3), "dim")) return -1;
  const std::string_view digits = name.substr(3);
  if (digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return -1;
  }
  const int number = std::stoi(std::string(digits));
  return number >= 1 && number <= kDimensionCount ? number - 1 : -1;
}

// The flag a columns attribute sets; nullptr for a name it does not know.
bool* ColumnFlag(std::string_view name, ListColumns& columns) {
  if (EqualsIgnoringCase(name, "card-id")) return &columns.card_id;
  if (EqualsIgnoringCase(name, "cardtitle")) return &columns.card_title;
  if (EqualsIgnoringCase(name, "linetext")) return &columns.line_text;
  if (EqualsIgnoringCase(name, "value")) return &columns.values[0];
  if (EqualsIgnoringCase(name, "accum")) return &columns.accumulated;
  const int dimension = DimensionOfAttribute(name);
  return dimension >= 0 ? &columns.dimensions[dimension] : nullptr;
}

void ReadColumns(XmlReader& reader, ListColumns& columns) {
  for (const XmlAttribute& attribute : reader.attributes()) {
    bool* flag = ColumnFlag(attribute.name, columns);
    if (flag == nullptr) {
      reader.ReportUnknownAttribute(attribute.name);
      continue;
    }
    if (const std::optional<bool> on = OnOffValue(reader, attribute)) *flag = *on;
  }
}

void ReadHeaders(XmlReader& reader, LineAnalysisOptions& options) {
  for (const XmlAttribute& attribute : reader.attributes()) {
    int flag = 0;
    while (flag < kSummaryFlagCount && !EqualsIgnoringCase(kSummaryNames[flag], attribute.name)) {
      ++flag;
    }
    if (flag == kSummaryFlagCount) {
      reader.ReportUnknownAttribute(attribute.name);
      continue;
    }
    if (const std::optional<bool> on = OnOffValue(reader, attribute)) {
      options.Set(static_cast<LineSummary>(flag), *on);
    }
  }
}

}  // namespace

std::string_view SummaryXmlName(LineSummary summary) {
  return kSummaryNames[static_cast<int>(summary)];
}

void WriteLinesXml(const LineAnalysis& analysis, LineSink& out) {
  const ExportSettings& settings = analysis.export_settings();
  out.Add("<").Add(kRootElement);
  if (settings.include_title) AppendXmlAttribute(out.line(), "title", analysis.Title());
  out.Add(">").EndLine();
  out.EndLine();
  if (settings.include_notes && !analysis.Notes().empty()) WriteXmlNotes(out, analysis.Notes());
  if (settings.include_definition) analysis.selection().WriteXml(out);
  if (settings.include_header_rows && !analysis.summary_rows().empty()) WriteHeaders(analysis, out);
  if (settings.include_data_rows) WriteLineRows(analysis, out);
  out.Add("</").Add(kRootElement).Add(">").EndLine();
}

bool ReadLineXmlOptions(XmlReader& reader, LineAnalysis& analysis) {
  LineAnalysisOptions& options = analysis.options();
  return ReadTemplateXml(reader, analysis.selection(), analysis.export_settings(),
                         [&](const std::string& name) {
                           if (name == "columns") {
                             ReadColumns(reader, options.columns);
                           } else if (name == "headers") {
                             ReadHeaders(reader, options);
                           } else if (name == "values") {
                             ReadDecimalsXml(reader, options.decimals);
                           } else {
                             return false;
                           }
                           return true;
                         });
}

}  // namespace jov
