// The common writers of a table: delimited text, the HTML page, and the XML form of tables that
// have none of their own. Each writes the parts that the table's export settings include, in
// whole lines of `out`; the number separators are the caller's (see WriteTable).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/table.h"
#include "files/line_sink.h"

namespace jov {

// The characters a row of delimited text is written with.
struct TextSeparators {
  std::string between_fields;
  std::string around_fields;
  bool exclude_quotes = false;
};

// Writes the cells of one row between the around-fields characters, separated by the
// between-fields characters, and ends the line (which drops trailing tabs).
void WriteTextRow(LineSink& out, const std::vector<TableCell>& cells, const TextSeparators& with);

// Notes split into lines at every line break (CR, LF or CR LF).
std::vector<std::string_view> NoteLines(std::string_view notes);

// Delimited text: the title, the notes, the definition block, the column titles and the rows.
// Lines end with the row terminator of the settings; `out` keeps its own line end afterwards.
void WriteTableText(Table& table, LineSink& out);

// An HTML page: title and heading, notes, definition block, then one table of the column
// titles and rows.
void WriteTableHtml(const Table& table, LineSink& out);

// The XML form of a table without one of its own: a "JOV-Table" element (with the title as an
// attribute when included) holding the notes, the column titles ("columns" of "column"), the
// header rows ("header") and the data rows ("row"), each row of "cell" elements.
void WriteTableXml(const Table& table, LineSink& out);

}  // namespace jov
