#include "files/section_registry.h"

#include <algorithm>
#include <utility>

#include "files/text_format.h"
#include "model/case_tables.h"
#include "shell/message_ids.h"

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
  static constexpr std::pair<std::string_view, MessageId> kTexts[] = {
      {text_format::kSaveSetup, msg::kSectionSaveSetups},
      {text_format::kImportSetup, msg::kSectionImportSetups},
      {text_format::kTimeScale, msg::kSectionTimeScales},
      {text_format::kMacro, msg::kSectionMacros},
      {text_format::kCards, msg::kSectionCardsLines},
      {text_format::kSubset, msg::kSectionSubsets},
      {text_format::kTemplates, msg::kSectionTemplates},
      {text_format::kCommands, msg::kSectionCommands}};
  for (const auto& [section, text] : kTexts) {
    if (EqualsIgnoringCase(section, name)) return text;
  }
  return kNoMessage;
}

SectionHandler OwnedSectionHandler(const SectionRegistry& registry, std::string_view name,
                                   SaveSection flag) {
  const SectionHandler* kept = registry.Find(name);
  SectionHandler handler = kept != nullptr ? *kept : SectionHandler{};
  handler.name = std::string(name);
  handler.flag = flag;
  return handler;
}

}  // namespace jov
