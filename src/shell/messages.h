// Localised message tables: every user-visible text is fetched by its MessageId. A MessageId's
// table base is the id rounded down to a multiple of 100, its item index the id modulo 100; the
// table of language L is resource base + L. A missing table or an empty item in another language
// falls back to English.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "shell/message_ids.h"
#include "shell/message_resources.h"

namespace jov {

// Language indices; the chooser lists them alphabetically by name (LanguageChooserOrder).
enum Language : int {
  kEnglish = 0,
  kSwedish,
  kNorwegian,
  kDanish,
  kFinnish,
  kGerman,
  kDutch,
  kFrench,
  kSlovak,
  kLanguageCount
};

// Names as the language chooser shows them (Windows-1252), in language-index order.
const char* LanguageName(int language);
// Language indices in the chooser's alphabetical order.
std::span<const int> LanguageChooserOrder();

class MessageTables {
 public:
  // `resources` must be sorted by number and outlive the tables.
  explicit MessageTables(std::span<const MessageResource> resources);

  // The item of one resource, without fallback; nothing when the resource or item is missing.
  std::optional<std::string> LookupItem(int table_base, int item, int language) const;

  // Lookup with the language fallback; nothing for a negative id or a missing English table,
  // in which case *english_missing (when given) is set.
  std::optional<std::string> Lookup(MessageId id, int language,
                                    bool* english_missing = nullptr) const;

 private:
  const MessageResource* FindResource(uint32_t number) const;

  std::span<const MessageResource> resources_;
};

// The tables compiled into the program.
const MessageTables& BuiltInMessageTables();

// Looks `id` up in the current tables and language (see process.h); empty when there is none.
// A missing English table posts the pending error msg::kResourceError, once per table.
std::string MessageText(MessageId id);

}  // namespace jov
