#include "analysis/component_analysis.h"

#include <algorithm>
#include <cmath>

#include "analysis/component_labels.h"
#include "analysis/component_xml.h"
#include "analysis/result_changes.h"
#include "analysis/shown_value.h"
#include "model/database.h"
#include "shell/message_ids.h"
#include "shell/messages.h"
#include "shell/number_text.h"
#include "shell/process.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// A value column's width in pixels when none is stored.
constexpr int kValueWidth = 100;

}  // namespace

ComponentAnalysis::ComponentAnalysis(Database& database)
    : database_(database),
      options_(ComponentAnalysisOptions::Standard(database.value_decimals())),
      selection_(database) {
  frame_.kind = AnalysisKind::kComponents;
  ApplyKindDefaults<ComponentTemplateBody>(database, AnalysisKind::kComponents, *this);
  database_.AddListener(this);
}

ComponentAnalysis::~ComponentAnalysis() { database_.RemoveListener(this); }

void ComponentAnalysis::Apply(const TemplateFrame& frame, const ComponentTemplateBody& body) {
  frame_ = frame;
  frame_.kind = AnalysisKind::kComponents;
  options_ = body.options();
  selection_.CopyFrom(body.selection());
  // The template's expansion applies at the next calculation, not the last one's.
  Invalidate();
  view_dimension_ = -1;
}

AnalysisTemplate ComponentAnalysis::ToTemplate(const std::string& name) const {
  AnalysisTemplate stored;
  stored.frame = frame_;
  stored.frame.name = name;
  auto body = std::make_unique<ComponentTemplateBody>(database_);
  body->options() = options_;
  if (calculated_) body->options().expansion = rows_.ExpansionText(database_);
  body->selection().CopyFrom(selection_);
  stored.body = std::move(body);
  return stored;
}

// ---------------------------------------------------------------------------------------------
// Calculation

void ComponentAnalysis::Invalidate() {
  if (!rows_.empty()) kept_expansion_ = rows_.ExpandedComponents();
  calculated_ = false;
  rows_.Clear();
  displayed_.clear();
}

bool ComponentAnalysis::KeepsRow(const ComponentRow& row) const {
  if (options_.filter == RowFilter::kInUse) return row.own.count != 0;
  if (chart_view_) return ColumnValue(row.own, options_.chart_column) != 0;
  for (int kind = 0; kind < kComponentColumns; ++kind) {
    if (options_.columns[kind].visible &&
        ColumnValue(row.own, static_cast<ComponentColumn>(kind)) != 0) {
      return true;
    }
  }
  return false;
}

bool ComponentAnalysis::CollectHeldLines(LineSet& lines, CardLevel& level) {
  level = CardLevel::kLines;
  return selection_.CollectLines(lines);
}

bool ComponentAnalysis::Calculate() {
  const int view = ChooseViewDimension(options_.view_dimension, view_dimension_);
  const bool same_view = view == view_dimension_;
  Invalidate();
  view_dimension_ = view;
  if (!selection_.Prepare()) return false;
  rows_.Build(database_, view, selection_.components(), options_.flat);
  const bool before = options_.NeedsBefore();
  const bool after = options_.NeedsAfter();
  const int field = options_.value_field < database_.value_field_count() ? options_.value_field : 0;
  if (!SumComponentLines(selection_, {view, field, before, after}, rows_, &lines_read_)) {
    rows_.Clear();
    return false;
  }
  rows_.MarkUnread(before, after);
  rows_.SumSubtrees();
  if (options_.filter != RowFilter::kAll) {
    rows_.Filter([this](const ComponentRow& row) { return KeepsRow(row); });
  }
  const ComponentColumn key = chart_view_ ? options_.chart_column : options_.sort_column;
  rows_.Sort(options_.sort,
             [key](const ComponentRow& row) { return ColumnValue(row.subtree, key); });
  if (same_view) {
    rows_.RestoreExpansion(kept_expansion_);
  } else {
    rows_.ApplyExpansionText(database_, options_.expansion);
  }
  calculated_ = true;
  displayed_ = rows_.Displayed();
  LayOutColumns();
  return true;
}

void ComponentAnalysis::OnDatabaseChange(Database&, ChangeCode code, int, int) {
  if (DropsAnalysisResult(code)) Invalidate();
}

size_t ComponentAnalysis::MemoryBytes() const {
  return rows_.MemoryBytes() + displayed_.capacity() * sizeof(int) + kept_expansion_.capacity() / 8;
}

// ---------------------------------------------------------------------------------------------
// Rows as shown

void ComponentAnalysis::SetExpanded(int row, bool expanded) {
  if (row < 0 || row >= rows_.size()) return;
  rows_[row].expanded = expanded;
  displayed_ = rows_.Displayed();
}

std::optional<ComponentColumn> ComponentAnalysis::ValueColumnAt(int index) const {
  if (index < 0 || index >= ColumnCount() || columns_[index].identifier != '\0') {
    return std::nullopt;
  }
  return columns_[index].kind;
}

void ComponentAnalysis::ExpandToLevel(int level) {
  rows_.ExpandToLevel(level);
  displayed_ = rows_.Displayed();
}

