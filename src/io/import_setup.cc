#include "io/import_setup.h"

#include <algorithm>

#include "model/case_tables.h"

namespace jov {

bool FieldSpec::empty() const {
  return std::all_of(parts.begin(), parts.end(),
                     [](const FieldPart& part) { return part.empty(); });
}

std::string_view FieldSpec::default_text() const {
  return parts.empty() ? std::string_view() : std::string_view(parts.front().default_text);
}

ImportSetup* ImportSetups::Find(std::string_view name) {
  for (ImportSetup& setup : named_) {
    if (EqualsIgnoringCase(setup.name, name)) return &setup;
  }
  return nullptr;
}

}  // namespace jov
