// Running a combination's program on a stack of LineSets, and the three card-level keywords.
#include <array>

#include "model/database.h"
#include "select/combination.h"
#include "select/subset.h"
#include "shell/pending_error.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// The user-interrupt flag is tested between cards, every this many cards.
constexpr int kCardsPerStopTest = 256;

// Calls `visit(card)` for every card; false when the user stopped it.
template <typename Visit>
bool ForEachCard(const Database& database, Visit&& visit) {
  const CardStore& cards = database.cards();
  int until_stop_test = kCardsPerStopTest;
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    if (--until_stop_test == 0) {
      if (StopRequested()) return false;
      until_stop_test = kCardsPerStopTest;
    }
    visit(card);
  }
  return !StopRequested();
}

// Sets or clears every line of the groups `first`..`end` (a whole card, or one group).
void SetLines(const CardStore& cards, GroupRef first, GroupRef end, bool value, LineSet& set) {
  for (GroupRef g = first; g != end; g = cards.group(g).next) {
    for (LineRef line = cards.group(g).first_line; line != kNoLine;
         line = cards.lines().next(line)) {
      if (value) {
        set.Set(line);
      } else {
        set.Clear(line);
      }
    }
  }
}

bool AnyLineIn(const CardStore& cards, GroupRef first, GroupRef end, const LineSet& set) {
  for (GroupRef g = first; g != end; g = cards.group(g).next) {
    for (LineRef line = cards.group(g).first_line; line != kNoLine;
         line = cards.lines().next(line)) {
      if (set.Test(line)) return true;
    }
  }
  return false;
}

// "cards": every line of each card that has a line in the set.
bool SpreadToCards(const Database& database, LineSet& set) {
  const CardStore& cards = database.cards();
  return ForEachCard(database, [&](CardRef card) {
    const GroupRef first = cards.card(card).first_group;
    SetLines(cards, first, kNoRecord, AnyLineIn(cards, first, kNoRecord, set), set);
  });
}

// "groups": every line of each group that has a line in the set.
bool SpreadToGroups(const Database& database, LineSet& set) {
  const CardStore& cards = database.cards();
  return ForEachCard(database, [&](CardRef card) {
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      const GroupRef end = cards.group(g).next;
      SetLines(cards, g, end, AnyLineIn(cards, g, end, set), set);
    }
  });
}

// "unbalanced": every line of each group whose sums over its lines in the set are not all 0,
// each sum snapped to 0 below 5.2e-7 in magnitude.
bool KeepUnbalancedGroups(const Database& database, LineSet& set) {
  const CardStore& cards = database.cards();
  const int fields = database.value_field_count();
  return ForEachCard(database, [&](CardRef card) {
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      std::array<double, Database::kMaxValueFields> sums{};
      for (LineRef line = cards.group(g).first_line; line != kNoLine;
           line = cards.lines().next(line)) {
        if (!set.Test(line)) continue;
        for (int f = 0; f < fields; ++f) sums[f] += cards.GetValue(line, f);
      }
      bool unbalanced = false;
      for (int f = 0; f < fields; ++f) unbalanced |= SnapToZero(sums[f]) != 0;
      SetLines(cards, g, cards.group(g).next, unbalanced, set);
    }
  });
}

// Runs one step of the program.
Calculation RunStep(Database& database, const CombinationStep& step, size_t size,
                    std::vector<LineSet>& stack) {
  switch (step.op) {
    case CombinationOp::kSelection: {
      LineSet& lines = stack.emplace_back();
      if (step.selection->CollectLines(lines)) return Calculation::kDone;
      return StopRequested() ? Calculation::kStopped : Calculation::kFailed;
    }
    case CombinationOp::kSubset: {
      LineSet& lines = stack.emplace_back();
      if (!lines.Reset(size)) return Calculation::kFailed;
      if (!step.subset->Calculate()) return Calculation::kFailed;
      if (const LineSet* result = step.subset->lines()) lines |= *result;
      return Calculation::kDone;
    }
    case CombinationOp::kUnbalancedAll: {
      LineSet& lines = stack.emplace_back();
      if (!lines.Reset(size)) return Calculation::kFailed;
      lines.SetAll();
      return KeepUnbalancedGroups(database, lines) ? Calculation::kDone : Calculation::kStopped;
    }
    case CombinationOp::kComplement:
      stack.back().Complement();
      return Calculation::kDone;
    case CombinationOp::kCards:
      return SpreadToCards(database, stack.back()) ? Calculation::kDone : Calculation::kStopped;
    case CombinationOp::kGroups:
      return SpreadToGroups(database, stack.back()) ? Calculation::kDone : Calculation::kStopped;
    case CombinationOp::kUnbalanced:
      return KeepUnbalancedGroups(database, stack.back()) ? Calculation::kDone
                                                          : Calculation::kStopped;
    default: {
      LineSet right = std::move(stack.back());
      stack.pop_back();
      LineSet& left = stack.back();
      if (step.op == CombinationOp::kUnion) left |= right;
      if (step.op == CombinationOp::kEitherOr) left ^= right;
      if (step.op == CombinationOp::kIntersection) left &= right;
      if (step.op == CombinationOp::kMinus) left.Subtract(right);
      return Calculation::kDone;
    }
  }
}

}  // namespace

Calculation Combination::Evaluate(Database& database, LineSet& result) const {
  const size_t size = database.cards().lines().size();
  std::vector<LineSet> stack;
  Calculation outcome = Calculation::kDone;
  for (const CombinationStep& step : steps_) {
    outcome = StopRequested() ? Calculation::kStopped : RunStep(database, step, size, stack);
    if (outcome != Calculation::kDone) break;
  }
  if (outcome == Calculation::kFailed) return outcome;
  // An interrupt leaves an empty set.
  if (outcome == Calculation::kStopped || stack.empty()) {
    return result.Reset(size) ? outcome : Calculation::kFailed;
  }
  result = std::move(stack.back());
  return Calculation::kDone;
}

}  // namespace jov
