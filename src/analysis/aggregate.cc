#include "analysis/aggregate.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <numeric>
#include <optional>

#include "analysis/aggregate_period.h"
#include "analysis/time_scale.h"
#include "analysis/time_scale_list.h"
#include "files/fields.h"
#include "model/case_tables.h"
#include "model/user_stamp.h"
#include "select/criterion_text.h"
#include "select/date_point.h"
#include "shell/pending_error.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// The working lists start at the database's line count divided by a factor of the resolution
// (the share of the lines one period is likely to hold), at least this many entries.
constexpr size_t kListStep = 4000;
// How many lines ahead of the summing the values are fetched.
constexpr size_t kPrefetchAhead = 16;

struct CalendarName {
  std::string_view name;
  PeriodKind kind;
};
constexpr CalendarName kCalendarNames[] = {
    {"years", PeriodKind::kYears},           {"halfyears", PeriodKind::kHalfYears},
    {"tertials", PeriodKind::kTertials},     {"quarters", PeriodKind::kQuarters},
    {"2months", PeriodKind::kTwoMonths},     {"months", PeriodKind::kMonths},
    {"halfmonths", PeriodKind::kHalfMonths}, {"4weeks", PeriodKind::kFourWeeks},
    {"3weeks", PeriodKind::kThreeWeeks},     {"2weeks", PeriodKind::kTwoWeeks},
    {"weeks", PeriodKind::kWeeks},           {"days", PeriodKind::kDays},
};

double ListFactor(const AggregateSettings& settings) {
  switch (settings.by) {
    case AggregateBy::kCards:
      return 64;
    case AggregateBy::kTimeScale:
      return 3;
    case AggregateBy::kSingleCard:
      return 1;
    case AggregateBy::kCalendar:
      break;
  }
  switch (settings.kind) {
    case PeriodKind::kHalfYears:
      return 2.0 / 3;
    case PeriodKind::kTertials:
      return 2;
    case PeriodKind::kQuarters:
      return 3;
    case PeriodKind::kTwoMonths:
      return 5;
    case PeriodKind::kMonths:
    case PeriodKind::kFourWeeks:
      return 8;
    case PeriodKind::kHalfMonths:
    case PeriodKind::kTwoWeeks:
      return 12;
    case PeriodKind::kThreeWeeks:
      return 10;
    case PeriodKind::kWeeks:
      return 16;
    case PeriodKind::kDays:
      return 32;
    default:
      return 1;
  }
}

// A line's components as one number, dimension 1 in the highest bits, so that the numbers sort
// as the components do; with the line's place among the collected lines.
struct PackedKey {
  uint64_t components;
  uint32_t entry;
  bool operator<(const PackedKey& other) const {
    return components != other.components ? components < other.components : entry < other.entry;
  }
};

// The bits a component number takes in a packed key of the database's lines; 0 when the
// components of a line do not fit in 64 bits.
int PackedKeyBits(const Database& database) {
  const int bits = std::max(1, static_cast<int>(std::bit_width(database.components().size())));
  const int dimensions = 1 + database.line_layout().slots;
  return bits * dimensions <= 64 ? bits : 0;
}

// A component slot of a line record: `width` bytes, big-endian.
ComponentRef ReadSlot(const unsigned char* p, int width) {
  ComponentRef value = 0;
  for (int i = 0; i < width; ++i) value = value << 8 | p[i];
  return value;
}

// One aggregation: the collected lines of the current period as three parallel lists, and the
// period they belong to.
class Aggregation {
 public:
  Aggregation(Database& database, const AggregateSettings& settings)
      : database_(database),
        cards_(database.cards()),
        settings_(settings),
        dimensions_(1 + database.line_layout().slots),
        values_(database.value_field_count()),
        line_limit_(database.cards().line_count()),
        key_bits_(PackedKeyBits(database)) {}

  bool SizeLists();
  void set_stamp(const Stamp& stamp) { stamp_ = stamp; }
  // The lines a window covers on `card` (all of the card's lines when `whole`).
  void Take(CardRef card, std::span<const CardLine> lines, bool whole);
  // After the last card.
  void Finish() { Flush(); }
  const AggregateResult& result() const { return result_; }

