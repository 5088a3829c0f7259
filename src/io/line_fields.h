// The fields of a line row as text import reads them for one line definition: each value field
// (a number times its scale factor, an arithmetic expression of its parts, or the field's default
// for an empty text) and each component field's host code. The import and its preview share it,
// so that the preview shows what the import makes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "io/import_fields.h"
#include "io/import_setup.h"

namespace jov {

// Told of a value text that gives no number (the value is then 0).
class UnreadableValue {
 public:
  virtual ~UnreadableValue() = default;
  virtual void Report(std::string_view text) = 0;
};

class LineFieldReader {
 public:
  // Works out the definition's defaults: the value of each value field's default text and
  // whether an insert character among "+-*/^()" makes the field an expression. `definition`
  // must outlive the reader.
  LineFieldReader(const LineDefinition& definition, unsigned char decimal_separator);

  const LineDefinition& definition() const { return definition_; }
  // The dimension's component field is not empty.
  bool active(int dimension) const { return !definition_.components[dimension].empty(); }
  bool expression(int field) const { return expressions_[field]; }

  // The value of value field `field` in the current row of `fields`. `unreadable` (may be null)
  // hears of each text that gives no number.
  double Value(FieldReader& fields, int field, UnreadableValue* unreadable);
  // The host code of the dimension's component field in the current row: the code join without
  // leading and trailing blanks, filled with leading zeros to the zero-filling width. Empty when
  // the field is empty or gives nothing: the default component stands for it. Valid until the
  // next call.
  std::string_view Code(FieldReader& fields, int dimension);
  // The default text of the dimension's component field without its blanks: the host code (or
  // JOV-Code) of the component that empty codes take.
  std::string_view DefaultCode(int dimension) const;

 private:
  std::optional<double> Number(std::string_view text, UnreadableValue* unreadable) const;
  double Expression(FieldReader& fields, const FieldSpec& spec, UnreadableValue* unreadable);

  const LineDefinition& definition_;
  const unsigned char decimal_separator_;
  std::array<double, kMaxImportValueFields> default_values_{};
  std::array<bool, kMaxImportValueFields> expressions_{};
  std::string text_;
  std::string expression_;
  std::string filled_;
};

}  // namespace jov
