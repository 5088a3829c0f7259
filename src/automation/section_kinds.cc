#include "automation/section_kinds.h"

#include "analysis/time_scale_section.h"
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
  return registry;
}

}  // namespace jov
