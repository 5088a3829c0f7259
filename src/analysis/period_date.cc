#include "analysis/period_date.h"

namespace jov {

Date NextDate(Date date, int card_digits) {
  if (date.sequence >= LargestCardNumber(card_digits)) return {NextDay(date.day), 1};
  return {date.day, date.sequence + 1};
}

Date PreviousDate(Date date, int card_digits) {
  if (date.sequence < 2) return {PreviousDay(date.day), LargestCardNumber(card_digits)};
  return {date.day, date.sequence - 1};
}

Date StepBackFromBoundary(Date boundary) {
  if (boundary.sequence < 2) return {PreviousDay(boundary.day), kEndOfDay};
  return {boundary.day, boundary.sequence - 1};
}

}  // namespace jov
