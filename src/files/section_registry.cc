#include "files/section_registry.h"

#include <algorithm>

#include "model/case_tables.h"

namespace jov {

void SectionRegistry::Register(SectionHandler handler) {
  std::erase_if(handlers_, [&](const SectionHandler& registered) {
    return EqualsIgnoringCase(registered.name, handler.name);
  });
  const auto place = std::upper_bound(
      handlers_.begin(), handlers_.end(), handler.save_order,
      [](int order, const SectionHandler& registered) { return order < registered.save_order; });
  handlers_.insert(place, std::move(handler));
}

const SectionHandler* SectionRegistry::Find(std::string_view name) const {
  for (const SectionHandler& handler : handlers_) {
    if (EqualsIgnoringCase(handler.name, name)) return &handler;
  }
  return nullptr;
}

}  // namespace jov
