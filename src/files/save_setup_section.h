// "##SaveSetup" name: one section per named save setup. The body holds the format (F, FZ), the
// twelve section flags (SH ... SG), the component option and identifier per dimension (DF, DL),
// the selection lines (B), the template options (CT, TF, TO), the selection level (G) and the
// dimension numbering (M n); it ends with an empty line.
#pragma once

#include <string_view>

namespace jov {

class SectionInput;
class SectionOutput;
struct SaveSetup;

// An empty name reads as "Save Setup 1"; a setup of the same name (ignoring case) is replaced.
void ReadSaveSetupSection(SectionInput& input, std::string_view argument);
void WriteSaveSetupSections(SectionOutput& output);
// Applies one line of the body ("SC-", "FT", "DF\tAU" ...) to `setup`, as a script's save
// options are given; false when the line's key is none of the body's.
bool ApplySaveOption(std::string_view option, SaveSetup& setup);

}  // namespace jov
