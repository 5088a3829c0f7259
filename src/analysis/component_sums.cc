#include "analysis/component_sums.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

#include "model/database.h"
#include "select/scan_split.h"
#include "select/selection_scan.h"

namespace jov {
namespace {

// One row's sums over one part of the card order. A pass keeps one per row and one more at the
// end that takes the lines that add nothing (they fail the selection, their value is not finite,
// or their component has no row), so that no line needs a branch of its own.
struct PartSums {
  double positive = 0;
  double negative = 0;
  int64_t count = 0;

  PartSums& operator+=(const PartSums& other) {
    positive += other.positive;
    negative += other.negative;
    count += other.count;
    return *this;
  }
};

// What a line adds: its value split by sign, and 1 to the count; nothing when it fails the
// selection or its value is not finite. Computed on the value's bits, without a branch: the
// signs of real values follow no pattern a processor could predict.
inline PartSums AmountOf(const unsigned char* record, size_t value_offset, bool pass) {
  constexpr uint64_t kExponent = 0x7FF0000000000000;  // all ones: an infinity or NaN
  uint64_t bits;
  std::memcpy(&bits, record + value_offset, sizeof bits);
  const bool ok = pass & ((bits & kExponent) != kExponent);
  bits &= 0 - static_cast<uint64_t>(ok);
  const uint64_t negative = bits >> 63;
  const uint64_t positive_bits = bits & (negative - 1);
  const uint64_t negative_bits = bits & (0 - negative);
  PartSums amount;
  std::memcpy(&amount.positive, &positive_bits, sizeof amount.positive);
  std::memcpy(&amount.negative, &negative_bits, sizeof amount.negative);
  amount.count = ok;
  return amount;
}

// Lines whose component is the same for a whole group: the first dimension's, which is the
// group's, and a dimension past the slots (its root). A group's lines are summed in the taker's
// registers and added to the row once.
class GroupViewSink {
 public:
  GroupViewSink(const ViewComponent& view, size_t value_offset, std::span<const int32_t> row_of,
                std::vector<PartSums>& sums)
      : view_(view),
        value_offset_(value_offset),
        row_of_(row_of),
        sums_(sums.data()),
        discard_(static_cast<int32_t>(sums.size()) - 1) {}

  struct Taker {
    size_t value_offset;
    int32_t target;
    PartSums sums;
    int64_t lines;
    void Take(LineRef, const unsigned char* record, bool pass) {
      sums += AmountOf(record, value_offset, pass);
      ++lines;
    }
  };

  template <int kWidth>
  Taker OpenGroup(CardRef, GroupRef, const Group& group) {
    const ComponentRef component = view_.on_group ? group.component : view_.root;
    const int32_t row = component < row_of_.size() ? row_of_[component] : -1;
    return {value_offset_, row >= 0 ? row : discard_, {}, 0};
  }
  void CloseGroup(const Taker& taker) {
    sums_[taker.target] += taker.sums;
    lines_ += taker.lines;
  }
  int64_t lines() const { return lines_; }

 private:
  ViewComponent view_;
  size_t value_offset_;
  std::span<const int32_t> row_of_;
  PartSums* sums_;
  int32_t discard_;
  int64_t lines_ = 0;
};

// Lines whose component is in a slot of their own: each adds straight to its row.
class SlotViewSink {
 public:
  SlotViewSink(const ViewComponent& view, size_t value_offset, std::span<const int32_t> row_of,
               std::vector<PartSums>& sums)
      : slot_offset_(static_cast<size_t>(view.slot_offset)),
        value_offset_(value_offset),
        row_of_(row_of),
        sums_(sums.data()),
        discard_(static_cast<int32_t>(sums.size()) - 1) {}

  template <int kWidth>
  struct Taker {
    size_t slot_offset;
    size_t value_offset;
    const int32_t* row_of;
    size_t components;
    PartSums* sums;
    int32_t discard;
    int64_t lines;
    void Take(LineRef, const unsigned char* record, bool pass) {
      const ComponentRef component = scan_internal::LoadSlot<kWidth>(record + slot_offset);
      const int32_t row = component < components ? row_of[component] : -1;
      sums[row >= 0 ? row : discard] += AmountOf(record, value_offset, pass);
      ++lines;
    }
  };

  template <int kWidth>
  Taker<kWidth> OpenGroup(CardRef, GroupRef, const Group&) {
    return {slot_offset_, value_offset_, row_of_.data(), row_of_.size(), sums_, discard_, 0};
  }
  template <int kWidth>
  void CloseGroup(const Taker<kWidth>& taker) {
    lines_ += taker.lines;
  }
  int64_t lines() const { return lines_; }

