#include "select/component_expression.h"

#include <utility>

#include "model/database.h"
#include "select/boolean_parser.h"
#include "select/component_code_text.h"
#include "select/criterion_text.h"

namespace jov {

ComponentRef LookUpComponent(const Database& database, int dimension, std::string_view code) {
  ComponentRef ref = database.FindByCode(dimension, code);
  if (ref == kNoComponent) ref = database.FindByHost(dimension, code);
  if (ref == kNoComponent) ref = database.FindByText(dimension, code);
  return ref == kNoComponent || IsRoot(ref) ? kNoComponent : ref;
}

// Collects the postfix program; a complement that meets another complement, or that is the
// right operand of "&" or "¬", folds into it.
class ComponentProgramBuilder : public ExpressionBuilder {
 public:
  void Add(ComponentOpCode code, ComponentRef first = kNoComponent,
           ComponentRef second = kNoComponent) {
    ops_.push_back({code, first, second});
  }
  std::vector<ComponentOp> Take() {
    Add(ComponentOpCode::kEnd);
    return std::move(ops_);
  }
  bool empty() const { return ops_.empty(); }

  size_t Mark() const override { return ops_.size(); }
  void Rollback(size_t mark) override { ops_.resize(mark); }
  void Complement() override {
    if (!PopComplement()) Add(ComponentOpCode::kComplement);
  }
  size_t BeginRight(BinaryOperator) override { return 0; }
  void EndRight(BinaryOperator op, size_t) override {
    switch (op) {
      case BinaryOperator::kUnion:
        return Add(ComponentOpCode::kUnion);
      case BinaryOperator::kEitherOr:
        return Add(ComponentOpCode::kEitherOr);
      case BinaryOperator::kIntersection:
        return Add(PopComplement() ? ComponentOpCode::kMinus : ComponentOpCode::kIntersection);
      case BinaryOperator::kMinus:
        return Add(PopComplement() ? ComponentOpCode::kIntersection : ComponentOpCode::kMinus);
    }
  }

 private:
  bool PopComplement() {
    if (ops_.empty() || ops_.back().code != ComponentOpCode::kComplement) return false;
    ops_.pop_back();
    return true;
  }

  std::vector<ComponentOp> ops_;
};

namespace {

ComponentOpCode PrefixOperand(char c) {
  switch (c) {
    case '!':
      return ComponentOpCode::kSingle;
    case '^':
      return ComponentOpCode::kUpwardPath;
    case '?':
      return ComponentOpCode::kIntermediateUnder;
    case kLowestChar:
      return ComponentOpCode::kLowestUnder;
    default:
      return ComponentOpCode::kEnd;
  }
}

class ComponentAtomReader : public AtomReader {
 public:
  ComponentAtomReader(const Database& database, int dimension, const ComponentChooser& choose,
                      ComponentProgramBuilder& builder)
      : database_(database), dimension_(dimension), choose_(choose), builder_(builder) {}

  // A code was missing and no component was chosen: the expression does not compile.
  bool failed() const { return failed_; }

  bool ReadAtom(std::string_view text, size_t* pos, std::string*) override {
    if (failed_) return false;
    const char c = text[*pos];
    if (c == kBackslashChar) {
      const bool null = *pos + 1 < text.size() && text[*pos + 1] == kBackslashChar;
      *pos += null ? 2 : 1;
      builder_.Add(null ? ComponentOpCode::kNull : ComponentOpCode::kRoot);
      return true;
    }
    const ComponentOpCode prefix = PrefixOperand(c);
    if (prefix != ComponentOpCode::kEnd) return ReadPrefixed(prefix, text, pos);
    ComponentRef ref;
    if (!ReadComponent(text, pos, &ref)) return false;
    ReadSuffixOrInterval(ref, text, pos);
    return true;
  }

  bool SkipJunk(std::string_view text, size_t* pos) override {
    SkipCodeText(text, pos);
    return true;
  }

