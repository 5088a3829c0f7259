#include "analysis/function_columns.h"

#include <algorithm>
#include <iterator>

#include "analysis/formula_compiler.h"
#include "model/database.h"
#include "shell/alert.h"
#include "shell/messages.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// What separates names in a formula text.
constexpr std::string_view kNameDelimiters = "+-*/:^%()[]{}#! \t";

bool IsDelimiter(char c) { return kNameDelimiters.find(c) != std::string_view::npos; }

}  // namespace

std::string RenameInFormula(std::string_view text, std::string_view from, std::string_view to) {
  std::string renamed;
  size_t i = 0;
  while (i < text.size()) {
    const size_t end = i + from.size();
    const bool whole = !from.empty() && text.substr(i).starts_with(from) &&
                       (i == 0 || IsDelimiter(text[i - 1])) &&
                       (end == text.size() || IsDelimiter(text[end]));
    if (whole) {
      renamed.append(to);
      i = end;
    } else {
      renamed.push_back(text[i++]);
    }
  }
  return renamed;
}

FunctionColumns::FunctionColumns(Database& database) : database_(database) { RenameTable(); }

int FunctionColumns::Find(std::string_view name) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i]->name() == name) return static_cast<int>(i);
  }
  return -1;
}

int FunctionColumns::variable_count() const {
  return static_cast<int>(std::count_if(columns_.begin(), columns_.end(),
                                        [](const auto& column) { return column->is_variable(); }));
}

bool FunctionColumns::NameIsFree(std::string_view name) const {
  return !name.empty() && name != kTimeName && Find(name) < 0;
}

std::string FunctionColumns::FreeName(std::string_view base) const {
  if (NameIsFree(base)) return std::string(base);
  for (int number = 1;; ++number) {
    std::string name = std::string(base) + " " + std::to_string(number);
    if (NameIsFree(name)) return name;
  }
}

template <typename Column>
Column* FunctionColumns::Insert(std::unique_ptr<Column> column, size_t at) {
  if (!NameIsFree(column->name()) || names_.size() >= kMaxFormulaNames) return nullptr;
  Column* added = column.get();
  columns_.insert(columns_.begin() + static_cast<ptrdiff_t>(std::min(at, columns_.size())),
                  std::move(column));
  RenameTable();
  return added;
}

Variable* FunctionColumns::AddVariable(std::string_view name, size_t at) {
  const std::string given =
      name.empty() ? FreeName(MessageText(msg::kVariable)) : std::string(name);
  Variable* added = Insert(std::make_unique<Variable>(database_, given, variables_made_), at);
  if (added != nullptr) ++variables_made_;
  return added;
}

Formula* FunctionColumns::AddFormula(std::string_view name, size_t at) {
  const std::string given = name.empty() ? FreeName(MessageText(msg::kFormula)) : std::string(name);
  auto formula = std::make_unique<Formula>(given);
  formula->look.decimals = database_.value_decimals();
  formula->look.colour = kDefaultColourCycle[columns_.size() % std::size(kDefaultColourCycle)];
  return Insert(std::move(formula), at);
}

bool FunctionColumns::Rename(size_t index, std::string_view name) {
  FunctionColumn& column = *columns_[index];
  if (column.name() == name) return true;
  if (!NameIsFree(name)) return false;
  for (const auto& other : columns_) {
    if (other->is_variable()) continue;
    auto& formula = static_cast<Formula&>(*other);
    formula.text_ = RenameInFormula(formula.text_, column.name(), name);
  }
  column.name_ = name;
  RenameTable();
  return true;
}

void FunctionColumns::SetText(Formula& formula, std::string_view text) {
  formula.text_ = text;
  formula.compiled_current_ = false;
}

bool FunctionColumns::Erase(size_t index) {
  Compile();
  const FunctionColumn& column = *columns_[index];
  for (const auto& other : columns_) {
    if (other.get() == &column || other->is_variable()) continue;
    if (static_cast<const Formula&>(*other).Uses(column.name_index())) {
      AlertRecord alert(msg::kColumnInUse);
      alert.Arg(column.name());
      ReportAlert(alert);
      return false;
    }
  }
  columns_.erase(columns_.begin() + static_cast<ptrdiff_t>(index));
  RenameTable();
  return true;
}

