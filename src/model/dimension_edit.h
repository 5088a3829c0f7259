// An edit copy of one dimension's component tree: rows that mirror the components, to which new
// rows are added, checked for JOV-Codes and host codes defined more than once, and written into
// the database in one step. Imports fill it; the dimension window edits the same copy.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/database.h"

namespace jov {

// Invariants: row 0 is the dimension's top (empty code); every other row has a parent row that
// comes before it, and its full JOV-Code begins with its parent's. The database is not touched
// until Apply, so dropping the copy leaves it as it was.
class DimensionEdit {
 public:
  using Row = int;
  static constexpr Row kTop = 0;
  static constexpr Row kNoRow = -1;

  // Copies the dimension's components in tree order. The database must outlive the copy.
  DimensionEdit(Database& database, int dimension);

  int dimension() const { return dimension_; }
  int row_count() const { return static_cast<int>(rows_.size()); }
  // Rows made by Add, not yet written.
  int added_count() const { return added_; }
  const std::string& code(Row row) const { return rows_[row].code; }
  const std::string& text(Row row) const { return rows_[row].text; }
  const std::string& host(Row row) const { return rows_[row].host; }
  Row parent(Row row) const { return rows_[row].parent; }
  // The component the row stands for; kNoComponent for an added row and for the top.
  ComponentRef component(Row row) const { return rows_[row].component; }

  // Adds a row under `parent` with the full JOV-Code `code`, which must begin with the parent's
  // code and be longer. The values are kept as the database will store them (trimmed, in the
  // dimension's case); kNoRow, with nothing added, when the code so kept does not extend the
  // parent's or cannot be stored (Database::IsStorableCode). Duplicates are allowed here and found by FindDuplicate.
  Row Add(Row parent, std::string_view code, std::string_view text, std::string_view host);

  // The first row with that value, compared under the dimension's case option for the field;
  // kNoRow when none has it. An empty value finds nothing.
  Row Find(ComponentField field, std::string_view value) const;

  struct Duplicate {
    ComponentField field;  // kCode or kHost
    Row first;
    Row second;  // the later row, in tree order, with the same value
  };
  // The first JOV-Code defined twice in tree order, else the first host code defined twice.
  std::optional<Duplicate> FindDuplicate() const;

  // Writes the added rows into the dimension after FindDuplicate found nothing, notifies once
  // and empties the list of added rows. Returns the duplicate and writes nothing when there is
  // one. A component the database cannot make (memory) ends the writing there.
  std::optional<Duplicate> Apply();

 private:
  struct EditRow {
    Row parent = kNoRow;
    std::vector<Row> children;
    std::string code;
    std::string text;
    std::string host;
    ComponentRef component = kNoComponent;
  };

  std::string Key(ComponentField field, std::string_view value) const;
  void Index(Row row);
  std::vector<Row> TreeOrder() const;
  std::optional<Duplicate> FirstDuplicate(ComponentField field,
                                          const std::vector<Row>& order) const;

  Database& database_;
  const int dimension_;
  std::vector<EditRow> rows_;
  int added_ = 0;
  // Folded value -> first row with it, per field (code, text, host).
  std::unordered_map<std::string, Row> index_[3];
};

}  // namespace jov
