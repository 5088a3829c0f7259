// The full registry of section kinds of database files: the model's sections and those of every
// layer that owns a kind (time scales and import setups so far), and the text import as the
// reader of plain text files; kinds whose owners are not built yet stay kept verbatim.
#pragma once

#include "files/section_registry.h"

namespace jov {

SectionRegistry FullSectionRegistry();

}  // namespace jov
