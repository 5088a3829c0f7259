// The analysis kinds built so far, in one table: for each, how the lines of its templates are
// read and written, and how a stored template opens as the table of its analysis. The templates
// sections read bodies through AnalysisTemplateKinds(); commands that run stored templates open
// them through OpenTemplate(). A new kind is one more entry in analysis_kinds.cc.
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "analysis/table.h"
#include "files/analysis_template.h"

namespace jov {

struct AnalysisKindEntry {
  AnalysisKind kind;
  std::unique_ptr<TemplateBody> (*new_body)(Database& database);
  // The analysis of a template of this kind, its settings taken; nullptr when the template's
  // body was not read as this kind's.
  std::unique_ptr<Table> (*open)(Database& database, const AnalysisTemplate& stored);
};

std::span<const AnalysisKindEntry> BuiltAnalysisKinds();

// The body readers of the built kinds, for the templates sections.
TemplateKinds AnalysisTemplateKinds();

// The analysis of a stored template, ready to calculate; nullptr for a kind not built yet.
std::unique_ptr<Table> OpenTemplate(Database& database, const AnalysisTemplate& stored);

}  // namespace jov
