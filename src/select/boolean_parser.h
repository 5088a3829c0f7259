// The boolean layer shared by the criterion languages: operands joined by "|" and "±" (lowest),
// "&" and "¬" between operands (A ¬ B is A and not B), prefix "¬" (highest) and brackets. The
// parser corrects the typed text while it reads it and hands the expression in postfix order to
// an ExpressionBuilder; each language supplies an AtomReader for its operands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace jov {

enum class BinaryOperator : uint8_t {
  kUnion,         // "|"
  kEitherOr,      // "±"
  kIntersection,  // "&", and "¬" followed by a complemented operand
  kMinus,         // "¬" between operands, and "&" followed by a complemented operand
};

// Receives operands (from the AtomReader) and operators in postfix order.
class ExpressionBuilder {
 public:
  virtual ~ExpressionBuilder() = default;
  // A position to which Rollback returns, dropping what was built after it.
  virtual size_t Mark() const = 0;
  virtual void Rollback(size_t mark) = 0;
  virtual void Complement() = 0;
  // Called between the left and the right operand; the result is handed back to EndRight.
  virtual size_t BeginRight(BinaryOperator op) = 0;
  virtual void EndRight(BinaryOperator op, size_t begin) = 0;
};

// Reads the operands of one language.
class AtomReader {
 public:
  virtual ~AtomReader() = default;
  // Reads the operand at text[*pos]: on success advances *pos, appends the operand's corrected
  // text to *out, hands it to the builder and returns true. Otherwise changes nothing.
  virtual bool ReadAtom(std::string_view text, size_t* pos, std::string* out) = 0;
  // Called where an operator should follow an operand but something else stands: advances *pos
  // past that piece and returns true when the language skips such text, false when the
  // expression ends there (and the rest of the text is dropped).
  virtual bool SkipJunk(std::string_view text, size_t* pos);
};

class BooleanParser {
 public:
  // `skip_blanks`: blanks between tokens are skipped and left out of the corrected text (in
  // languages whose operands keep their blanks, such as text patterns, it is false).
  BooleanParser(AtomReader& reader, ExpressionBuilder& builder, bool skip_blanks);

  // Parses `text` and writes the corrected text: a doubled prefix "¬" removed ("¬" between
  // operands followed by one "¬" becomes "&"), operators directly after a binary operator
  // deleted, missing ")" added, and everything from the point where the grammar stops dropped.
  // False when not even one operand could be read (the corrected text is then empty).
  bool Parse(std::string_view text, std::string* corrected);

 private:
  struct Marks {
    size_t out;
    size_t pos;
    size_t built;
  };

  bool Expression(int depth);
  bool Term(int depth);
  bool Factor(int depth);
  bool Group(int depth);
  // Parses the right operand of `op`, whose text is written; when none stands there, returns to
  // `marks` (dropping the operator) and stops the grammar.
  bool RightOperand(BinaryOperator op, const Marks& marks, bool (BooleanParser::*operand)(int),
                    int depth);
  // Consumes a run of "¬" (and blanks between them when skipping blanks); returns its length.
  int ConsumeComplements();
  // Deletes "±", "&" and "|" that directly follow a binary operator.
  void SkipFollowingOperators();
  void SkipBlanks();
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }
  Marks Take() const;
  void Restore(const Marks& marks);
  // Where an operator was expected: skips junk or stops the grammar; false when stopped.
  bool SkipOrStop();

  AtomReader& reader_;
  ExpressionBuilder& builder_;
  bool skip_blanks_;
  std::string_view text_;
  size_t pos_ = 0;
  std::string* out_ = nullptr;
  bool stopped_ = false;
};

}  // namespace jov