 private:
  bool ReadPrefixed(ComponentOpCode prefix, std::string_view text, size_t* pos) {
    const size_t start = (*pos)++;
    ComponentRef ref;
    if (ReadComponent(text, pos, &ref)) {
      builder_.Add(prefix, ref);
      return true;
    }
    if (failed_) return false;
    *pos = start + 1;
    if (prefix == ComponentOpCode::kIntermediateUnder) {
      builder_.Add(ComponentOpCode::kAllIntermediate);
    } else if (prefix == ComponentOpCode::kLowestUnder) {
      builder_.Add(ComponentOpCode::kAllLowest);
    } else {
      *pos = start;  // "!" and "^" need a code
      return false;
    }
    return true;
  }

  void ReadSuffixOrInterval(ComponentRef ref, std::string_view text, size_t* pos) {
    size_t at = *pos;
    SkipBlanks(text, &at);
    if (at < text.size()) {
      const ComponentOpCode suffix = PrefixOperand(text[at]);
      if (suffix != ComponentOpCode::kEnd) {
        *pos = at + 1;
        builder_.Add(suffix, ref);
        return;
      }
      if (size_t mark = IntervalMarkLength(text, at); mark > 0) {
        at += mark;
        ComponentRef second;
        if (ReadComponent(text, &at, &second)) {
          *pos = at;
          SkipBlanks(text, &at);
          const bool single = at < text.size() && text[at] == '!';
          if (single) *pos = at + 1;
          AddInterval(ref, second, single);
          return;
        }
        if (failed_) return;
      }
    }
    builder_.Add(ComponentOpCode::kSubtree, ref);
  }

  void AddInterval(ComponentRef first, ComponentRef second, bool single) {
    if (first == second) {
      builder_.Add(single ? ComponentOpCode::kSingle : ComponentOpCode::kSubtree, first);
    } else {
      builder_.Add(single ? ComponentOpCode::kIntervalSingle : ComponentOpCode::kInterval, first,
                   second);
    }
  }

  // Reads a code at *pos (blanks before it skipped) and finds its component, asking the
  // chooser when none carries it. False, with *pos unchanged, when no code stands there or
  // none was chosen (then failed() is set).
  bool ReadComponent(std::string_view text, size_t* pos, ComponentRef* ref) {
    size_t at = *pos;
    SkipBlanks(text, &at);
    std::string code;
    if (!ReadCodeText(text, &at, &code)) return false;
    *ref = LookUpComponent(database_, dimension_, code);
    if (*ref == kNoComponent && choose_) *ref = choose_(database_, dimension_, code);
    if (*ref == kNoComponent || IsRoot(*ref) || !database_.components().IsLive(*ref) ||
        database_.DimensionOf(*ref) != dimension_) {
      failed_ = true;
      return false;
    }
    *pos = at;
    return true;
  }

  static void SkipBlanks(std::string_view text, size_t* pos) {
    while (*pos < text.size() && text[*pos] == ' ') ++*pos;
  }

