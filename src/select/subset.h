// Subsets: named sets of lines defined by a Combination of named selections, other subsets and
// the keywords "cards", "groups" and "unbalanced". A database keeps one list of subsets, each
// analysis may keep a local list besides. A subset is calculated into a LineSet when it is
// needed; the result is cached until the database, the subset's own definition or a subset it
// depends on changes, and released again after a minute without use.
//
// NamedSelection is one row of a subset's selection table: a Selection with card criteria on
// the card identifier, the notes and the five stamps.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "select/combination.h"
#include "select/interval_condition.h"
#include "select/line_set.h"
#include "select/selection.h"
#include "select/text_pattern.h"

namespace jov {

// `name` with the number at its end counted up ("G1" to "G2", "Q09" to "Q10"); a name without
// a number gets "1" appended.
std::string CountedUpName(std::string_view name);

// The five card stamps a named selection can test, in the order they are tested and stored.
enum class StampKind : uint8_t { kCreated, kModified, kExamined, kApproved, kNotes };
constexpr int kStampKinds = 5;

class NamedSelection {
 public:
  NamedSelection(std::string name, Database& database, SubsetList* local);

  const std::string& name() const { return name_; }
  Selection& selection() { return selection_; }
  const Selection& selection() const { return selection_; }

  // Card criteria: the card identifier, the notes, and each stamp's time and signature. The
  // setters store the text corrected by its compiler.
  void SetCardId(std::string_view text);
  void SetNotes(std::string_view text);
  void SetStamp(StampKind kind, std::string_view time, std::string_view signature);
  const std::string& card_id() const { return card_id_.text; }
  const std::string& notes() const { return notes_.text; }
  const std::string& stamp_time(StampKind kind) const { return stamps_[Index(kind)].time.text; }
  const std::string& stamp_signature(StampKind kind) const {
    return stamps_[Index(kind)].signature.text;
  }
  // Any stamp criterion has a time or a signature text.
  bool has_stamp_criteria() const { return has_stamp_criteria_; }

  // The criteria that restrict, each a label and a value: the selection's own (the date points
  // only when they restrict), then the card identifier, the notes and the stamps.
  std::vector<DefinitionRow> DefinitionRows() const;

  // The card tests after the selection's own: identifier, notes, stamps.
  bool CardCriteriaPass(CardRef card) const;
  // Sets the lines the named selection takes (prepared first). False as for Prepare and the
  // scan.
  bool CollectLines(LineSet& lines);

  // Changes whenever any criterion changes, so that a subset can tell its result is stale.
  uint64_t revision() const { return revision_ + selection_.revision(); }

  // The stored lines: "VN", tab, the name; the selection's lines with prefix "V"; then the card
  // criteria that are set ("Vk", "VA", "Vc", "Vm", "Ve", "Vp", "Va"). `numbers` as for
  // Selection::BlockLines.
  std::vector<std::string> BlockLines(
      const std::array<int, kDimensionCount>* numbers = nullptr) const;
  // Reads one stored line of the named selection ("VN" and "V-" are the subset's).
  void ReadBlockLine(std::string_view line);

 private:
  friend class Subset;
  template <typename Program>
  struct Criterion {
    std::string text;
    std::optional<Program> program;
  };
  struct StampCriterion {
    Criterion<StampCondition> time;
    Criterion<TextPattern> signature;
  };
  static int Index(StampKind kind) { return static_cast<int>(kind); }
  void Changed() { ++revision_; }

  std::string name_;
  Selection selection_;
  Criterion<CardIdCondition> card_id_;
  Criterion<TextPattern> notes_;
  std::array<StampCriterion, kStampKinds> stamps_;
  bool has_stamp_criteria_ = false;
  uint64_t revision_ = 0;
};

class Subset {
 public:
  Subset(const Subset&) = delete;
  Subset& operator=(const Subset&) = delete;
  ~Subset();

  const std::string& name() const { return name_; }
  SubsetList& list() const { return list_; }
  Database& database() const;