double ComponentAnalysis::CellValue(int row, ComponentColumn column) const {
  const ComponentRow& shown = rows_[row];
  const bool subtree = options_.column(column).sublevels || !shown.expanded;
  return ColumnValue(subtree ? shown.subtree : shown.own, column);
}

std::string ComponentAnalysis::CellText(int row, ComponentColumn column) const {
  const int decimals = column == ComponentColumn::kCount ? 0 : options_.column(column).decimals;
  return ShownValue(CellValue(row, column), decimals);
}

double ComponentAnalysis::ChartValue(int row) const {
  const ComponentRow& shown = rows_[row];
  const bool subtree = !shown.expanded || options_.global_sublevels;
  return ColumnValue(subtree ? shown.subtree : shown.own, options_.chart_column);
}

std::vector<double> ComponentAnalysis::PieShares() const {
  double total = 0;
  for (const int row : displayed_) total += ChartValue(row);
  std::vector<double> shares;
  shares.reserve(displayed_.size());
  for (const int row : displayed_) shares.push_back(ChartValue(row) / total);
  return shares;
}

// ---------------------------------------------------------------------------------------------
// Table

std::string ComponentAnalysis::Title() const {
  return frame_.name.empty() ? KindName(AnalysisKind::kComponents) : frame_.name;
}

void ComponentAnalysis::WriteDefinition(LineSink& out, DefinitionForm form) const {
  const int view = view_dimension_ >= 0 ? view_dimension_ : options_.view_dimension;
  std::vector<DefinitionRow> rows = {
      {MessageText(msg::kComponentsHeading), database_.GetName(name_id::kFirstPlural + view)},
      {MessageText(msg::kValue),
       database_.GetName(name_id::kFirstValueField + options_.value_field)}};
  for (DefinitionRow& row : selection_.DefinitionRows()) rows.push_back(std::move(row));
  WriteDefinitionBlock(out, form, rows);
}

void ComponentAnalysis::LayOutColumns() {
  columns_.clear();
  const int view = view_dimension_ >= 0 ? view_dimension_ : options_.view_dimension;
  int left = 0;
  const auto add = [&](ShownColumn shown, int width) {
    shown.column.left = left;
    shown.column.right = left += width;
    columns_.push_back(std::move(shown));
  };
  for (LabelColumn& label : ComponentLabelColumns(database_, view)) {
    ShownColumn shown;
    shown.identifier = label.identifier;
    const int width = label.column.right - label.column.left;
    shown.column = std::move(label.column);
    add(std::move(shown), width);
  }
  for (int kind = 0; kind < kComponentColumns; ++kind) {
    const ColumnOptions& options = options_.columns[kind];
    if (!options.visible) continue;
    ShownColumn shown;
    shown.kind = static_cast<ComponentColumn>(kind);
    shown.column.title = MessageText(ColumnTitle(shown.kind));
    shown.column.alignment = CellAlignment::kRight;
    shown.column.bold = options.bold;
    add(std::move(shown), options.width >= kMinStoredWidth ? options.width : kValueWidth);
  }
}

// The value columns keep their widths; the label columns take theirs from the view.
bool ComponentAnalysis::SetColumnWidth(int column, int pixels) {
  if (column < 0 || column >= static_cast<int>(columns_.size())) return false;
  const ShownColumn& shown = columns_[static_cast<size_t>(column)];
  if (shown.identifier != '\0') return false;
  options_.column(shown.kind).width = pixels >= kMinStoredWidth ? pixels : 0;
  LayOutColumns();
  return true;
}

TableCell ComponentAnalysis::ValueCell(int row, ComponentColumn kind) const {
  const ColumnOptions& options = options_.column(kind);
  TableCell cell;
  cell.text = CellText(row, kind);
  cell.alignment = CellAlignment::kRight;
  cell.bold = options.bold;
  if (options.red_green) {
    const double value = CellValue(row, kind);
    cell.colour = value < 0   ? CellColour::kRed
                  : value > 0 ? CellColour::kGreen
                              : CellColour::kDefault;
  }
  return cell;
}

void ComponentAnalysis::FillRow(int row, std::vector<TableCell>& cells) const {
  cells.clear();
  const int index = displayed_[row];
  bool first = true;
  for (const ShownColumn& shown : columns_) {
    if (shown.identifier != '\0') {
      const LabelIndent indent = {options_.indentation,
                                  frame_.export_settings.format == ExportFormat::kHtml};
      cells.push_back(ComponentLabelCell(database_, rows_[index], view_dimension_, shown.identifier,
                                         first, indent));
      first = false;
    } else {
      cells.push_back(ValueCell(index, shown.kind));
    }
  }
}

std::string PieShareText(double share, int pie_values, PieTextPlace place) {
  if (pie_values == 0) return {};
  if (!std::isfinite(share)) return std::string(SpecialNumberText(share));
  const bool small = std::fabs(share) < 0.1;
  const int decimals = place == PieTextPlace::kBare ? (small ? 1 : 0) : (pie_values == 2 ? 1 : 0);
  std::string text;
  AppendShownNumber(text, share * 100, decimals, Process().separators);
  if (place == PieTextPlace::kSlice) text += '%';
  if (place == PieTextPlace::kLegend) text += " %";
  return text;
}

bool ComponentAnalysis::WriteOwnXml(LineSink& out) {
  WriteComponentsXml(*this, out);
  return true;
}

}  // namespace jov