 private:
  // A source card's share of the collected lines: [first, end) of the lists.
  struct SourceCard {
    CardRef card;
    size_t first;
    size_t end;
    bool whole;
  };

  void StartPeriod(CardRef card);
  bool Append(CardRef card, GroupRef group, LineRef line);
  bool Grow();
  void Flush();
  CardRef MakeTarget();
  std::string TargetTitle() const;
  void ReadCollected();
  std::vector<uint32_t> SortedOrder();
  bool SameComponents(uint32_t a, uint32_t b) const;
  void ComponentsOf(uint32_t entry, ComponentRef* components) const;
  bool AddRuns(CardRef target, const std::vector<uint32_t>& order, std::vector<LineRef>& added);
  void Undo(CardRef target, bool made, const std::vector<LineRef>& added);
  void RemoveSources(CardRef target);
  void Clear();

  Database& database_;
  CardStore& cards_;
  const AggregateSettings& settings_;
  Stamp stamp_;
  const int dimensions_;  // the group's component, then the line's slots
  const int values_;
  const size_t line_limit_;

  std::vector<CardRef> card_list_;
  std::vector<GroupRef> group_list_;
  std::vector<LineRef> line_list_;
  std::vector<SourceCard> sources_;
  // Built by ReadCollected for the collected lines, in their order: each line's values, and
  // its components as one packed number when they fit in 64 bits, else `dimensions_` apiece.
  std::vector<double> values_read_;
  std::vector<PackedKey> packed_;
  std::vector<ComponentRef> keys_;
  const int key_bits_;  // bits per component in a packed key; 0 when keys do not fit

  bool open_ = false;
  Date start_;  // of the current period
  Date end_;
  CardRef current_card_ = kNoRecord;
  std::string period_name_;
  AggregateResult result_;
};

bool Aggregation::SizeLists() {
  const size_t wanted =
      static_cast<size_t>(static_cast<double>(line_limit_) / ListFactor(settings_));
  const size_t size = std::max(std::min(wanted, line_limit_), kListStep);
  try {
    card_list_.reserve(size);
    group_list_.reserve(size);
    line_list_.reserve(size);
  } catch (const std::bad_alloc&) {
    PostOutOfMemory();
    return false;
  }
  return true;
}

