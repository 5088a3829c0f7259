// The columns of a time or component functions analysis: variables and formulas in one ordered
// list, and the name table the formulas are compiled against (entry 0 the built-in "T", then
// every column in column order). The list keeps the two in step: adding, removing or renaming
// a column rebuilds the table, renaming also rewrites the formula texts that use the old name,
// and the formulas are compiled anew before they are next evaluated.
//
// Closing a period (CloseRow) takes the variables' values and evaluates the formulas in list
// order, each seeing this period's value of the columns before it and the previous period's of
// those after it (the missing number before their first evaluation).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/formula.h"
#include "analysis/formula_name_table.h"
#include "analysis/variable.h"
#include "shell/message_ids.h"

namespace jov {

class Database;

// The built-in name of the time since the analysis start, in years.
inline constexpr std::string_view kTimeName = "T";

class FunctionColumns {
 public:
  explicit FunctionColumns(Database& database);
  FunctionColumns(const FunctionColumns&) = delete;
  FunctionColumns& operator=(const FunctionColumns&) = delete;

  Database& database() const { return database_; }
  size_t size() const { return columns_.size(); }
  bool empty() const { return columns_.empty(); }
  FunctionColumn& operator[](size_t index) { return *columns_[index]; }
  const FunctionColumn& operator[](size_t index) const { return *columns_[index]; }
  // The column of that name (exactly); -1 for none.
  int Find(std::string_view name) const;
  int variable_count() const;

  // --- Editing. `at` is the position of the new column (past the end appends). The name must
  // be free (NameIsFree); an empty name takes the kind's default name with a number.
  Variable* AddVariable(std::string_view name, size_t at = SIZE_MAX);
  Formula* AddFormula(std::string_view name, size_t at = SIZE_MAX);
  // A name not used by any column or "T", and not empty.
  bool NameIsFree(std::string_view name) const;
  // `base` if it is free, else `base`, a blank and the first number that makes it free.
  std::string FreeName(std::string_view base) const;
  // Gives the column a new free name and rewrites every formula text that uses the old one as
  // a whole name. False, changing nothing, when the name is not free.
  bool Rename(size_t index, std::string_view name);
  // Sets the text; it is compiled (and corrected) at the next Compile.
  void SetText(Formula& formula, std::string_view text);
  // Removes the column; refused with msg::kColumnInUse while another formula uses it.
  bool Erase(size_t index);
  // Moves the column at `from` to position `to`.
  void Move(size_t from, size_t to);
  void Clear();
  // Makes the columns copies of `other`'s (of the same database).
  void CopyFrom(const FunctionColumns& other);

  // --- Formulas
  // Compiles the formulas whose text or names changed since their last compilation; the
  // compiler corrects their texts. Texts are compiled only here, so that a text may name
  // columns added after it (as templates and pasted blocks do).
  void Compile();
  const FormulaNameTable& names() const { return names_; }
  // Whether a formula reads "T".
  bool UsesTime() const;
  struct SelfReference {
    size_t column;
    MessageId message;  // msg::kRefersToItself or msg::kRefersIndirectly
  };
  // The first formula (in list order) that reaches itself through its references, with the
  // message that says how; nothing when none does. Compiles first.
  std::optional<SelfReference> FindSelfReference();

  // --- Calculation
  // Readies the columns for a calculation: compiles the formulas, prepares every variable's
  // selection and checks the formulas for self-reference (reported). False when a selection
  // cannot be prepared (a subset it names failed, or the user stopped) or a formula reaches
  // itself, with `failed` set to that column's index.
  bool Prepare(int& failed);
  // Before the first period: every formula's running value, and the names' values missing.
  void StartCalculation();
  // Closes a period: `values` holds a value per column, in column order, of which the
  // variables' are read; `time` is the value of "T". Evaluates the formulas in order with
  // their operations by time (when `by_time`) and writes their values into `values`.
  void CloseRow(double time, std::span<double> values, bool by_time = true);

 private:
  template <typename Column>
  Column* Insert(std::unique_ptr<Column> column, size_t at);
  // Rebuilds the name table from the columns and marks every formula for compiling.
  void RenameTable();

  Database& database_;
  std::vector<std::unique_ptr<FunctionColumn>> columns_;
  FormulaNameTable names_;
  int variables_made_ = 0;
};

// `text` with every whole occurrence of the name `from` replaced by `to`: an occurrence counts
// when the characters around it are operators, brackets, blanks or the text's ends.
std::string RenameInFormula(std::string_view text, std::string_view from, std::string_view to);

}  // namespace jov
