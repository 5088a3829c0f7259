#include "files/save_filter.h"

#include "model/database.h"

namespace jov {

bool SavesLine(const SaveFilter* filter, const Database& database, GroupRef group, LineRef line) {
  return filter == nullptr || filter->KeepLine(database, group, line);
}

bool SavesGroup(const SaveFilter* filter, const Database& database, CardRef card, GroupRef group) {
  if (filter == nullptr) return true;
  if (!filter->KeepGroup(database, card, group)) return false;
  const CardStore& cards = database.cards();
  for (LineRef line = cards.group(group).first_line; line != kNoLine;
       line = cards.lines().next(line)) {
    if (filter->KeepLine(database, group, line)) return true;
  }
  return false;
}

bool SavesCard(const SaveFilter* filter, const Database& database, CardRef card) {
  if (filter == nullptr) return true;
  if (!filter->KeepCard(database, card)) return false;
  const CardStore& cards = database.cards();
  for (GroupRef group = cards.card(card).first_group; group != kNoRecord;
       group = cards.group(group).next) {
    if (SavesGroup(filter, database, card, group)) return true;
  }
  return false;
}

}  // namespace jov
