// The full registry of section kinds of database files: the model's sections and those of every
// layer that owns a kind (time scales, import setups, subsets, macros, the commands of
// "##Commands"), and the text import as the reader of plain text files; kinds whose owners are
// not built yet stay kept verbatim. Also the analysis kinds that templates can run as, for the
// commands that open templates.
#pragma once

#include <memory>

#include "analysis/table.h"
#include "files/analysis_template.h"
#include "files/section_registry.h"

namespace jov {

class ScriptHost;

// With a host, the commands of a "##Commands" section run while the file is read, answered by
// `host` (which must outlive the registry). Without one they are kept unrun: the registry of
// readers that only look at a file (tools, benchmarks, fuzzing), which must never write files
// because a file they were given says so.
SectionRegistry FullSectionRegistry();
SectionRegistry FullSectionRegistry(ScriptHost& host);

// The template body kinds that the registry reads.
const TemplateKinds& TemplateBodyKinds();

// The analysis of a stored template, ready to calculate; nullptr for a kind this version cannot
// run.
std::unique_ptr<Table> OpenTemplateTable(Database& database, const AnalysisTemplate& stored);

}  // namespace jov
