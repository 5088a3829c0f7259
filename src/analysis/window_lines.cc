#include "analysis/window_lines.h"

namespace jov {
namespace {

bool GroupHolds(const CardStore& cards, GroupRef group, const WindowLines& window) {
  for (LineRef line = cards.group(group).first_line; line != kNoLine;
       line = cards.lines().next(line)) {
    if (window.Holds(line)) return true;
  }
  return false;
}

bool CardHolds(const CardStore& cards, CardRef card, const WindowLines& window) {
  for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
    if (GroupHolds(cards, g, window)) return true;
  }
  return false;
}

}  // namespace

std::vector<CardRef> WindowCards(const CardStore& cards, const WindowLines& window) {
  std::vector<CardRef> listed;
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    if (window.lines == nullptr || CardHolds(cards, card, window)) listed.push_back(card);
  }
  return listed;
}

void CoveredLines(const CardStore& cards, CardRef card, const WindowLines& window,
                  std::vector<CardLine>& out) {
  out.clear();
  for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
    const bool whole = window.lines == nullptr || window.level == CardLevel::kCards ||
                       (window.level == CardLevel::kGroups && GroupHolds(cards, g, window));
    for (LineRef line = cards.group(g).first_line; line != kNoLine;
         line = cards.lines().next(line)) {
      if (whole || window.Holds(line)) out.push_back({g, line});
    }
  }
}

size_t CardLineCount(const CardStore& cards, CardRef card) {
  size_t count = 0;
  for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
    for (LineRef line = cards.group(g).first_line; line != kNoLine;
         line = cards.lines().next(line)) {
      ++count;
    }
  }
  return count;
}

}  // namespace jov
