#include "model/card_store.h"

#include <algorithm>
#include <cstdlib>

namespace jov {

CardStore::CardStore() {
  const DayRef day_sentinel = days_.Allocate();
  Day& sentinel_day = days_[day_sentinel];
  sentinel_day.next = sentinel_day.prev = day_sentinel;
  const CardRef card_sentinel = cards_.Allocate();
  Card& sentinel_card = cards_[card_sentinel];
  sentinel_card.next = sentinel_card.prev = card_sentinel;
  sentinel_card.day = day_sentinel;
  // The end of the last day is the card sentinel.
  sentinel_day.first_card = card_sentinel;
}

// ---------------------------------------------------------------------------------------------
// Days

void CardStore::Remember(DayCode wanted, DayRef day) const {
  if (recent_days_.size() < kRecentDays) {
    recent_days_.push_back(day);
  } else {
    recent_days_[wanted % kRecentDays] = day;
  }
}

DayRef CardStore::FindDay(DayCode code) const {
  DayRef start = kDaySentinel;
  uint32_t best = UINT32_MAX;
  for (DayRef remembered : recent_days_) {
    const DayCode known = days_[remembered].code;
    if (known == code) return remembered;
    const uint32_t distance = known > code ? known - code : code - known;
    if (distance < best) {
      best = distance;
      start = remembered;
    }
  }
  DayRef day = start;
  if (day == kDaySentinel || days_[day].code <= code) {
    for (DayRef next = days_[day].next; next != kDaySentinel && days_[next].code <= code;
         next = days_[next].next) {
      day = next;
    }
  } else {
    while (day != kDaySentinel && days_[day].code > code) day = days_[day].prev;
  }
  if (day != start) Remember(code, day);
  return day;
}

DayRef CardStore::FindOrCreateDay(DayCode code) {
  // Readers add cards in date order: the day is the last one, or a new one after it.
  const DayRef last = days_[kDaySentinel].prev;
  const DayRef before = last == kDaySentinel || days_[last].code <= code ? last : FindDay(code);
  if (before != kDaySentinel && days_[before].code == code) return before;
  const DayRef day = days_.Allocate();
  if (day == kNoRecord) return kNoRecord;
  Day& record = days_[day];
  record.code = code;
  record.prev = before;
  record.next = days_[before].next;
  days_[record.next].prev = day;
  days_[before].next = day;
  // An empty day ends where it starts: at the next day's first card.
  record.first_card = EndOfDay(day);
  return day;
}

void CardStore::RemoveDay(DayRef day) {
  Day& record = days_[day];
  days_[record.prev].next = record.next;
  days_[record.next].prev = record.prev;
  recent_days_.erase(std::remove(recent_days_.begin(), recent_days_.end(), day),
                     recent_days_.end());
  days_.Free(day);
}

// ---------------------------------------------------------------------------------------------
// Cards

void CardStore::LinkBefore(CardRef card, CardRef before) {
  Card& record = cards_[card];
  record.next = before;
  record.prev = cards_[before].prev;
  cards_[record.prev].next = card;
  cards_[before].prev = card;
}

bool CardStore::NumberInDay(CardRef card, DayRef day_ref, Sequence requested) {
  Day& day = days_[day_ref];
  const Sequence wanted = std::clamp<Sequence>(requested, 1, kEndOfDay - 1);
  const CardRef end = EndOfDay(day_ref);
  CardRef at = day.card_count == 0 ? end : day.first_card;
  Sequence number = wanted;
  if (day.run_end != kNoRecord) {
    // The numbers 1..run end are all taken, so the walk starts at the run end; a request inside
    // the run lands just after it, exactly where a walk from the first card would take it.
    number = std::max(wanted, cards_[day.run_end].sequence + 1);
    at = day.run_end;
  }
  while (at != end && cards_[at].sequence < number) at = cards_[at].next;
  while (at != end && cards_[at].sequence == number) {
    if (number == kEndOfDay - 1) return false;  // no free number left above the request
    at = cards_[at].next;
    ++number;
  }
  LinkBefore(card, at);
  Card& record = cards_[card];
  record.day = day_ref;
  record.sequence = number;
  if (day.card_count == 0 || at == day.first_card) day.first_card = card;
  ++day.card_count;
  const Sequence run = day.run_end == kNoRecord ? 0 : cards_[day.run_end].sequence;
  if (number == run + 1) {
    day.run_end = card;
    for (CardRef next = record.next;
         next != end && cards_[next].sequence == cards_[day.run_end].sequence + 1;
         next = cards_[next].next) {
      day.run_end = next;
    }
  }
  return true;
}

CardRef CardStore::CreateCard(Date date) {
  const DayRef day = FindOrCreateDay(date.day);
  if (day == kNoRecord) return kNoRecord;
  const CardRef card = cards_.Allocate();
  if (card == kNoRecord || !NumberInDay(card, day, date.sequence)) {
    if (card != kNoRecord) cards_.Free(card);
    if (days_[day].card_count == 0) RemoveDay(day);
    return kNoRecord;
  }
  cards_changed_ = true;
  return card;
}

void CardStore::UnlinkFromDay(CardRef card, bool keep_empty_day) {
  Card& record = cards_[card];
  const DayRef day_ref = record.day;
  Day& day = days_[day_ref];
  if (day.first_card == card) day.first_card = record.next;
  if (day.run_end != kNoRecord && record.sequence <= cards_[day.run_end].sequence) {
    // The run 1..k is gap-free, so the card before this one holds the number below it.
    day.run_end = record.sequence == 1 ? kNoRecord : record.prev;
  }
  cards_[record.prev].next = record.next;
  cards_[record.next].prev = record.prev;
  record.next = record.prev = kNoRecord;
  if (--day.card_count == 0 && !keep_empty_day) RemoveDay(day_ref);
}

bool CardStore::MoveCard(CardRef card, Date date) {
  MutableCard(card);
  const DayRef old_day = cards_[card].day;
  const Sequence old_number = cards_[card].sequence;
  UnlinkFromDay(card, /*keep_empty_day=*/true);
  const DayRef day = FindOrCreateDay(date.day);
  const bool moved = day != kNoRecord && NumberInDay(card, day, date.sequence);
  if (!moved) {
    if (day != kNoRecord && day != old_day && days_[day].card_count == 0) RemoveDay(day);
    NumberInDay(card, old_day, old_number);  // its old number is free again
  } else if (day != old_day && days_[old_day].card_count == 0) {
    RemoveDay(old_day);
  }
  return moved;
}

CardRef CardStore::FindCard(Date date) const {
  const DayRef day = FindDay(date.day);
  if (day == kDaySentinel || days_[day].code != date.day) return EndOfDay(day);
  const CardRef first = days_[day].first_card;
  const CardRef end = EndOfDay(day);
  const CardRef last = cards_[end].prev;
  const int64_t wanted = date.sequence;
  if (2 * wanted > int64_t{cards_[first].sequence} + cards_[last].sequence) {
    CardRef found = end;
    for (CardRef at = last; at != cards_[first].prev && cards_[at].sequence >= wanted;
         at = cards_[at].prev) {
      found = at;
    }
    return found;
  }
  CardRef at = first;
  while (at != end && cards_[at].sequence < wanted) at = cards_[at].next;
  return at;
}

// ---------------------------------------------------------------------------------------------
// Groups and lines

GroupRef CardStore::FindOrAddGroup(CardRef card, ComponentRef component) {
  MutableCard(card);
  GroupRef last = kNoRecord;
  for (GroupRef g = cards_[card].first_group; g != kNoRecord; g = groups_[g].next) {
    if (groups_[g].component == component) return g;
    last = g;
  }
  const GroupRef group = groups_.Allocate();
  if (group == kNoRecord) return kNoRecord;
  groups_[group].component = component;
  groups_[group].first_line = groups_[group].last_line = kNoLine;
  if (last == kNoRecord) {
    cards_[card].first_group = group;
  } else {
    groups_[last].next = group;
  }
  return group;
}

LineRef CardStore::AddLine(GroupRef group, std::span<const double> values,
                           std::span<const ComponentRef> slots) {
  JOV_DCHECK(groups_.IsLive(group), "not a live group");
  const LineRef line = lines_.Allocate(values, slots);
  if (line == kNoLine) return kNoLine;
  Group& record = groups_[group];
  if (record.last_line == kNoLine) {
    record.first_line = line;
  } else {
    lines_.set_next(record.last_line, line);
  }
  record.last_line = line;
  return line;
}

void CardStore::FreeLines(GroupRef group) {
  for (LineRef line = groups_[group].first_line; line != kNoLine;) {
    const LineRef next = lines_.next(line);
    TextHandle text = lines_.text(line);
    texts_.Free(&text);
    lines_.Free(line);
    line = next;
  }
}

void CardStore::DeleteGroup(CardRef card, GroupRef group) {
  FreeLines(group);
  GroupRef* link = &cards_[card].first_group;
  while (*link != group) link = &groups_[*link].next;
  *link = groups_[group].next;
  groups_.Free(group);
}

void CardStore::DeleteLine(CardRef card, GroupRef group, LineRef line) {
  MutableCard(card);
  JOV_DCHECK(groups_.IsLive(group), "not a live group");
  CheckLine(line);
  Group& record = groups_[group];
  LineRef prev = kNoLine;
  for (LineRef at = record.first_line; at != line; at = lines_.next(at)) prev = at;
  const LineRef next = lines_.next(line);
  if (prev == kNoLine) {
    record.first_line = next;
  } else {
    lines_.set_next(prev, next);
  }
  if (record.last_line == line) record.last_line = prev;
  TextHandle text = lines_.text(line);
  texts_.Free(&text);
  lines_.Free(line);
  if (record.first_line == kNoLine) DeleteGroup(card, group);
  if (cards_[card].first_group == kNoRecord) DeleteCard(card);
}

void CardStore::DeleteCard(CardRef card) {
  Card& record = MutableCard(card);
  for (GroupRef g = record.first_group; g != kNoRecord;) {
    const GroupRef next = groups_[g].next;
    FreeLines(g);
    groups_.Free(g);
    g = next;
  }
  texts_.Free(&record.title);
  texts_.Free(&record.notes);
  UnlinkFromDay(card);
  cards_.Free(card);
  cards_changed_ = true;
}

void CardStore::FinishCard(CardRef card) {
  MutableCard(card);
  for (GroupRef g = cards_[card].first_group; g != kNoRecord;) {
    const GroupRef next = groups_[g].next;
    if (groups_[g].first_line == kNoLine) DeleteGroup(card, g);
    g = next;
  }
  if (cards_[card].first_group == kNoRecord) DeleteCard(card);
}

// ---------------------------------------------------------------------------------------------
// Texts, values and stamps

bool CardStore::SetTitle(CardRef card, std::string_view title) {
  return texts_.Set(&MutableCard(card).title, title);
}

bool CardStore::SetNotes(CardRef card, std::string_view notes, const Stamp& stamp) {
  if (!texts_.Set(&MutableCard(card).notes, notes)) return false;
  cards_[card].notes_stamp = stamp;
  return true;
}

bool CardStore::SetLineText(LineRef line, std::string_view text) {
  CheckLine(line);
  TextHandle handle = lines_.text(line);
  if (!texts_.Set(&handle, text)) return false;
  lines_.set_text(line, handle);
  return true;
}

void CardStore::SetComponents(LineRef line, std::span<const ComponentRef> slots) {
  CheckLine(line);
  const int count = std::min<int>(static_cast<int>(slots.size()), lines_.layout().slots);
  for (int k = 1; k <= count; ++k) lines_.set_slot(line, k, slots[k - 1]);
}

void CardStore::SetValues(LineRef line, std::span<const double> values) {
  CheckLine(line);
  const int count = std::min<int>(static_cast<int>(values.size()), lines_.layout().values);
  for (int i = 0; i < count; ++i) lines_.set_value(line, i, values[i]);
}

void CardStore::RecordChange(CardRef card, const Stamp& stamp) {
  Card& record = MutableCard(card);
  if (stamp == record.created) {
    record.modified = Stamp();
  } else if (record.created.empty()) {
    record.created = stamp;
    record.modified = Stamp();
  } else {
    record.modified = stamp;
  }
  record.examined = Stamp();
  record.approved = Stamp();
}

bool CardStore::TakeCardsChanged() {
  const bool changed = cards_changed_;
  cards_changed_ = false;
  return changed;
}

size_t CardStore::BytesAllocated() const {
  return days_.BytesAllocated() + cards_.BytesAllocated() + groups_.BytesAllocated() +
         lines_.BytesAllocated() + texts_.BytesAllocated();
}

}  // namespace jov
