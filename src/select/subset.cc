#include "select/subset.h"

#include <algorithm>

#include "model/case_tables.h"
#include "model/database.h"
#include "platform/clock.h"
#include "select/selection_registry.h"
#include "select/subset_list.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

void Report(MessageId message, std::string_view subject) {
  AlertRecord alert(message);
  alert.Arg(subject);
  ReportAlert(alert);
}

// Marks a subset as being calculated, and counts how deep calculations nest, while it lives.
class CalculatingGuard {
 public:
  CalculatingGuard(bool& calculating, int& depth) : calculating_(calculating), depth_(depth) {
    calculating_ = true;
    ++depth_;
  }
  ~CalculatingGuard() {
    calculating_ = false;
    --depth_;
  }
  CalculatingGuard(const CalculatingGuard&) = delete;
  CalculatingGuard& operator=(const CalculatingGuard&) = delete;

 private:
  bool& calculating_;
  int& depth_;
};

}  // namespace

Subset::Subset(SubsetList& list, std::string name) : list_(list), name_(std::move(name)) {}

Subset::~Subset() = default;

Database& Subset::database() const { return list_.database(); }

// ---------------------------------------------------------------------------------------------
// Named selections

NamedSelection& Subset::AddSelection(std::string_view name) {
  std::string unique(name.empty() ? MessageText(msg::kSelectionName) : std::string(name));
  while (FindSelection(unique) != nullptr) unique = CountedUpName(unique);
  SubsetList* local = list_.kind() == SubsetListKind::kLocal ? &list_ : nullptr;
  selections_.push_back(std::make_unique<NamedSelection>(std::move(unique), database(), local));
  calculated_ = false;
  return *selections_.back();
}

bool Subset::RenameSelection(NamedSelection& selection, std::string_view name) {
  if (name.empty()) return false;
  // The compiled combination holds its operands, and prints them with their names.
  EnsureCompiled();
  std::string unique(name);
  for (NamedSelection* found = FindSelection(unique); found != nullptr && found != &selection;
       found = FindSelection(unique)) {
    unique = CountedUpName(unique);
  }
  selection.name_ = std::move(unique);
  return true;
}

bool Subset::MoveSelection(size_t from, size_t to) {
  if (from >= selections_.size() || to >= selections_.size()) return false;
  // Compiled before the order changes: a combination read from text finds its selections by
  // name in list order.
  EnsureCompiled();
  std::unique_ptr<NamedSelection> moved = std::move(selections_[from]);
  selections_.erase(selections_.begin() + static_cast<std::ptrdiff_t>(from));
  selections_.insert(selections_.begin() + static_cast<std::ptrdiff_t>(to), std::move(moved));
  return true;
}

NamedSelection* Subset::FindSelection(std::string_view name) const {
  for (const auto& selection : selections_) {
    if (EqualsIgnoringCase(selection->name(), name)) return selection.get();
  }
  return nullptr;
}

