#include "analysis/analysis_kinds.h"

#include "analysis/component_analysis.h"

namespace jov {
namespace {

std::unique_ptr<Table> OpenComponents(Database& database, const AnalysisTemplate& stored) {
  const auto* body = dynamic_cast<const ComponentTemplateBody*>(stored.body.get());
  if (body == nullptr) return nullptr;
  auto analysis = std::make_unique<ComponentAnalysis>(database);
  analysis->Apply(stored.frame, *body);
  return analysis;
}

constexpr AnalysisKindEntry kKinds[] = {
    {AnalysisKind::kComponents, &NewComponentTemplateBody, &OpenComponents},
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
