// Writing a table out as its window's export settings say: the entry point that sets the number
// separators and lets the table prepare, export to a file, the export command with its proposed
// file name, and the text that copying the table puts on the clipboard.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/table.h"
#include "files/line_sink.h"

namespace jov {

// The character encoding of the engine's bytes.
inline constexpr std::string_view kWindows1252 = "windows-1252";

struct TableWriteOptions {
  // XML: start the document with the XML declaration and an empty line.
  bool xml_header = false;
  // The encoding of the bytes as they leave the writer, named in the XML declaration.
  std::string_view encoding = kWindows1252;
};

// Writes the table in the format its export settings choose. For the time it writes, the
// number separators are those of the settings (restored afterwards), and the table is told to
// prepare and to finish. Text and XML use the table's own form when it has one.
void WriteTable(Table& table, LineSink& out, const TableWriteOptions& options = {});

// The XML declaration, naming `encoding`, a line end and an empty line.
void WriteXmlHeader(LineSink& out, std::string_view encoding = kWindows1252);

// Writes the table to the file in the chosen format, lines ending in CR LF, XML with its header.
// The file appears only when every byte is written; a file that cannot be created or written
// posts the pending error (603 or 605 with the file name), and a stop requested while the table
// is written ends the export, leaving any old file as it was.
bool ExportTableToFile(Table& table, const std::string& path);

// The window title without the characters '.', ':', '<', '>', '/' and '\', cut to a sensible
// length, with ".txt", ".htm" or ".xml" by format (".bmp" while the window shows a chart).
std::string ProposedExportFileName(const Table& table);

// The export command: calculates the table (a stop or failure ends the command here), asks
// `choose_file` for the file with the proposed name (nothing: the user cancelled) and exports.
// True when the file was written.
using ChooseFile = std::function<std::optional<std::string>(const std::string& proposed)>;
bool ExportTableAs(Table& table, const ChooseFile& choose_file);

// The clipboard text of the table under its copy settings: every row (or the visible ones),
// cells between the copy around-fields characters and separated by the copy between-fields
// characters, rows ended by the copy row terminator. Under a size limit, copying stops after the
// row that reaches it.
std::string CopyTableText(Table& table);

}  // namespace jov
