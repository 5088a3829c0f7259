#include "files/section_registry.h"

#include <algorithm>
#include <utility>

#include "files/text_format.h"
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

MessageId SectionProgressText(std::string_view name) {
  using namespace text_format;
  static constexpr std::pair<std::string_view, MessageId> kTexts[] = {
      {kSaveSetup, msg::kSectionSaveSetups}, {kImportSetup, msg::kSectionImportSetups},
      {kTimeScale, msg::kSectionTimeScales}, {kMacro, msg::kSectionMacros},
      {kCards, msg::kSectionCardsLines},     {kSubset, msg::kSectionSubsets},
      {kTemplates, msg::kSectionTemplates},  {kCommands, msg::kSectionCommands}};
  for (const auto& [section, text] : kTexts) {
    if (EqualsIgnoringCase(section, name)) return text;
  }
  return kNoMessage;
}

}  // namespace jov
