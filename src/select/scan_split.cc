#include "select/scan_split.h"

namespace jov {

CardRef MiddleCard(const CardStore& cards, CardRef first, CardRef end) {
  if (first == end || first == kCardSentinel) return kNoRecord;
  const DayRef first_day = cards.card(first).day;
  const DayRef end_day = end == kCardSentinel ? kDaySentinel : cards.card(end).day;
  if (end_day == first_day) return kNoRecord;
  size_t total = 0;
  for (DayRef day = cards.day(first_day).next; day != end_day && day != kDaySentinel;
       day = cards.day(day).next) {
    total += cards.day(day).card_count;
  }
  if (total < kCardsWorthAThread) return kNoRecord;
  size_t seen = 0;
  for (DayRef day = cards.day(first_day).next; day != end_day && day != kDaySentinel;
       day = cards.day(day).next) {
    if (2 * seen >= total) return cards.day(day).first_card;
    seen += cards.day(day).card_count;
  }
  return kNoRecord;
}

bool TestsShareNothing(const ScanPlan& plan) {
  return plan.title == nullptr && !plan.HasFurtherTests();
}

}  // namespace jov
