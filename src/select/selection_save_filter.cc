#include "select/selection_save_filter.h"

#include "model/database.h"

namespace jov {

SelectionSaveFilter::SelectionSaveFilter(Database& database, const SaveSetup& setup)
    : selection_(database), level_(setup.level) {
  for (const std::string& line : setup.selection_lines) selection_.ReadBlockLine(line);
}

bool SelectionSaveFilter::InDateRange(const Database& database, CardRef card) const {
  const Date id = database.cards().CardId(card);
  return (selection_.from().IsOpen() || id >= selection_.from().date()) &&
         (selection_.to().IsOpen() || id <= selection_.to().date());
}

bool SelectionSaveFilter::TakesAnyLine(const Database& database, CardRef card) const {
  const CardStore& cards = database.cards();
  for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
    if (!selection_.GroupPasses(g)) continue;
    for (LineRef line = cards.group(g).first_line; line != kNoLine;
         line = cards.lines().next(line)) {
      if (selection_.LinePasses(line)) return true;
    }
  }
  return false;
}

bool SelectionSaveFilter::KeepCard(const Database& database, CardRef card) const {
  if (!InDateRange(database, card) || !selection_.CardPasses(card)) return false;
  return level_ == 'L' || TakesAnyLine(database, card);
}

bool SelectionSaveFilter::KeepGroup(const Database&, CardRef, GroupRef group) const {
  return level_ == 'C' || selection_.GroupPasses(group);
}

bool SelectionSaveFilter::KeepLine(const Database&, GroupRef, LineRef line) const {
  return level_ != 'L' || selection_.LinePasses(line);
}

std::unique_ptr<SaveFilter> MakeSelectionSaveFilter(Database& database, const SaveSetup& setup) {
  if (setup.selection_lines.empty()) return nullptr;
  auto filter = std::make_unique<SelectionSaveFilter>(database, setup);
  if (filter->selection().IsEmpty() || !filter->Prepare()) return nullptr;
  return filter;
}

void RegisterSelectionSaveFilter(SectionRegistry& registry) {
  registry.SetSaveFilterFactory(MakeSelectionSaveFilter);
}

}  // namespace jov
