// The time scales of a database, in creation order, kept with the database as an attachment.
// Creating, renaming, changing and removing a scale marks the database modified and tells its
// listeners (kTimeScaleAdded .. kTimeScaleRemoved, argument the scale's position).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/time_scale.h"
#include "model/database.h"
#include "select/period_names.h"
#include "shell/messages.h"

namespace jov {

// The next name of a numbered series: "Name" gives "Name 1", "Name 1" gives "Name 2", "Name 9"
// "Name 10". Named objects of a kind that the user makes take their kind's default text and the
// next free number this way.
std::string NextNumberedName(std::string_view name);

// The list serves the period names of selections' date points for its database.
class TimeScaleList : public DatabaseAttachment, public PeriodNames {
 public:
  explicit TimeScaleList(Database& database);
  // The database's list, made on first use.
  static TimeScaleList& Of(Database& database) { return database.Attached<TimeScaleList>(); }
  static const TimeScaleList& Of(const Database& database) {
    return database.Attached<TimeScaleList>();
  }

  Database& database() const { return database_; }
  size_t size() const { return scales_.size(); }
  TimeScale& at(size_t index) const { return *scales_[index]; }
  // The position of a scale of this list.
  int IndexOf(const TimeScale& scale) const;

  // The scale of that name ignoring case; nullptr when there is none.
  TimeScale* Find(std::string_view name) const;
  // A new scale without entries, named UniqueName(name), appended to the list.
  TimeScale& Create(std::string_view name);
  // Removes and destroys a scale of this list.
  void Remove(TimeScale& scale);

  // `name` made single-line; an empty one becomes "Time Scale". While another scale than
  // `except` has that name ignoring case, its trailing number N (0 without one) becomes N + 1,
  // after a blank: "Time Scale" gives "Time Scale 1", that one "Time Scale 2".
  std::string UniqueName(std::string_view name, const TimeScale* except = nullptr) const;

  // The range of the first period, over the scales in list order, whose name begins with
  // `text` (leading blanks dropped) ignoring case. kStart gives the entry's start; kEnd the
  // position before the next entry's start under the database's card-number digits, and for a
  // last entry 31 December of its start year. No date (kNoDay, 0) when nothing matches or
  // `text` is empty.
  Date PeriodByName(std::string_view text, DateBound bound) const {
    return PeriodByName(text, 0, bound);
  }
  // The same, moved `offset` entries along the matching entry's scale; no date when that leaves
  // the scale.
  Date PeriodByName(std::string_view text, int offset, DateBound bound) const override;

 private:
  friend class TimeScale;
  // Marks the database modified and notifies its listeners about `scale`.
  void Announce(ChangeCode code, const TimeScale& scale);

  Database& database_;
  std::vector<std::unique_ptr<TimeScale>> scales_;
};

}  // namespace jov
