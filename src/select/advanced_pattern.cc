#include "select/advanced_pattern.h"

#include <algorithm>
#include <utility>

#include "select/criterion_text.h"

namespace jov {
namespace {

// Characters that may not stand unquoted as literals (besides the end of the text).
bool IsSpecial(char c) {
  switch (c) {
    case '"':
    case '\'':
    case '&':
    case '(':
    case ')':
    case '*':
    case '+':
    case kComplementChar:
    case kEitherOrChar:
    case '\\':
    case ':':
    case ';':
    case '?':
    case '^':
    case '_':
    case '{':
    case '|':
    case '}':
      return true;
    default:
      return false;
  }
}

enum class NodeKind : uint8_t {
  kChar,
  kRange,
  kAny,
  kAnyString,
  kSequence,
  kAlternatives,
  kPlus,
  kLoop
};

struct Node {
  explicit Node(NodeKind node_kind, bool is_exact = false, unsigned char low_bound = 0,
                unsigned char high_bound = 0)
      : kind(node_kind), exact(is_exact), low(low_bound), high(high_bound) {}

  NodeKind kind;
  bool exact;  // kChar, kRange: compared case-sensitively
  unsigned char low;
  unsigned char high;
  std::vector<uint32_t> children;
};

}  // namespace

// Reads the pattern into a tree while writing its corrected text, then builds the automaton
// from the tree, right to left, each part leading to the automaton of what follows it.
class AdvancedPatternCompiler {
 public:
  AdvancedPatternCompiler(std::string_view text, size_t pos, std::string* out)
      : text_(text), pos_(pos), out_(out) {}

  AdvancedPattern Compile(size_t* end) {
    const uint32_t root = Alternatives(0, false);
    *end = pos_;
    AdvancedPattern pattern;
    states_ = &pattern.states_;
    states_->push_back({AdvancedPattern::StateKind::kMatch, 0, 0, 0, 0});
    pattern.start_ = Build(root, 0);
    pattern.SizeScratch();
    return pattern;
  }

 private:
  using StateKind = AdvancedPattern::StateKind;

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }

  uint32_t Add(Node node) {
    nodes_.push_back(std::move(node));
    return static_cast<uint32_t>(nodes_.size() - 1);
  }

  uint32_t Alternatives(int depth, bool exact) {
    Node alternatives(NodeKind::kAlternatives);
    alternatives.children.push_back(Sequence(depth, exact));
    while (!AtEnd() && Peek() == ';') {
      ++pos_;
      out_->push_back(';');
      alternatives.children.push_back(Sequence(depth, exact));
    }
    if (alternatives.children.size() == 1) return alternatives.children[0];
    return Add(std::move(alternatives));
  }

  uint32_t Sequence(int depth, bool exact) {
    Node sequence(NodeKind::kSequence);
    for (uint32_t item; Item(depth, exact, &item);) sequence.children.push_back(item);
    return Add(std::move(sequence));
  }

  bool Item(int depth, bool exact, uint32_t* item) {
    const size_t pos = pos_, out = out_->size();
    if (!AtEnd() && Peek() == '^') {
      ++pos_;
      out_->push_back('^');
      exact = true;
    }
    if (!Atom(depth, exact, item)) {
      pos_ = pos;
      out_->resize(out);
      return false;
    }
    // Repeats after repeats add nothing: any ":" makes zero or more, else one or more.
    bool repeat = false, loop = false;
    for (; !AtEnd() && (Peek() == '+' || Peek() == ':'); ++pos_) {
      repeat = true;
      loop = loop || Peek() == ':';
      out_->push_back(Peek());
    }
    if (repeat) {
      Node repeated(loop ? NodeKind::kLoop : NodeKind::kPlus);
      repeated.children.push_back(*item);
      *item = Add(std::move(repeated));
    }
    return true;
  }

  bool Atom(int depth, bool exact, uint32_t* atom) {
    if (AtEnd()) return false;
    const char c = Peek();
    if (c == '{' || c == '(') return Group(depth, exact, atom);
    if (IsQuoteChar(c)) {
      *atom = Quoted(exact);
      return true;
    }
    if (c == '*' || c == '?') {
      ++pos_;
      out_->push_back(c);
      *atom = Add(Node(c == '*' ? NodeKind::kAnyString : NodeKind::kAny));
      return true;
    }
    if (IsSpecial(c)) return false;
    ++pos_;
    out_->push_back(c);
    *atom = CharOrRange(c, exact);
    return true;
  }

  // A character, or a range when "_" and a character that may stand unquoted follow it. (Runs
  // of dots were turned into "_" before the pattern compiled.)
  uint32_t CharOrRange(char low, bool exact) {
    const size_t after = pos_ + 1;
    if (AtEnd() || Peek() != '_' || after >= text_.size() || IsSpecial(text_[after])) {
      return Add(Node(NodeKind::kChar, exact, Bound(low, exact)));
    }
    const char high = text_[after];
    pos_ = after + 1;
    out_->push_back('_');
    out_->push_back(high);
    return Add(Node(NodeKind::kRange, exact, Bound(low, exact), Bound(high, exact)));
  }

  static unsigned char Bound(char c, bool exact) {
    return exact ? static_cast<unsigned char>(c) : Fold(c);
  }

  bool Group(int depth, bool exact, uint32_t* group) {
    if (depth + 1 > kMaxNesting) return false;
    ++pos_;
    out_->push_back('{');
    *group = Alternatives(depth + 1, exact);
    if (!AtEnd() && (Peek() == '}' || Peek() == ')')) ++pos_;
    out_->push_back('}');  // added when it was missing
    return true;
  }

