#include "automation/section_kinds.h"

#include "analysis/time_scale_section.h"
#include "select/selection_save_filter.h"

namespace jov {

SectionRegistry FullSectionRegistry() {
  SectionRegistry registry = DefaultSectionRegistry();
  RegisterTimeScaleSection(registry);
  RegisterSelectionSaveFilter(registry);
  return registry;
}

}  // namespace jov