  // --- Named selections, in order.
  const std::vector<std::unique_ptr<NamedSelection>>& selections() const { return selections_; }
  // A new named selection; its name is made unique among the subset's selections.
  NamedSelection& AddSelection(std::string_view name);
  // The named selection of that name (ignoring case); nullptr when there is none.
  NamedSelection* FindSelection(std::string_view name) const;
  // Refused with 4706 when the combination names it; false then.
  bool DeleteSelection(NamedSelection& selection);
  // Gives the selection `name`, made unique among the subset's selections; the combination
  // names it by its new name. False for an empty name.
  bool RenameSelection(NamedSelection& selection, std::string_view name);
  // Moves the selection at index `from` to index `to` of selections(); the combination keeps
  // naming the selections it named. False, changing nothing, for an index out of range.
  bool MoveSelection(size_t from, size_t to);

  // --- The combination: stored as its text, compiled when first needed, so that a text read
  // before the selections and subsets it names still finds them.
  void SetCombination(std::string_view text);
  // The text printed from the compiled program (see Combination::Text).
  std::string combination_text(bool displayed = false) const;
  const Combination& combination() const;

  // --- Other settings.
  const std::string& notes() const { return notes_; }
  void set_notes(std::string_view notes) { notes_ = notes; }
  bool open_directly() const { return open_directly_; }
  void set_open_directly(bool open) { open_directly_ = open; }
  // The window's fixed position; (0, 0) when not fixed.
  std::pair<int, int> position() const { return position_; }
  void set_position(int x, int y) { position_ = {x, y}; }
  // Whether the subset's window is open (the desktop sets it): an open window keeps the
  // result from being released.
  void set_window_open(bool open) { window_open_ = open; }

  // --- Calculation.
  // Subsets that name subsets nest at most this deep.
  static constexpr int kMaxNesting = 64;
  // Brings the result up to date: calculated when the subset is not calculated or anything it
  // depends on changed; `changed` (may be null) tells whether the lines differ from before.
  // An empty combination frees the result. False when the result could not be calculated (a
  // subset that names itself, directly or through others; memory), reported. A calculation
  // the user stopped leaves an empty result that is calculated anew when next needed.
  bool Calculate(bool* changed = nullptr);
  // The result; null when there is none.
  const LineSet* lines() const { return has_result_ ? &result_ : nullptr; }
  bool calculated() const { return calculated_; }
  // The number of lines, or -1 when not calculated.
  int64_t Count() const;
  // The count line of the subset window: 4708 ... 4712.
  std::string CountLine() const;
  // Any selection of the database (or of a registered local list) names this subset in its
  // subset criterion.
  bool IsInUse() const;
  // Forgets the result: it is calculated anew when next needed.
  void Invalidate() { calculated_ = false; }
  // Frees the result when it lies unused for more than kIdleMs (milliseconds of the tick
  // count `now`), no window shows it and no selection names it. True when it was released.
  bool ReleaseIfIdle(uint32_t now);
  static constexpr uint32_t kIdleMs = 60'000;
  // Changes whenever the result changes.
  uint64_t version() const { return version_; }

  // Deletes every line of the calculated result from the database, after asking (3205) and
  // under the user's stamp. `close_card_windows` (may be empty) closes the card windows of the
  // cards concerned and says whether all closed. False when nothing was deleted.
  bool DeleteData(const std::function<bool(const LineSet&)>& close_card_windows = {});

 private:
  friend class SelectionRegistry;
  friend class SubsetList;
  Subset(SubsetList& list, std::string name);

  CombinationScope Scope() const;
  void EnsureCompiled() const;
  // A subset that is erased: a combination that named it lets go of it.
  void ForgetSubset(const Subset& gone);
  // The subsets this one's result depends on: those its combination names and those its named
  // selections' subset criteria name.
  std::vector<Subset*> Dependencies() const;
  void FreeResult();

  SubsetList& list_;
  std::string name_;
  std::vector<std::unique_ptr<NamedSelection>> selections_;
  mutable std::string combination_text_;
  mutable Combination combination_;
  mutable bool compiled_ = false;
  std::string notes_;
  bool open_directly_ = false;
  std::pair<int, int> position_{0, 0};
  bool window_open_ = false;

  LineSet result_;
  bool has_result_ = false;
  bool calculated_ = false;
  bool calculating_ = false;
  uint64_t version_ = 0;
  uint32_t last_use_ = 0;
  // What the result was calculated from: the database's data revision, the named selections'
  // revisions and the versions of the subsets it depends on.
  std::vector<uint64_t> inputs_;
};

}  // namespace jov
