// "##Cards": the cards in date order, each a "C" line (card identifier, title), its notes ("N")
// and stamps ("S"), and per group a "G" line (the component of the first dimension) followed by
// its "L" lines (values, line text, the components of the other dimensions). Components are
// referred to by JOV-Code, Host Code or Text as "-D" header lines choose.
#pragma once

#include <string_view>

namespace jov {

class SectionInput;
class SectionOutput;

// Missing components are created (and reported) through ResolveIdentifier. A "-D" line's choice
// is also stored in the save setup in effect, so that a later save keeps it.
void ReadCardsSection(SectionInput& input, std::string_view argument);
// The cards the save filter passes, identifiers by the save setup's choice per dimension and
// columns in its dimension numbering.
void WriteCardsSection(SectionOutput& output);

}  // namespace jov
