#include "files/save_setup.h"

namespace jov {

SaveSetup::SaveSetup() {
  sections.fill(true);
  components.fill(ComponentChoice::kAll);
  identifiers.fill(IdentifierKind::kCode);
}

char IdentifierLetter(IdentifierKind kind) { return kIdentifierLetters[static_cast<int>(kind)]; }

bool IdentifierFromLetter(char letter, IdentifierKind* kind) {
  const size_t index = kIdentifierLetters.find(letter);
  if (letter == '\0' || index == std::string_view::npos) return false;
  *kind = static_cast<IdentifierKind>(index);
  return true;
}

}  // namespace jov
