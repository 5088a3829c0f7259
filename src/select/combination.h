// Combination: the boolean expression that defines a subset's lines, over the subset's named
// selections, other subsets and the keywords "cards", "groups" and "unbalanced"; also the form
// of a selection's subset criterion, whose operands are subsets only. Compiled from the typed
// text into a postfix program of steps that hold their operands, evaluated on a stack of
// LineSets, and printed back from the program, so that text that could not be read disappears
// and renamed operands show their new names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "select/line_set.h"

namespace jov {

class Database;
class NamedSelection;
class Subset;
class SubsetList;

enum class CombinationOp : uint8_t {
  kComplement = 1,     // "¬" before an operand
  kUnion = 2,          // "|"
  kEitherOr = 3,       // "±"
  kIntersection = 4,   // "&"
  kMinus = 5,          // "¬" between operands
  kCards = 6,          // "cards" X: whole cards that have a line in X
  kGroups = 7,         // "groups" X: whole groups that have a line in X
  kUnbalanced = 8,     // "unbalanced" X: groups whose value sums over X are not all 0
  kUnbalancedAll = 9,  // "unbalanced" alone: groups whose value sums are not all 0
  kSelection = 10,     // the lines of a named selection
  kSubset = 11,        // the lines of a subset
};

// How a calculation ended: done; stopped by the user (its result is empty); failed, because an
// operand could not be calculated (reported) or memory ran out.
enum class Calculation : uint8_t { kDone, kStopped, kFailed };

struct CombinationStep {
  CombinationOp op;
  NamedSelection* selection = nullptr;  // kSelection
  Subset* subset = nullptr;             // kSubset
};

// The operands a combination's names can stand for, in the order they are tried.
struct CombinationScope {
  // The subset's own named selections; none for a selection's subset criterion.
  const std::vector<std::unique_ptr<NamedSelection>>* selections = nullptr;
  // Searched before `database`; may be null.
  const SubsetList* local = nullptr;
  // Null where no subset may be named (the combination of a database subset).
  const SubsetList* database = nullptr;
};

class Combination {
 public:
  static constexpr std::string_view kCards = "cards";
  static constexpr std::string_view kGroups = "groups";
  static constexpr std::string_view kUnbalanced = "unbalanced";
  // True for the three keywords, ignoring case.
  static bool IsKeyword(std::string_view name);

  // Compiles `text` against the scope. Text where no operand can be read is skipped and
  // reported (4707, "Subset "@0" cannot be found.", with the text); the rest stays.
  void Compile(std::string_view text, const CombinationScope& scope);
  bool empty() const { return steps_.empty(); }
  const std::vector<CombinationStep>& steps() const { return steps_; }

  // The text printed from the program: names as they are now, keywords followed by a blank,
  // binary operators with a blank on each side when `displayed`, without in the stored form.
  std::string Text(bool displayed) const;

  bool Names(const Subset* subset) const;
  bool Names(const NamedSelection* selection) const;
  // The subsets named directly.
  std::vector<Subset*> NamedSubsets() const;

  // Runs the program into `result`, sized to the database's line pool. Stopped, the result is
  // empty.
  Calculation Evaluate(Database& database, LineSet& result) const;

 private:
  friend class CombinationCompiler;

  std::vector<CombinationStep> steps_;
};

}  // namespace jov