  const Database& database_;
  int dimension_;
  const ComponentChooser& choose_;
  ComponentProgramBuilder& builder_;
  bool failed_ = false;
};

// Calls `visit` for every component below `top` in pre-order, `top` itself excluded.
template <typename Visit>
void ForEachDescendant(const Database& database, ComponentRef top, Visit&& visit) {
  int depth = 0;
  for (ComponentRef ref = top;;) {
    int change = 0;
    ref = database.NextInPreorder(ref, &change);
    depth += change;
    if (depth <= 0 || IsRoot(ref)) return;
    visit(ref);
  }
}

bool HasChildren(const Database& database, ComponentRef ref) {
  return database.component(ref).first_child != kNoComponent;
}

}  // namespace

std::optional<ComponentExpression> ComponentExpression::Compile(const Database& database,
                                                                int dimension,
                                                                std::string_view text,
                                                                const ComponentChooser& choose) {
  if (dimension < 0 || dimension >= kDimensionCount) return std::nullopt;
  ComponentProgramBuilder builder;
  ComponentAtomReader reader(database, dimension, choose, builder);
  BooleanParser parser(reader, builder, /*skip_blanks=*/true);
  std::string corrected;
  if (!parser.Parse(text, &corrected) || reader.failed() || builder.empty()) return std::nullopt;
  return ComponentExpression(dimension, builder.Take());
}

bool ComponentExpression::IsCurrent(const Database& database, ComponentRef ref) const {
  return ref != kNoComponent && !IsRoot(ref) && database.components().IsLive(ref) &&
         database.DimensionOf(ref) == dimension_;
}

void ComponentExpression::FollowRemovals(const Database& database) {
  for (ComponentOp& op : ops_) {
    const bool gone = (op.first != kNoComponent && !IsCurrent(database, op.first)) ||
                      (op.second != kNoComponent && !IsCurrent(database, op.second));
    if (gone) op = {ComponentOpCode::kNull};
  }
}

ComponentSet ComponentExpression::Evaluate(const Database& database) const {
  const size_t size = database.components().size();
  std::vector<ComponentSet> stack;
  for (const ComponentOp& op : ops_) {
    switch (op.code) {
      case ComponentOpCode::kEnd:
        return stack.empty() ? ComponentSet(size) : std::move(stack.back());
      case ComponentOpCode::kComplement:
        stack.back().Complement();
        break;
      case ComponentOpCode::kUnion:
      case ComponentOpCode::kIntersection:
      case ComponentOpCode::kEitherOr:
      case ComponentOpCode::kMinus: {
        ComponentSet right = std::move(stack.back());
        stack.pop_back();
        ComponentSet& left = stack.back();
        if (op.code == ComponentOpCode::kUnion) left |= right;
        if (op.code == ComponentOpCode::kIntersection) left &= right;
        if (op.code == ComponentOpCode::kEitherOr) left ^= right;
        if (op.code == ComponentOpCode::kMinus) left.Subtract(right);
        break;
      }
      default:
        stack.emplace_back(size);
        FillOperand(database, op, stack.back());
    }
  }
  return ComponentSet(size);
}

void ComponentExpression::FillOperand(const Database& database, const ComponentOp& op,
                                      ComponentSet& set) const {
  const ComponentRef root = static_cast<ComponentRef>(dimension_);
  const auto set_if = [&](bool want_children) {
    return [&, want_children](ComponentRef ref) {
      if (HasChildren(database, ref) == want_children) set.Set(ref);
    };
  };
  if (op.code == ComponentOpCode::kRoot) return set.Set(root);
  if (op.code == ComponentOpCode::kAllIntermediate)
    return ForEachDescendant(database, root, set_if(true));
  if (op.code == ComponentOpCode::kAllLowest)
    return ForEachDescendant(database, root, set_if(false));
  if (!IsCurrent(database, op.first)) return;  // removed: selects nothing
  switch (op.code) {
    case ComponentOpCode::kSubtree:
      set.Set(op.first);
      return ForEachDescendant(database, op.first, [&](ComponentRef ref) { set.Set(ref); });
    case ComponentOpCode::kSingle:
      return set.Set(op.first);
    case ComponentOpCode::kUpwardPath:
      for (ComponentRef ref = op.first; !IsRoot(ref); ref = database.component(ref).parent) {
        set.Set(ref);
      }
      return;
    case ComponentOpCode::kIntermediateUnder:
      return ForEachDescendant(database, op.first, set_if(true));
    case ComponentOpCode::kLowestUnder:
      return ForEachDescendant(database, op.first, set_if(false));
    case ComponentOpCode::kInterval:
    case ComponentOpCode::kIntervalSingle: {
      if (!IsCurrent(database, op.second)) return;
      // Whichever end comes first in tree order starts the interval.
      ComponentRef last = kNoComponent;
      ForEachDescendant(database, root, [&](ComponentRef ref) {
        if (last == kNoComponent && (ref == op.first || ref == op.second)) {
          last = ref == op.first ? op.second : op.first;
          set.Set(ref);
        } else if (last != kNoComponent && !set.Test(last)) {
          set.Set(ref);
        }
      });
      if (op.code == ComponentOpCode::kInterval) {
        ForEachDescendant(database, last, [&](ComponentRef ref) { set.Set(ref); });
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace jov
