// Cards, their days, groups and lines. Days form a circular list sorted by day with a sentinel;
// cards form one circular list ordered by Date (day, then number) with a sentinel; a card's
// groups are a singly linked list in creation order, one per component of the first dimension;
// a group's lines are a singly linked list. All records live in pools addressed by number.
// Every reference handed in must name a live record of its own kind (record 0 of the day and card
// pools is the lists' sentinel, never a card); the debug checks hold callers to that, since the
// reference types are all plain numbers and a swapped argument compiles.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/component.h"
#include "model/line_store.h"
#include "model/packed_date.h"
#include "model/record_pool.h"
#include "model/text_store.h"

namespace jov {

using DayRef = uint32_t;
using CardRef = uint32_t;
using GroupRef = uint32_t;

// Record 0 of the day and card pools is the sentinel of its list.
constexpr DayRef kDaySentinel = 0;
constexpr CardRef kCardSentinel = 0;

struct Day {
  DayRef number = kNoRecord;
  DayRef next = kNoRecord;
  DayRef prev = kNoRecord;
  DayCode code = kNoDay;
  uint32_t card_count = 0;
  CardRef first_card = kNoRecord;
  // The card with the largest number k such that 1..k all exist; kNoRecord when 1 is missing.
  CardRef run_end = kNoRecord;
};

struct Card {
  CardRef number = kNoRecord;
  CardRef next = kNoRecord;
  CardRef prev = kNoRecord;
  DayRef day = kNoRecord;
  Sequence sequence = 0;
  GroupRef first_group = kNoRecord;
  TextHandle title = kNoText;
  TextHandle notes = kNoText;
  Stamp created;
  Stamp modified;
  Stamp notes_stamp;
  Stamp examined;
  Stamp approved;
};

struct Group {
  GroupRef number = kNoRecord;
  GroupRef next = kNoRecord;
  LineRef first_line = kNoLine;
  LineRef last_line = kNoLine;
  ComponentRef component = 0;  // of the first dimension; its root (0) for none
};

class CardStore {
 public:
  // Recently found days remembered by FindDay.
  static constexpr size_t kRecentDays = 13;

  CardStore();
  CardStore(const CardStore&) = delete;
  CardStore& operator=(const CardStore&) = delete;

  // --- Records
  const Card& card(CardRef ref) const {
    JOV_DCHECK(cards_.IsLive(ref), "not a live card");
    return cards_[ref];
  }
  const Group& group(GroupRef ref) const {
    JOV_DCHECK(groups_.IsLive(ref), "not a live group");
    return groups_[ref];
  }
  const Day& day(DayRef ref) const {
    JOV_DCHECK(days_.IsLive(ref), "not a live day");
    return days_[ref];
  }
  LineStore& lines() { return lines_; }
  const LineStore& lines() const { return lines_; }
  const TextStore& texts() const { return texts_; }

  // Whether `ref` names a live card (not the sentinel): for holders of a reference that may
  // have been deleted since.
  bool IsCard(CardRef ref) const { return ref != kCardSentinel && cards_.IsLive(ref); }

  // Cards in Date order: FirstCard() .. until kCardSentinel.
  CardRef FirstCard() const { return cards_[kCardSentinel].next; }
  CardRef NextCard(CardRef ref) const { return cards_[ref].next; }
  CardRef LastCard() const { return cards_[kCardSentinel].prev; }
  size_t card_count() const { return cards_.live_count() - 1; }
  size_t group_count() const { return groups_.live_count(); }
  size_t line_count() const { return lines_.live_count(); }
  size_t day_count() const { return days_.live_count() - 1; }

