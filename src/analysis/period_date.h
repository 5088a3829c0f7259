// Steps between dates as periods need them: the next and the previous card position under the
// database's card-number digits, and the last moment before a period boundary.
#pragma once

#include "model/packed_date.h"

namespace jov {

// The position after `date`: the same day with the next number, or the next day's number 1
// once the number has reached the largest that `card_digits` digits can write.
Date NextDate(Date date, int card_digits);

// The position before `date`: the same day with the number below, or, for a number below 2,
// the previous day with the largest number that `card_digits` digits can write.
Date PreviousDate(Date date, int card_digits);

// The end of a period that stops just before a period starting at `boundary`: the end of the
// previous day when the boundary is a day's first card (a number below 2), else the number
// before it.
Date StepBackFromBoundary(Date boundary);

}  // namespace jov
