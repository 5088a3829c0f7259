// The character conversion of text import: every byte of a file is passed through one 256-byte
// table built from the setup's character set (the compiled-in tables of resources/charsets) and
// its own character conversions, and the bytes that never enter a field are marked in a second
// table.
#pragma once

#include <array>
#include <span>

#include "files/line_source.h"
#include "io/import_setup.h"

namespace jov {

// A compiled-in table: the Windows-1252 bytes for the source bytes `first`..255.
struct CharacterResource {
  int number;
  int first;
  std::span<const unsigned char> bytes;
};
// Sorted by number; generated at build time.
std::span<const CharacterResource> BuiltInCharacterResources();

// Resource numbers of the tables.
inline constexpr int kMacintoshTable = 90;
inline constexpr int kOemTable = 91;
inline constexpr int kEbcdicTable = 92;

// The table for the setup's character set with its conversions applied. UTF-8 is decoded
// before the table, so for it the table holds the conversions alone.
CharacterTable ConversionTable(const ImportSetup& setup);
// Whether the table changes any byte: the character set is not ANSI or UTF-8, or conversions
// are given.
bool NeedsConversion(const ImportSetup& setup);

// Bytes 0..31 and every byte of the setup's excluded characters.
using ExcludedTable = std::array<bool, 256>;
ExcludedTable ExcludedCharacters(const ImportSetup& setup);

}  // namespace jov
