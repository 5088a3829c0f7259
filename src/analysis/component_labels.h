// The label columns of the analyses whose rows are components of a view dimension: one column
// per identifier the dimension displays (JOV-Code "C", Host Code "H", Text "T", in the
// dimension's order), the first indented by the row's level; the root row shows the
// dimension's plural name.
#pragma once

#include <string>
#include <vector>

#include "analysis/component_rows.h"
#include "analysis/table.h"

namespace jov {

class Database;

struct LabelColumn {
  char identifier = 'C';  // C, H or T
  TableColumn column;
};

// The label columns of the view dimension, from the table's left edge; a `first_width` above 0
// replaces the first column's width.
std::vector<LabelColumn> ComponentLabelColumns(const Database& database, int view,
                                               int first_width = 0);

// How the first label column is indented: the step (0..2) per level, with non-breaking spaces
// in HTML, which does not collapse them.
struct LabelIndent {
  int step = 1;
  bool html = false;
};

// The cell of `row` in the label column of `identifier`; `first` for the first label column.
TableCell ComponentLabelCell(const Database& database, const ComponentRow& row, int view,
                             char identifier, bool first, LabelIndent indent);

// The row's name on one line, for charts: the identifiers the dimension displays, in its order,
// joined by blanks (empty ones left out); the root row's is the dimension's plural name.
std::string ComponentRowName(const Database& database, const ComponentRow& row, int view);

}  // namespace jov