 private:
  size_t slot_offset_;
  size_t value_offset_;
  std::span<const int32_t> row_of_;
  PartSums* sums_;
  int32_t discard_;
  int64_t lines_ = 0;
};

// A part of the card order summed: per row (and the discard slot), and the lines read.
struct PartResult {
  std::vector<PartSums> sums;
  int64_t lines = 0;
  bool complete = true;

  void Add(const PartResult& other) {
    for (size_t r = 0; r < sums.size(); ++r) sums[r] += other.sums[r];
    lines += other.lines;
    complete = complete && other.complete;
  }
};

// What every pass of a calculation shares.
struct PassSetup {
  const Selection& selection;
  ViewComponent view;
  size_t value_offset;
  std::span<const int32_t> row_of;
};

template <typename Sink>
void ScanInto(const PassSetup& setup, CardRef first, CardRef end, PartResult& result) {
  Sink sink(setup.view, setup.value_offset, setup.row_of, result.sums);
  result.complete = ScanRecords(setup.selection, first, end, sink) && result.complete;
  result.lines += sink.lines();
}

void SumRange(const PassSetup& setup, CardRef first, CardRef end, PartResult& result) {
  if (setup.view.slot_offset >= 0) {
    ScanInto<SlotViewSink>(setup, first, end, result);
  } else {
    ScanInto<GroupViewSink>(setup, first, end, result);
  }
}

// Sums the cards [first, end) into `result` (zeroed first). A large range is split at a day and
// its second half summed on a second thread; the halves' sums are added after.
void SumPart(const PassSetup& setup, CardRef first, CardRef end, PartResult& result) {
  std::fill(result.sums.begin(), result.sums.end(), PartSums());
  result.lines = 0;
  result.complete = true;
  const CardStore& cards = setup.selection.database().cards();
  const CardRef middle =
      TestsShareNothing(setup.selection.plan()) ? MiddleCard(cards, first, end) : kNoRecord;
  if (middle != kNoRecord) {
    PartResult second{std::vector<PartSums>(result.sums.size())};
    try {
      std::thread helper([&] { SumRange(setup, middle, end, second); });
      SumRange(setup, first, middle, result);
      helper.join();
      result.Add(second);
      return;
    } catch (const std::system_error&) {
      // No second thread to be had: the whole range on this one.
    }
  }
  SumRange(setup, first, end, result);
}

}  // namespace

ViewComponent FindViewComponent(const Database& database, int dimension) {
  const LineLayout& layout = database.line_layout();
  ViewComponent view;
  view.root = database.dimension(dimension).root();
  if (dimension == 0) {
    view.on_group = true;
  } else if (dimension <= layout.slots) {
    view.slot_offset = static_cast<int>(layout.SlotOffset() +
                                        static_cast<size_t>(dimension - 1) * layout.slot_width);
  }
  return view;
}

bool SumComponentLines(const Selection& selection, const ComponentSumRequest& request,
                       ComponentRows& rows, LinesRead* read) {
  LinesRead counted;
  if (read != nullptr) *read = counted;
  if (rows.empty()) return true;
  const Database& database = selection.database();
  const ScanPlan& plan = selection.plan();
  const PassSetup setup = {selection, FindViewComponent(database, request.view_dimension),
                           LineLayout::kHeaderBytes + 8 * static_cast<size_t>(request.value_field),
                           rows.row_of()};
  PartResult part{std::vector<PartSums>(static_cast<size_t>(rows.size()) + 1)};
  const std::vector<PartSums>& sums = part.sums;
  if (request.read_before) {
    SumPart(setup, database.cards().FirstCard(), plan.before_end, part);
    if (!part.complete) return false;
    counted.before = part.lines;
    for (int r = 0; r < rows.size(); ++r) rows[r].own.before += sums[r].positive + sums[r].negative;
  }
  SumPart(setup, plan.first, plan.end, part);
  if (!part.complete) return false;
  counted.period = part.lines;
  for (int r = 0; r < rows.size(); ++r) {
    rows[r].own.positive += sums[r].positive;
    rows[r].own.negative += sums[r].negative;
    rows[r].own.count += sums[r].count;
  }
  if (request.read_after) {
    SumPart(setup, plan.after_first, kCardSentinel, part);
    if (!part.complete) return false;
    counted.after = part.lines;
    for (int r = 0; r < rows.size(); ++r) rows[r].own.after += sums[r].positive + sums[r].negative;
  }
  if (read != nullptr) *read = counted;
  return true;
}

}  // namespace jov