void FunctionColumns::Move(size_t from, size_t to) {
  to = std::min(to, columns_.size() - 1);
  if (from == to) return;
  auto column = std::move(columns_[from]);
  columns_.erase(columns_.begin() + static_cast<ptrdiff_t>(from));
  columns_.insert(columns_.begin() + static_cast<ptrdiff_t>(to), std::move(column));
  RenameTable();
}

void FunctionColumns::Clear() {
  columns_.clear();
  RenameTable();
}

void FunctionColumns::CopyFrom(const FunctionColumns& other) {
  if (&other == this) return;
  Clear();
  for (const auto& column : other.columns_) {
    FunctionColumn* copy = nullptr;
    if (column->is_variable()) {
      const auto& from = static_cast<const Variable&>(*column);
      Variable* variable = AddVariable(from.name());
      variable->selection().CopyFrom(from.selection());
      variable->value_field = from.value_field;
      variable->measure = from.measure;
      variable->accumulation = from.accumulation;
      variable->shift = from.shift;
      copy = variable;
    } else {
      const auto& from = static_cast<const Formula&>(*column);
      Formula* formula = AddFormula(from.name());
      SetText(*formula, from.text());
      formula->operation = from.operation;
      formula->graph = from.graph;
      formula->higher_levels = from.higher_levels;
      copy = formula;
    }
    copy->title = column->title;
    copy->look = column->look;
  }
}

void FunctionColumns::RenameTable() {
  names_ = FormulaNameTable();
  names_.Add(kTimeName);
  for (const auto& column : columns_) {
    column->name_index_ = static_cast<int>(names_.size());
    names_.Add(column->name());
    if (!column->is_variable()) static_cast<Formula&>(*column).compiled_current_ = false;
  }
}

void FunctionColumns::Compile() {
  for (const auto& column : columns_) {
    if (column->is_variable()) continue;
    auto& formula = static_cast<Formula&>(*column);
    if (formula.compiled_current_) continue;
    formula.compiled_ = CompileFormula(formula.text_, names_);
    formula.compiled_current_ = true;
  }
}

bool FunctionColumns::UsesTime() const {
  return std::any_of(columns_.begin(), columns_.end(), [](const auto& column) {
    return !column->is_variable() && static_cast<const Formula&>(*column).Uses(0);
  });
}

std::optional<FunctionColumns::SelfReference> FunctionColumns::FindSelfReference() {
  Compile();
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i]->is_variable()) continue;
    const auto& formula = static_cast<const Formula&>(*columns_[i]);
    if (formula.Uses(formula.name_index())) return SelfReference{i, msg::kRefersToItself};
    // Depth first through the formulas it reads, each visited once.
    std::vector<bool> visited(columns_.size(), false);
    std::vector<size_t> pending = {i};
    while (!pending.empty()) {
      const auto& reading = static_cast<const Formula&>(*columns_[pending.back()]);
      pending.pop_back();
      for (size_t j = 0; j < columns_.size(); ++j) {
        if (columns_[j]->is_variable() || !reading.Uses(columns_[j]->name_index())) continue;
        if (j == i) return SelfReference{i, msg::kRefersIndirectly};
        if (!visited[j]) {
          visited[j] = true;
          pending.push_back(j);
        }
      }
    }
  }
  return std::nullopt;
}

bool FunctionColumns::Prepare(int& failed) {
  Compile();
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i]->is_variable()) continue;
    if (!static_cast<Variable&>(*columns_[i]).selection().Prepare()) {
      failed = static_cast<int>(i);
      return false;
    }
  }
  if (const std::optional<SelfReference> self = FindSelfReference()) {
    failed = static_cast<int>(self->column);
    AlertRecord alert(self->message);
    ReportAlert(alert);
    return false;
  }
  return true;
}

void FunctionColumns::StartCalculation() {
  Compile();
  for (size_t entry = 0; entry < names_.size(); ++entry) names_.SetValue(entry, kMissingNumber);
  for (const auto& column : columns_) {
    if (!column->is_variable()) static_cast<Formula&>(*column).StartRunning();
  }
}

void FunctionColumns::CloseRow(double time, std::span<double> values, bool by_time) {
  names_.SetValue(0, time);
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i]->is_variable()) names_.SetValue(columns_[i]->name_index(), values[i]);
  }
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i]->is_variable()) continue;
    auto& formula = static_cast<Formula&>(*columns_[i]);
    double value = formula.Evaluate(names_.Values());
    if (by_time) value = formula.ApplyOperation(value);
    names_.SetValue(formula.name_index(), value);
    values[i] = value;
  }
}

}  // namespace jov
