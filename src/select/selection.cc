#include "select/selection.h"

#include <system_error>
#include <thread>

#include "model/database.h"
#include "select/criterion_text.h"
#include "select/scan_split.h"
#include "select/selection_registry.h"
#include "select/selection_scan.h"
#include "select/subset.h"
#include "select/subset_list.h"

namespace jov {

Selection::Selection(Database& database, SubsetList* local)
    : database_(database), registry_(&SelectionRegistry::Of(database)), local_(local) {
  components_.Resize(database_.components().size(), true);
  registry_->Add(this);
}

// The registry is kept, not looked up: selections that the database's own objects hold are
// destroyed while the database takes its attachments down.
Selection::~Selection() {
  if (registry_ != nullptr) registry_->Remove(this);
}

// ---------------------------------------------------------------------------------------------
// Criteria

void Selection::Clear() {
  for (int d = 0; d < kDimensionCount; ++d) expressions_[d] = {};
  components_.Resize(0);
  components_.Resize(database_.components().size(), true);
  from_ = DatePoint(DateEnd::kFrom);
  to_ = DatePoint(DateEnd::kTo);
  title_ = {};
  line_text_ = {};
  for (auto& value : values_) value = {};
  SetSubset("");
}

void Selection::CopyFrom(const Selection& other) {
  if (&other == this) return;
  for (int d = 0; d < kDimensionCount; ++d) {
    SetComponentExpression(d, other.expressions_[d].text);
  }
  SetFrom(other.from_.Text());
  SetTo(other.to_.Text());
  SetCardTitle(other.title_.text);
  SetLineText(other.line_text_.text);
  for (int field = 0; field < kValueFields; ++field) {
    SetValueCondition(field, other.values_[field].text);
  }
  SetSubset(other.subset());
}

void Selection::SetComponentExpression(int dimension, std::string_view text) {
  if (dimension < 0 || dimension >= kDimensionCount) return;
  FollowPoolSize();
  Criterion<ComponentExpression>& expression = expressions_[dimension];
  expression.text = TrimBlanksView(text);
  expression.program.reset();
  if (!expression.text.empty()) {
    expression.program =
        ComponentExpression::Compile(database_, dimension, expression.text, chooser_);
    if (expression.program) expression.text = expression.program->Print(database_, false);
  }
  RecomputeDimension(dimension);
  ++revision_;
}

std::string Selection::DisplayedExpression(int dimension) const {
  const Criterion<ComponentExpression>& expression = expressions_[dimension];
  return expression.program ? expression.program->Print(database_, true) : expression.text;
}

void Selection::SetFrom(std::string_view text) {
  from_.Read(text, TodayIn(database_));
  ++revision_;
}

void Selection::SetTo(std::string_view text) {
  to_.Read(text, TodayIn(database_));
  ++revision_;
}

void Selection::CompilePattern(Pattern& pattern, std::string_view text) {
  pattern.text = text;
  pattern.compiled.program = TextPattern::Compile(pattern.text);
  ++revision_;
}

void Selection::SetCardTitle(std::string_view text) { CompilePattern(title_, text); }

void Selection::SetLineText(std::string_view text) { CompilePattern(line_text_, text); }

void Selection::SetValueCondition(int field, std::string_view text) {
  if (field < 0 || field >= kValueFields) return;
  Criterion<ValueCondition>& value = values_[field];
  value.text = text;
  value.program = ValueCondition::Compile(value.text);
  ++revision_;
}

void Selection::SetSubset(std::string_view text) {
  subset_text_ = TrimBlanksView(text);
  subset_reference_ = Combination();
  subset_compiled_ = subset_text_.empty();
  subset_lines_valid_ = false;
  ++revision_;
}

void Selection::EnsureSubsetCompiled() const {
  if (subset_compiled_) return;
  subset_compiled_ = true;
  CombinationScope scope;
  scope.local = local_;
  scope.database = &SubsetList::Of(database_);
  subset_reference_.Compile(subset_text_, scope);
}

const std::string& Selection::subset() const {
  EnsureSubsetCompiled();
  subset_text_ = subset_reference_.Text(false);
  return subset_text_;
}

bool Selection::NamesSubset(const Subset* subset) const {
  EnsureSubsetCompiled();
  return subset_reference_.Names(subset);
}

std::vector<Subset*> Selection::ReferencedSubsets() const {
  EnsureSubsetCompiled();
  return subset_reference_.NamedSubsets();
}

void Selection::ForgetSubset(const Subset& subset) {
  if (!subset_compiled_ || !subset_reference_.Names(&subset)) return;
  // The name stays in the text, where the next compilation no longer finds it.
  subset_text_ = subset_reference_.Text(false);
  subset_compiled_ = false;
  subset_lines_valid_ = false;
  ++revision_;
}

void Selection::ReleaseSubsetLines() {
  subset_lines_.Free();
  subset_lines_valid_ = false;
}

void Selection::MarkNamedComponents(std::vector<bool>& marks) const {
  for (const auto& expression : expressions_) {
    if (!expression.program) continue;
    for (const ComponentOp& op : expression.program->ops()) {
      for (const ComponentRef ref : {op.first, op.second}) {
        if (ref < marks.size()) marks[ref] = true;
      }
    }
  }
}

int Selection::UsedValueFields() const { return database_.value_field_count(); }

bool Selection::IsEmpty() const {
  for (const auto& expression : expressions_) {
    if (expression.program) return false;
  }
  for (int field = 0; field < UsedValueFields(); ++field) {
    if (values_[field].program) return false;
  }
  EnsureSubsetCompiled();
  return from_.IsOpen() && to_.IsOpen() && !title_.compiled.program &&
         !line_text_.compiled.program && subset_reference_.empty();
}

// ---------------------------------------------------------------------------------------------
// Component set

void Selection::RecomputeDimension(int dimension) {
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  const std::optional<ComponentExpression>& program = expressions_[dimension].program;
  // Without a program every component of the dimension is taken, the root included.
  ComponentSet value;
  if (program) value = program->Evaluate(database_);
  ComponentRef ref = root;
  do {
    components_.Set(ref, !program || value.Test(ref));
    ref = database_.NextInPreorder(ref);
  } while (ref != root);
}

void Selection::FollowPoolSize() {
  const size_t size = database_.components().size();
  if (components_.size() == size) return;
  components_.Resize(size, true);
  for (int d = 0; d < kDimensionCount; ++d) {
    if (expressions_[d].program) RecomputeDimension(d);
  }
}

void Selection::OnDatabaseChange(ChangeCode code, int argument) {
  if (code != ChangeCode::kComponents || argument < 0 || argument >= kDimensionCount) return;
  FollowPoolSize();
  Criterion<ComponentExpression>& expression = expressions_[argument];
  if (expression.program) {
    // Components renamed or removed: the program keeps their numbers, the text follows it.
    expression.program->FollowRemovals(database_);
    expression.text = expression.program->Print(database_, false);
  } else if (!expression.text.empty()) {
    // A code that was missing may have arrived.
    expression.program = ComponentExpression::Compile(database_, argument, expression.text);
    if (expression.program) expression.text = expression.program->Print(database_, false);
  }
  RecomputeDimension(argument);
  ++revision_;
}

// ---------------------------------------------------------------------------------------------
// Evaluation

bool Selection::Prepare() {
  FollowPoolSize();
  const DateContext context = TodayIn(database_);
  from_.Resolve(context);
  to_.Resolve(context);
  if (!PrepareSubsetReference()) return false;
  BuildPlan();
  return !StopRequested();
}

bool Selection::PrepareSubsetReference() {
  EnsureSubsetCompiled();
  if (subset_reference_.empty()) return true;
  // The subsets named are brought up to date first; their versions tell whether the lines
  // calculated last time still hold.
  std::vector<uint64_t> inputs = {registry_->data_revision()};
  for (Subset* subset : subset_reference_.NamedSubsets()) {
    if (!subset->Calculate()) return false;
    inputs.push_back(subset->version());
  }
  if (subset_lines_valid_ && inputs == subset_inputs_) return true;
  subset_lines_valid_ = false;
  if (subset_reference_.Evaluate(database_, subset_lines_) != Calculation::kDone) return false;
  subset_inputs_ = std::move(inputs);
  subset_lines_valid_ = true;
  return true;
}

void Selection::BuildPlan() {
  plan_ = ScanPlan();
  CardStore& cards = database_.cards();
  const LineLayout& layout = database_.line_layout();
  plan_.first = from_.IsOpen() ? cards.FirstCard() : cards.FindCard(from_.date());
  if (!to_.IsOpen()) {
    plan_.end = cards.FindCard(to_.date());
    if (plan_.end != kCardSentinel && cards.CardId(plan_.end) == to_.date()) {
      plan_.end = cards.NextCard(plan_.end);
    }
  }
  plan_.before_end = plan_.first;
  plan_.after_first = plan_.end;
  // A range that runs backwards takes no card.
  if (!to_.IsOpen() && plan_.first != kCardSentinel && cards.CardId(plan_.first) > to_.date()) {
    plan_.first = plan_.end;
  }
  if (title_.compiled.program) plan_.title = &title_.compiled;
  accept_.resize(components_.size());
  for (ComponentRef ref = 0; ref < accept_.size(); ++ref) accept_[ref] = components_.Test(ref);
  plan_.accept = accept_.data();
  plan_.test_groups = expressions_[0].program.has_value();
  plan_.slot_width = layout.slot_width;
  for (int d = 1; d < kDimensionCount; ++d) {
    if (!expressions_[d].program) continue;
    if (d > layout.slots) {
      // Lines carry no slot for this dimension: they stand at its root.
      if (!components_.Test(static_cast<ComponentRef>(d))) TakeNothing();
      continue;
    }
    plan_.slot_offsets[plan_.slot_count++] =
        static_cast<uint32_t>(layout.SlotOffset() + static_cast<size_t>(d - 1) * layout.slot_width);
  }
  for (int field = 0; field < UsedValueFields(); ++field) {
    if (!values_[field].program) continue;
    const auto offset =
        static_cast<uint32_t>(LineLayout::kHeaderBytes + 8 * static_cast<size_t>(field));
    if (const std::optional<ValueTest> single = values_[field].program->AsSingleTest()) {
      plan_.ranges[plan_.range_count++] = {offset, *single};
    } else {
      plan_.conditions[plan_.condition_count++] = {offset, &*values_[field].program};
    }
  }
  if (line_text_.compiled.program) plan_.line_text = &line_text_.compiled;
  if (!subset_reference_.empty()) plan_.subset = &subset_lines_;
  PadInlineTests(layout);
}

void Selection::PadInlineTests(const LineLayout& layout) {
  plan_.inline_tests = plan_.slot_count > 0 || plan_.range_count > 0;
  if (!plan_.inline_tests) return;
  // A slot that no expression restricts holds a component the selection takes: every line
  // passes it. With none restricted, the first slot is such a slot; otherwise a restricted slot
  // tested twice gives the same answer.
  const uint32_t pad_slot =
      plan_.slot_count > 0 ? plan_.slot_offsets[0] : static_cast<uint32_t>(layout.SlotOffset());
  while (plan_.slot_count < ScanPlan::kInlineSlots)
    plan_.slot_offsets[plan_.slot_count++] = pad_slot;
  if (plan_.range_count == 0) {
    plan_.ranges[plan_.range_count++] = {static_cast<uint32_t>(LineLayout::kHeaderBytes),
                                         {kMinusInfinity, kPlusInfinity, false, true}};
  }
  plan_.more_inline_tests =
      plan_.slot_count > ScanPlan::kInlineSlots || plan_.range_count > ScanPlan::kInlineRanges;
}

void Selection::TakeNothing() {
  plan_.first = plan_.end;
  plan_.before_end = database_.cards().FirstCard();
  plan_.after_first = kCardSentinel;
}

bool Selection::CardPasses(CardRef card) const {
  return title_.compiled.Passes(database_.cards().Title(card));
}

bool Selection::GroupPasses(GroupRef group) const {
  return components_.Test(database_.cards().group(group).component);
}

bool Selection::LinePasses(LineRef line) const {
  if (!subset_reference_.empty() && !subset_lines_.Test(line)) return false;
  const CardStore& cards = database_.cards();
  const int slots = database_.line_layout().slots;
  for (int d = 1; d < kDimensionCount; ++d) {
    if (!expressions_[d].program) continue;
    const ComponentRef component =
        d <= slots ? cards.GetComponent(line, d) : static_cast<ComponentRef>(d);
    if (!components_.Test(component)) return false;
  }
  for (int field = 0; field < UsedValueFields(); ++field) {
    if (values_[field].program && !values_[field].program->Evaluate(cards.GetValue(line, field))) {
      return false;
    }
  }
  return line_text_.compiled.Passes(cards.LineText(line));
}

bool Selection::CollectLines(LineSet& lines) {
  if (!Prepare() || !lines.Reset(database_.cards().lines().size())) return false;
  const auto every_card = [](CardRef) { return true; };
  const CardRef middle =
      TestsShareNothing(plan_) ? MiddleCard(database_.cards(), plan_.first, plan_.end) : kNoRecord;
  LineSet later;
  if (middle != kNoRecord && later.Reset(lines.size())) {
    // The later half on a second thread, into a set of its own: the halves' lines may share
    // words of the set.
    try {
      bool later_complete = false;
      std::thread helper(
          [&] { later_complete = CollectSelection(*this, middle, plan_.end, every_card, later); });
      const bool complete = CollectSelection(*this, plan_.first, middle, every_card, lines);
      helper.join();
      lines |= later;
      return complete && later_complete;
    } catch (const std::system_error&) {
      // No second thread to be had: the whole range on this one.
    }
  }
  return CollectSelection(*this, plan_.first, plan_.end, every_card, lines);
}

std::optional<DateRange> Selection::Resolve(std::string_view text) const {
  return ResolveKeywordRange(text, TodayIn(database_));
}

}  // namespace jov
