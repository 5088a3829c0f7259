#include "analysis/card_xml.h"

#include <optional>
#include <string>

#include "analysis/analysis_xml.h"
#include "analysis/component_options.h"
#include "files/markup_text.h"
#include "model/case_tables.h"
#include "model/database.h"

namespace jov {
namespace {

constexpr std::string_view kRootElement = "JOV-Cards";
constexpr std::string_view kLevelElements[] = {"card", "group", "line"};

// Closes the elements left open down to `level` (a card closes its group and card, a group its
// group, a line its line).
class Nesting {
 public:
  explicit Nesting(LineSink& out) : out_(out) {}

  void Open(CardLevel level) {
    Close(level);
    open_[static_cast<int>(level)] = true;
    out_.Add("<").Add(kLevelElements[static_cast<int>(level)]).Add(">").EndLine();
  }
  // Closes every open element, as before a new card.
  void Close(CardLevel level) {
    CloseOne(CardLevel::kLines);
    if (level == CardLevel::kLines) return;
    CloseOne(CardLevel::kGroups);
    if (level == CardLevel::kGroups) return;
    if (CloseOne(CardLevel::kCards)) out_.EndLine();
  }

 private:
  bool CloseOne(CardLevel level) {
    bool& open = open_[static_cast<int>(level)];
    if (!open) return false;
    open = false;
    out_.Add("</").Add(kLevelElements[static_cast<int>(level)]).Add(">").EndLine();
    return true;
  }

  LineSink& out_;
  bool open_[3] = {};
};

void WriteCell(LineSink& out, const CardAnalysis::ShownColumn& column, const std::string& text,
               bool numbered) {
  out.Add("\t");
  switch (column.kind) {
    case CardColumnKind::kCardId:
      WriteXmlElementLine(out, "id", text);
      return;
    case CardColumnKind::kCardTitle:
      WriteXmlElementLine(out, "title", text);
      return;
    case CardColumnKind::kDimension:
      WriteXmlElementLine(out, "dim", text, column.index + 1);
      return;
    case CardColumnKind::kLineText:
      WriteXmlElementLine(out, "text", text);
      return;
    case CardColumnKind::kValue:
      WriteXmlElementLine(out, "value", text, numbered ? column.index + 1 : -1);
      return;
  }
}

void WriteRows(const CardAnalysis& analysis, LineSink& out) {
  const bool numbered = analysis.database().value_field_count() > 1;
  Nesting nesting(out);
  std::vector<TableCell> cells;
  for (int row = 0; row < analysis.RowCount(); ++row) {
    nesting.Open(analysis.rows()[row].level);
    analysis.FillRow(row, cells);
    for (size_t c = 0; c < cells.size(); ++c) {
      if (!cells[c].text.empty()) WriteCell(out, analysis.columns()[c], cells[c].text, numbered);
    }
  }
  nesting.Close(CardLevel::kCards);
}

// "value" (the first field) or "value" and 1-24; "dim" and 1-16: the flag they set.
bool* NumberedFlag(std::string_view name, std::string_view prefix, std::span<bool> flags) {
  if (name.size() <= prefix.size() || !EqualsIgnoringCase(name.substr(0, prefix.size()), prefix)) {
    return nullptr;
  }
  const std::string_view digits = name.substr(prefix.size());
  if (digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return nullptr;
  }
  const size_t number = std::stoul(std::string(digits));
  return number >= 1 && number <= flags.size() ? &flags[number - 1] : nullptr;
}

bool* ColumnFlag(std::string_view name, ListColumns& columns) {
  if (EqualsIgnoringCase(name, "card-id")) return &columns.card_id;
  if (EqualsIgnoringCase(name, "cardtitle")) return &columns.card_title;
  if (EqualsIgnoringCase(name, "linetext")) return &columns.line_text;
  if (EqualsIgnoringCase(name, "value")) return &columns.values[0];
  if (bool* flag = NumberedFlag(name, "value", columns.values)) return flag;
  return NumberedFlag(name, "dim", columns.dimensions);
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

void ReadContents(XmlReader& reader, CardAnalysisOptions& options) {
  for (const XmlAttribute& attribute : reader.attributes()) {
    const bool groups = EqualsIgnoringCase(attribute.name, "groups");
    if (!groups && !EqualsIgnoringCase(attribute.name, "lines")) {
      reader.ReportUnknownAttribute(attribute.name);
      continue;
    }
    const std::string& value = attribute.value;
    std::optional<DataContents> contents;
    if (value.empty() || EqualsIgnoringCase(value, "none")) contents = DataContents::kNone;
    if (EqualsIgnoringCase(value, "selected")) contents = DataContents::kSelected;
    if (EqualsIgnoringCase(value, "all")) contents = DataContents::kAll;
    if (!contents) {
      reader.ReportUnknownValue(value, attribute.name);
    } else {
      (groups ? options.groups : options.lines) = *contents;
    }
  }
}

}  // namespace

void WriteCardsXml(const CardAnalysis& analysis, LineSink& out) {
  const ExportSettings& settings = analysis.export_settings();
  out.Add("<").Add(kRootElement);
  if (settings.include_title) AppendXmlAttribute(out.line(), "title", analysis.Title());
  out.Add(">").EndLine();
  out.EndLine();
  if (settings.include_notes && !analysis.Notes().empty()) WriteXmlNotes(out, analysis.Notes());
  if (settings.include_definition) analysis.selection().WriteXml(out);
  if (settings.include_data_rows) WriteRows(analysis, out);
  out.Add("</").Add(kRootElement).Add(">").EndLine();
}

bool ReadCardXmlOptions(XmlReader& reader, CardAnalysis& analysis) {
  CardAnalysisOptions& options = analysis.options();
  return ReadTemplateXml(reader, analysis.selection(), analysis.export_settings(),
                         [&](const std::string& name) {
                           if (name == "columns") {
                             ReadColumns(reader, options.columns);
                           } else if (name == "contents") {
                             ReadContents(reader, options);
                           } else if (name == "values") {
                             ReadDecimalsXml(reader, options.decimals);
                           } else {
                             return false;
                           }
                           return true;
                         });
}

}  // namespace jov
