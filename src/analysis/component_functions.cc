#include "analysis/component_functions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "analysis/chart_series.h"
#include "analysis/columns_definition.h"
#include "analysis/component_sums.h"
#include "analysis/result_changes.h"
#include "analysis/row_measures.h"
#include "analysis/shown_value.h"
#include "analysis/time_functions_options.h"
#include "model/database.h"
#include "select/component_set.h"
#include "select/selection_scan.h"
#include "shell/message_ids.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// A value column's width in pixels when none is stored.
constexpr int kValueWidth = 100;

// Takes the lines of a scan into a variable's measure, each at the row of its component in
// the view dimension; lines whose component has no row add nothing.
class RowMeasureSink {
 public:
  RowMeasureSink(const ViewComponent& view, size_t value_offset, std::span<const int32_t> row_of,
                 RowMeasures& measures)
      : view_(view), value_offset_(value_offset), row_of_(row_of), measures_(measures) {}

  template <int kWidth>
  struct Taker {
    RowMeasureSink* sink;
    int32_t group_row;  // the row of the group's lines when the view is not in a slot
    void Take(LineRef, const unsigned char* record, bool pass) {
      if (!pass) return;
      const int32_t row =
          sink->view_.slot_offset < 0
              ? group_row
              : sink->RowOf(scan_internal::LoadSlot<kWidth>(record + sink->view_.slot_offset));
      if (row < 0) return;
      double value;
      std::memcpy(&value, record + sink->value_offset_, sizeof value);
      sink->measures_.Add(row, value);
    }
  };

  template <int kWidth>
  Taker<kWidth> OpenGroup(CardRef, GroupRef, const Group& group) {
    return {this, RowOf(view_.on_group ? group.component : view_.root)};
  }
  template <int kWidth>
  void CloseGroup(const Taker<kWidth>&) {}

 private:
  int32_t RowOf(ComponentRef component) const {
    return component < row_of_.size() ? row_of_[component] : -1;
  }

  ViewComponent view_;
  size_t value_offset_;
  std::span<const int32_t> row_of_;
  RowMeasures& measures_;
};

// The components of the view dimension that some variable's selection admits; every component
// when there are no variables.
ComponentSet AdmittedComponents(const Database& database, const FunctionColumns& columns) {
  ComponentSet admitted(database.components().size(), columns.variable_count() == 0);
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].is_variable()) {
      admitted |= static_cast<const Variable&>(columns[i]).selection().components();
    }
  }
  return admitted;
}

}  // namespace

ComponentFunctionsAnalysis::ComponentFunctionsAnalysis(Database& database)
    : database_(database), columns_(database) {
  frame_.kind = AnalysisKind::kComponentFunctions;
  ApplyKindDefaults<ComponentFunctionsTemplateBody>(database, AnalysisKind::kComponentFunctions,
                                                    *this);
  database_.AddListener(this);
}

ComponentFunctionsAnalysis::~ComponentFunctionsAnalysis() { database_.RemoveListener(this); }

void ComponentFunctionsAnalysis::Apply(const TemplateFrame& frame,
                                       const ComponentFunctionsTemplateBody& body) {
  frame_ = frame;
  frame_.kind = AnalysisKind::kComponentFunctions;
  options_ = body.options();
  columns_.CopyFrom(body.columns());
  // The template's expansion applies at the next calculation, not the last one's.
  Invalidate();
  view_dimension_ = -1;
}

AnalysisTemplate ComponentFunctionsAnalysis::ToTemplate(const std::string& name) const {
  AnalysisTemplate stored;
  stored.frame = frame_;
  stored.frame.name = name;
  auto body = std::make_unique<ComponentFunctionsTemplateBody>(database_);
  body->options() = options_;
  if (calculated_) body->options().expansion = rows_.ExpansionText(database_);
  body->columns().CopyFrom(columns_);
  stored.body = std::move(body);
  return stored;
}

// ---------------------------------------------------------------------------------------------
// Calculation

void ComponentFunctionsAnalysis::Invalidate() {
  if (!rows_.empty()) kept_expansion_ = rows_.ExpandedComponents();
  calculated_ = false;
  rows_.Clear();
  stride_ = 0;
  own_.clear();
  subtree_.clear();
  displayed_.clear();
}

