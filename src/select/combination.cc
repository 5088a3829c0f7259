#include "select/combination.h"

#include <algorithm>

#include "model/case_tables.h"
#include "model/database.h"
#include "select/criterion_text.h"
#include "select/subset.h"
#include "select/subset_list.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/special_numbers.h"

namespace jov {

bool Combination::IsKeyword(std::string_view name) {
  return EqualsIgnoringCase(name, kCards) || EqualsIgnoringCase(name, kGroups) ||
         EqualsIgnoringCase(name, kUnbalanced);
}

// ---------------------------------------------------------------------------------------------
// Compiling

// expression := term { ("±" | "|") term }; term := factor { ("¬" | "&") factor };
// factor := "¬" factor | "(" expression [")"] | operand; an operand is a name or a keyword.
class CombinationCompiler {
 public:
  CombinationCompiler(std::string_view text, const CombinationScope& scope,
                      std::vector<CombinationStep>& steps)
      : text_(text), scope_(scope), steps_(steps) {}

  void Run() {
    // Stray closing brackets before the expression are dropped.
    while (!AtEnd() && (Peek() == ' ' || Peek() == kCloseChar)) ++pos_;
    Expression(0);
  }

 private:
  static bool IsDelimiter(char c) { return c == ' ' || IsBooleanChar(c); }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }
  bool AtDelimiter(size_t pos) const { return pos >= text_.size() || IsDelimiter(text_[pos]); }
  void SkipBlanks() {
    while (!AtEnd() && Peek() == ' ') ++pos_;
  }

