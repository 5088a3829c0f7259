// The walk of the active kinds: one pass over the cards in date order that opens a period at
// each day, card, group or line that has a line some variable takes, closing the current one
// first. Variables without a time shift are measured on the way; the others read their shifted
// windows of the periods afterwards (time_functions.cc).
#include <vector>

#include "analysis/time_functions.h"
#include "model/database.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

// The cards between user-interrupt tests.
constexpr int kCardsPerStopTest = 64;

// A variable on the walk, with what the card, group and line at hand pass for it.
struct Walker {
  const Variable* variable;
  size_t column;
  Date from;
  Date to;
  bool measures;  // no time shift: measured on the walk
  int field;
  MeasureAccumulator measure;
  bool card = false;
  bool group = false;
  bool line = false;
};

}  // namespace

bool TimeFunctionsAnalysis::WalkActive(std::vector<ColumnValues>& read) {
  std::vector<Walker> walkers;
  Date first = options_.start;
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i].is_variable()) continue;
    const auto& variable = static_cast<const Variable&>(columns_[i]);
    const Selection& selection = variable.selection();
    walkers.push_back({&variable, i, selection.from().date(), selection.to().date(),
                       variable.shift.IsNone(), variable.FieldIn(database_),
                       MeasureAccumulator(variable.measure)});
    if (walkers.back().measures) first = std::min(first, walkers.back().from);
  }
  const auto close = [&](size_t) {
    for (Walker& walker : walkers) {
      if (!walker.measures) continue;
      read[walker.column].values.push_back(walker.measure.Result());
      if (walker.variable->accumulation == Accumulation::kByPeriod) walker.measure.Reset();
    }
  };
  CardStore& cards = database_.cards();
  int until_stop_test = 0;
  for (CardRef card = cards.FindCard(first); card != kCardSentinel; card = cards.NextCard(card)) {
    if (--until_stop_test < 0) {
      if (StopRequested()) return false;
      until_stop_test = kCardsPerStopTest;
    }
    const Date date = cards.CardId(card);
    if (date > options_.end) break;
    // Before the range only the measured variables read, into the row before it.
    const bool before = date < options_.start;
    bool any = false;
    for (Walker& walker : walkers) {
      walker.card = date >= walker.from && date <= walker.to && (walker.measures || !before) &&
                    walker.variable->selection().CardPasses(card);
      any |= walker.card;
    }
    if (!any) continue;
    bool card_opened = before;
    for (GroupRef group = cards.card(card).first_group; group != kNoRecord;
         group = cards.group(group).next) {
      any = false;
      for (Walker& walker : walkers) {
        walker.group = walker.card && walker.variable->selection().GroupPasses(group);
        any |= walker.group;
      }
      if (!any) continue;
      bool group_opened = before;
      for (LineRef line = cards.group(group).first_line; line != kNoLine;
           line = cards.lines().next(line)) {
        any = false;
        for (Walker& walker : walkers) {
          walker.line = walker.group && walker.variable->selection().LinePasses(line);
          any |= walker.line;
        }
        if (!any) continue;
        if (!card_opened) periods_->Reach(WalkLevel::kCard, date, close), card_opened = true;
        if (!group_opened) periods_->Reach(WalkLevel::kGroup, date, close), group_opened = true;
        if (!before) periods_->Reach(WalkLevel::kLine, date, close);
        for (Walker& walker : walkers) {
          if (walker.line && walker.measures)
            walker.measure.Add(cards.GetValue(line, walker.field));
        }
      }
    }
  }
  close(periods_->current());
  return !StopRequested();
}

}  // namespace jov
