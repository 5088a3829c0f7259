#include "select/boolean_parser.h"

#include "select/criterion_text.h"

namespace jov {

bool AtomReader::SkipJunk(std::string_view, size_t*) { return false; }

BooleanParser::BooleanParser(AtomReader& reader, ExpressionBuilder& builder, bool skip_blanks)
    : reader_(reader), builder_(builder), skip_blanks_(skip_blanks) {}

bool BooleanParser::Parse(std::string_view text, std::string* corrected) {
  text_ = text;
  pos_ = 0;
  out_ = corrected;
  out_->clear();
  stopped_ = false;
  bool ok = Expression(0);
  // A language that skips junk between operands skips it before the first one too.
  while (!ok && !AtEnd() && reader_.SkipJunk(text_, &pos_)) {
    stopped_ = false;
    ok = Expression(0);
  }
  if (!ok) out_->clear();
  return ok;
}

BooleanParser::Marks BooleanParser::Take() const {
  return Marks{out_->size(), pos_, builder_.Mark()};
}

void BooleanParser::Restore(const Marks& marks) {
  out_->resize(marks.out);
  pos_ = marks.pos;
  builder_.Rollback(marks.built);
}

void BooleanParser::SkipBlanks() {
  if (!skip_blanks_) return;
  while (!AtEnd() && Peek() == ' ') ++pos_;
}

int BooleanParser::ConsumeComplements() {
  int count = 0;
  for (SkipBlanks(); !AtEnd() && Peek() == kComplementChar; SkipBlanks()) {
    ++pos_;
    ++count;
  }
  return count;
}

void BooleanParser::SkipFollowingOperators() {
  for (SkipBlanks(); !AtEnd() && IsBinaryOperatorChar(Peek()); SkipBlanks()) ++pos_;
}

bool BooleanParser::SkipOrStop() {
  if (!reader_.SkipJunk(text_, &pos_)) stopped_ = true;
  return !stopped_;
}

bool BooleanParser::RightOperand(BinaryOperator op, const Marks& marks,
                                 bool (BooleanParser::*operand)(int), int depth) {
  const size_t begin = builder_.BeginRight(op);
  if (!(this->*operand)(depth)) {
    Restore(marks);  // the operator goes too
    stopped_ = true;
    return false;
  }
  builder_.EndRight(op, begin);
  return true;
}

bool BooleanParser::Expression(int depth) {
  if (!Term(depth)) return false;
  while (!stopped_) {
    SkipBlanks();
    if (AtEnd()) break;
    // Term stops only before "|", "±", the ")" of this group, or where the grammar stopped.
    const char c = Peek();
    if (c != kUnionChar && c != kEitherOrChar) break;
    const Marks marks = Take();
    ++pos_;
    SkipFollowingOperators();
    out_->push_back(c);
    const BinaryOperator op = c == kUnionChar ? BinaryOperator::kUnion : BinaryOperator::kEitherOr;
    if (!RightOperand(op, marks, &BooleanParser::Term, depth)) break;
  }
  return true;
}

bool BooleanParser::Term(int depth) {
  if (!Factor(depth)) return false;
  while (!stopped_) {
    SkipBlanks();
    if (AtEnd()) break;
    const char c = Peek();
    if (c == kUnionChar || c == kEitherOrChar || (c == kCloseChar && depth > 0)) break;
    if (c != kIntersectionChar && c != kComplementChar) {
      // Junk between operands, or a ")" without its "(".
      if (!SkipOrStop()) break;
      continue;
    }
    const Marks marks = Take();
    ++pos_;
    SkipFollowingOperators();
    // A complement directly after the operator folds into it: A&¬B is A minus B, A¬¬B is A&B.
    const bool complemented = ConsumeComplements() % 2 == 1;
    const bool minus = (c == kComplementChar) != complemented;
    if (c == kIntersectionChar) {
      out_->append(complemented ? "&\xAC" : "&");
    } else {
      out_->push_back(minus ? kComplementChar : kIntersectionChar);
    }
    const BinaryOperator op = minus ? BinaryOperator::kMinus : BinaryOperator::kIntersection;
    if (!RightOperand(op, marks, &BooleanParser::Factor, depth)) break;
  }
  return true;
}

bool BooleanParser::Factor(int depth) {
  const Marks marks = Take();
  const bool complemented = ConsumeComplements() % 2 == 1;
  if (complemented) out_->push_back(kComplementChar);
  SkipBlanks();
  const bool read =
      !AtEnd() && (Peek() == kOpenChar ? Group(depth) : reader_.ReadAtom(text_, &pos_, out_));
  if (!read) {
    Restore(marks);
    return false;
  }
  if (complemented) builder_.Complement();
  return true;
}

bool BooleanParser::Group(int depth) {
  if (depth + 1 > kMaxNesting) return false;
  ++pos_;
  out_->push_back(kOpenChar);
  if (!Expression(depth + 1)) return false;
  SkipBlanks();
  if (!stopped_ && !AtEnd() && Peek() == kCloseChar) ++pos_;
  out_->push_back(kCloseChar);  // added when it was missing
  return true;
}

}  // namespace jov
