// The "##ImportSetup" body: one key line per setting that differs from its default, the card
// field specs, then the line definitions separated by "-" lines, and an empty line. The same
// body, alone in a file, is a setup that a user can write in a text editor.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "io/import_setup.h"

namespace jov {

class LineSink;
class SectionRegistry;

// Setups read from files dated before this have control characters counted as positions
// unless the body says otherwise.
inline constexpr uint32_t kFirstDateExcludingControls = 20000110;

// Reads body lines into `setup`, which should be a fresh setup: keys that are missing keep
// their defaults, unknown keys and letters are skipped, numbers out of range are held to their
// range. Reading ends at a line that begins with "#". `format_date` (YYYYMMDD) is the date of
// the file the body comes from. Returns how many lines were read as settings.
int ReadImportSetupBody(std::span<const std::string_view> lines, uint32_t format_date,
                        ImportSetup& setup);

// The number (1..16) each dimension is written as, 0 for a dimension that is not written.
using DimensionNumbers = std::array<int, kDimensionCount>;
DimensionNumbers OwnDimensionNumbers();

// Writes the body lines after the section line, the closing empty line included.
void WriteImportSetupBody(LineSink& sink, const ImportSetup& setup,
                          const DimensionNumbers& numbers = OwnDimensionNumbers());

// A setup file: one body, optionally preceded by its "##ImportSetup" line, in UTF-8 or
// Windows-1252. The name is the section line's, else `fallback_name`. Nothing when the file
// has neither the section line nor any line that reads as a setting.
std::optional<ImportSetup> ReadImportSetupFile(std::string_view bytes,
                                               std::string_view fallback_name);

// Makes the database's import setups the reader and writer of "##ImportSetup" sections, in the
// place of the stand-in that keeps them verbatim.
void RegisterImportSetupSection(SectionRegistry& registry);

}  // namespace jov
