// Splitting a long scan in two at the start of a day, so that a second thread can take the
// later half. The two halves see disjoint cards; what each collects is joined after both end.
#pragma once

#include <cstddef>

#include "model/card_store.h"
#include "select/selection.h"

namespace jov {

// A range of fewer cards than this is not worth a second thread.
constexpr size_t kCardsWorthAThread = 16384;

// The card that splits the cards [first, end) into two halves at the start of a day, counted by
// the days' card counts; kNoRecord when the range is too small to split.
CardRef MiddleCard(const CardStore& cards, CardRef first, CardRef end);

// Whether a plan's tests may run on two threads at once: text patterns keep scratch space of
// their own, so a plan with any is scanned by one thread.
bool TestsShareNothing(const ScanPlan& plan);

}  // namespace jov
