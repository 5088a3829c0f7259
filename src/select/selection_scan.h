// How an analysis walks the lines that a selection takes. Every analysis, subset and save
// filter scans the database the same way:
//
//   if (!selection.Prepare()) return false;  // the user stopped, or a subset failed
//   const bool complete = ScanSelection(selection, [&](CardRef card, GroupRef group,
//                                                      LineRef line) { ... });
//   if (!complete) return false;             // stopped between cards: discard the result
//
// The scan starts at the first card not before the from-point and ends before the first card
// after the to-point, in card order (date, then number). A card must pass the card-title
// pattern (and the caller's own card test, when given); its groups must carry a first-dimension
// component in the selection's component set; their lines, in order, must pass the line test
// (subset reference, components, values, line text). The callback sees each passing line with
// its card and group, so a caller that works per card or per group notices a new one when the
// card or group differs from the previous line's. The user-interrupt flag is tested between
// cards.
//
// The loop reads line records directly and calls nothing per line but the callback: no
// allocation, no virtual call. The callback may read the database but must not change it.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "model/database.h"
#include "select/selection.h"
#include "shell/pending_error.h"

namespace jov {
namespace scan_internal {

inline uint32_t Load32(const unsigned char* p) {
  uint32_t value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

inline double LoadValue(const unsigned char* record, uint32_t offset) {
  double value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

// A component slot: kWidth bytes, big-endian.
template <int kWidth>
inline uint32_t LoadSlot(const unsigned char* p) {
  if constexpr (kWidth == 2) {
    return uint32_t{p[0]} << 8 | p[1];
  } else if constexpr (kWidth == 3) {
    return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
  } else {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
  }
}

// Whether a value lies in a one-operand condition, without a branch: a missing value (NaN)
// fails both comparisons and takes the test's own answer.
inline bool RangePasses(const ValueTest& test, double value) {
  const bool missing = value != value;
  const bool inside = (value >= test.low) & (value <= test.high);
  return (missing & test.missing) | (!missing & (inside != test.outside));
}

// The line test of ScanPlan on a record, in the order subset, components, values, text. Test
// results over real data are not predictable, so the common tests (components and one-operand
// value conditions) are combined without branches, the first of them without a loop (see
// ScanPlan::kInlineSlots); the plan's rarer tests are compiled in only where `kFurther` says it
// has them.
template <int kWidth, bool kInline, bool kFurther>
inline bool RecordPasses(const ScanPlan& plan, const TextStore& texts, const unsigned char* record,
                         LineRef line) {
  if constexpr (kFurther) {
    if (plan.subset != nullptr && !plan.subset->Test(line)) return false;
  }
  unsigned pass = 1;
  if constexpr (kInline) {
    static_assert(ScanPlan::kInlineSlots == 2 && ScanPlan::kInlineRanges == 1);
    pass = plan.accept[LoadSlot<kWidth>(record + plan.slot_offsets[0])] &
           plan.accept[LoadSlot<kWidth>(record + plan.slot_offsets[1])] &
           static_cast<unsigned>(
               RangePasses(plan.ranges[0].test, LoadValue(record, plan.ranges[0].offset)));
    if (plan.more_inline_tests) {
      for (int i = ScanPlan::kInlineSlots; i < plan.slot_count; ++i) {
        pass &= plan.accept[LoadSlot<kWidth>(record + plan.slot_offsets[i])];
      }
      for (int i = ScanPlan::kInlineRanges; i < plan.range_count; ++i) {
        pass &= static_cast<unsigned>(
            RangePasses(plan.ranges[i].test, LoadValue(record, plan.ranges[i].offset)));
      }
    }
  }
  if constexpr (kFurther) {
    if (pass == 0) return false;
    for (int i = 0; i < plan.condition_count; ++i) {
      if (!plan.conditions[i].condition->Evaluate(LoadValue(record, plan.conditions[i].offset))) {
        return false;
      }
    }
    return plan.line_text == nullptr || plan.line_text->Passes(texts.Get(Load32(record + 8)));
  }
  return pass != 0;
}

// Where a scan hands its lines, a group at a time: OpenGroup gives a taker, a small value the
// loop keeps in registers, that takes each line of the group; CloseGroup takes the taker back
// after the group's last line.

// The caller's callback, for the lines that pass. Whether a line passes is not predictable, so
// a branch per line would often be mispredicted: the passing lines of a group are gathered
// without a branch and handed on, in order, at the group's end (or when the buffer is full).
template <typename OnLine>
class CallbackSink {
 public:
  explicit CallbackSink(OnLine& on_line) : on_line_(on_line) {}

  struct Taker {
    CallbackSink* sink;
    CardRef card;
    GroupRef group;
    void Take(LineRef line, const unsigned char*, bool pass) {
      sink->taken_[sink->count_] = line;
      sink->count_ += pass;
      if (sink->count_ == kBuffer) sink->HandOn(card, group);
    }
  };
  template <int kWidth>
  Taker OpenGroup(CardRef card, GroupRef group, const Group&) {
    return {this, card, group};
  }
  void CloseGroup(const Taker& taker) { HandOn(taker.card, taker.group); }

 private:
  static constexpr size_t kBuffer = 64;

  void HandOn(CardRef card, GroupRef group) {
    for (size_t i = 0; i < count_; ++i) on_line_(card, group, taken_[i]);
    count_ = 0;
  }

  OnLine& on_line_;
  size_t count_ = 0;
  std::array<LineRef, kBuffer> taken_;
};

// The bits of a LineSet, set without a branch. The words are held directly: a store into them
// could otherwise be taken to change the set's own fields, which would then be read anew for
// every line.
struct CollectSink {
  struct Taker {
    uint64_t* words;
    void Take(LineRef line, const unsigned char*, bool pass) {
      words[line >> 6] |= uint64_t{pass} << (line & 63);
    }
  };
  template <int kWidth>
  Taker OpenGroup(CardRef, GroupRef, const Group&) {
    return {words};
  }
  void CloseGroup(const Taker&) {}

  uint64_t* words;
};

// The line records, addressed by number without going through the store for each line.
class RecordTable {
 public:
  explicit RecordTable(const LineStore& lines) : size_(lines.record_size()) {
    chunks_.reserve(lines.chunk_count());
    for (size_t i = 0; i < lines.chunk_count(); ++i) chunks_.push_back(lines.chunk_data(i));
  }
  size_t record_size() const { return size_; }
  const unsigned char* operator[](LineRef line) const {
    return chunks_[line >> LineStore::kChunkBits] + (line & LineStore::kChunkMask) * size_;
  }

 private:
  std::vector<const unsigned char*> chunks_;
  size_t size_;
};

// The user-interrupt flag is tested between cards, every this many cards.
constexpr int kCardsPerStopTest = 64;

template <int kWidth, bool kInline, bool kFurther, typename CardTest, typename Sink>
bool ScanLoop(const Database& database, const ScanPlan& shared_plan, CardRef first, CardRef end,
              CardTest& card_test, Sink& sink) {
  // A copy of its own: what the sink writes cannot change it, so it stays in registers.
  const ScanPlan plan = shared_plan;
  const CardStore& cards = database.cards();
  const RecordTable records(cards.lines());
  const size_t record_size = records.record_size();
  const TextStore& texts = cards.texts();
  int until_stop_test = 0;
  for (CardRef card = first; card != end; card = cards.NextCard(card)) {
    if (--until_stop_test < 0) {
      if (StopRequested()) return false;
      until_stop_test = kCardsPerStopTest;
    }
    if (plan.title != nullptr && !plan.title->Passes(cards.Title(card))) continue;
    if (!card_test(card)) continue;
    for (GroupRef next_group = cards.card(card).first_group; next_group != kNoRecord;) {
      const GroupRef this_group = next_group;
      const Group& group = cards.group(this_group);
      next_group = group.next;
      if (group.first_line == kNoLine || (plan.test_groups && plan.accept[group.component] == 0)) {
        continue;
      }
      auto taker = sink.template OpenGroup<kWidth>(card, this_group, group);
      LineRef line = group.first_line;
      const unsigned char* record = records[line];
      for (;;) {
        const LineRef next = Load32(record + 4);
        taker.Take(line, record,
                   RecordPasses<kWidth, kInline, kFurther>(plan, texts, record, line));
        if (next == kNoLine) break;
        // A group's lines are mostly numbered one after another: then the next record follows
        // this one in its chunk, and the processor can fetch it before this record's link is
        // read.
        if (next == line + 1 && (next & LineStore::kChunkMask) != 0) {
          record += record_size;
        } else {
          record = records[next];
        }
        line = next;
      }
      sink.CloseGroup(taker);
    }
  }
  return !StopRequested();
}

template <int kWidth, bool kInline, typename CardTest, typename Sink>
bool ScanWithTests(const Database& database, const ScanPlan& plan, CardRef first, CardRef end,
                   CardTest& card_test, Sink& sink) {
  return plan.HasFurtherTests()
             ? ScanLoop<kWidth, kInline, true>(database, plan, first, end, card_test, sink)
             : ScanLoop<kWidth, kInline, false>(database, plan, first, end, card_test, sink);
}

template <int kWidth, typename CardTest, typename Sink>
bool ScanWithWidth(const Database& database, const ScanPlan& plan, CardRef first, CardRef end,
                   CardTest& card_test, Sink& sink) {
  return plan.inline_tests
             ? ScanWithTests<kWidth, true>(database, plan, first, end, card_test, sink)
             : ScanWithTests<kWidth, false>(database, plan, first, end, card_test, sink);
}

template <typename CardTest, typename Sink>
bool ScanInto(const Selection& selection, CardRef first, CardRef end, CardTest& card_test,
              Sink& sink) {
  const ScanPlan& plan = selection.plan();
  const Database& database = selection.database();
  switch (plan.slot_width) {
    case 3:
      return ScanWithWidth<3>(database, plan, first, end, card_test, sink);
    case 4:
      return ScanWithWidth<4>(database, plan, first, end, card_test, sink);
    default:
      return ScanWithWidth<2>(database, plan, first, end, card_test, sink);
  }
}

template <typename CardTest, typename Sink>
bool ScanInto(const Selection& selection, CardTest& card_test, Sink& sink) {
  const ScanPlan& plan = selection.plan();
  return ScanInto(selection, plan.first, plan.end, card_test, sink);
}

}  // namespace scan_internal

// Scans the lines of a prepared selection that also pass `card_test(card)`; see above. False
// when the user stopped the scan.
template <typename CardTest, typename OnLine>
bool ScanSelection(const Selection& selection, CardTest&& card_test, OnLine&& on_line) {
  scan_internal::CallbackSink<std::remove_reference_t<OnLine>> sink(on_line);
  return scan_internal::ScanInto(selection, card_test, sink);
}

template <typename OnLine>
bool ScanSelection(const Selection& selection, OnLine&& on_line) {
  return ScanSelection(
      selection, [](CardRef) { return true; }, on_line);
}

// Sets the bit of every line of the cards [first, end) of a prepared selection's range that
// passes, and `card_test(card)`; `lines` must be sized to the line pool. False when the user
// stopped the scan.
template <typename CardTest>
bool CollectSelection(const Selection& selection, CardRef first, CardRef end, CardTest&& card_test,
                      LineSet& lines) {
  scan_internal::CollectSink sink{lines.words()};
  return scan_internal::ScanInto(selection, first, end, card_test, sink);
}

// The same over the whole range.
template <typename CardTest>
bool CollectSelection(const Selection& selection, CardTest&& card_test, LineSet& lines) {
  const ScanPlan& plan = selection.plan();
  return CollectSelection(selection, plan.first, plan.end, card_test, lines);
}

// The scan at its lowest level, for analyses that read the line records themselves: the cards
// [first, end) of the card order (a part of the plan's range, or the cards before or after it)
// with the selection's tests. The sink takes the lines of each kept group through a taker:
//
//   auto taker = sink.template OpenGroup<kWidth>(CardRef card, GroupRef group_ref,
//                                                const Group& group);
//   taker.Take(LineRef line, const unsigned char* record, bool pass);  // each line, in order
//   sink.CloseGroup(taker);
//
// `pass` is the result of the line test, so that a taker can fold it into its sums without a
// branch; the record is laid out as LineLayout says and valid for the call; kWidth is the width
// of the layout's component slots (2, 3 or 4 bytes), for scan_internal::LoadSlot<kWidth>. The
// taker is a small value the loop keeps in registers, so that what it sums over a group does
// not go through memory line by line. False when the user stopped the scan.
template <typename Sink>
bool ScanRecords(const Selection& selection, CardRef first, CardRef end, Sink& sink) {
  const auto every_card = [](CardRef) { return true; };
  return scan_internal::ScanInto(selection, first, end, every_card, sink);
}

}  // namespace jov
