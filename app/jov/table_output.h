// How `jov` commands write a table (an analysis, a list): in the format named on the command
// line, on the terminal in UTF-8 with lines ending in LF, or into a file as the table export
// writes it (Windows-1252, CR LF, XML declared as such).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "analysis/table.h"
#include "command.h"

namespace jov {

// "text", "html" or "xml" (also "txt" and "htm"); nothing for another name.
std::optional<ExportFormat> FormatNamed(std::string_view name);

// The format the command line asks for: --format, else the extension of the output file when
// it names a format, else `fallback`. Nothing when --format names none.
std::optional<ExportFormat> ChosenFormat(const CommandArguments& arguments,
                                         const std::optional<std::string>& output,
                                         ExportFormat fallback);

// Makes an ad-hoc analysis's table a whole report in `format`: its title, definition, column
// titles, header rows and data rows.
void ExportWholeReport(ExportSettings& settings, ExportFormat format);

// Writes the table to `output` (a file name in UTF-8), or to the terminal when there is none.
// False, with the reason reported, when the file could not be written.
bool WriteTableOut(Table& table, const std::optional<std::string>& output);

}  // namespace jov
