#include "shell/messages.h"

#include <algorithm>
#include <array>

#include "shell/pending_error.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr std::array<const char*, kLanguageCount> kLanguageNames = {"English",
                                                                    "Svenska",
                                                                    "Norsk",
                                                                    "Dansk",
                                                                    "Suomi",
                                                                    "Deutsch",
                                                                    "Nederlands",
                                                                    "Fran\xE7"
                                                                    "ais",
                                                                    "Slovak"};
constexpr std::array<int, kLanguageCount> kChooserOrder = {3, 5, 0, 7, 6, 2, 8, 4, 1};

}  // namespace

const char* LanguageName(int language) {
  if (language < 0 || language >= kLanguageCount) return "";
  return kLanguageNames[language];
}

std::span<const int> LanguageChooserOrder() { return kChooserOrder; }

MessageTables::MessageTables(std::span<const MessageResource> resources) : resources_(resources) {}

const MessageResource* MessageTables::FindResource(uint32_t number) const {
  const auto it =
      std::lower_bound(resources_.begin(), resources_.end(), number,
                       [](const MessageResource& r, uint32_t wanted) { return r.number < wanted; });
  return it != resources_.end() && it->number == number ? &*it : nullptr;
}

std::optional<std::string> MessageTables::LookupItem(int table_base, int item, int language) const {
  if (table_base < 0 || item < 0 || language < 0) return std::nullopt;
  const MessageResource* resource = FindResource(static_cast<uint32_t>(table_base + language));
  if (resource == nullptr) return std::nullopt;
  const std::string_view bytes = resource->bytes;
  size_t pos = 0;
  for (int k = 0;; ++k) {
    if (pos + 2 > bytes.size()) return std::nullopt;
    const size_t length = static_cast<unsigned char>(bytes[pos]) |
                          (static_cast<size_t>(static_cast<unsigned char>(bytes[pos + 1])) << 8);
    if (pos + 2 + length + 1 > bytes.size()) return std::nullopt;
    if (k == item) return std::string(bytes.substr(pos + 2, length));
    pos += length + 3;
  }
}

std::optional<std::string> MessageTables::Lookup(MessageId id, int language,
                                                 bool* english_missing) const {
  if (id < 0) return std::nullopt;
  const int base = id / 100 * 100;
  const int item = id % 100;
  if (language != kEnglish && FindResource(static_cast<uint32_t>(base + language)) != nullptr) {
    std::optional<std::string> text = LookupItem(base, item, language);
    if (text && !text->empty()) return text;
  }
  if (FindResource(static_cast<uint32_t>(base)) == nullptr) {
    if (english_missing != nullptr) *english_missing = true;
    return std::nullopt;
  }
  return LookupItem(base, item, kEnglish);
}

const MessageTables& BuiltInMessageTables() {
  static const MessageTables tables(BuiltInMessageResources());
  return tables;
}

std::string MessageText(MessageId id) {
  ProcessState& process = Process();
  bool english_missing = false;
  std::optional<std::string> text =
      process.messages->Lookup(id, process.preferences.language, &english_missing);
  if (english_missing && process.missing_tables_reported.insert(id / 100).second) {
    PostMissingResource();
  }
  return text.value_or(std::string());
}

}  // namespace jov
