// "##Dimension" n: a dimension's settings as "-" header lines (names, case options, what
// analyses display, ordering, must-be-filled-in, column widths), then its components in
// pre-order, one "code, text, host" line each, from which a reader rebuilds the tree.
#pragma once

#include <string>
#include <string_view>

namespace jov {

class Database;
class SectionInput;
class SectionOutput;

// A number outside 1..16 refuses the section line.
void ReadDimensionSection(SectionInput& input, std::string_view argument);
// Every used dimension under the number the save gives it, each followed by the sections that
// belong to it (a dimension import); components as the save setup's option for it says.
void WriteDimensionSections(SectionOutput& output);
// One dimension as its "##Dimension" section with every component, lines ending in CR LF: the
// text form in which a dimension is handed to other programs.
std::string DimensionSectionText(const Database& database, int dimension);

}  // namespace jov
