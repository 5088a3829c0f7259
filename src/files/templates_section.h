// The "##Templates" and "##Defaults" sections of the section stream. Each holds blocks of a
// header line ("#", the kind's letter, a tab and the name) followed by the template's lines up
// to the next line that starts with "#". Templates of card windows and of unknown letters are
// skipped; a template replaces the one of its name. "##Defaults" holds one block per kind.
#pragma once

#include <memory>

#include "files/analysis_template.h"
#include "files/section_input.h"
#include "files/section_output.h"
#include "files/section_registry.h"

namespace jov {

// Each line of a template goes to its kind's body first and, when the body leaves it, to the
// frame. A stop ends the reading; the template being read is then dropped.
void ReadTemplatesSection(SectionInput& input, const TemplateKinds& kinds);
void ReadDefaultsSection(SectionInput& input, const TemplateKinds& kinds);
// Nothing is written when there are no templates (no defaults).
void WriteTemplatesSection(SectionOutput& output);
void WriteDefaultsSection(SectionOutput& output);

// Makes the registry's two template sections read the bodies of `kinds`.
void UseTemplateKinds(SectionRegistry& registry, std::shared_ptr<const TemplateKinds> kinds);

}  // namespace jov