bool ComponentFunctionsAnalysis::Calculate() {
  const int view = ChooseViewDimension(options_.view_dimension, view_dimension_);
  const bool same_view = view == view_dimension_;
  Invalidate();
  view_dimension_ = view;
  failed_column_ = -1;
  if (!columns_.Prepare(failed_column_)) return false;
  rows_.Build(database_, view, AdmittedComponents(database_, columns_), options_.flat);
  stride_ = columns_.size();
  own_.assign(static_cast<size_t>(rows_.size()) * stride_, kMissingNumber);
  subtree_.assign(own_.size(), kMissingNumber);
  std::vector<char> in_use(static_cast<size_t>(rows_.size()), 0);
  if (!MeasureVariables(in_use)) {
    Invalidate();
    return false;
  }
  EvaluateFormulas();
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].is_variable()) continue;
    if (static_cast<const Formula&>(columns_[i]).higher_levels == HigherLevels::kSumOfLowerLevels) {
      SumLowerLevels(i);
    }
  }
  // The values stay in the order of the rows as built until the rows are filtered and sorted.
  const std::vector<int32_t> origin(rows_.row_of().begin(), rows_.row_of().end());
  if (options_.filter != RowFilter::kAll) {
    rows_.Filter([&](const ComponentRow& row) { return KeepsRow(origin[row.component], in_use); });
  }
  if (const int key = columns_.Find(options_.sort_column); key >= 0) {
    rows_.Sort(options_.sort, [&](const ComponentRow& row) {
      return subtree_[Cell(origin[row.component], static_cast<size_t>(key))];
    });
  }
  ReorderValues(origin);
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

bool ComponentFunctionsAnalysis::MeasureVariables(std::vector<char>& in_use) {
  const ViewComponent view = FindViewComponent(database_, view_dimension_);
  std::vector<double> own;
  std::vector<double> subtree;
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i].is_variable()) continue;
    const auto& variable = static_cast<const Variable&>(columns_[i]);
    const Selection& selection = variable.selection();
    RowMeasures measures(variable.measure, rows_.size());
    // The selection's own dates, moved back by the time shift; month ends stay month ends.
    const DateWindow window = variable.EffectiveWindow(selection.from().date(),
                                                       selection.to().date(), PeriodKind::kMonths);
    if (window.from <= window.to) {
      const auto [first, end] = CardsIn(database_.cards(), window);
      const size_t offset = LineLayout::kHeaderBytes + 8 * size_t(variable.FieldIn(database_));
      RowMeasureSink sink(view, offset, rows_.row_of(), measures);
      if (!ScanRecords(selection, first, end, sink)) return false;
    }
    measures.Finish(rows_, own, subtree);
    for (int r = 0; r < rows_.size(); ++r) {
      if (measures.count(r) > 0) in_use[static_cast<size_t>(r)] = 1;
      own_[Cell(r, i)] = own[static_cast<size_t>(r)];
      subtree_[Cell(r, i)] = subtree[static_cast<size_t>(r)];
    }
  }
  return true;
}

void ComponentFunctionsAnalysis::EvaluateFormulas() {
  if (columns_.variable_count() == static_cast<int>(columns_.size())) return;
  for (int r = rows_.size() - 1; r >= 0; --r) {
    for (std::vector<double>* values : {&own_, &subtree_}) {
      // Every name starts missing, so that a formula that reads a later one sees no other
      // row's value.
      columns_.StartCalculation();
      columns_.CloseRow(kMissingNumber, std::span<double>(*values).subspan(Cell(r, 0), stride_),
                        /*by_time=*/false);
    }
  }
}

void ComponentFunctionsAnalysis::SumLowerLevels(size_t column) {
  for (int r = 0; r < rows_.size(); ++r) subtree_[Cell(r, column)] = 0;
  for (int r = rows_.size() - 1; r >= 0; --r) {
    double& sum = subtree_[Cell(r, column)];
    const double own = own_[Cell(r, column)];
    if (std::isfinite(own)) sum += own;
    if (r > 0) subtree_[Cell(rows_[r].parent, column)] += sum;
  }
}

// In Use keeps the rows for which some variable read a line; Non-zero those with a column
// whose own value is non-zero and defined (a missing average of no lines is not a value).
bool ComponentFunctionsAnalysis::KeepsRow(int row, const std::vector<char>& in_use) const {
  if (options_.filter == RowFilter::kInUse) return in_use[static_cast<size_t>(row)] != 0;
  for (size_t i = 0; i < stride_; ++i) {
    const double value = own_[Cell(row, i)];
    if (value != 0 && !IsMissing(value)) return true;
  }
  return false;
}

void ComponentFunctionsAnalysis::ReorderValues(const std::vector<int32_t>& origin) {
  std::vector<double> own(static_cast<size_t>(rows_.size()) * stride_);
  std::vector<double> subtree(own.size());
  for (int r = 0; r < rows_.size(); ++r) {
    const size_t from = Cell(origin[rows_[r].component], 0);
    std::copy_n(own_.begin() + static_cast<ptrdiff_t>(from), stride_,
                own.begin() + static_cast<ptrdiff_t>(Cell(r, 0)));
    std::copy_n(subtree_.begin() + static_cast<ptrdiff_t>(from), stride_,
                subtree.begin() + static_cast<ptrdiff_t>(Cell(r, 0)));
  }
  own_ = std::move(own);
  subtree_ = std::move(subtree);
}

void ComponentFunctionsAnalysis::OnDatabaseChange(Database&, ChangeCode code, int, int) {
  if (DropsAnalysisResult(code)) Invalidate();
}

size_t ComponentFunctionsAnalysis::MemoryBytes() const {
  return rows_.MemoryBytes() + (own_.capacity() + subtree_.capacity()) * sizeof(double) +
         displayed_.capacity() * sizeof(int) + kept_expansion_.capacity() / 8;
}

