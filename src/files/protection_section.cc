#include "files/protection_section.h"

#include "files/section_input.h"
#include "files/section_output.h"

namespace jov {

void ReadProtectionSection(SectionInput& input, std::string_view argument) {
  DatabasePassword& kept = input.database().Attached<DatabasePassword>();
  kept.section_read = true;
  Password& password = kept.password;
  password.SetPassword(argument);
  password.entries.clear();
  while (input.NextBodyLine()) {
    const Fields& fields = input.Split();
    password.entries.emplace_back(std::string(fields[0]), std::string(fields[1]));
  }
}

void WriteProtectionSection(SectionOutput& output) {
  const Password& password = output.database().Attached<DatabasePassword>().password;
  if (!password.HasPassword() && password.entries.empty()) return;
  output.SectionLine(text_format::kProtection, password.GetPassword());
  for (const auto& [first, second] : password.entries) {
    output.sink().Text(first).Tab().Text(second);
    output.sink().EndLine();
  }
}

}  // namespace jov