bool Subset::DeleteSelection(NamedSelection& selection) {
  if (combination().Names(&selection)) {
    Report(msg::kSelectionInUse, selection.name());
    return false;
  }
  std::erase_if(selections_, [&](const auto& owned) { return owned.get() == &selection; });
  calculated_ = false;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Combination

CombinationScope Subset::Scope() const {
  CombinationScope scope;
  scope.selections = &selections_;
  // A subset of the database's own list sees no subsets; a local one sees its own list first.
  if (list_.kind() == SubsetListKind::kLocal) {
    scope.local = &list_;
    scope.database = &SubsetList::Of(database());
  }
  return scope;
}

void Subset::SetCombination(std::string_view text) {
  combination_text_ = text;
  compiled_ = false;
  calculated_ = false;
}

void Subset::EnsureCompiled() const {
  if (compiled_) return;
  compiled_ = true;
  combination_.Compile(combination_text_, Scope());
}

const Combination& Subset::combination() const {
  EnsureCompiled();
  return combination_;
}

std::string Subset::combination_text(bool displayed) const { return combination().Text(displayed); }

void Subset::ForgetSubset(const Subset& gone) {
  if (!compiled_ || !combination_.Names(&gone)) return;
  // The name stays in the text, where the next compilation no longer finds it.
  combination_text_ = combination_.Text(false);
  compiled_ = false;
  calculated_ = false;
}

// ---------------------------------------------------------------------------------------------
// Calculation

std::vector<Subset*> Subset::Dependencies() const {
  std::vector<Subset*> dependencies = combination().NamedSubsets();
  for (const auto& selection : selections_) {
    for (Subset* subset : selection->selection().ReferencedSubsets()) {
      if (std::find(dependencies.begin(), dependencies.end(), subset) == dependencies.end()) {
        dependencies.push_back(subset);
      }
    }
  }
  return dependencies;
}

void Subset::FreeResult() {
  result_.Free();
  has_result_ = false;
}

bool Subset::Calculate(bool* changed) {
  if (changed != nullptr) *changed = false;
  SelectionRegistry& registry = SelectionRegistry::Of(database());
  if (calculating_) {
    Report(msg::kSubsetRefersToItself, name_);
    return false;
  }
  if (registry.calculation_depth() >= kMaxNesting) {
    Report(msg::kSubsetsNestedTooDeeply, name_);
    return false;
  }
  if (registry.calculation_depth() == 0) registry.ReleaseIdleSubsets(TickCountMs());
  last_use_ = TickCountMs();
  if (combination().empty()) {
    if (has_result_) {
      FreeResult();
      ++version_;
      if (changed != nullptr) *changed = true;
    }
    calculated_ = false;
    return true;
  }
  const CalculatingGuard guard(calculating_, registry.calculation_depth());
  // What the result depends on is brought up to date first.
  std::vector<uint64_t> inputs = {registry.data_revision()};
  for (const auto& selection : selections_) inputs.push_back(selection->revision());
  for (Subset* dependency : Dependencies()) {
    if (!dependency->Calculate()) return false;
    inputs.push_back(dependency->version());
  }
  if (calculated_ && inputs == inputs_) return true;
  LineSet result;
  const Calculation outcome = combination_.Evaluate(database(), result);
  if (outcome == Calculation::kFailed) return false;
  const bool differs = !has_result_ || !(result == result_);
  result_ = std::move(result);
  has_result_ = true;
  // A stopped calculation leaves an empty result that is calculated anew when next needed.
  calculated_ = outcome == Calculation::kDone;
  inputs_ = std::move(inputs);
  if (differs) {
    ++version_;
    list_.Announce(ChangeCode::kSubsetChanged, *this);
  }
  if (changed != nullptr) *changed = differs;
  return true;
}

int64_t Subset::Count() const {
  return calculated_ && has_result_ ? static_cast<int64_t>(result_.Count()) : -1;
}

std::string Subset::CountLine() const {
  const int64_t lines = Count();
  if (lines < 0) return MessageText(msg::kSubsetNotCalculated);
  if (lines == 0) return MessageText(msg::kZeroLines);
  if (lines == 1) return MessageText(msg::kOneLine);
  const CardStore& cards = database().cards();
  int64_t cards_with_lines = 0;
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    bool any = false;
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord && !any;
         g = cards.group(g).next) {
      for (LineRef line = cards.group(g).first_line; line != kNoLine && !any;
           line = cards.lines().next(line)) {
        any = result_.Test(line);
      }
    }
    cards_with_lines += any;
  }
  AlertRecord text(cards_with_lines < 2 ? msg::kLinesInOneCard : msg::kLinesInCards);
  text.Arg(lines).Arg(cards_with_lines);
  return text.ComposeText();
}

bool Subset::IsInUse() const {
  const std::vector<Selection*>& selections = SelectionRegistry::Of(database()).selections();
  return std::any_of(selections.begin(), selections.end(),
                     [&](const Selection* selection) { return selection->NamesSubset(this); });
}

bool Subset::ReleaseIfIdle(uint32_t now) {
  if (!has_result_ || now - last_use_ <= kIdleMs || window_open_ || IsInUse()) return false;
  FreeResult();
  for (const auto& selection : selections_) selection->selection().ReleaseSubsetLines();
  calculated_ = false;
  last_use_ = now;
  return true;
}

}  // namespace jov
