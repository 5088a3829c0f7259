// Selection: the criteria that decide which cards and lines of a database an analysis, a
// subset or a save works on, combined with AND: a component expression per dimension (kept as
// one ComponentSet over the component pool), a date range over cards, a card-title and a
// line-text pattern, a condition per value field, and a reference to subsets. An empty
// criterion does not restrict. Every criterion is kept as its corrected text with its compiled
// program. How an analysis walks the lines a selection takes is in selection_scan.h.
//
// A selection is registered with its database from construction to destruction, so that
// component changes reach its component set and programs, and so that subsets can tell whether
// a selection names them. It is neither copied nor moved; CopyFrom takes another's criteria.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/definition_block.h"
#include "files/line_sink.h"
#include "model/card_store.h"
#include "model/change_code.h"
#include "model/component.h"
#include "select/combination.h"
#include "select/component_expression.h"
#include "select/component_set.h"
#include "select/date_point.h"
#include "select/interval_condition.h"
#include "select/line_set.h"
#include "select/text_pattern.h"
#include "select/value_condition.h"

namespace jov {

class Database;
class SelectionRegistry;
class Subset;
class SubsetList;
class XmlReader;

// A pattern with its result for the empty text (cards without a title, lines without a text).
struct CompiledPattern {
  std::optional<TextPattern> program;
  bool Passes(std::string_view text) const {
    return !program || (text.empty() ? program->empty_text_result() : program->Matches(text));
  }
};

// What a prepared selection tests per card, group and line, laid out for the scan loop: only
// the criteria that restrict, each with the offset of what it reads in a line record. Valid from
// Prepare until the selection or the database changes.
struct ScanPlan {
  // A value condition of one operand, run inline.
  struct RangeTest {
    uint32_t offset;
    ValueTest test;
  };
  // Any other value condition.
  struct ConditionTest {
    uint32_t offset;
    const ValueCondition* condition;
  };

  // When any component slot or one-operand value condition restricts, the scan tests at least
  // this many of each without a loop; the plan is padded to them with tests that always pass
  // (a slot tested twice, a range without bounds).
  static constexpr int kInlineSlots = 2;
  static constexpr int kInlineRanges = 1;

  CardRef first = kCardSentinel;  // the first card not before the from-point
  CardRef end = kCardSentinel;    // the first card after the to-point
  // The cards dated before the from-point are [FirstCard(), before_end), those dated after the
  // to-point [after_first, the sentinel): what analyses that show balances around the range
  // read. In a range that runs backwards these overlap it; when the selection takes no line at
  // all, both are empty, and so is [first, end).
  CardRef before_end = kCardSentinel;
  CardRef after_first = kCardSentinel;
  const CompiledPattern* title = nullptr;
  // One byte per component of the pool: 1 when the selection takes it.
  const uint8_t* accept = nullptr;
  bool test_groups = false;  // the first dimension restricts
  int slot_width = 2;
  // Components and one-operand value conditions are tested, padded as above.
  bool inline_tests = false;
  bool more_inline_tests = false;  // more than the padded number
  int slot_count = 0;
  std::array<uint32_t, kDimensionCount> slot_offsets{};
  int range_count = 0;
  std::array<RangeTest, 24> ranges{};
  int condition_count = 0;
  std::array<ConditionTest, 24> conditions{};
  const CompiledPattern* line_text = nullptr;
  const LineSet* subset = nullptr;

  // Tests beyond components and single-operand value conditions.
  bool HasFurtherTests() const {
    return condition_count > 0 || line_text != nullptr || subset != nullptr;
  }
};

class Selection : public DatePointResolver {
 public:
  // The prefix letter of stored selections in templates and subsets.
  static constexpr char kStoredPrefix = 'V';
  static constexpr int kValueFields = 24;

  // An empty selection: no criterion, both date points File. `local` is the owner's own list of
  // subsets, searched before the database's when the subset criterion names one; may be null.
  explicit Selection(Database& database, SubsetList* local = nullptr);
  ~Selection() override;
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

  Database& database() const { return database_; }
  SubsetList* local_subsets() const { return local_; }
  // Asked when an expression names a code that no component carries (the desktop shows a list).
  void set_chooser(ComponentChooser chooser) { chooser_ = std::move(chooser); }

  // --- Criteria. The setters store the text corrected by its compiler and recompute what
  // depends on it; an empty text clears the criterion.
  void Clear();
  // Takes every criterion of `other` (of the same database) and compiles it anew.
  void CopyFrom(const Selection& other);
  void SetComponentExpression(int dimension, std::string_view text);
  void SetFrom(std::string_view text);
  void SetTo(std::string_view text);
  void SetCardTitle(std::string_view text);
  void SetLineText(std::string_view text);
  void SetValueCondition(int field, std::string_view text);  // field 0..23
  void SetSubset(std::string_view text);