  bool Expression(int depth) {
    if (!Term(depth)) return false;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return true;
      const char c = Peek();
      if (c == kCloseChar) {
        if (depth > 0) return true;
        ++pos_;  // a ")" without its "("
        continue;
      }
      ++pos_;  // "|" or "±": a term ends only before these, a ")" or the end
      if (!Term(depth)) return true;  // an operator without its right operand is dropped
      Emit({c == kUnionChar ? CombinationOp::kUnion : CombinationOp::kEitherOr});
    }
  }

  bool Term(int depth) {
    if (!Factor(depth)) return false;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return true;
      const char c = Peek();
      if (c == kUnionChar || c == kEitherOrChar || c == kCloseChar) return true;
      if (c != kIntersectionChar && c != kComplementChar) {
        SkipJunk();  // something else where an operator belongs
        continue;
      }
      ++pos_;
      if (!Factor(depth)) return true;
      Emit({c == kIntersectionChar ? CombinationOp::kIntersection : CombinationOp::kMinus});
    }
  }

  bool Factor(int depth) {
    for (;;) {
      SkipBlanks();
      if (AtEnd()) return false;
      const char c = Peek();
      if (c == kComplementChar) {
        ++pos_;
        if (!Factor(depth)) return false;
        Emit({CombinationOp::kComplement});
        return true;
      }
      if (c == kOpenChar) return Group(depth);
      if (c == kCloseChar) return false;
      if (IsBinaryOperatorChar(c)) {
        ++pos_;  // an operator where an operand belongs is dropped
        continue;
      }
      if (Operand(depth)) return true;
      SkipJunk();
    }
  }

  bool Group(int depth) {
    if (depth + 1 > kMaxNesting) {
      SkipJunk();
      return false;
    }
    ++pos_;
    const bool read = Expression(depth + 1);
    SkipBlanks();
    if (!AtEnd() && Peek() == kCloseChar) ++pos_;
    return read;
  }

  // Skips the text up to the next delimiter and reports it.
  void SkipJunk() {
    const size_t start = pos_;
    while (!AtEnd() && !IsDelimiter(Peek())) ++pos_;
    if (pos_ == start) ++pos_;
    AlertRecord alert(msg::kSubsetNotFound);
    alert.Arg(text_.substr(start, pos_ - start));
    ReportAlert(alert);
  }

  // The length of the name at the position when the whole name stands there followed by a
  // delimiter; 0 otherwise.
  size_t WholeName(std::string_view name) const {
    const std::string_view here = text_.substr(pos_, name.size());
    if (name.empty() || !EqualsIgnoringCase(here, name) || !AtDelimiter(pos_ + name.size()))
      return 0;
    return name.size();
  }

  // The number of characters the name shares with the text at the position.
  size_t SharedPart(std::string_view name) const {
    size_t shared = 0;
    while (shared < name.size() && pos_ + shared < text_.size() &&
           Fold(name[shared]) == Fold(text_[pos_ + shared])) {
      ++shared;
    }
    return shared;
  }

  // The longest whole name of the list standing at the position; nullptr when none does.
  template <typename List, typename NameOf>
  auto LongestWhole(const List& list, NameOf name_of) const -> decltype(&*list.front()) {
    decltype(&*list.front()) found = nullptr;
    size_t longest = 0;
    for (const auto& item : list) {
      const size_t length = WholeName(name_of(*item));
      if (length > longest) found = &*item, longest = length;
    }
    return found;
  }

  // Tried in this order: the whole name of a named selection, of a subset (local list, then
  // the database's), a keyword, then a selection or subset sharing the first characters.
  bool Operand(int depth) {
    const auto selection_name = [](const NamedSelection& s) -> std::string_view {
      return s.name();
    };
    const auto subset_name = [](const Subset& s) -> std::string_view { return s.name(); };
    if (scope_.selections != nullptr) {
      if (NamedSelection* found = LongestWhole(*scope_.selections, selection_name)) {
        pos_ += found->name().size();
        Emit({CombinationOp::kSelection, found});
        return true;
      }
    }
    for (const SubsetList* list : {scope_.local, scope_.database}) {
      if (list == nullptr) continue;
      if (Subset* found = LongestWhole(list->subsets(), subset_name)) {
        pos_ += found->name().size();
        Emit({CombinationOp::kSubset, nullptr, found});
        return true;
      }
    }
    return Keyword(depth) || SharedName();
  }

  bool Keyword(int depth) {
    for (std::string_view keyword :
         {Combination::kCards, Combination::kGroups, Combination::kUnbalanced}) {
      if (WholeName(keyword) == 0) continue;
      pos_ += keyword.size();
      const bool unbalanced = keyword == Combination::kUnbalanced;
      if (unbalanced && !OperandFollows()) {
        Emit({CombinationOp::kUnbalancedAll});
        return true;
      }
      if (!Factor(depth)) {
        if (unbalanced) Emit({CombinationOp::kUnbalancedAll});
        return unbalanced;
      }
      Emit({keyword == Combination::kCards    ? CombinationOp::kCards
            : keyword == Combination::kGroups ? CombinationOp::kGroups
                                              : CombinationOp::kUnbalanced});
      return true;
    }
    return false;
  }

  // After "unbalanced": a factor follows unless the text ends or goes on with an operator.
  bool OperandFollows() {
    SkipBlanks();
    if (AtEnd()) return false;
    const char c = Peek();
    return !IsBinaryOperatorChar(c) && c != kCloseChar;
  }

  bool SharedName() {
    if (scope_.selections != nullptr) {
      for (const auto& selection : *scope_.selections) {
        if (const size_t shared = SharedPart(selection->name()); shared > 0) {
          pos_ += shared;
          Emit({CombinationOp::kSelection, selection.get()});
          return true;
        }
      }
    }
    for (const SubsetList* list : {scope_.local, scope_.database}) {
      if (list == nullptr) continue;
      for (const auto& subset : list->subsets()) {
        if (const size_t shared = SharedPart(subset->name()); shared > 0) {
          pos_ += shared;
          Emit({CombinationOp::kSubset, nullptr, subset.get()});
          return true;
        }
      }
    }
    return false;
  }

  // Appends a step, simplified against the one before it, which computed its operand.
  void Emit(CombinationStep step) {
    const CombinationOp last = steps_.empty() ? CombinationOp::kSelection : steps_.back().op;
    const auto replace_last = [&](CombinationOp op) { steps_.back() = {op}; };
    switch (step.op) {
      case CombinationOp::kComplement:
        if (last == CombinationOp::kComplement) return steps_.pop_back();
        break;
      case CombinationOp::kIntersection:
        if (last == CombinationOp::kComplement) return replace_last(CombinationOp::kMinus);
        break;
      case CombinationOp::kMinus:
        if (last == CombinationOp::kComplement) return replace_last(CombinationOp::kIntersection);
        break;
      case CombinationOp::kCards:
        if (last == CombinationOp::kCards) return;
        if (last == CombinationOp::kGroups) return replace_last(CombinationOp::kCards);
        break;
      case CombinationOp::kGroups:
        if (last == CombinationOp::kCards || last == CombinationOp::kGroups) return;
        break;
      case CombinationOp::kUnbalanced:
        if (last == CombinationOp::kUnbalanced || last == CombinationOp::kUnbalancedAll) return;
        break;
      default:
        break;
    }
    steps_.push_back(step);
  }

  std::string_view text_;
  const CombinationScope& scope_;
  std::vector<CombinationStep>& steps_;
  size_t pos_ = 0;
};

