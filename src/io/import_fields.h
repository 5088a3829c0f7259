// Field extraction of text import: the text of one part of a field spec from the current row
// (a separated field in the Variable layout, the whole row in the Fixed one, cut to the part's
// character positions), and the four ways of joining the parts of a spec.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/character_tables.h"
#include "io/import_setup.h"

namespace jov {

class FieldReader {
 public:
  // A part's text is cut to this many characters.
  static constexpr size_t kMaxPartCharacters = 4097;

  explicit FieldReader(const ImportSetup& setup);

  // Starts reading fields of `row`, which must stay valid while they are read.
  void SetRow(std::string_view row);

  // The text of one part, valid until the next call or the next row: the characters from position
  // `first` (1 when 0) to `last` (the field's end when 0), bytes below 32 not counted as positions
  // when control characters are excluded, and excluded characters dropped.
  std::string_view Part(const FieldPart& part);

  // Indicator test: every part's text equals its default text (an empty spec matches).
  bool Matches(const FieldSpec& spec);
  // The parts' texts joined, trailing blanks removed (card switcher, numbers, stamps).
  void PlainJoin(const FieldSpec& spec, std::string& out);
  // The non-empty texts joined with the previous part's insert character between them, trailing
  // blanks removed; an empty result is the first part's default text (dates, titles, notes,
  // line texts).
  void TextJoin(const FieldSpec& spec, std::string& out);
  // The texts joined with every insert character, empty texts or not (component codes).
  void CodeJoin(const FieldSpec& spec, std::string& out);

 private:
  // Field `number` (1-based) of the row; empty past the row's last field.
  std::string_view Field(int number) const;

  const bool variable_;
  const bool exclude_controls_;
  const char separator_;
  const ExcludedTable excluded_;
  std::string_view row_;
  // Where each field of the row starts, and one past the row's end.
  std::vector<uint32_t> starts_;
  std::string text_;
};

}  // namespace jov
