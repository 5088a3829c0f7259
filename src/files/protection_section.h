// "##Protection": the database password on the section line (plain text) and a list of
// two-field entries that a reader keeps and a writer writes back unchanged, both held by the
// database's password object.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/password.h"

namespace jov {

class SectionInput;
class SectionOutput;

void ReadProtectionSection(SectionInput& input, std::string_view argument);
// Written when there is a password or an entry.
void WriteProtectionSection(SectionOutput& output);

}  // namespace jov
