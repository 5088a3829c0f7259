// What the line and card analyses do to the data they list: mark the listed cards examined or
// approved, and delete the listed cards, groups or lines. Each operation asks the user first,
// then obtains the user's stamp (model/user_stamp.h; without a signature nothing is done), then
// lets the front end close the card windows of the cards concerned (a window may refuse, which
// ends the operation), and announces the change when it is done. Each returns true when it did
// its work; false when the user declined, no stamp was had, a window refused or there was
// nothing to do.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "model/card_store.h"

// The items handed in are in card order, the items of one card together, as the analyses list
// them.
namespace jov {

class Database;

// Closes the open card windows that show any of `cards`; false when one refuses. Empty: the
// front end has no card windows.
using CloseCardWindows = std::function<bool(std::span<const CardRef> cards)>;

enum class CardMark { kExamined, kApproved };

struct ListedGroup {
  CardRef card;
  GroupRef group;
};
struct ListedLine {
  CardRef card;
  GroupRef group;
  LineRef line;
};

// The cards of the lines, each once, in order; the lines of one card stand together.
std::vector<CardRef> CardsOfLines(std::span<const ListedLine> lines);

// Sets the examined or approved stamp of every card.
bool MarkCards(Database& database, std::span<const CardRef> cards, CardMark mark);

// Deletes the cards.
bool DeleteListedCards(Database& database, std::span<const CardRef> cards,
                       const CloseCardWindows& close = {});
// Deletes the groups; their cards are stamped as changed, and emptied cards go.
bool DeleteListedGroups(Database& database, std::span<const ListedGroup> groups,
                        const CloseCardWindows& close = {});
// Deletes the lines; emptied groups and cards go, the others are stamped as changed.
bool DeleteListedLines(Database& database, std::span<const ListedLine> lines,
                       const CloseCardWindows& close = {});

}  // namespace jov
