// Printing a compiled component expression back as text.
#include <optional>
#include <string>
#include <vector>

#include "model/database.h"
#include "select/component_code_text.h"
#include "select/component_expression.h"
#include "select/criterion_text.h"

namespace jov {
namespace {

// Operands and complements bind tightest, then "&" and "¬", then "|" and "±".
constexpr int kOperandPriority = 3;

int Priority(ComponentOpCode code) {
  switch (code) {
    case ComponentOpCode::kIntersection:
    case ComponentOpCode::kMinus:
      return 2;
    case ComponentOpCode::kUnion:
    case ComponentOpCode::kEitherOr:
      return 1;
    default:
      return kOperandPriority;
  }
}

char OperatorChar(ComponentOpCode code) {
  switch (code) {
    case ComponentOpCode::kIntersection:
      return kIntersectionChar;
    case ComponentOpCode::kMinus:
      return kComplementChar;
    case ComponentOpCode::kUnion:
      return kUnionChar;
    default:
      return kEitherOrChar;
  }
}

struct Printed {
  std::string text;
  int priority;
  // The operator joining the parts of the text that stand outside brackets, when they are all
  // joined by one operator; nothing when they mix operators of that priority.
  std::optional<ComponentOpCode> outer;
};

// A right operand of the operator's own priority needs brackets unless the operator is
// associative and joins every part of the operand outside brackets: A|(B|C) is A|B|C, and so
// for "&" and "±", but A|(B±C|D) is not A|B±C|D, A¬(B¬C) is not A¬B¬C, and operators that
// differ keep their brackets. A&(¬B&C) keeps them too: "&¬" would read back as "¬".
bool RightNeedsBrackets(ComponentOpCode op, int priority, const Printed& right) {
  if (right.priority != priority) return right.priority < priority;
  if (right.outer != op || op == ComponentOpCode::kMinus) return true;
  return op == ComponentOpCode::kIntersection && right.text.front() == kComplementChar;
}

// The outer operator after `op` joins `part` (printed without brackets) to the rest.
std::optional<ComponentOpCode> JoinedOuter(ComponentOpCode op, int priority, const Printed& part) {
  if (part.priority != priority || part.outer == op) return op;
  return std::nullopt;
}

void AppendBracketed(std::string& out, const Printed& part, bool bracket) {
  if (bracket) out.push_back(kOpenChar);
  out.append(part.text);
  if (bracket) out.push_back(kCloseChar);
}

// The identifier the display form shows first (C, H or T), when it names the component back.
std::string DisplayedIdentifier(const Database& database, int dimension, ComponentRef ref) {
  const Component& component = database.component(ref);
  const std::string_view fields = DisplayFieldsText(database.dimension(dimension).display());
  const char first = fields.empty() ? 'C' : fields.front();
  const std::string& shown = first == 'H'   ? component.host
                             : first == 'T' ? component.text
                                            : component.code;
  if (!shown.empty() && LookUpComponent(database, dimension, shown) == ref) return shown;
  return component.code;
}

}  // namespace

std::string ComponentExpression::OperandText(const Database& database,
                                             const ComponentOp& op) const {
  std::string out;
  const auto code = [&](ComponentRef ref) { AppendCode(out, database.component(ref).code); };
  const auto suffixed = [&](char suffix) {
    code(op.first);
    out.push_back(suffix);
  };
  const bool needs_first = op.code != ComponentOpCode::kRoot && op.code != ComponentOpCode::kNull &&
                           op.code != ComponentOpCode::kAllIntermediate &&
                           op.code != ComponentOpCode::kAllLowest;
  const bool interval =
      op.code == ComponentOpCode::kInterval || op.code == ComponentOpCode::kIntervalSingle;
  if ((needs_first && !IsCurrent(database, op.first)) ||
      (interval && !IsCurrent(database, op.second))) {
    return "\\\\";  // removed: selects nothing
  }
  switch (op.code) {
    case ComponentOpCode::kSubtree:
      code(op.first);
      break;
    case ComponentOpCode::kSingle:
      suffixed('!');
      break;
    case ComponentOpCode::kUpwardPath:
      suffixed('^');
      break;
    case ComponentOpCode::kIntermediateUnder:
      suffixed('?');
      break;
    case ComponentOpCode::kLowestUnder:
      suffixed(kLowestChar);
      break;
    case ComponentOpCode::kAllIntermediate:
      out = "?";
      break;
    case ComponentOpCode::kAllLowest:
      out = kLowestChar;
      break;
    case ComponentOpCode::kRoot:
      out = "\\";
      break;
    case ComponentOpCode::kInterval:
    case ComponentOpCode::kIntervalSingle:
      code(op.first);
      out.push_back('_');
      code(op.second);
      if (op.code == ComponentOpCode::kIntervalSingle) out.push_back('!');
      break;
    default:
      out = "\\\\";
  }
  return out;
}

std::string ComponentExpression::Print(const Database& database, bool with_blanks) const {
  if (with_blanks && ops_.size() == 2 && ops_[0].code == ComponentOpCode::kSubtree &&
      IsCurrent(database, ops_[0].first)) {
    std::string out;
    AppendCode(out, DisplayedIdentifier(database, dimension_, ops_[0].first));
    return out;
  }
  std::vector<Printed> stack;
  for (const ComponentOp& op : ops_) {
    if (op.code == ComponentOpCode::kEnd) break;
    if (op.code == ComponentOpCode::kComplement) {
      Printed complemented{std::string(1, kComplementChar), kOperandPriority, std::nullopt};
      AppendBracketed(complemented.text, stack.back(), stack.back().priority < kOperandPriority);
      stack.back() = std::move(complemented);
      continue;
    }
    const int priority = Priority(op.code);
    if (priority == kOperandPriority) {
      stack.push_back({OperandText(database, op), kOperandPriority, std::nullopt});
      continue;
    }
    Printed right = std::move(stack.back());
    stack.pop_back();
    Printed& left = stack.back();
    const bool right_bracketed = RightNeedsBrackets(op.code, priority, right);
    std::optional<ComponentOpCode> outer = JoinedOuter(op.code, priority, left);
    if (!right_bracketed && outer) outer = JoinedOuter(op.code, priority, right);
    if (left.priority < priority) left.text = "(" + left.text + ")";
    if (with_blanks) left.text.push_back(' ');
    left.text.push_back(OperatorChar(op.code));
    if (with_blanks) left.text.push_back(' ');
    AppendBracketed(left.text, right, right_bracketed);
    left.priority = priority;
    left.outer = outer;
  }
  return stack.empty() ? std::string() : std::move(stack.back().text);
}

}  // namespace jov