  uint32_t Quoted(bool exact) {
    const char quote = Peek();
    ++pos_;
    out_->push_back(quote);
    Node sequence(NodeKind::kSequence);
    for (; !AtEnd() && Peek() != quote; ++pos_) {
      out_->push_back(Peek());
      sequence.children.push_back(Add(Node(NodeKind::kChar, exact, Bound(Peek(), exact))));
    }
    if (!AtEnd()) ++pos_;
    out_->push_back(quote);  // added when it was missing
    return Add(std::move(sequence));
  }

  uint32_t NewState(StateKind kind, unsigned char low, unsigned char high, uint32_t out,
                    uint32_t out2 = 0) {
    states_->push_back({kind, low, high, out, out2});
    return static_cast<uint32_t>(states_->size() - 1);
  }

  // The automaton of `node`, leading to `next`; returns its first state.
  uint32_t Build(uint32_t index, uint32_t next) {
    const Node& node = nodes_[index];
    switch (node.kind) {
      case NodeKind::kChar:
        return NewState(node.exact ? StateKind::kExact : StateKind::kFolded, node.low, node.low,
                        next);
      case NodeKind::kRange:
        return NewState(node.exact ? StateKind::kRangeExact : StateKind::kRangeFolded, node.low,
                        node.high, next);
      case NodeKind::kAny:
        return NewState(StateKind::kAny, 0, 0, next);
      case NodeKind::kAnyString: {
        const uint32_t split = NewState(StateKind::kSplit, 0, 0, 0, next);
        (*states_)[split].out = NewState(StateKind::kAny, 0, 0, split);
        return split;
      }
      case NodeKind::kSequence:
        for (size_t i = node.children.size(); i-- > 0;) next = Build(node.children[i], next);
        return next;
      case NodeKind::kAlternatives: {
        uint32_t first = Build(node.children.back(), next);
        for (size_t i = node.children.size() - 1; i-- > 0;) {
          const uint32_t alternative = Build(node.children[i], next);
          first = NewState(StateKind::kSplit, 0, 0, alternative, first);
        }
        return first;
      }
      case NodeKind::kPlus:
      case NodeKind::kLoop: {
        const uint32_t split = NewState(StateKind::kSplit, 0, 0, 0, next);
        const uint32_t body = Build(node.children[0], split);
        (*states_)[split].out = body;
        return node.kind == NodeKind::kPlus ? body : split;
      }
    }
    return next;
  }

  std::string_view text_;
  size_t pos_;
  std::string* out_;
  std::vector<Node> nodes_;
  std::vector<AdvancedPattern::State>* states_ = nullptr;
};

AdvancedPattern AdvancedPattern::Read(std::string_view text, size_t* pos, std::string* out) {
  AdvancedPatternCompiler compiler(text, *pos, out);
  return compiler.Compile(pos);
}

void AdvancedPattern::SizeScratch() {
  // Two lists of one entry per state, and a work stack: each split pushes its two successors
  // once per generation, so it holds at most twice the state count plus the start.
  scratch_.assign(4 * states_.size() + 1, 0);
  marks_.assign(states_.size(), 0);
  generation_ = 0;
}

void AdvancedPattern::NextGeneration() const {
  if (++generation_ == 0) {  // after 2^32 characters the marks start over
    std::fill(marks_.begin(), marks_.end(), 0);
    generation_ = 1;
  }
}

void AdvancedPattern::AddClosure(StateList& list, uint32_t state) const {
  uint32_t* const stack = scratch_.data() + 2 * states_.size();
  size_t depth = 0;
  stack[depth++] = state;
  while (depth > 0) {
    const uint32_t s = stack[--depth];
    if (marks_[s] == generation_) continue;
    marks_[s] = generation_;
    const State& node = states_[s];
    if (node.kind == StateKind::kSplit) {
      stack[depth++] = node.out2;
      stack[depth++] = node.out;
    } else {
      list.states[list.count++] = s;
    }
  }
}

bool AdvancedPattern::Accepts(const State& state, unsigned char c, unsigned char folded) const {
  switch (state.kind) {
    case StateKind::kExact:
      return c == state.low;
    case StateKind::kFolded:
      return folded == state.low;
    case StateKind::kRangeExact:
      return c >= state.low && c <= state.high;
    case StateKind::kRangeFolded:
      return folded >= state.low && folded <= state.high;
    case StateKind::kAny:
      return true;
    case StateKind::kMatch:
    case StateKind::kSplit:
      return false;
  }
  return false;
}

bool AdvancedPattern::Matches(const char* chars, size_t length) const {
  const unsigned char* fold = UpperCaseTable();
  StateList current{scratch_.data(), 0};
  StateList next{scratch_.data() + states_.size(), 0};
  NextGeneration();
  AddClosure(current, start_);
  for (size_t i = 0; i < length; ++i) {
    const auto c = static_cast<unsigned char>(chars[i]);
    const unsigned char folded = fold[c];
    next.count = 0;
    NextGeneration();
    for (size_t k = 0; k < current.count; ++k) {
      const State& state = states_[current.states[k]];
      if (Accepts(state, c, folded)) AddClosure(next, state.out);
    }
    std::swap(current, next);
    if (current.count == 0) return false;
  }
  for (size_t k = 0; k < current.count; ++k) {
    if (states_[current.states[k]].kind == StateKind::kMatch) return true;
  }
  return false;
}

}  // namespace jov
