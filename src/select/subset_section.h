// The stored form of subsets: the "##Subset" sections of the text database format, one per
// subset of the database's list, and the "## Selection" block of a single named selection (the
// form a selection takes on the clipboard).
//
// A subset's body, each line a tag, a tab and a text:
// - per named selection, in order: "VN" and its name, its selection's lines with prefix "V",
//   then its card criteria that are set: "Vk" (card identifier), "VA" (notes), and the stamps
//   "Vc" (created), "Vm" (modified), "Ve" (examined), "Vp" (approved), "Va" (notes stamp), each
//   a time text, a tab and a signature text;
// - "F" and the combination (stored form, no blanks around operators);
// - "xo" when the subset's window opens with the database; "xp", x and y for a fixed position;
// - "N" and the notes.
// A reader takes "VN" as the named selection of that name (made when missing), "V-" as the
// deletion of the current one, and any other "V" line as the current one's (criteria before
// any "VN" make a named selection of the default name). The body ends at a line that begins
// with "#".
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "files/section_registry.h"
#include "model/component.h"

namespace jov {

class NamedSelection;
class Subset;

// The body lines of a subset's section without the notes line (whose text may take several
// lines); `numbers` as for Selection::BlockLines.
std::vector<std::string> SubsetBodyLines(const Subset& subset,
                                         const std::array<int, kDimensionCount>* numbers);

// Reads the lines of a subset's body into it, in order.
class SubsetBodyReader {
 public:
  explicit SubsetBodyReader(Subset& subset) : subset_(subset) {}
  void ReadLine(std::string_view line);

 private:
  Subset& subset_;
  NamedSelection* current_ = nullptr;
};

// "## Selection", tab, the name, then the named selection's lines; each line ended by
// `line_end`.
std::string SelectionBlockText(const NamedSelection& selection, std::string_view line_end);
// Reads such a block into `subset`: the named selection of that name (made when missing) takes
// the block's lines. Nullptr when the text is no such block.
NamedSelection* ReadSelectionBlock(Subset& subset, std::string_view text);

// Makes the database's subset list the reader and writer of "##Subset" sections, in the place
// of the stand-in that keeps them verbatim.
void RegisterSubsetSection(SectionRegistry& registry);

}  // namespace jov
