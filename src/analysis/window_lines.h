// What a window hands to the operations that rewrite the database (transform and aggregate): the
// lines it holds and the level its rows are marked at. A card analysis marks cards, groups or
// lines; a subset, a template window and the base window hold lines.
#pragma once

#include <cstdint>
#include <vector>

#include "model/database.h"
#include "select/line_set.h"

namespace jov {

// The kinds of rows of a card analysis, which are also the levels that its counting, deleting
// and transforming refer to.
enum class CardLevel : uint8_t { kCards = 0, kGroups = 1, kLines = 2 };

struct WindowLines {
  const LineSet* lines = nullptr;  // nullptr: every line of the database
  CardLevel level = CardLevel::kLines;

  bool Holds(LineRef line) const { return lines == nullptr || lines->Test(line); }
};

struct CardLine {
  GroupRef group = kNoRecord;
  LineRef line = kNoLine;
};

// The cards that hold a line of the window, in card order. Taken before the data changes, the
// list stays valid while only cards already passed are removed and new cards are not added to
// it.
std::vector<CardRef> WindowCards(const CardStore& cards, const WindowLines& window);

// The lines of `card` that the window covers at its level, in group and line order, into `out`
// (emptied first): every line of the card at the card level, every line of a group that holds
// one of the window's lines at the group level, the window's own lines at the line level.
void CoveredLines(const CardStore& cards, CardRef card, const WindowLines& window,
                  std::vector<CardLine>& out);

// The number of lines of `card`.
size_t CardLineCount(const CardStore& cards, CardRef card);

}  // namespace jov
