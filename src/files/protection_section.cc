#include "files/protection_section.h"

#include "files/section_input.h"
#include "files/section_output.h"

namespace jov {

void ReadProtectionSection(SectionInput& input, std::string_view argument) {
  ProtectionRecord& record = input.database().Attached<ProtectionRecord>();
  record.password = std::string(argument);
  record.entries.clear();
  while (input.NextBodyLine()) {
    const Fields& fields = input.Split();
    record.entries.emplace_back(std::string(fields[0]), std::string(fields[1]));
  }
}

void WriteProtectionSection(SectionOutput& output) {
  const ProtectionRecord& record = output.database().Attached<ProtectionRecord>();
  if (record.password.empty() && record.entries.empty()) return;
  output.SectionLine(text_format::kProtection, record.password);
  for (const auto& [first, second] : record.entries) {
    output.sink().Text(first).Tab().Text(second);
    output.sink().EndLine();
  }
}

}  // namespace jov
