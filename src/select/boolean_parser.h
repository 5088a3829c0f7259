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
  // Called where an operand should stand and ReadAtom read none: advances *pos past an operand
  // that the language deletes (one that means nothing, such as a date that gives no date) and
  // returns true; the operand leaves the text with the operator that joined it. False when no
  // such operand stands there (the expression then ends).
  virtual bool DropOperand(std::string_view text, size_t* pos);
};

class BooleanParser {
 public:
  // `skip_blanks`: blanks between tokens are skipped and left out of the corrected text (in
  // languages whose operands keep their blanks, such as text patterns, it is false).
  BooleanParser(AtomReader& reader, ExpressionBuilder& builder, bool skip_blanks);

  // Parses `text` and writes the corrected text: a doubled prefix "¬" removed ("¬" between
  // operands followed by one "¬" becomes "&"), operators directly after a binary operator
  // deleted, operands the language drops deleted with the operator that joined them, missing
  // ")" added, and everything from the point where the grammar stops dropped. False when not
  // even one operand could be read (the corrected text is then empty).
  bool Parse(std::string_view text, std::string* corrected);

 private:
  struct Marks {
    size_t out;
    size_t pos;
    size_t built;
  };

  // What a piece of the grammar found: nothing (the grammar stops there), only operands that
  // were dropped (nothing was written or built, the text was consumed), or an operand.
  enum class Parsed { kNothing, kDropped, kOperand };
  using Rule = Parsed (BooleanParser::*)(int);

  // A term (factors joined by "&" and "¬") or an expression (terms joined by "|" and "±"),
  // left to right. An operand that was dropped takes its operator with it: the one before it,
  // or for the first operand the one after it.
  Parsed Operands(int depth, bool term);
  Parsed Expression(int depth);
  Parsed Term(int depth);
  Parsed Factor(int depth);
  Parsed Group(int depth);
  // Reads the operator at the current position, writes its corrected text and returns it.
  BinaryOperator ReadOperator();
  // Parses the right operand of `op`, whose text is written; when none stands there, returns to
  // `marks` (dropping the operator) and stops the grammar; when it was dropped, drops the
  // operator too and goes on after it.
  void RightOperand(BinaryOperator op, const Marks& marks, Rule operand, int depth);
  // The first operand after the operator `op` (read from `marks` on) that followed dropped
  // operands: the operator goes, except that "¬" complements what follows.
  Parsed AfterDropped(BinaryOperator op, const Marks& marks, Rule operand, int depth);
  // Returns to `marks` but keeps the position: what was read since is deleted from the text.
  void Drop(const Marks& marks);
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
