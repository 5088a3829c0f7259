#include "automation/section_kinds.h"

#include "analysis/analysis_kinds.h"
#include "analysis/time_scale_section.h"
#include "automation/macro_section.h"
#include "automation/script_host.h"
#include "files/templates_section.h"
#include "io/dim_import_section.h"
#include "io/import_setup_section.h"
#include "io/plain_text_import.h"
#include "io/sie_import.h"
#include "select/selection_save_filter.h"
#include "select/subset_section.h"

namespace jov {

SectionRegistry FullSectionRegistry() {
  SectionRegistry registry = DefaultSectionRegistry();
  RegisterTimeScaleSection(registry);
  RegisterSelectionSaveFilter(registry);
  RegisterSubsetSection(registry);
  RegisterImportSetupSection(registry);
  RegisterDimImportSection(registry);
  RegisterPlainTextImport(registry);
  RegisterSieImport(registry);
  RegisterMacroSection(registry);
  UseTemplateKinds(registry, std::make_shared<const TemplateKinds>(TemplateBodyKinds()));
  return registry;
}

SectionRegistry FullSectionRegistry(ScriptHost& host) {
  SectionRegistry registry = FullSectionRegistry();
  RegisterCommandsSection(registry, host);
  return registry;
}

const TemplateKinds& TemplateBodyKinds() {
  static const TemplateKinds kinds = AnalysisTemplateKinds();
  return kinds;
}

std::unique_ptr<Table> OpenTemplateTable(Database& database, const AnalysisTemplate& stored) {
  return OpenTemplate(database, stored);
}

}  // namespace jov
