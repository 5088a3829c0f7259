// SIE import: files in the published Swedish exchange format for accounting data are read into a
// database without an import setup. The chart of accounts becomes the components of dimension 1
// under the four account groups, the company those of dimension 0, the SIE dimensions and their
// objects further dimensions from index 2 on, the opening balances one card titled "IB", and
// every verification a card whose transactions are its lines (the amount in value field 0).
#pragma once

#include <cstdint>
#include <string_view>

#include "model/database.h"

namespace jov {

class SectionRegistry;

struct SieResult {
  bool done = false;  // read to the end (false: stopped)
  uint64_t cards = 0;
  uint64_t lines = 0;
};

// The file's bytes as Windows-1252: a file that declares "#FORMAT PC8" is in code page 437 (or,
// when its bytes are UTF-8 throughout, in UTF-8), any other file is taken as it is.
std::string SieText(std::string_view bytes);

// Reads the lines of an SIE file, converted by SieText, into `database`. Lines with labels that
// are not used, unusable numbers, unknown accounts or unmapped dimensions add nothing, without
// a message. Ends early at StopRequested, keeping what was made; reports progress by bytes.
SieResult ReadSie(Database& database, std::string_view bytes);

// Makes ReadSie the registry's reader of SIE files.
void RegisterSieImport(SectionRegistry& registry);

}  // namespace jov
