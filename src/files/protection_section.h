// "##Protection": the database password on the section line (plain text) and a list of
// two-field entries that a reader keeps and a writer writes back unchanged. The values are kept
// here until the password object takes them over.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/database.h"

namespace jov {

class SectionInput;
class SectionOutput;

struct ProtectionRecord : public DatabaseAttachment {
  explicit ProtectionRecord(Database&) {}

  std::string password;
  std::vector<std::pair<std::string, std::string>> entries;
};

void ReadProtectionSection(SectionInput& input, std::string_view argument);
// Written when there is a password or an entry.
void WriteProtectionSection(SectionOutput& output);

}  // namespace jov
