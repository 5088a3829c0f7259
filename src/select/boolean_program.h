// The compiled form of the value, text and interval languages: a flat list of operations run on
// a small stack of booleans. A test pushes the result of one operand; "¬" flips the top; "±"
// replaces the two top values by their exclusive or; "&" and "¬" between operands jump over the
// right operand when the left one is false, "|" when it is true (the left value then stays as
// the result), otherwise the left value is dropped and the right operand decides.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "select/boolean_parser.h"
#include "select/criterion_text.h"

namespace jov {

enum class BoolOpCode : uint8_t { kTest, kNot, kEitherOr, kJumpIfFalse, kJumpIfTrue, kEnd };

struct BoolOp {
  BoolOpCode code;
  uint32_t argument;  // kTest: the operand's index; jumps: the target operation
};

// Brackets nest at most kMaxNesting deep, and each level holds at most two values.
constexpr size_t kMaxBoolStack = 2 * kMaxNesting + 8;

template <typename Atom>
class BooleanProgram {
 public:
  const std::vector<Atom>& atoms() const { return atoms_; }

  // Runs the program; `test(atom)` gives the result of one operand. No allocation.
  template <typename Test>
  bool Run(Test&& test) const {
    bool stack[kMaxBoolStack];
    size_t top = 0;  // number of values on the stack
    const BoolOp* ops = ops_.data();
    for (size_t pc = 0;;) {
      const BoolOp& op = ops[pc++];
      switch (op.code) {
        case BoolOpCode::kTest:
          stack[top++] = test(atoms_[op.argument]);
          break;
        case BoolOpCode::kNot:
          stack[top - 1] = !stack[top - 1];
          break;
        case BoolOpCode::kEitherOr:
          --top;
          stack[top - 1] = stack[top - 1] != stack[top];
          break;
        case BoolOpCode::kJumpIfFalse:
          if (!stack[top - 1]) {
            pc = op.argument;
          } else {
            --top;
          }
          break;
        case BoolOpCode::kJumpIfTrue:
          if (stack[top - 1]) {
            pc = op.argument;
          } else {
            --top;
          }
          break;
        case BoolOpCode::kEnd:
          return stack[0];
      }
    }
  }

 private:
  template <typename>
  friend class BooleanProgramBuilder;

  std::vector<BoolOp> ops_;
  std::vector<Atom> atoms_;
};

// Builds a BooleanProgram from the parser's postfix stream; the language's AtomReader adds the
// operands with AddTest.
template <typename Atom>
class BooleanProgramBuilder : public ExpressionBuilder {
 public:
  void AddTest(Atom atom) {
    Emit(BoolOpCode::kTest, static_cast<uint32_t>(program_.atoms_.size()));
    program_.atoms_.push_back(std::move(atom));
  }

  size_t Mark() const override { return program_.ops_.size(); }
  void Rollback(size_t mark) override {
    program_.ops_.resize(mark);
    size_t tests = 0;
    for (const BoolOp& op : program_.ops_) tests += op.code == BoolOpCode::kTest;
    program_.atoms_.resize(tests);
  }
  void Complement() override { Emit(BoolOpCode::kNot, 0); }
  size_t BeginRight(BinaryOperator op) override {
    const size_t at = program_.ops_.size();
    if (op == BinaryOperator::kUnion) Emit(BoolOpCode::kJumpIfTrue, 0);
    if (op == BinaryOperator::kIntersection || op == BinaryOperator::kMinus) {
      Emit(BoolOpCode::kJumpIfFalse, 0);
    }
    return at;
  }
  void EndRight(BinaryOperator op, size_t begin) override {
    if (op == BinaryOperator::kEitherOr) {
      Emit(BoolOpCode::kEitherOr, 0);
      return;
    }
    if (op == BinaryOperator::kMinus) Emit(BoolOpCode::kNot, 0);
    program_.ops_[begin].argument = static_cast<uint32_t>(program_.ops_.size());
  }

  // The finished program; nothing when it is empty or would need more stack than Run has.
  std::optional<BooleanProgram<Atom>> Finish() {
    if (program_.ops_.empty() || StackDepth() > kMaxBoolStack) return std::nullopt;
    Emit(BoolOpCode::kEnd, 0);
    return std::move(program_);
  }

 private:
  void Emit(BoolOpCode code, uint32_t argument) { program_.ops_.push_back({code, argument}); }

  // The deepest stack along the straight path; a jump's target sees the same depth as the
  // straight path reaching it.
  size_t StackDepth() const {
    size_t depth = 0, deepest = 0;
    for (const BoolOp& op : program_.ops_) {
      if (op.code == BoolOpCode::kTest) deepest = std::max(deepest, ++depth);
      if (op.code == BoolOpCode::kEitherOr || op.code == BoolOpCode::kJumpIfFalse ||
          op.code == BoolOpCode::kJumpIfTrue) {
        --depth;
      }
    }
    return deepest;
  }

  BooleanProgram<Atom> program_;
};

// Parses `text` with the language's reader into a program and replaces `text` by its corrected
// form. Nothing when no operand could be read.
template <typename Atom>
std::optional<BooleanProgram<Atom>> CompileBooleanProgram(std::string& text, AtomReader& reader,
                                                          BooleanProgramBuilder<Atom>& builder,
                                                          bool skip_blanks) {
  BooleanParser parser(reader, builder, skip_blanks);
  std::string corrected;
  const bool ok = parser.Parse(text, &corrected);
  text = std::move(corrected);
  if (!ok) return std::nullopt;
  return builder.Finish();
}

}  // namespace jov
