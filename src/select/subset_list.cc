#include "select/subset_list.h"

#include <algorithm>

#include "model/case_tables.h"
#include "select/selection_registry.h"
#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {

std::string CountedUpName(std::string_view name) {
  const size_t digits_start = name.find_last_not_of("0123456789") + 1;  // npos + 1 is 0
  std::string counted(name);
  if (digits_start == name.size()) return counted + "1";
  for (size_t i = counted.size(); i-- > digits_start;) {
    if (counted[i] != '9') {
      ++counted[i];
      return counted;
    }
    counted[i] = '0';
  }
  counted.insert(counted.begin() + static_cast<std::ptrdiff_t>(digits_start), '1');
  return counted;
}

SubsetList& SubsetList::Of(Database& database) {
  return SelectionRegistry::Of(database).database_subsets();
}

const SubsetList* SubsetList::Find(const Database& database) {
  return SelectionRegistry::Of(database).made_database_subsets();
}

SubsetList::SubsetList(Database& database, SubsetListKind kind)
    : database_(database), registry_(&SelectionRegistry::Of(database)), kind_(kind) {
  registry_->AddList(this);
}

// The registry is kept, not looked up: the database's own list is destroyed while the
// database takes its attachments down.
SubsetList::~SubsetList() {
  subsets_.clear();
  if (registry_ != nullptr) registry_->RemoveList(this);
}

Subset* SubsetList::Find(std::string_view name) const {
  for (const auto& subset : subsets_) {
    if (EqualsIgnoringCase(subset->name(), name)) return subset.get();
  }
  return nullptr;
}

std::string SubsetList::UniqueName(std::string_view name, const Subset* except) const {
  std::string unique(name);
  if (unique.empty()) unique = kind_ == SubsetListKind::kDatabase ? "G1" : "S1";
  const auto taken = [&](std::string_view candidate) {
    const Subset* found = Find(candidate);
    return found != nullptr && found != except;
  };
  while (taken(unique)) unique = CountedUpName(unique);
  return unique;
}

Subset& SubsetList::Create(std::string_view name) {
  subsets_.push_back(std::unique_ptr<Subset>(new Subset(*this, UniqueName(name))));
  Subset& subset = *subsets_.back();
  Announce(ChangeCode::kSubsetAdded, subset);
  return subset;
}

bool SubsetList::Erase(Subset& subset, bool confirm) {
  if (subset.IsInUse()) {
    AlertRecord refusal(msg::kSubsetInUse);
    refusal.Arg(subset.name()).Button(msg::kButtonOk);
    ReportAlert(refusal);
    return false;
  }
  if (confirm) {
    AlertRecord question(msg::kConfirmDelete);
    question.Arg(subset.name())
        .ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
        .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
    if (ReportAlert(question) != 0) return false;
  }
  registry_->ForgetSubset(subset);
  const int index = IndexOf(subset);
  std::unique_ptr<Subset> erased = std::move(subsets_[static_cast<size_t>(index)]);
  subsets_.erase(subsets_.begin() + index);
  if (kind_ == SubsetListKind::kDatabase) {
    database_.MarkModified();
    database_.Notify(ChangeCode::kSubsetRemoved, index);
  }
  return true;
}

bool SubsetList::Rename(Subset& subset, std::string_view name) {
  if (EqualsIgnoringCase(name, subset.name()) || Combination::IsKeyword(name)) return false;
  // Texts not yet compiled still hold the old name: they are read before it goes.
  registry_->CompileAll();
  subset.name_ = UniqueName(name, &subset);
  Announce(ChangeCode::kSubsetRenamed, subset);
  return true;
}

void SubsetList::InvalidateAll() {
  for (const auto& subset : subsets_) subset->Invalidate();
}

void SubsetList::ReleaseIdle(uint32_t now) {
  for (const auto& subset : subsets_) subset->ReleaseIfIdle(now);
}

int SubsetList::IndexOf(const Subset& subset) const {
  const auto it = std::find_if(subsets_.begin(), subsets_.end(),
                               [&](const auto& owned) { return owned.get() == &subset; });
  return static_cast<int>(it - subsets_.begin());
}

void SubsetList::Announce(ChangeCode code, const Subset& subset) const {
  if (kind_ != SubsetListKind::kDatabase) return;
  if (code != ChangeCode::kSubsetChanged) database_.MarkModified();
  database_.Notify(code, IndexOf(subset));
}

}  // namespace jov
