#include "analysis/analysis_kinds.h"

#include "analysis/card_analysis.h"
#include "analysis/component_analysis.h"
#include "analysis/component_functions.h"
#include "analysis/line_analysis.h"
#include "analysis/time_functions.h"

namespace jov {
namespace {

// The analysis of a template whose body was read as `Body`, the analysis's own.
template <typename Analysis, typename Body>
std::unique_ptr<Table> Open(Database& database, const AnalysisTemplate& stored) {
  const auto* body = dynamic_cast<const Body*>(stored.body.get());
  if (body == nullptr) return nullptr;
  auto analysis = std::make_unique<Analysis>(database);
  analysis->Apply(stored.frame, *body);
  return analysis;
}

template <typename Analysis>
std::unique_ptr<Table> Create(Database& database) {
  return std::make_unique<Analysis>(database);
}

template <typename Analysis>
TemplateFrame& FrameOf(Table& analysis) {
  return static_cast<Analysis&>(analysis).frame();
}

template <typename Analysis>
Selection* SelectionOf(Table& analysis) {
  return &static_cast<Analysis&>(analysis).selection();
}

Selection* NoSelection(Table&) { return nullptr; }

template <typename Analysis>
AnalysisTemplate ToTemplate(const Table& analysis, const std::string& name) {
  return static_cast<const Analysis&>(analysis).ToTemplate(name);
}

// The entry of an analysis class whose rows come from one selection.
template <typename Analysis, typename Body>
constexpr AnalysisKindEntry Entry(AnalysisKind kind,
                                  std::unique_ptr<TemplateBody> (*new_body)(Database&),
                                  Selection* (*selection)(Table&) = &SelectionOf<Analysis>) {
  return {kind,
          new_body,
          &Open<Analysis, Body>,
          &Create<Analysis>,
          &FrameOf<Analysis>,
          selection,
          &ToTemplate<Analysis>};
}

constexpr AnalysisKindEntry kKinds[] = {
    Entry<CardAnalysis, CardTemplateBody>(AnalysisKind::kCards, &NewCardTemplateBody),
    Entry<LineAnalysis, LineTemplateBody>(AnalysisKind::kLines, &NewLineTemplateBody),
    Entry<ComponentAnalysis, ComponentTemplateBody>(AnalysisKind::kComponents,
                                                    &NewComponentTemplateBody),
    Entry<TimeFunctionsAnalysis, TimeFunctionsTemplateBody>(
        AnalysisKind::kTimeFunctions, &NewTimeFunctionsTemplateBody, &NoSelection),
    Entry<ComponentFunctionsAnalysis, ComponentFunctionsTemplateBody>(
        AnalysisKind::kComponentFunctions, &NewComponentFunctionsTemplateBody, &NoSelection),
};

}  // namespace

std::span<const AnalysisKindEntry> BuiltAnalysisKinds() { return kKinds; }

const AnalysisKindEntry* FindAnalysisKind(AnalysisKind kind) {
  for (const AnalysisKindEntry& entry : kKinds) {
    if (entry.kind == kind) return &entry;
  }
  return nullptr;
}

TemplateKinds AnalysisTemplateKinds() {
  TemplateKinds kinds;
  for (const AnalysisKindEntry& entry : kKinds) kinds.Register(entry.kind, entry.new_body);
  return kinds;
}

std::unique_ptr<Table> OpenTemplate(Database& database, const AnalysisTemplate& stored) {
  const AnalysisKindEntry* entry = FindAnalysisKind(stored.frame.kind);
  return entry != nullptr ? entry->open(database, stored) : nullptr;
}

}  // namespace jov
