#include "analysis/fixed_table.h"

#include <algorithm>

namespace jov {

void FixedTable::AddHeaderRow(std::vector<TableCell> cells) {
  rows_.insert(rows_.begin() + header_rows_, std::move(cells));
  ++header_rows_;
}

void FixedTable::WriteDefinition(LineSink& out, DefinitionForm form) const {
  if (!definition_.empty()) WriteDefinitionBlock(out, form, definition_);
}

void FixedTable::FillRow(int row, std::vector<TableCell>& cells) const {
  const std::vector<TableCell>& given = rows_[row];
  cells.resize(columns_.size());
  for (size_t i = 0; i < cells.size(); ++i) cells[i] = i < given.size() ? given[i] : TableCell();
}

RowRange FixedTable::VisibleRows() const {
  if (!visible_) return {0, RowCount()};
  return {std::clamp(visible_->first, 0, RowCount()), std::clamp(visible_->end, 0, RowCount())};
}

}  // namespace jov
