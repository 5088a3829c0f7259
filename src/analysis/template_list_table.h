// The analysis templates of a database as a table: one row per template with its name, its kind,
// how it opens and the format it exports in, in the order the database keeps them.
#pragma once

#include "analysis/fixed_table.h"
#include "files/analysis_template.h"

namespace jov {

// The table's title is "Analysis Templates"; it includes the title and the column titles.
FixedTable TemplateListTable(const AnalysisTemplates& templates);

}  // namespace jov
