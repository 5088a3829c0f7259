#include "analysis_window_kinds.h"

#include "analysis/card_analysis.h"
#include "analysis/component_analysis.h"
#include "analysis/component_functions.h"
#include "analysis/line_analysis.h"
#include "analysis/time_functions.h"
#include "kind_settings.h"

namespace jov {
namespace {

template <typename Analysis>
std::unique_ptr<AnalysisSettingsDialog> Settings(Table& analysis, QWidget* parent) {
  return NewSettingsDialog(static_cast<Analysis&>(analysis), parent);
}

template <typename Analysis>
bool Calculated(const Table& analysis) {
  return static_cast<const Analysis&>(analysis).calculated();
}

// The component kinds show a tree of rows: displayed() maps a shown row to its row.
template <typename Analysis>
bool ToggleRow(Table& table, int row) {
  auto& analysis = static_cast<Analysis&>(table);
  if (row < 0 || row >= static_cast<int>(analysis.displayed().size())) return false;
  const int index = analysis.displayed()[row];
  const ComponentRow& shown = analysis.rows()[index];
  if (shown.first_child < 0) return false;
  analysis.SetExpanded(index, !shown.expanded);
  return true;
}

// Deeper than any component tree.
constexpr int kEveryLevel = 1 << 20;

template <typename Analysis>
void ExpandAll(Table& table, bool expand) {
  // The root is level 0: level 1 leaves only the root open.
  static_cast<Analysis&>(table).ExpandToLevel(expand ? kEveryLevel : 1);
}

// The component analysis sorts by its value columns; the component's identifiers do not
// order the rows.
bool SortComponents(Table& table, int column) {
  auto& analysis = static_cast<ComponentAnalysis&>(table);
  const std::optional<ComponentColumn> kind = analysis.ValueColumnAt(column);
  if (!kind) return false;
  ComponentAnalysisOptions& options = analysis.options();
  const bool same = options.sort_column == *kind && options.sort != ComponentSort::kNone;
  options.sort_column = *kind;
  options.sort = same && options.sort == ComponentSort::kDescending ? ComponentSort::kAscending
                                                                    : ComponentSort::kDescending;
  return true;
}

bool SortComponentFunctions(Table& table, int column) {
  auto& analysis = static_cast<ComponentFunctionsAnalysis&>(table);
  const FunctionColumn* shown = analysis.ShownColumnAt(column);
  if (shown == nullptr) return false;
  const std::string& name = shown->name();
  ComponentFunctionsOptions& options = analysis.options();
  const bool same = options.sort_column == name && options.sort != ComponentSort::kNone;
  options.sort_column = name;
  options.sort = same && options.sort == ComponentSort::kDescending ? ComponentSort::kAscending
                                                                    : ComponentSort::kDescending;
  return true;
}

CardRef CardOfLineRow(const Table& table, int row) {
  const auto& analysis = static_cast<const LineAnalysis&>(table);
  const int line_row = row - analysis.FirstLineRow();
  if (line_row < 0 || line_row >= analysis.LineRowCount()) return kNoRecord;
  return CardOfRow(analysis.result(), static_cast<size_t>(line_row));
}

// Group and line rows follow the row of their card.
CardRef CardOfCardRow(const Table& table, int row) {
  const auto& rows = static_cast<const CardAnalysis&>(table).rows();
  for (int r = std::min(row, static_cast<int>(rows.size()) - 1); r >= 0; --r) {
    if (rows[r].level == CardLevel::kCards) return rows[r].item;
  }
  return kNoRecord;
}

template <typename Analysis>
bool DeleteData(Table& analysis, const CloseCardWindows& close) {
  return static_cast<Analysis&>(analysis).DeleteData(close);
}

template <typename Analysis>
bool Mark(Table& table, CardMark mark) {
  auto& analysis = static_cast<Analysis&>(table);
  return mark == CardMark::kExamined ? analysis.MarkExamined() : analysis.MarkApproved();
}

const std::vector<AnalysisWindowKind>& Kinds() {
  static const std::vector<AnalysisWindowKind> kinds = {
      {FindAnalysisKind(AnalysisKind::kComponents), msg::kFirstAnalysisKindName + 2,
       &Settings<ComponentAnalysis>, &Calculated<ComponentAnalysis>, &ToggleRow<ComponentAnalysis>,
       &ExpandAll<ComponentAnalysis>, &SortComponents, nullptr, nullptr, nullptr},
      {FindAnalysisKind(AnalysisKind::kLines), msg::kFirstAnalysisKindName + 1,
       &Settings<LineAnalysis>, &Calculated<LineAnalysis>, nullptr, nullptr, nullptr,
       &CardOfLineRow, &DeleteData<LineAnalysis>, &Mark<LineAnalysis>},
      {FindAnalysisKind(AnalysisKind::kCards), msg::kFirstAnalysisKindName, &Settings<CardAnalysis>,
       &Calculated<CardAnalysis>, nullptr, nullptr, nullptr, &CardOfCardRow,
       &DeleteData<CardAnalysis>, &Mark<CardAnalysis>},
      {FindAnalysisKind(AnalysisKind::kTimeFunctions), msg::kFirstAnalysisKindName + 3,
       &Settings<TimeFunctionsAnalysis>, &Calculated<TimeFunctionsAnalysis>, nullptr, nullptr,
       nullptr, nullptr, nullptr, nullptr},
      {FindAnalysisKind(AnalysisKind::kComponentFunctions), msg::kFirstAnalysisKindName + 4,
       &Settings<ComponentFunctionsAnalysis>, &Calculated<ComponentFunctionsAnalysis>,
       &ToggleRow<ComponentFunctionsAnalysis>, &ExpandAll<ComponentFunctionsAnalysis>,
       &SortComponentFunctions, nullptr, nullptr, nullptr},
  };
  return kinds;
}

}  // namespace

std::span<const AnalysisWindowKind> AnalysisWindowKinds() { return Kinds(); }

const AnalysisWindowKind* FindWindowKind(AnalysisKind kind) {
  for (const AnalysisWindowKind& entry : Kinds()) {
    if (entry.engine != nullptr && entry.engine->kind == kind) return &entry;
  }
  return nullptr;
}

}  // namespace jov
