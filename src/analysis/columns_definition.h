// The definition of an analysis with variables and formulas, for export and printing: a table
// whose columns are the variables (their names, titles, measures and selections, one criterion a
// row, rows only for what some variable uses), then one whose columns are the formulas (names
// and texts, and how parents get their values when some formula sums its lower levels). Written as
// tab-separated text lines, or as HTML tables under headings.
#pragma once

#include "analysis/function_columns.h"
#include "files/definition_block.h"
#include "files/line_sink.h"
#include "shell/message_ids.h"

namespace jov {

// `first_accumulation` names the accumulations of the analysis kind: "By Period" and "From
// Start" (msg::kFirstTimeAccumulation), or "By Component" and "From Start".
void WriteColumnsDefinition(const FunctionColumns& columns, LineSink& out, DefinitionForm form,
                            MessageId first_accumulation);

}  // namespace jov
