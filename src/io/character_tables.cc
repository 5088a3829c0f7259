#include "io/character_tables.h"

#include <algorithm>

#include "shell/pending_error.h"

namespace jov {
namespace {

// Copies a compiled-in table over its bytes; a missing one posts the resource error.
void Overlay(CharacterTable& table, int number) {
  for (const CharacterResource& resource : BuiltInCharacterResources()) {
    if (resource.number != number) continue;
    for (size_t i = 0; i < resource.bytes.size() && resource.first + i < table.size(); ++i) {
      table[resource.first + i] = resource.bytes[i];
    }
    return;
  }
  PostMissingResource();
}

}  // namespace

CharacterTable ConversionTable(const ImportSetup& setup) {
  CharacterTable table = IdentityCharacterTable();
  switch (setup.character_set) {
    case CharacterSet::kMacintosh:
      Overlay(table, kMacintoshTable);
      break;
    case CharacterSet::kAscii7:
      for (int k = 0; k < 128; ++k) table[128 + k] = static_cast<unsigned char>(k);
      break;
    case CharacterSet::kOem:
      Overlay(table, kOemTable);
      break;
    case CharacterSet::kEbcdic:
      std::fill(table.begin() + 32, table.begin() + 64, ' ');
      Overlay(table, kEbcdicTable);
      break;
    case CharacterSet::kAnsi:
    case CharacterSet::kUtf8:
      break;
  }
  // From the last pair to the first, so that the first of two conversions of a byte wins.
  const size_t pairs = std::min(setup.conversion_from.size(), setup.conversion_to.size());
  for (size_t k = pairs; k > 0; --k) {
    table[static_cast<unsigned char>(setup.conversion_from[k - 1])] =
        static_cast<unsigned char>(setup.conversion_to[k - 1]);
  }
  return table;
}

bool NeedsConversion(const ImportSetup& setup) {
  const bool own_bytes =
      setup.character_set == CharacterSet::kAnsi || setup.character_set == CharacterSet::kUtf8;
  return !own_bytes || std::min(setup.conversion_from.size(), setup.conversion_to.size()) > 0;
}

ExcludedTable ExcludedCharacters(const ImportSetup& setup) {
  ExcludedTable excluded{};
  std::fill(excluded.begin(), excluded.begin() + 32, true);
  for (const char c : setup.excluded_characters) excluded[static_cast<unsigned char>(c)] = true;
  return excluded;
}

}  // namespace jov
