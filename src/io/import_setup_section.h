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
#include <vector>

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

// The pieces that the dimension import's body shares with this one.
// A line's tab-separated items as they stand: default texts and excluded characters may end in
// blanks that matter.
void SplitBodyItems(std::string_view line, std::vector<std::string_view>& items);
// A field spec from the items after its key; the empty spec when they describe nothing.
FieldSpec ReadFieldSpec(std::span<const std::string_view> items);
// The keys of the file's layout and characters ("FX", "FV", "A", "PX", "PI", "T", "S", "RX",
// "CF", "CT", "CS", and the other settings of an import setup); true when the line was one.
bool ReadImportLayoutLine(std::string_view line, ImportSetup& setup);
// "FX", "A" and the character-set letter, "PX" or "PI", "T" and "S" when not the usual ones.
void WriteImportLayout(LineSink& sink, const ImportSetup& setup);
// "CF", "CT" and "CS" when not empty.
void WriteImportCharacters(LineSink& sink, const ImportSetup& setup);
// The key, a tab and the count, when it is not the usual count.
void WriteCount(LineSink& sink, std::string_view key, int count, int usual);
// The key and the spec's items, when it is not empty.
void WriteFieldSpec(LineSink& sink, std::string_view key, const FieldSpec& spec);

// The number (1..16) each dimension is written as, 0 for a dimension that is not written.
using DimensionNumbers = std::array<int, kDimensionCount>;
DimensionNumbers OwnDimensionNumbers();

// Writes the body lines after the section line, the closing empty line included.
void WriteImportSetupBody(LineSink& sink, const ImportSetup& setup,
                          const DimensionNumbers& numbers = OwnDimensionNumbers());

// The lines of a setup file, in UTF-8 or Windows-1252, as Windows-1252 from the first line that
// is not blank.
std::vector<std::string> SetupFileLines(std::string_view bytes);

// A setup file: one body, optionally preceded by its "##ImportSetup" line, in UTF-8 or
// Windows-1252. The name is the section line's, else `fallback_name`. Nothing when the file
// has neither the section line nor any line that reads as a setting.
std::optional<ImportSetup> ReadImportSetupFile(std::string_view bytes,
                                               std::string_view fallback_name);

// Makes the database's import setups the reader and writer of "##ImportSetup" sections, in the
// place of the stand-in that keeps them verbatim.
void RegisterImportSetupSection(SectionRegistry& registry);

}  // namespace jov
