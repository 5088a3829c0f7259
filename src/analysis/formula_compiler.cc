#include "analysis/formula_compiler.h"

#include <algorithm>
#include <numbers>
#include <vector>

#include "analysis/formula_number.h"
#include "analysis/formula_peephole.h"
#include "model/case_tables.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

constexpr std::string_view kPiText = "pi";
constexpr std::string_view kNameDelimiters = "+-*/()#! ";

bool IsOpeningBracket(char c) { return c == '(' || c == '[' || c == '{'; }

FormulaWord AdditiveOperator(char c) {
  return c == '+' ? kOpAdd : (c == '-' ? kOpSubtract : kOpEnd);
}

FormulaWord MultiplicativeOperator(char c) {
  switch (c) {
    case '*':
      return kOpMultiply;
    case '/':
      return kOpDivide;
    case ':':
      return kOpRemainder;
    default:
      return kOpEnd;
  }
}

// A recursive-descent reader of one text. Stopping (at the nesting limit) leaves every level
// well formed: each operator still gets its operands, but nothing further is read.
class FormulaCompiler {
 public:
  FormulaCompiler(std::string& text, const FormulaNameTable& names)
      : text_(text), names_(names), end_(std::min(text.size(), kMaxFormulaTextLength)) {}

  std::optional<CompiledFormula> Compile() {
    const size_t first = std::min(text_.find_first_not_of(' '), text_.size());
    Expression();
    if (pos_ <= first) {
      text_.clear();
      return std::nullopt;
    }
    text_.resize(pos_);
    return CompiledFormula::Build(code_, constants_);
  }

 private:
  using Level = void (FormulaCompiler::*)();

  char Peek(size_t offset = 0) const { return pos_ + offset < end_ ? text_[pos_ + offset] : '\0'; }
  bool AtEnd() const { return pos_ >= end_; }
  void SkipBlanks() {
    while (pos_ < end_ && text_[pos_] == ' ') ++pos_;
  }

  void Expression() { LeftAssociative(AdditiveOperator, &FormulaCompiler::Term); }
  void Term() { LeftAssociative(MultiplicativeOperator, &FormulaCompiler::Unary); }

  // operand { operator operand }, each operator applied as soon as its right operand is read.
  void LeftAssociative(FormulaWord (*operator_at)(char), Level operand) {
    (this->*operand)();
    while (!stopped_) {
      SkipBlanks();
      const FormulaWord op = operator_at(Peek());
      if (op == kOpEnd) return;
      ++pos_;
      (this->*operand)();
      Emit(op);
    }
  }

  void Unary() {
    if (depth_ == kMaxFormulaNesting) {
      stopped_ = true;
      EmitConstant(kMissingNumber);
      return;
    }
    ++depth_;
    SkipBlanks();
    if (Peek() == '+') {
      ++pos_;
      Unary();
    } else if (Peek() == '-') {
      ++pos_;
      Unary();
      Emit(kOpNegate);
    } else {
      Power();
    }
    --depth_;
  }

  // primary [ ("^" | "**") unary ]: the right side is a unary, so powers associate to the
  // right and the exponent may carry a sign.
  void Power() {
    Primary();
    if (stopped_) return;
    SkipBlanks();
    if (Peek() == '^') {
      pos_ += 1;
    } else if (Peek() == '*' && Peek(1) == '*') {
      pos_ += 2;
    } else {
      return;
    }
    Unary();
    Emit(kOpPower);
  }

  // Long names come before keywords, so a name "sin" hides the sine; keywords before short
  // names, so a name "s" does not hide "sqrt".
  void Primary() {
    if (MatchName(3, std::string::npos)) return;
    if (MatchKeyword()) return;
    if (MatchName(1, 2)) return;
    Operand();
  }

  // Whether `word` begins the unread text, letters compared by upper case.
  bool AtWord(std::string_view word) const {
    if (word.empty() || word.size() > end_ - pos_) return false;
    return EqualsIgnoringCase(std::string_view(text_).substr(pos_, word.size()), word);
  }

  // Takes `word` from the text, writing it there as `word` has it.
  void Take(std::string_view word) {
    std::copy(word.begin(), word.end(), text_.begin() + static_cast<std::ptrdiff_t>(pos_));
    pos_ += word.size();
  }

  // The longest name of `min_length` to `max_length` characters that begins the unread text
  // (the first of equally long ones).
  bool MatchName(size_t min_length, size_t max_length) {
    size_t best = names_.size();
    for (size_t i = 0; i < names_.size(); ++i) {
      const size_t length = names_.Name(i).size();
      if (length < min_length || length > max_length || !AtWord(names_.Name(i))) continue;
      if (best == names_.size() || length > names_.Name(best).size()) best = i;
    }
    if (best == names_.size()) return false;
    Take(names_.Name(best));
    Emit(static_cast<FormulaWord>(kNameWord + best));
    return true;
  }

  bool MatchKeyword() {
    for (const FormulaKeyword& keyword : kFormulaKeywords) {
      if (!AtWord(keyword.text)) continue;
      Take(keyword.text);
      if (keyword.op != kOpRandom) Unary();
      Emit(keyword.op);
      return true;
    }
    return false;
  }

  // A number, "pi", a bracketed expression, or else the missing number with nothing read.
  // A "%" right after a number, "pi" or the missing number takes a hundredth of it.
  void Operand() {
    if (!AtEnd() && IsOpeningBracket(Peek())) {
      Bracket();
      return;
    }
    double value = kMissingNumber;
    if (const std::optional<FormulaNumber> number =
            ReadFormulaNumber(std::string_view(text_).substr(0, end_), pos_)) {
      value = number->value;
      pos_ = number->end;
    } else if (AtWord(kPiText)) {
      Take(kPiText);
      value = std::numbers::pi;
    }
    if (Peek() == '%') {
      ++pos_;
      value *= 0.01;
    }
    EmitConstant(value);
  }

  // Whatever character ends the inner expression closes the bracket; at the end of the text
  // none is needed.
  void Bracket() {
    ++pos_;
    Expression();
    if (stopped_ || AtEnd()) return;
    ++pos_;
    SkipBlanks();
  }

  void Emit(FormulaWord word) { AppendSimplified(code_, word); }

  void EmitConstant(double value) {
    Emit(static_cast<FormulaWord>(kConstantWord + constants_.size()));
    constants_.push_back(value);
  }

  std::string& text_;
  const FormulaNameTable& names_;
  const size_t end_;  // nothing at or after it is read
  size_t pos_ = 0;
  int depth_ = 0;
  bool stopped_ = false;
  std::vector<FormulaWord> code_;
  std::vector<double> constants_;
};

}  // namespace

std::optional<CompiledFormula> CompileFormula(std::string& text, const FormulaNameTable& names) {
  return FormulaCompiler(text, names).Compile();
}

double EvaluateFormulaText(std::string_view text) {
  std::string copy(text);
  const std::optional<CompiledFormula> formula = CompileFormula(copy, FormulaNameTable());
  return formula ? formula->Evaluate({}) : kMissingNumber;
}

std::string FormulaNameAtCursor(std::string_view text, size_t cursor) {
  const auto is_delimiter = [](char c) {
    return kNameDelimiters.find(c) != std::string_view::npos;
  };
  size_t start = std::min(cursor, text.size());
  size_t end = start;
  while (start > 0 && !is_delimiter(text[start - 1])) --start;
  while (end < text.size() && !is_delimiter(text[end])) ++end;
  return std::string(text.substr(start, end - start));
}

}  // namespace jov
