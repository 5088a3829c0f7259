// The stored form of macros and the "##Commands" section of database files.
//
// "##Macro", tab, the name; then, each on its own line: "M", tab and the steps in the multi-line
// form (CR as byte 3, tab as byte 4, long texts continued with "/=="); "A", "S" and "P" each
// followed by '+' or '-' (show in the Execute menu, execute when opening, password required);
// an empty line. A reader knows lines by their first character and ignores others; a flag line
// with another second character leaves the flag as it was. A macro that runs while the database
// is saved is written with "S-", so that the saved file does not run it again when opened.
//
// "##Commands": command lines run while the file is read, up to the next section line; a file
// with this section does not run the start-up actions of an open.
#pragma once

#include "files/section_registry.h"

namespace jov {

class ScriptHost;

// `host` answers the scripts of "##Commands" sections (it must outlive the registry's use).
void RegisterMacroSection(SectionRegistry& registry);
void RegisterCommandsSection(SectionRegistry& registry, ScriptHost& host);

}  // namespace jov
