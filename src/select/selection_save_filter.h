// The save filter of a save setup's selection: which cards, groups and lines a save writes when
// the setup limits them (its "B" lines), at the level the setup asks for:
// - whole cards ("C"): every card that has a line the selection takes, with all its lines;
// - groups ("G"): of those cards, the groups whose first-dimension component the selection
//   takes, with all their lines;
// - lines ("L"): the cards in the date range that pass the card test, and of them the lines
//   that the selection takes.
#pragma once

#include <memory>

#include "files/save_filter.h"
#include "files/save_setup.h"
#include "files/section_registry.h"
#include "select/selection.h"

namespace jov {

class SelectionSaveFilter : public SaveFilter {
 public:
  // Reads the setup's stored selection lines.
  SelectionSaveFilter(Database& database, const SaveSetup& setup);

  const Selection& selection() const { return selection_; }
  // Prepares the selection for the save; false when the user stopped it.
  bool Prepare() { return selection_.Prepare(); }

  bool KeepCard(const Database& database, CardRef card) const override;
  bool KeepGroup(const Database& database, CardRef card, GroupRef group) const override;
  bool KeepLine(const Database& database, GroupRef group, LineRef line) const override;

 private:
  bool InDateRange(const Database& database, CardRef card) const;
  bool TakesAnyLine(const Database& database, CardRef card) const;

  Selection selection_;
  char level_;
};

// The filter of the setup, prepared; null when the setup has no selection or an empty one.
std::unique_ptr<SaveFilter> MakeSelectionSaveFilter(Database& database, const SaveSetup& setup);

// Makes saves apply the setups' selections.
void RegisterSelectionSaveFilter(SectionRegistry& registry);

}  // namespace jov
