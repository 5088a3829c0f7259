#include "select/boolean_parser.h"

#include "select/criterion_text.h"

namespace jov {

bool AtomReader::SkipJunk(std::string_view, size_t*) { return false; }
bool AtomReader::DropOperand(std::string_view, size_t*) { return false; }

BooleanParser::BooleanParser(AtomReader& reader, ExpressionBuilder& builder, bool skip_blanks)
    : reader_(reader), builder_(builder), skip_blanks_(skip_blanks) {}

bool BooleanParser::Parse(std::string_view text, std::string* corrected) {
  text_ = text;
  pos_ = 0;
  out_ = corrected;
  out_->clear();
  stopped_ = false;
  Parsed parsed = Expression(0);
  // A language that skips junk between operands skips it before the first one too.
  while (parsed == Parsed::kNothing && !AtEnd() && reader_.SkipJunk(text_, &pos_)) {
    stopped_ = false;
    parsed = Expression(0);
  }
  const bool ok = parsed == Parsed::kOperand;
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

void BooleanParser::Drop(const Marks& marks) {
  const size_t pos = pos_;
  Restore(marks);
  pos_ = pos;
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

BinaryOperator BooleanParser::ReadOperator() {
  const char c = Peek();
  ++pos_;
  SkipFollowingOperators();
  if (c == kUnionChar || c == kEitherOrChar) {
    out_->push_back(c);
    return c == kUnionChar ? BinaryOperator::kUnion : BinaryOperator::kEitherOr;
  }
  // A complement directly after "&" or "¬" folds into it: A&¬B is A minus B, A¬¬B is A&B.
  const bool complemented = ConsumeComplements() % 2 == 1;
  const bool minus = (c == kComplementChar) != complemented;
  if (c == kIntersectionChar) {
    out_->append(complemented ? "&\xAC" : "&");
  } else {
    out_->push_back(minus ? kComplementChar : kIntersectionChar);
  }
  return minus ? BinaryOperator::kMinus : BinaryOperator::kIntersection;
}

void BooleanParser::RightOperand(BinaryOperator op, const Marks& marks, Rule operand, int depth) {
  const size_t begin = builder_.BeginRight(op);
  const Parsed right = (this->*operand)(depth);
  if (right == Parsed::kOperand) {
    builder_.EndRight(op, begin);
  } else if (right == Parsed::kDropped) {
    Drop(marks);  // the operator goes with its operand
  } else {
    Restore(marks);  // the operator goes too
    stopped_ = true;
  }
}

BooleanParser::Parsed BooleanParser::Operands(int depth, bool term) {
  const Rule operand = term ? &BooleanParser::Factor : &BooleanParser::Term;
  Parsed left = (this->*operand)(depth);
  if (left == Parsed::kNothing) return left;
  while (!stopped_) {
    SkipBlanks();
    if (AtEnd()) break;
    const char c = Peek();
    const bool low = c == kUnionChar || c == kEitherOrChar;
    if (!term && !low) break;  // a term stops only before "|", "±", ")" or where it stopped
    if (term && (low || (c == kCloseChar && depth > 0))) break;
    if (term && c != kIntersectionChar && c != kComplementChar) {
      // Junk between operands, or a ")" without its "(".
      if (!SkipOrStop()) break;
      continue;
    }
    const Marks marks = Take();
    const BinaryOperator op = ReadOperator();
    if (left == Parsed::kDropped) {
      left = AfterDropped(op, marks, operand, depth);
      continue;
    }
    RightOperand(op, marks, operand, depth);
  }
  return left;
}

BooleanParser::Parsed BooleanParser::AfterDropped(BinaryOperator op, const Marks& marks,
                                                  Rule operand, int depth) {
  Drop(marks);
  const Marks before = Take();
  // Without its left operand A¬B reads as ¬B.
  const bool complement = op == BinaryOperator::kMinus;
  if (complement) out_->push_back(kComplementChar);
  const Parsed parsed = (this->*operand)(depth);
  if (parsed == Parsed::kNothing) {
    Restore(marks);  // the operator and the rest of the text go
    stopped_ = true;
    return Parsed::kDropped;
  }
  if (parsed == Parsed::kDropped) {
    Drop(before);
  } else if (complement) {
    builder_.Complement();
  }
  return parsed;
}

BooleanParser::Parsed BooleanParser::Expression(int depth) {
  return Operands(depth, /*term=*/false);
}

BooleanParser::Parsed BooleanParser::Term(int depth) { return Operands(depth, /*term=*/true); }

BooleanParser::Parsed BooleanParser::Factor(int depth) {
  const Marks marks = Take();
  const bool complemented = ConsumeComplements() % 2 == 1;
  if (complemented) out_->push_back(kComplementChar);
  SkipBlanks();
  Parsed parsed = Parsed::kNothing;
  if (!AtEnd()) {
    if (Peek() == kOpenChar) {
      parsed = Group(depth);
    } else if (reader_.ReadAtom(text_, &pos_, out_)) {
      parsed = Parsed::kOperand;
    } else if (reader_.DropOperand(text_, &pos_)) {
      parsed = Parsed::kDropped;
    }
  }
  if (parsed == Parsed::kNothing) {
    Restore(marks);
  } else if (parsed == Parsed::kDropped) {
    Drop(marks);  // with its complement
  } else if (complemented) {
    builder_.Complement();
  }
  return parsed;
}

BooleanParser::Parsed BooleanParser::Group(int depth) {
  if (depth + 1 > kMaxNesting) return Parsed::kNothing;
  ++pos_;
  out_->push_back(kOpenChar);
  const Parsed inner = Expression(depth + 1);
  if (inner == Parsed::kNothing) return inner;
  SkipBlanks();
  if (!stopped_ && !AtEnd() && Peek() == kCloseChar) ++pos_;
  // A group of dropped operands goes as a whole (the caller drops its "(").
  if (inner == Parsed::kOperand) out_->push_back(kCloseChar);  // added when it was missing
  return inner;
}

}  // namespace jov
