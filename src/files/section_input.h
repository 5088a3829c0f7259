// What a section reader works with: the database being filled, the current line of the stream
// and the shared field tokenizer. Section readers consume their body lines through it and leave
// the line that ends their body current for the dispatcher.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/fields.h"
#include "files/file_kind.h"
#include "files/line_source.h"
#include "files/text_format.h"

namespace jov {

class Database;

class SectionInput {
 public:
  SectionInput(Database& database, LineSource& lines, uint32_t format_date)
      : database_(database), lines_(lines), format_date_(format_date) {}

  Database& database() { return database_; }
  // The format date (YYYYMMDD) of the file being read; readers of bodies whose form changed
  // over the versions look at it.
  uint32_t format_date() const { return format_date_; }

  // The current line; valid until the next line is read.
  std::string_view line() const { return line_; }
  bool at_end() const { return at_end_; }
  // Counts the lines read, so that a caller can tell whether a reader consumed any.
  uint64_t line_number() const { return line_number_; }

  // Makes the next line current; false at the end of the stream.
  bool Advance();
  // Moves to the next line of the body: false at the end of the stream, when a stop was
  // requested, or at a line that starts with `end_prefix` (which stays current).
  bool NextBodyLine(std::string_view end_prefix = text_format::kSectionStart);
  // The current line with the lines it continues on joined to it ("/==" markers removed). The
  // next line read after them becomes current at the next Advance.
  std::string_view JoinContinued();

  // Splits the current line (or any text) into the shared fields.
  const Fields& Split() { return Split(line_); }
  const Fields& Split(std::string_view text) {
    fields_.Split(text);
    return fields_;
  }

  // The current line and later ones are read through the file's character table.
  void SetTranslation(const CharacterTable& table);

 private:
  Database& database_;
  LineSource& lines_;
  uint32_t format_date_;
  std::string_view line_;
  bool at_end_ = false;
  uint64_t line_number_ = 0;
  Fields fields_;
  std::string joined_;
};

}  // namespace jov
