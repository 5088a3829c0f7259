// A formula column: a formula text over the names of the analysis's columns and "T" (the time
// from the analysis start in years), its compiled code, and, in analyses over time, an operation
// by time that turns the value of each period into a running total, a difference or a quotient
// against the previous period.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "analysis/compiled_formula.h"
#include "analysis/function_column.h"
#include "shell/message_ids.h"

namespace jov {

enum class TimeOperation : uint8_t {
  kNone = 0,
  kAddFromStart = 1,       // the running sum of the values
  kDifference = 2,         // the value less the previous period's
  kMultiplyFromStart = 3,  // the running product
  kQuotient = 4,           // the value divided by the previous period's
};
inline constexpr int kTimeOperations = 5;
// The operations' letters in templates, in operation order.
inline constexpr std::string_view kTimeOperationLetters = "xIDMQ";
// "None" ... "Quotient".
constexpr MessageId TimeOperationMessage(TimeOperation operation) {
  return msg::kFirstTimeOperation + static_cast<int>(operation);
}

enum class GraphStyle : uint8_t { kNone = 0, kLine = 1, kBars = 2 };
// The graph styles' letters in templates.
inline constexpr std::string_view kGraphStyleLetters = "-LB";

// What a formula shows on a row of a component hierarchy for the row's whole subtree: its text
// evaluated over the subtree's variable values, or the sum of its own-row values over the rows
// of the subtree.
enum class HigherLevels : uint8_t { kByFormula = 0, kSumOfLowerLevels = 1 };
// The letters in templates: "F" according to the formula, "L" the sum of lower levels.
inline constexpr std::string_view kHigherLevelsLetters = "FL";
// "According to formula", "Sum of lower levels".
constexpr MessageId HigherLevelsMessage(HigherLevels levels) {
  return msg::kFirstHigherLevels + static_cast<int>(levels);
}

class Formula : public FunctionColumn {
 public:
  explicit Formula(std::string_view name) : FunctionColumn(Kind::kFormula, name) {}

  // The text as typed, or as its last compilation corrected it. Set through the column list,
  // which compiles it against the analysis's names (function_columns.h).
  const std::string& text() const { return text_; }
  // Nothing when the text compiled to nothing or has not been compiled since it changed.
  const std::optional<CompiledFormula>& compiled() const { return compiled_; }
  // Whether the compiled code reads name-table entry `name_index`.
  bool Uses(int name_index) const;

  // The value of the formula for the name values given (in name-table order); the missing
  // number when the text compiled to nothing.
  double Evaluate(std::span<const double> name_values) const;

  // The running value at the start of a calculation: 1 for the operations that multiply or
  // divide by it, else 0; so the first period's value of a quotient is its plain value.
  void StartRunning();
  // `value` transformed by the operation by time, which moves the running value on.
  double ApplyOperation(double value);

  TimeOperation operation = TimeOperation::kNone;
  GraphStyle graph = GraphStyle::kLine;
  // Used by the component functions analysis only.
  HigherLevels higher_levels = HigherLevels::kByFormula;

 private:
  friend class FunctionColumns;

  std::string text_;
  std::optional<CompiledFormula> compiled_;
  bool compiled_current_ = false;  // compiled_ belongs to text_ and the present names
  double running_ = 0;
};

}  // namespace jov
