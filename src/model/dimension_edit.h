// An edit copy of one dimension's component tree: rows that mirror the components, which imports
// and the dimension window add to, rename, move and remove, checked for JOV-Codes and host codes
// defined more than once and for removed components still in use, and written into the database
// in one step.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/database.h"
#include "shell/alert.h"

namespace jov {

// Invariants: row 0 is the dimension's top (empty code); every other live row has a parent row,
// and its full JOV-Code is its parent's followed by its own segment. A blank row (one added
// without a segment yet) has no children and is not written. Row numbers stay valid until the
// copy is written: a removed row keeps its number, detached from the tree. The database is not
// touched until Apply, so dropping the copy leaves it as it was.
class DimensionEdit : public DatabaseListener {
 public:
  using Row = int;
  static constexpr Row kTop = 0;
  static constexpr Row kNoRow = -1;

  // Copies the dimension's components in tree order. The database must outlive the copy.
  DimensionEdit(Database& database, int dimension);
  ~DimensionEdit() override;
  DimensionEdit(const DimensionEdit&) = delete;
  DimensionEdit& operator=(const DimensionEdit&) = delete;

  Database& database() const { return database_; }
  int dimension() const { return dimension_; }
  // Rows ever made, removed ones included (row numbers run below it).
  int row_count() const { return static_cast<int>(rows_.size()); }
  // Rows made by Add or InsertBlank, not yet written.
  int added_count() const { return added_; }
  const std::string& code(Row row) const { return rows_[row].code; }
  // The part of the code below the parent's code; empty for the top and for a blank row.
  std::string_view segment(Row row) const;
  const std::string& text(Row row) const { return rows_[row].text; }
  const std::string& host(Row row) const { return rows_[row].host; }
  Row parent(Row row) const { return rows_[row].parent; }
  const std::vector<Row>& children(Row row) const { return rows_[row].children; }
  bool removed(Row row) const { return rows_[row].removed; }
  bool blank(Row row) const { return row != kTop && segment(row).empty(); }
  // The component the row stands for; kNoComponent for an added row and for the top.
  ComponentRef component(Row row) const { return rows_[row].component; }
  // Whether anything was edited since the copy was made or last written.
  bool changed() const { return changed_; }
  // Whether the dimension's components were changed by someone else since the copy was made;
  // such a copy is not written.
  bool stale() const { return stale_; }

  // Adds a row under `parent` with the full JOV-Code `code`, which must begin with the parent's
  // code and be longer. The values are kept as the database will store them (trimmed, in the
  // dimension's case); kNoRow, with nothing added, when the code so kept does not extend the
  // parent's or cannot be stored (Database::IsStorableCode), or the parent is blank or removed.
  // Duplicates are allowed here and found by FindDuplicate.
  Row Add(Row parent, std::string_view code, std::string_view text, std::string_view host);
  // A blank row at `position` among the children of `parent` (clamped to their count), to be
  // given a segment by Rename; kNoRow when the parent is blank or removed.
  Row InsertBlank(Row parent, int position);

  // Gives the row the segment `segment` (kept as the database will store it): its code and the
  // codes of all its descendants follow. False, with nothing changed, for the top, a removed row,
  // an empty segment, or a code that cannot be stored.
  bool Rename(Row row, std::string_view segment);
  void SetText(Row row, std::string_view text);
  void SetHost(Row row, std::string_view host);

  // Moves: a row under another parent takes that parent's code followed by its own segment, and
  // its descendants follow. Each returns false, with nothing changed, when there is no such
  // place or a code there could not be stored.
  // Under the previous sibling, as its last child (not under a blank row).
  bool Indent(Row row);
  // Out of its parent, as the sibling that follows it.
  bool Outdent(Row row);
  // Before the previous or after the next sibling; the codes stay.
  bool MoveUp(Row row);
  bool MoveDown(Row row);

  // The first row in tree order, the row itself or one of its descendants, whose component a
  // line (or a subset's selection) uses; kNoRow when none is used.
  Row FindInUse(Row row) const;
  // Removes the row with its descendants, whose components are deleted when the copy is
  // written. False, with nothing removed, when FindInUse finds a row in use (or for the top).
  bool Remove(Row row);

  // The first live row with that value, compared under the dimension's case option for the
  // field; kNoRow when none has it. An empty value finds nothing.
  Row Find(ComponentField field, std::string_view value) const;

  struct Duplicate {
    ComponentField field;  // kCode or kHost
    Row first;
    Row second;  // the later row, in tree order, with the same value
  };
  // The first JOV-Code defined twice in tree order, else the first host code defined twice.
  std::optional<Duplicate> FindDuplicate() const;
  // A removed row whose component has come into use since it was removed; kNoRow when none has.
  Row FindRemovedInUse() const;

  // 3307 for `row` (its code, a blank and its text), with "OK".
  AlertRecord InUseAlert(Row row) const;
  // 3308 or 3309 with the code or host code defined twice; the caller adds the buttons.
  AlertRecord DuplicateAlert(const Duplicate& duplicate) const;

  enum class ApplyOutcome {
    kWritten,    // written (or nothing to write); the copy mirrors the database again
    kDuplicate,  // FindDuplicate found a code defined twice
    kInUse,      // FindRemovedInUse found a removed row whose component is in use
    kStale,      // the dimension was changed by someone else since the copy was made
    kFailed,     // memory ran out (the pending error is posted)
  };
  // Writes the copy into the dimension in one step: new components made, every component set
  // to its row's code, text, host code and parent in the rows' order, the removed ones deleted,
  // and one change code kComponents. Anything but kWritten leaves the database as it was. After
  // writing, the copy is made afresh from the database (row numbers change).
  ApplyOutcome Apply();

  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;

 private:
  struct EditRow {
    Row parent = kNoRow;
    std::vector<Row> children;
    std::string code;
    std::string text;
    std::string host;
    ComponentRef component = kNoComponent;
    bool removed = false;
  };

  void Load();
  Row NewRow(Row parent, int position, std::string code);
  std::string Key(ComponentField field, std::string_view value) const;
  void Index(Row row) const;
  void EnsureIndex() const;
  std::vector<Row> TreeOrder(Row from = kTop) const;
  std::optional<Duplicate> FirstDuplicate(ComponentField field,
                                          const std::vector<Row>& order) const;
  int Position(Row row) const;
  // Gives `row` the code `code` and its descendants theirs (each keeping its segment); false,
  // with nothing changed, when one of the codes could not be stored.
  bool Recode(Row row, const std::string& code);
  bool MoveTo(Row row, Row parent, int position);
  void Changed();

  Database& database_;
  const int dimension_;
  std::vector<EditRow> rows_;
  int added_ = 0;
  bool changed_ = false;
  bool stale_ = false;
  bool writing_ = false;  // the change codes are the copy's own
  // Folded value -> first row with it, per field (code, text, host); kept up to date by Add
  // and rebuilt on the next Find after other edits.
  mutable std::unordered_map<std::string, Row> index_[3];
  mutable bool index_valid_ = true;
};

}  // namespace jov
