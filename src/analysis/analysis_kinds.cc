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

constexpr AnalysisKindEntry kKinds[] = {
    {AnalysisKind::kCards, &NewCardTemplateBody, &Open<CardAnalysis, CardTemplateBody>},
    {AnalysisKind::kLines, &NewLineTemplateBody, &Open<LineAnalysis, LineTemplateBody>},
    {AnalysisKind::kComponents, &NewComponentTemplateBody,
     &Open<ComponentAnalysis, ComponentTemplateBody>},
    {AnalysisKind::kTimeFunctions, &NewTimeFunctionsTemplateBody,
     &Open<TimeFunctionsAnalysis, TimeFunctionsTemplateBody>},
    {AnalysisKind::kComponentFunctions, &NewComponentFunctionsTemplateBody,
     &Open<ComponentFunctionsAnalysis, ComponentFunctionsTemplateBody>},
};

}  // namespace

std::span<const AnalysisKindEntry> BuiltAnalysisKinds() { return kKinds; }

TemplateKinds AnalysisTemplateKinds() {
  TemplateKinds kinds;
  for (const AnalysisKindEntry& entry : kKinds) kinds.Register(entry.kind, entry.new_body);
  return kinds;
}

std::unique_ptr<Table> OpenTemplate(Database& database, const AnalysisTemplate& stored) {
  for (const AnalysisKindEntry& entry : kKinds) {
    if (entry.kind == stored.frame.kind) return entry.open(database, stored);
  }
  return nullptr;
}

}  // namespace jov