void Combination::Compile(std::string_view text, const CombinationScope& scope) {
  steps_.clear();
  CombinationCompiler(text, scope, steps_).Run();
}

// ---------------------------------------------------------------------------------------------
// Printing

namespace {

constexpr int kOperandPriority = 3;

int Priority(CombinationOp op) {
  switch (op) {
    case CombinationOp::kIntersection:
    case CombinationOp::kMinus:
      return 2;
    case CombinationOp::kUnion:
    case CombinationOp::kEitherOr:
      return 1;
    default:
      return kOperandPriority;
  }
}

char OperatorChar(CombinationOp op) {
  switch (op) {
    case CombinationOp::kIntersection:
      return kIntersectionChar;
    case CombinationOp::kMinus:
      return kComplementChar;
    case CombinationOp::kUnion:
      return kUnionChar;
    default:
      return kEitherOrChar;
  }
}

std::string_view KeywordOf(CombinationOp op) {
  switch (op) {
    case CombinationOp::kCards:
      return Combination::kCards;
    case CombinationOp::kGroups:
      return Combination::kGroups;
    default:
      return Combination::kUnbalanced;
  }
}

struct Printed {
  std::string text;
  int priority;
  CombinationOp op;
};

std::string Bracketed(const Printed& part, bool bracket) {
  return bracket ? "(" + part.text + ")" : part.text;
}

}  // namespace

std::string Combination::Text(bool displayed) const {
  std::vector<Printed> stack;
  for (const CombinationStep& step : steps_) {
    switch (step.op) {
      case CombinationOp::kSelection:
        stack.push_back({step.selection->name(), kOperandPriority, step.op});
        break;
      case CombinationOp::kSubset:
        stack.push_back({step.subset->name(), kOperandPriority, step.op});
        break;
      case CombinationOp::kUnbalancedAll:
        stack.push_back({std::string(kUnbalanced), kOperandPriority, step.op});
        break;
      case CombinationOp::kComplement:
        stack.back() = {std::string(1, kComplementChar) +
                            Bracketed(stack.back(), stack.back().priority < kOperandPriority),
                        kOperandPriority, step.op};
        break;
      case CombinationOp::kCards:
      case CombinationOp::kGroups:
      case CombinationOp::kUnbalanced:
        stack.back() = {std::string(KeywordOf(step.op)) + " " +
                            Bracketed(stack.back(), stack.back().priority < kOperandPriority),
                        kOperandPriority, step.op};
        break;
      default: {
        const Printed right = std::move(stack.back());
        stack.pop_back();
        Printed& left = stack.back();
        const int priority = Priority(step.op);
        // The same associative operator needs no brackets on its right; anything else of the
        // same priority does, since operators group from the left.
        const bool associative = step.op != CombinationOp::kMinus && right.op == step.op;
        std::string joined = Bracketed(left, left.priority < priority);
        if (displayed) joined.push_back(' ');
        joined.push_back(OperatorChar(step.op));
        if (displayed) joined.push_back(' ');
        joined += Bracketed(
            right, right.priority < priority || (right.priority == priority && !associative));
        left = {std::move(joined), priority, step.op};
      }
    }
  }
  return stack.empty() ? std::string() : stack.back().text;
}

bool Combination::Names(const Subset* subset) const {
  return std::any_of(steps_.begin(), steps_.end(),
                     [&](const CombinationStep& step) { return step.subset == subset; });
}

bool Combination::Names(const NamedSelection* selection) const {
  return std::any_of(steps_.begin(), steps_.end(),
                     [&](const CombinationStep& step) { return step.selection == selection; });
}

std::vector<Subset*> Combination::NamedSubsets() const {
  std::vector<Subset*> subsets;
  for (const CombinationStep& step : steps_) {
    if (step.subset != nullptr &&
        std::find(subsets.begin(), subsets.end(), step.subset) == subsets.end()) {
      subsets.push_back(step.subset);
    }
  }
  return subsets;
}

}  // namespace jov
