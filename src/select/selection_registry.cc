#include "select/selection_registry.h"

#include <algorithm>

#include "select/selection.h"
#include "select/subset_list.h"

namespace jov {
namespace {

// The changes after which results must be calculated anew.
bool ChangesResults(ChangeCode code) {
  switch (code) {
    case ChangeCode::kComponents:
    case ChangeCode::kCards:
    case ChangeCode::kCardDigits:
    case ChangeCode::kValueFieldCount:
    case ChangeCode::kReferencePoint:
    case ChangeCode::kTimeScaleAdded:
    case ChangeCode::kTimeScaleRenamed:
    case ChangeCode::kTimeScaleChanged:
    case ChangeCode::kTimeScaleRemoved:
      return true;
    default:
      return false;
  }
}

}  // namespace

SelectionRegistry::SelectionRegistry(Database& database) : database_(database) {
  database_.AddListener(this);
  // Both live as long as the database, so the marker is never asked after the registry went.
  database_.Attached<ComponentUseMarkers>().markers.push_back(this);
}

SelectionRegistry::~SelectionRegistry() {
  database_subsets_.reset();
  // The selections and local subset lists that other attachments of the database hold (the
  // templates') may go after the registry.
  for (Selection* selection : selections_) selection->ForgetRegistry();
  for (SubsetList* list : lists_) list->ForgetRegistry();
  database_.RemoveListener(this);
}

void SelectionRegistry::Remove(Selection* selection) { std::erase(selections_, selection); }

void SelectionRegistry::RemoveList(SubsetList* list) { std::erase(lists_, list); }

SubsetList& SelectionRegistry::database_subsets() {
  if (!database_subsets_) {
    database_subsets_ = std::make_unique<SubsetList>(database_, SubsetListKind::kDatabase);
  }
  return *database_subsets_;
}

void SelectionRegistry::ReleaseIdleSubsets(uint32_t now) {
  for (SubsetList* list : lists_) list->ReleaseIdle(now);
}

void SelectionRegistry::ForgetSubset(const Subset& gone) {
  for (SubsetList* list : lists_) {
    for (const auto& subset : list->subsets()) subset->ForgetSubset(gone);
  }
  for (Selection* selection : selections_) selection->ForgetSubset(gone);
}

void SelectionRegistry::CompileAll() {
  for (SubsetList* list : lists_) {
    for (const auto& subset : list->subsets()) subset->combination();
  }
  for (Selection* selection : selections_) selection->ReferencedSubsets();
}

void SelectionRegistry::OnDatabaseChange(Database&, ChangeCode code, int argument, int) {
  // A selection told may make or drop others, so the list is copied.
  const std::vector<Selection*> told = selections_;
  for (Selection* selection : told) {
    if (std::find(selections_.begin(), selections_.end(), selection) != selections_.end()) {
      selection->OnDatabaseChange(code, argument);
    }
  }
  if (!ChangesResults(code)) return;
  ++data_revision_;
  for (SubsetList* list : lists_) list->InvalidateAll();
}

void SelectionRegistry::MarkNamedComponents(std::vector<bool>& marks) const {
  for (const SubsetList* list : lists_) {
    for (const auto& subset : list->subsets()) {
      for (const auto& named : subset->selections()) named->selection().MarkNamedComponents(marks);
    }
  }
}

}  // namespace jov