// The lists grow by half their size (at least kListStep entries), never past the database's
// line count, which no period can hold more of.
bool Aggregation::Grow() {
  const size_t capacity = card_list_.capacity();
  const size_t size = std::min(capacity + std::max(capacity / 2, kListStep), line_limit_);
  if (size <= capacity) return false;
  try {
    card_list_.reserve(size);
    group_list_.reserve(size);
    line_list_.reserve(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool Aggregation::Append(CardRef card, GroupRef group, LineRef line) {
  if (line_list_.size() ==
          std::min({card_list_.capacity(), group_list_.capacity(), line_list_.capacity()}) &&
      !Grow()) {
    return false;
  }
  card_list_.push_back(card);
  group_list_.push_back(group);
  line_list_.push_back(line);
  return true;
}

void Aggregation::StartPeriod(CardRef card) {
  const Date date = cards_.CardId(card);
  switch (settings_.by) {
    case AggregateBy::kSingleCard:
      return;
    case AggregateBy::kCards:
      if (open_ && card == current_card_) return;
      Flush();
      current_card_ = card;
      break;
    case AggregateBy::kTimeScale: {
      if (open_ && !(end_ < date)) return;
      Flush();
      const PeriodBounds bounds = settings_.time_scale->PeriodOf(date);
      start_ = bounds.start.day == kNoDay ? cards_.CardId(cards_.FirstCard()) : bounds.start;
      end_ = bounds.end;
      period_name_ = TrimTrailingBlanks(settings_.time_scale->PeriodName(date));
      break;
    }
    case AggregateBy::kCalendar: {
      if (open_ && date.day <= end_.day) return;
      Flush();
      const DayRange range = CalendarPeriodOf(settings_.kind, date.day);
      start_ = {range.start, 0};
      end_ = {range.end, kEndOfDay};
      period_name_ = CalendarPeriodName(settings_.kind, range);
      break;
    }
  }
}

void Aggregation::Take(CardRef card, std::span<const CardLine> lines, bool whole) {
  if (lines.empty()) return;
  StartPeriod(card);
  open_ = true;
  const size_t first = line_list_.size();
  for (const CardLine& taken : lines) {
    // A line that finds no room stays where it is, out of the sums.
    if (!Append(card, taken.group, taken.line)) whole = false;
  }
  if (line_list_.size() > first) sources_.push_back({card, first, line_list_.size(), whole});
  result_.source_lines += line_list_.size() - first;
}

std::string Aggregation::TargetTitle() const {
  std::string title = settings_.card_title;
  if (settings_.by != AggregateBy::kSingleCard && settings_.append_period_name) {
    title += ' ';
    title += period_name_;
  }
  return title;
}

CardRef Aggregation::MakeTarget() {
  Date date;
  switch (settings_.by) {
    case AggregateBy::kCards:
      return card_list_.front();
    case AggregateBy::kSingleCard: {
      DatePoint point(DateEnd::kFrom);
      point.Read(settings_.card_date, TodayIn(database_));
      date = point.date();
      if (date.day == kNoDay) date = cards_.CardId(card_list_.front());
      break;
    }
    default:
      date = start_;
      break;
  }
  const CardRef target = cards_.CreateCard(date);
  if (target == kNoRecord) return kNoRecord;
  cards_.SetTitle(target, TargetTitle());
  cards_.mutable_card(target).created = stamp_;
  return target;
}

// Reads the collected lines' values and components from their records, in collection order.
void Aggregation::ReadCollected() {
  const size_t count = line_list_.size();
  const LineLayout& layout = database_.line_layout();
  const size_t value_count = static_cast<size_t>(values_);
  const size_t width = static_cast<size_t>(dimensions_);
  values_read_.resize(count * value_count);
  if (key_bits_ > 0) {
    packed_.resize(count);
  } else {
    keys_.resize(count * width);
  }
  const LineStore& store = cards_.lines();
  ComponentRef components[kDimensionCount];
  for (size_t i = 0; i < count; ++i) {
    const unsigned char* record = store.RecordBytes(line_list_[i]);
    std::memcpy(&values_read_[i * value_count], record + LineLayout::kHeaderBytes,
                value_count * sizeof(double));
    components[0] = cards_.group(group_list_[i]).component;
    const unsigned char* slot = record + layout.SlotOffset();
    for (size_t k = 1; k < width; ++k, slot += layout.slot_width) {
      components[k] = ReadSlot(slot, layout.slot_width);
    }
    if (key_bits_ > 0) {
      uint64_t key = 0;
      for (size_t k = 0; k < width; ++k) key = key << key_bits_ | components[k];
      packed_[i] = {key, static_cast<uint32_t>(i)};
    } else {
      std::copy(components, components + width, &keys_[i * width]);
    }
  }
}

// The collected lines in the order of their components (dimension 1 from the group, then the
// slots), lines with equal components in the order they were collected.
std::vector<uint32_t> Aggregation::SortedOrder() {
  ReadCollected();
  const size_t count = line_list_.size();
  std::vector<uint32_t> order(count);
  if (key_bits_ > 0) {
    std::sort(packed_.begin(), packed_.end());
    for (size_t i = 0; i < count; ++i) order[i] = packed_[i].entry;
    return order;
  }
  std::iota(order.begin(), order.end(), 0u);
  const size_t width = static_cast<size_t>(dimensions_);
  const ComponentRef* keys = keys_.data();
  std::sort(order.begin(), order.end(), [keys, width](uint32_t a, uint32_t b) {
    const ComponentRef* ka = keys + a * width;
    const ComponentRef* kb = keys + b * width;
    for (size_t k = 0; k < width; ++k) {
      if (ka[k] != kb[k]) return ka[k] < kb[k];
    }
    return a < b;
  });
  return order;
}

// Whether the lines at places `a` and `b` of the sorted order have equal components.
bool Aggregation::SameComponents(uint32_t a, uint32_t b) const {
  if (key_bits_ > 0) return packed_[a].components == packed_[b].components;
  const size_t width = static_cast<size_t>(dimensions_);
  const ComponentRef* ka = &keys_[a * width];
  return std::equal(ka, ka + width, &keys_[b * width]);
}

// The components of the line at place `at` of the sorted order, dimension by dimension.
void Aggregation::ComponentsOf(uint32_t at, ComponentRef* components) const {
  if (key_bits_ == 0) {
    const size_t width = static_cast<size_t>(dimensions_);
    std::copy_n(&keys_[at * width], width, components);
    return;
  }
  uint64_t key = packed_[at].components;
  const uint64_t mask = (uint64_t{1} << key_bits_) - 1;
  for (int k = dimensions_ - 1; k >= 0; --k, key >>= key_bits_) {
    components[k] = static_cast<ComponentRef>(key & mask);
  }
}

bool Aggregation::AddRuns(CardRef target, const std::vector<uint32_t>& order,
                          std::vector<LineRef>& added) {
  // The sorted places of the packed keys are their places in `packed_`; of the wide keys, the
  // entries of `order`.
  const auto place = [&](size_t i) { return key_bits_ > 0 ? static_cast<uint32_t>(i) : order[i]; };
  const size_t value_count = static_cast<size_t>(values_);
  std::vector<double> sums(value_count);
  ComponentRef components[kDimensionCount];
  GroupRef group = kNoRecord;
  ComponentRef group_component = kNoComponent;
  for (size_t run = 0; run < order.size();) {
    size_t end = run + 1;
    while (end < order.size() && SameComponents(place(run), place(end))) ++end;
    std::fill(sums.begin(), sums.end(), 0.0);
    for (size_t i = run; i < end; ++i) {
      // The values are read in sorted order, all over the array: the ones a few lines ahead
      // are fetched while these are added.
      if (i + kPrefetchAhead < order.size()) {
        __builtin_prefetch(&values_read_[order[i + kPrefetchAhead] * value_count]);
      }
      const double* values = &values_read_[order[i] * value_count];
      for (size_t f = 0; f < value_count; ++f) sums[f] += values[f];
    }
    bool zero = true;
    for (double& sum : sums) {
      sum = SnapToZero(sum);
      zero &= sum == 0;
    }
    ComponentsOf(place(run), components);
    run = end;
    if (zero && !settings_.keep_zero_lines) continue;
    if (group == kNoRecord || group_component != components[0]) {
      group = cards_.FindOrAddGroup(target, components[0]);
      group_component = components[0];
      if (group == kNoRecord) return false;
    }
    const LineRef line = cards_.AddLine(
        group, sums, std::span(components + 1, static_cast<size_t>(dimensions_ - 1)));
    if (line == kNoLine) return false;
    added.push_back(line);
  }
  return true;
}

// Takes back what a failed flush added: the new card, or the lines added to a source card.
void Aggregation::Undo(CardRef target, bool made, const std::vector<LineRef>& added) {
  if (made) {
    cards_.DeleteCard(target);
    return;
  }
  // Each added line is the last of its group while the ones after it are gone.
  for (auto it = added.rbegin(); it != added.rend(); ++it) {
    const LineRef line = *it;
    for (GroupRef g = cards_.card(target).first_group; g != kNoRecord; g = cards_.group(g).next) {
      if (cards_.group(g).last_line == line) {
        cards_.DeleteLine(target, g, line);
        break;
      }
    }
  }
  cards_.FinishCard(target);
}

void Aggregation::RemoveSources(CardRef target) {
  for (const SourceCard& source : sources_) {
    cards_.RecordChange(source.card, stamp_);
    if (source.whole && source.card != target) {
      cards_.DeleteCard(source.card);
      continue;
    }
    for (size_t i = source.first; i < source.end; ++i) {
      cards_.DeleteLine(source.card, group_list_[i], line_list_[i]);
    }
  }
}

void Aggregation::Clear() {
  card_list_.clear();
  group_list_.clear();
  line_list_.clear();
  sources_.clear();
}

void Aggregation::Flush() {
  if (line_list_.empty()) return;
  const bool made = settings_.by != AggregateBy::kCards;
  const CardRef target = MakeTarget();
  if (target == kNoRecord) {
    Clear();
    return;
  }
  const std::vector<uint32_t> order = SortedOrder();
  std::vector<LineRef> added;
  if (!AddRuns(target, order, added)) {
    Undo(target, made, added);
    Clear();
    return;
  }
  const bool kept = !added.empty();
  cards_.FinishCard(target);
  if (!settings_.duplicate) RemoveSources(target);
  if (made && kept) ++result_.cards_made;
  result_.lines_made += added.size();
  Clear();
}

std::string NextToken(std::span<const std::string> tokens, size_t& at) {
  return at + 1 < tokens.size() ? tokens[++at] : std::string();
}

}  // namespace

bool SelectAggregateResolution(AggregateSettings& settings, std::string_view name) {
  if (EqualsIgnoringCase(name, "onecard")) {
    settings.by = AggregateBy::kSingleCard;
    return true;
  }
  if (EqualsIgnoringCase(name, "cards")) {
    settings.by = AggregateBy::kCards;
    return true;
  }
  for (const CalendarName& entry : kCalendarNames) {
    if (EqualsIgnoringCase(name, entry.name)) {
      settings.by = AggregateBy::kCalendar;
      settings.kind = entry.kind;
      return true;
    }
  }
  return false;
}

std::vector<std::string> ApplyAggregateOptions(AggregateSettings& settings, Database& database,
                                               std::span<const std::string> tokens) {
  std::vector<std::string> rejected;
  for (size_t at = 0; at < tokens.size(); ++at) {
    const std::string& token = tokens[at];
    const std::string_view name = token.empty() || token.front() != '-'
                                      ? std::string_view()
                                      : std::string_view(token).substr(1);
    if (EqualsIgnoringCase(name, "onecard")) {
      settings.by = AggregateBy::kSingleCard;
      if (at + 1 < tokens.size() && !tokens[at + 1].starts_with('-'))
        settings.card_date = tokens[++at];
    } else if (EqualsIgnoringCase(name, "timescale")) {
      const std::string scale_name(TrimBlanksView(NextToken(tokens, at)));
      if (const TimeScale* scale = TimeScaleList::Of(database).Find(scale_name)) {
        settings.by = AggregateBy::kTimeScale;
        settings.time_scale = scale;
      } else {
        rejected.push_back(scale_name);
      }
    } else if (EqualsIgnoringCase(name, "title")) {
      settings.card_title = TrimBlanksView(NextToken(tokens, at));
    } else if (EqualsIgnoringCase(name, "periodnames")) {
      settings.append_period_name = true;
    } else if (EqualsIgnoringCase(name, "noperiodnames")) {
      settings.append_period_name = false;
    } else if (EqualsIgnoringCase(name, "duplicate")) {
      settings.duplicate = true;
    } else if (EqualsIgnoringCase(name, "keepzerolines")) {
      settings.keep_zero_lines = true;
    } else if (name.empty() || !SelectAggregateResolution(settings, name)) {
      rejected.push_back(token);
    }
  }
  return rejected;
}

bool Aggregate(Database& database, const WindowLines& window, const AggregateSettings& settings,
               AggregateResult* result) {
  if (settings.by == AggregateBy::kTimeScale && settings.time_scale == nullptr) return false;
  CardStore& cards = database.cards();
  const std::vector<CardRef> listed = WindowCards(cards, window);
  if (listed.empty()) return false;
  Aggregation run(database, settings);
  if (!run.SizeLists()) return false;
  const std::optional<Stamp> stamp = ObtainUserStamp();
  if (!stamp) return false;
  run.set_stamp(*stamp);
  std::vector<CardLine> lines;
  for (const CardRef card : listed) {
    // A stop ends the walk between cards; what was collected is still condensed, so every card
    // is either aggregated whole or left as it was.
    if (StopRequested()) break;
    CoveredLines(cards, card, window, lines);
    run.Take(card, lines, lines.size() == CardLineCount(cards, card));
  }
  run.Finish();
  if (result != nullptr) *result = run.result();
  database.MarkModified();
  cards.TakeCardsChanged();
  database.Notify(ChangeCode::kCards);
  return true;
}

}  // namespace jov
