// Period names for date points: a selection's from-point or to-point may name a period of the
// database's time scales ("Q1", "Budget 2024"). The time scales live above this layer, so they
// register their lookup with the database here when they are made; a database that never had
// time scales has none, and then no text names a period.
#pragma once

#include <string_view>

#include "model/database.h"
#include "model/packed_date.h"

namespace jov {

class PeriodNames {
 public:
  virtual ~PeriodNames() = default;
  // The first period, over the scales in list order, whose name begins with `name` ignoring
  // case, moved `offset` periods along its scale: its start (kStart) or its end (kEnd). No date
  // (day kNoDay) when no period matches or the move leaves the scale.
  virtual Date PeriodByName(std::string_view name, int offset, DateBound bound) const = 0;
};

// The database's registered lookup. Its owner sets `source` and outlives every use of it (it is
// itself kept with the database).
struct PeriodNamesHook : DatabaseAttachment {
  explicit PeriodNamesHook(Database&) {}
  const PeriodNames* source = nullptr;
};

inline const PeriodNames* PeriodNamesOf(Database& database) {
  return database.Attached<PeriodNamesHook>().source;
}

}  // namespace jov
