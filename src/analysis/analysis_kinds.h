// The analysis kinds built so far, in one table: for each, how the lines of its templates are
// read and written, how a stored template opens as the table of its analysis, and what a front
// end needs to hold any analysis as a window (a new one, its frame and selection, its settings as
// a template). The templates sections read bodies through AnalysisTemplateKinds(); commands that
// run stored templates open them through OpenTemplate(). A new kind is one more entry in
// analysis_kinds.cc.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "analysis/table.h"
#include "files/analysis_template.h"

namespace jov {

class Selection;

struct AnalysisKindEntry {
  AnalysisKind kind;
  std::unique_ptr<TemplateBody> (*new_body)(Database& database);
  // The analysis of a template of this kind, its settings taken; nullptr when the template's
  // body was not read as this kind's.
  std::unique_ptr<Table> (*open)(Database& database, const AnalysisTemplate& stored);
  // A new analysis with the kind's defaults.
  std::unique_ptr<Table> (*create)(Database& database);
  // The following take a table made by `open` or `create` of the same entry.
  // The window's part of the analysis's template: title, notes, flags, export settings.
  TemplateFrame& (*frame)(Table& analysis);
  // The selection the analysis's rows come from; nullptr for a kind whose columns each carry
  // their own (variables).
  Selection* (*selection)(Table& analysis);
  // The analysis's settings as a template named `name`.
  AnalysisTemplate (*to_template)(const Table& analysis, const std::string& name);
};

std::span<const AnalysisKindEntry> BuiltAnalysisKinds();
// The entry of `kind`; nullptr for a kind not built yet.
const AnalysisKindEntry* FindAnalysisKind(AnalysisKind kind);

// The body readers of the built kinds, for the templates sections.
TemplateKinds AnalysisTemplateKinds();

// The analysis of a stored template, ready to calculate; nullptr for a kind not built yet.
std::unique_ptr<Table> OpenTemplate(Database& database, const AnalysisTemplate& stored);

}  // namespace jov
