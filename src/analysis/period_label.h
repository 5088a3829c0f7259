// The row and column titles of the periods of an analysis over time: "Before" and the start
// for the before entry, the dates a period covers for calendar kinds, Card IDs (with card
// titles when asked) for active kinds, and the entry names of a time scale.
#pragma once

#include <cstddef>
#include <string>

#include "analysis/period_list.h"
#include "shell/messages.h"

namespace jov {

class Database;

struct PeriodLabelOptions {
  bool show_end_dates_only = false;  // calendar kinds label a period by its end day
  bool show_card_titles = false;     // Active Cards, Groups, Lines add the card's title
};

// A card title of kLongTitle characters or more is cut to kKeptTitle and "..".
constexpr size_t kLongTitle = 128;
constexpr size_t kKeptTitle = 126;

// The label of period `index` of `periods`, an analysis of `database` (which gives the
// card-number digits and the card titles). Dates are written YYMMDD, YYMM or MMDD.
std::string PeriodLabel(const Database& database, const PeriodList& periods, size_t index,
                        PeriodLabelOptions options);

}  // namespace jov
