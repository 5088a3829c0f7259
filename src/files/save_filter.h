// The save filter: which cards, groups and lines a save writes. It is built from a save setup's
// selection by the selection layer; a save without one writes everything.
#pragma once

#include "model/card_store.h"

namespace jov {

class Database;

class SaveFilter {
 public:
  virtual ~SaveFilter() = default;
  // The card's date and card criteria.
  virtual bool KeepCard(const Database& database, CardRef card) const = 0;
  virtual bool KeepGroup(const Database& database, CardRef card, GroupRef group) const = 0;
  virtual bool KeepLine(const Database& database, GroupRef group, LineRef line) const = 0;
};

// With a filter: whether any line of the group, or of the card, is saved (a card is saved only
// when it passes and at least one of its groups does). Without one, everything is saved.
bool SavesLine(const SaveFilter* filter, const Database& database, GroupRef group, LineRef line);
bool SavesGroup(const SaveFilter* filter, const Database& database, CardRef card, GroupRef group);
bool SavesCard(const SaveFilter* filter, const Database& database, CardRef card);

}  // namespace jov