  // The stored form of the dimension's expression, as its program prints it back; the text as
  // typed when it did not compile (the dimension then does not restrict).
  const std::string& component_expression(int dimension) const {
    return expressions_[dimension].text;
  }
  // The displayed form: blanks around operators, a single code in the dimension's display form.
  std::string DisplayedExpression(int dimension) const;
  bool RestrictsDimension(int dimension) const {
    return expressions_[dimension].program.has_value();
  }
  const DatePoint& from() const { return from_; }
  const DatePoint& to() const { return to_; }
  const std::string& card_title() const { return title_.text; }
  const std::string& line_text() const { return line_text_.text; }
  const std::string& value_condition(int field) const { return values_[field].text; }
  // The subset criterion as its program prints it back (stored form).
  const std::string& subset() const;
  const ComponentSet& components() const { return components_; }

  // No expression, both date points File, both patterns, every used value condition and the
  // subset reference empty.
  bool IsEmpty() const;
  // Changes whenever a criterion changes, or the components it names do.
  uint64_t revision() const { return revision_; }

  // --- The subset criterion. Its text is compiled when first needed, so that a text read
  // before the subsets it names still finds them; names that find none are reported (4707) and
  // dropped then.
  bool NamesSubset(const Subset* subset) const;
  std::vector<Subset*> ReferencedSubsets() const;
  // Before `subset` is erased: the criterion lets go of it.
  void ForgetSubset(const Subset& subset);
  // Frees the lines the criterion was last calculated into.
  void ReleaseSubsetLines();
  // The components that the dimensions' expressions name.
  void MarkNamedComponents(std::vector<bool>& marks) const;

  // --- Evaluation
  // Resolves the date points, calculates the subset reference and lays out the scan. False
  // when the user stopped it or a subset it names could not be calculated; the caller then
  // discards what it would have scanned.
  bool Prepare();
  const ScanPlan& plan() const { return plan_; }
  bool CardPasses(CardRef card) const;
  // The first dimension's component, which lines carry on their group.
  bool GroupPasses(GroupRef group) const;
  // In order: subset reference, components, values, line text.
  bool LinePasses(LineRef line) const;
  // Prepares, then sets the bit of every line that passes. `lines` is sized to the line pool
  // first. False (with `lines` to be discarded) as for Prepare, or when the scan was stopped.
  bool CollectLines(LineSet& lines);

  // DatePointResolver: the keyword forms of date points in card-identifier and stamp criteria.
  std::optional<DateRange> Resolve(std::string_view text) const override;

  // --- Stored form: lines of a tag, a tab and a text; `prefix` is the tag's first letter.
  // `numbers` gives each dimension's number in the file written (0: not written); null
  // numbers each dimension as its index + 1.
  std::vector<std::string> BlockLines(
      char prefix, const std::array<int, kDimensionCount>* numbers = nullptr) const;
  // Reads one stored line; its first character (the prefix) is not looked at.
  void ReadBlockLine(std::string_view line);

  // --- XML form: the "<selection>" element, one child element a line.
  void WriteXml(LineSink& out) const;
  // Reads the elements after a "<selection>" start tag up to its end tag. Unknown elements and
  // attributes are reported through the reader's error channel (kUnknownTag,
  // kUnknownAttribute). False when the document ends or breaks first.
  bool ReadXml(XmlReader& reader);

  // --- Renderings printed above an analysis. The definition rows: "From" and "To" always,
  // then each criterion that restricts, labelled with the database's names.
  std::vector<DefinitionRow> DefinitionRows() const;
  enum class Form { kPlain = 0, kHtml = 1, kXml = 2 };
  void Render(LineSink& out, Form form) const;

  // Called by the database's selection registry.
  void OnDatabaseChange(ChangeCode code, int argument);
  // Called by the registry as it goes while the selection stays.
  void ForgetRegistry() { registry_ = nullptr; }

 private:
  template <typename Program>
  struct Criterion {
    std::string text;
    std::optional<Program> program;
  };
  struct Pattern {
    std::string text;
    CompiledPattern compiled;
  };

  void CompilePattern(Pattern& pattern, std::string_view text);
  void EnsureSubsetCompiled() const;
  bool PrepareSubsetReference();
  void RecomputeDimension(int dimension);
  // Follows the component pool's size, which grows as components are added.
  void FollowPoolSize();
  void ReadDateRange(std::string_view fields);
  void BuildPlan();
  void PadInlineTests(const LineLayout& layout);
  // Empties every card range of the plan: no line can pass.
  void TakeNothing();
  int UsedValueFields() const;

  Database& database_;
  // Null once the registry is gone: the database takes its attachments down in no set order,
  // and a template's selection may outlive the registry.
  SelectionRegistry* registry_;
  SubsetList* local_;
  ComponentChooser chooser_;
  std::array<Criterion<ComponentExpression>, kDimensionCount> expressions_;
  ComponentSet components_;
  DatePoint from_{DateEnd::kFrom};
  DatePoint to_{DateEnd::kTo};
  Pattern title_;
  Pattern line_text_;
  std::array<Criterion<ValueCondition>, kValueFields> values_;
  mutable std::string subset_text_;
  mutable Combination subset_reference_;
  mutable bool subset_compiled_ = true;
  LineSet subset_lines_;
  bool subset_lines_valid_ = false;
  // What the subset lines were calculated from (see Subset).
  std::vector<uint64_t> subset_inputs_;
  uint64_t revision_ = 0;
  std::vector<uint8_t> accept_;
  ScanPlan plan_;
};

}  // namespace jov
