#include "model/component_use.h"

namespace jov {

std::vector<bool> ComponentsInUse(const Database& database) {
  std::vector<bool> marks(database.components().size(), false);
  const CardStore& cards = database.cards();
  const int slots = database.line_layout().slots;
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      marks[cards.group(g).component] = true;
      for (LineRef line = cards.group(g).first_line; line != kNoLine;
           line = cards.lines().next(line)) {
        for (int slot = 1; slot <= slots; ++slot) marks[cards.GetComponent(line, slot)] = true;
      }
    }
  }
  for (const ComponentUseMarker* marker : database.Attached<ComponentUseMarkers>().markers) {
    marker->MarkNamedComponents(marks);
  }
  return marks;
}

}  // namespace jov