  // --- Creation and removal
  // A new card numbered within its day: a taken number yields the first free number above it
  // (a requested number 0 means 1). kNoRecord when memory runs out or the day has no free
  // number left.
  CardRef CreateCard(Date date);
  // The card's group for `component` (of the first dimension), appended when new.
  GroupRef FindOrAddGroup(CardRef card, ComponentRef component);
  // A line appended to the group: values 0, no text, no components.
  LineRef CreateLine(GroupRef group) { return AddLine(group, {}, {}); }
  // A line appended to the group with its first values and slots 1..S (as SetValues and
  // SetComponents take them), written once: the bulk add of a reader.
  LineRef AddLine(GroupRef group, std::span<const double> values,
                  std::span<const ComponentRef> slots);
  // Removes the line; an emptied group goes with it, and an emptied card.
  void DeleteLine(CardRef card, GroupRef group, LineRef line);
  void DeleteCard(CardRef card);
  // Renumbers the card under a new date as CreateCard numbers a new one. False when the new
  // day has no free number (the card then stays where it was).
  bool MoveCard(CardRef card, Date date);
  // Removes groups without lines, and the card when it has no group left.
  void FinishCard(CardRef card);

  // --- Lookup
  Date CardId(CardRef card) const { return {days_[cards_[card].day].code, cards_[card].sequence}; }
  // The card with that date, else the first card after it (kCardSentinel when none follows).
  CardRef FindCard(Date date) const;
  // The last day whose code is <= `code` (kDaySentinel when none is).
  DayRef FindDay(DayCode code) const;

  // --- Texts and values
  std::string_view Title(CardRef card) const { return texts_.Get(this->card(card).title); }
  std::string_view Notes(CardRef card) const { return texts_.Get(this->card(card).notes); }
  std::string_view LineText(LineRef line) const { return texts_.Get(lines_.text(line)); }
  bool SetTitle(CardRef card, std::string_view title);
  bool SetNotes(CardRef card, std::string_view notes, const Stamp& stamp);
  bool SetLineText(LineRef line, std::string_view text);
  // Slots 1..S in order (component of dimension index k in slot k).
  void SetComponents(LineRef line, std::span<const ComponentRef> slots);
  ComponentRef GetComponent(LineRef line, int slot) const { return lines_.slot(line, slot); }
  void SetValues(LineRef line, std::span<const double> values);
  double GetValue(LineRef line, int field) const { return lines_.value(line, field); }

  // --- Stamps
  void RecordChange(CardRef card, const Stamp& stamp);
  void Examine(CardRef card, const Stamp& stamp) { MutableCard(card).examined = stamp; }
  void Approve(CardRef card, const Stamp& stamp) { MutableCard(card).approved = stamp; }
  // Sets a stored stamp as read from a file.
  Card& mutable_card(CardRef card) { return MutableCard(card); }

  // True when cards were added or removed since the last call.
  bool TakeCardsChanged();
  // The bytes the pools, the line chunks and the texts' blocks hold.
  size_t BytesAllocated() const;

 private:
  // A card the caller may change: live, and not the sentinel.
  Card& MutableCard(CardRef card) {
    JOV_DCHECK(card != kCardSentinel && cards_.IsLive(card), "not a live card");
    return cards_[card];
  }
  void CheckLine(LineRef line) const {
    JOV_DCHECK(lines_.IsLive(line), "not a live line");
    (void)line;
  }
  DayRef FindOrCreateDay(DayCode code);
  void RemoveDay(DayRef day);
  void Remember(DayCode wanted, DayRef day) const;
  // The first card after the day's cards (the next day's first card, or the sentinel).
  CardRef EndOfDay(DayRef day) const { return days_[days_[day].next].first_card; }
  bool NumberInDay(CardRef card, DayRef day, Sequence requested);
  void UnlinkFromDay(CardRef card, bool keep_empty_day = false);
  void LinkBefore(CardRef card, CardRef before);
  void DeleteGroup(CardRef card, GroupRef group);
  void FreeLines(GroupRef group);

  RecordPool<Day> days_;
  RecordPool<Card> cards_;
  RecordPool<Group> groups_;
  LineStore lines_;
  TextStore texts_;
  // A cache of lookups, kept up to date by const finders too.
  mutable std::vector<DayRef> recent_days_;
  bool cards_changed_ = false;
};

}  // namespace jov
