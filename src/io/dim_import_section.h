// The "##DimImport" body: a dimension's import setup as key lines (the file's layout and
// characters as an import setup writes them, then the create-parents level, the zero filling,
// the hierarchy method, the parent search and the four field specs) and an empty line. The
// same body, alone in a file, is a setup that a user can write in a text editor.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "io/dim_import.h"

namespace jov {

class LineSink;
class SectionRegistry;

// Reads body lines into `setup`, which should be a fresh setup: missing keys keep their
// defaults, unknown keys and values out of range are skipped. Reading ends at a line that
// begins with "#". Returns how many lines were read as settings.
int ReadDimImportBody(std::span<const std::string_view> lines, DimImport& setup);

// Writes the body lines after the section line, the closing empty line included.
void WriteDimImportBody(LineSink& sink, const DimImport& setup);

// A setup file: one body, optionally after its "##DimImport" line, in UTF-8 or Windows-1252.
// Nothing when no line of it reads as a setting.
std::optional<DimImport> ReadDimImportFile(std::string_view bytes);

// Makes the database's dimension import setups the reader and writer of "##DimImport"
// sections, in the place of the stand-in that keeps them verbatim.
void RegisterDimImportSection(SectionRegistry& registry);

}  // namespace jov
