#include "files/character_section.h"

#include <algorithm>

#include "files/section_input.h"
#include "files/section_output.h"

namespace jov {
namespace {

struct CharacterLine {
  char key;
  std::string_view own;
};
constexpr CharacterLine kCharacterLines[] = {{'U', text_format::kUpperCharacters},
                                             {'L', text_format::kLowerCharacters},
                                             {'X', text_format::kOtherCharacters}};

}  // namespace

void AddTranslations(std::string_view file_codes, std::string_view own_codes,
                     CharacterTable* table) {
  const size_t count =
      std::min({file_codes.size(), own_codes.size(), text_format::kMaxCharacterString});
  for (size_t i = 0; i < count; ++i) {
    const auto file_byte = static_cast<unsigned char>(file_codes[i]);
    const auto own_byte = static_cast<unsigned char>(own_codes[i]);
    if (file_byte >= 128 && own_byte != ' ' && file_byte != own_byte) {
      (*table)[file_byte] = own_byte;
    }
  }
}

void ReadCharacterSection(SectionInput& input, std::string_view) {
  CharacterTable table = IdentityCharacterTable();
  while (input.NextBodyLine()) {
    const Fields& fields = input.Split();
    for (const CharacterLine& line : kCharacterLines) {
      if (fields[0].size() == 1 && fields[0][0] == line.key) {
        AddTranslations(fields[1], line.own, &table);
      }
    }
  }
  input.SetTranslation(table);
}

void WriteCharacterSection(SectionOutput& output) {
  output.SectionLine(text_format::kCharacters);
  for (const CharacterLine& line : kCharacterLines) {
    output.sink().Add(line.key).Tab().Add(line.own);
    output.sink().EndLine();
  }
}

}  // namespace jov
