#include "analysis/component_options.h"

#include "model/case_tables.h"

namespace jov {
namespace {

bool Uses(ComponentColumn column, std::initializer_list<ComponentColumn> kinds) {
  for (const ComponentColumn kind : kinds) {
    if (column == kind) return true;
  }
  return false;
}

// Whether a column of `kinds` is visible, is the chart's, or is the sort key.
bool NeedsAnyOf(const ComponentAnalysisOptions& options,
                std::initializer_list<ComponentColumn> kinds) {
  for (const ComponentColumn kind : kinds) {
    if (options.column(kind).visible) return true;
  }
  return Uses(options.chart_column, kinds) ||
         (options.sort != ComponentSort::kNone && Uses(options.sort_column, kinds));
}

}  // namespace

std::optional<ComponentColumn> ColumnOfLetter(char letter) {
  const size_t at = kColumnLetters.find(letter);
  if (letter == '\0' || at == std::string_view::npos) return std::nullopt;
  return static_cast<ComponentColumn>(at);
}

std::optional<ComponentColumn> ColumnOfXmlName(std::string_view name) {
  for (int kind = 0; kind < kComponentColumns; ++kind) {
    if (EqualsIgnoringCase(kColumnXmlNames[kind], name)) return static_cast<ComponentColumn>(kind);
  }
  return std::nullopt;
}

char ColumnLetter(ComponentColumn column) { return kColumnLetters[static_cast<int>(column)]; }

MessageId ColumnTitle(ComponentColumn column) {
  return msg::kFirstComponentColumn + static_cast<int>(column);
}

std::optional<int> DecimalsOfLetter(char letter) {
  const size_t at = kDecimalsLetters.find(letter);
  if (letter == '\0' || at == std::string_view::npos) return std::nullopt;
  return static_cast<int>(at) + kMillions;
}

char DecimalsLetter(int decimals) {
  const int at = decimals < kMillions ? 0 : decimals > kMaxShownDecimals ? 8 : decimals + 2;
  return kDecimalsLetters[at];
}

ComponentAnalysisOptions ComponentAnalysisOptions::Standard(int decimals) {
  ComponentAnalysisOptions options;
  options.chart_decimals = decimals;
  for (ColumnOptions& column : options.columns) column.decimals = decimals;
  for (const ComponentColumn kind :
       {ComponentColumn::kBefore, ComponentColumn::kNegative, ComponentColumn::kPositive,
        ComponentColumn::kPeriod, ComponentColumn::kAtEnd}) {
    options.column(kind).visible = true;
  }
  options.column(ComponentColumn::kPeriod).bold = true;
  return options;
}

bool ComponentAnalysisOptions::NeedsBefore() const {
  return NeedsAnyOf(*this,
                    {ComponentColumn::kBefore, ComponentColumn::kAtEnd, ComponentColumn::kTotal});
}

bool ComponentAnalysisOptions::NeedsAfter() const {
  return NeedsAnyOf(*this, {ComponentColumn::kAfter, ComponentColumn::kTotal});
}

}  // namespace jov
