// "##Characters": the writer's own codes for accented letters and other signs. A reader compares
// them with its own at each position and translates every later line of a file written under
// another 8-bit character set.
#pragma once

#include <string_view>

#include "files/line_source.h"

namespace jov {

class SectionInput;
class SectionOutput;

// Adds to `table` a translation from the file's byte to the own byte at every position where the
// file's byte is 128 or more, the own byte is not a blank and the two differ.
void AddTranslations(std::string_view file_codes, std::string_view own_codes,
                     CharacterTable* table);

void ReadCharacterSection(SectionInput& input, std::string_view argument);
void WriteCharacterSection(SectionOutput& output);

}  // namespace jov