// ---------------------------------------------------------------------------------------------
// Rows as shown

void ComponentFunctionsAnalysis::SetExpanded(int row, bool expanded) {
  if (row < 0 || row >= rows_.size()) return;
  rows_[row].expanded = expanded;
  displayed_ = rows_.Displayed();
}

void ComponentFunctionsAnalysis::ExpandToLevel(int level) {
  rows_.ExpandToLevel(level);
  displayed_ = rows_.Displayed();
}

double ComponentFunctionsAnalysis::CellValue(int row, size_t column) const {
  const bool subtree = options_.include_sublevels || !rows_[row].expanded;
  return subtree ? SubtreeValue(row, column) : OwnValue(row, column);
}

std::string ComponentFunctionsAnalysis::CellText(int row, size_t column) const {
  return ShownValue(CellValue(row, column), columns_[column].look.decimals);
}

std::pair<double, double> ComponentFunctionsAnalysis::ValueRange(bool stacked) const {
  double low = kPlusInfinity;
  double high = kMinusInfinity;
  const auto take = [&](double value) {
    if (!std::isfinite(value)) return;
    low = std::min(low, value);
    high = std::max(high, value);
  };
  for (const int row : displayed_) {
    double positive = 0;
    double negative = 0;
    for (size_t i = 0; i < stride_ && i < columns_.size(); ++i) {
      if (ComponentChartStyle(columns_[i]) == GraphStyle::kNone) continue;
      const double value = CellValue(row, i);
      if (!stacked) {
        take(value);
      } else if (std::isfinite(value)) {
        (value > 0 ? positive : negative) += value;
      }
    }
    if (stacked) take(positive), take(negative);
  }
  if (low > high) return {0, 0};
  return {low, high};
}

ChartScale ComponentFunctionsAnalysis::Scale(int height, bool stacked) const {
  const auto [low, high] = ValueRange(stacked);
  return ComputeChartScale(low, high, height);
}

// ---------------------------------------------------------------------------------------------
// Table

std::string ComponentFunctionsAnalysis::Title() const {
  return frame_.name.empty() ? KindName(AnalysisKind::kComponentFunctions) : frame_.name;
}

void ComponentFunctionsAnalysis::WriteDefinition(LineSink& out, DefinitionForm form) const {
  WriteColumnsDefinition(columns_, out, form, msg::kFirstComponentAccumulation);
}

void ComponentFunctionsAnalysis::LayOutColumns() {
  const int view = view_dimension_ >= 0 ? view_dimension_ : options_.view_dimension;
  const int label_width = options_.label_width >= kMinStoredLabelWidth ? options_.label_width : 0;
  labels_ = ComponentLabelColumns(database_, view, label_width);
  shown_.clear();
  value_columns_.clear();
  int left = labels_.empty() ? 0 : labels_.back().column.right;
  for (size_t i = 0; i < columns_.size() && i < stride_; ++i) {
    const FunctionColumn& column = columns_[i];
    if (!column.look.visible) continue;
    const int width = column.look.width >= kMinStoredWidth ? column.look.width : kValueWidth;
    shown_.push_back(i);
    value_columns_.push_back({.title = column.ShownTitle(),
                              .left = left,
                              .right = left + width,
                              .alignment = CellAlignment::kRight,
                              .bold = column.look.bold});
    left += width;
  }
}

// The value columns keep their widths in their columns' looks; the label columns take theirs
// from the view.
bool ComponentFunctionsAnalysis::SetColumnWidth(int column, int pixels) {
  const size_t at = static_cast<size_t>(column);
  if (column < 0 || at < labels_.size() || at - labels_.size() >= shown_.size()) return false;
  columns_[shown_[at - labels_.size()]].look.width = pixels >= kMinStoredWidth ? pixels : 0;
  LayOutColumns();
  return true;
}

const TableColumn& ComponentFunctionsAnalysis::Column(int index) const {
  const size_t at = static_cast<size_t>(index);
  return at < labels_.size() ? labels_[at].column : value_columns_[at - labels_.size()];
}

const FunctionColumn* ComponentFunctionsAnalysis::ShownColumnAt(int index) const {
  const size_t at = static_cast<size_t>(index);
  if (index < 0 || at < labels_.size() || at - labels_.size() >= shown_.size()) return nullptr;
  return &columns_[shown_[at - labels_.size()]];
}

void ComponentFunctionsAnalysis::FillRow(int row, std::vector<TableCell>& cells) const {
  cells.clear();
  const int index = displayed_[static_cast<size_t>(row)];
  const LabelIndent indent = {options_.indentation,
                              frame_.export_settings.format == ExportFormat::kHtml};
  for (size_t i = 0; i < labels_.size(); ++i) {
    cells.push_back(ComponentLabelCell(database_, rows_[index], view_dimension_,
                                       labels_[i].identifier, i == 0, indent));
  }
  for (const size_t column : shown_) {
    cells.push_back(ColumnValueCell(CellValue(index, column), columns_[column].look));
  }
}

}  // namespace jov
