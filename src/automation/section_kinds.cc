#include "automation/section_kinds.h"

#include "analysis/time_scale_section.h"

namespace jov {

SectionRegistry FullSectionRegistry() {
  SectionRegistry registry = DefaultSectionRegistry();
  RegisterTimeScaleSection(registry);
  return registry;
}

}  // namespace jov
