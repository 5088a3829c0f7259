#include "select/selection_registry.h"

#include <algorithm>

#include "select/selection.h"

namespace jov {

SelectionRegistry::SelectionRegistry(Database& database) : database_(database) {
  database_.AddListener(this);
}

SelectionRegistry::~SelectionRegistry() { database_.RemoveListener(this); }

void SelectionRegistry::Remove(Selection* selection) { std::erase(selections_, selection); }

void SelectionRegistry::OnDatabaseChange(Database&, ChangeCode code, int argument, int) {
  // A selection told may make or drop others (a subset recompiling), so the list is copied.
  const std::vector<Selection*> told = selections_;
  for (Selection* selection : told) {
    if (std::find(selections_.begin(), selections_.end(), selection) != selections_.end()) {
      selection->OnDatabaseChange(code, argument);
    }
  }
}

}  // namespace jov
