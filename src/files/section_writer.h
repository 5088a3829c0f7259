// Writing a database as a section stream: every registered kind in save order, each under its
// save-setup flag, then "##End"; and the text database file, which is the stream behind the
// "##JOV-Text" line.
#pragma once

#include "files/line_sink.h"
#include "files/section_output.h"
#include "files/section_registry.h"

namespace jov {

// False when the byte sink failed.
bool WriteSections(const Database& database, ByteSink& bytes, const SaveSetup& setup,
                   const SectionRegistry& registry, const WriteOptions& options = {});

// "##JOV-Text", a tab and the format date, then the section stream.
bool WriteTextDatabase(const Database& database, ByteSink& bytes, const SaveSetup& setup,
                       const SectionRegistry& registry, const WriteOptions& options = {});

}  // namespace jov
