// Reading a section stream into a database: the dispatcher hands each "##" section to the kind
// registered for its name, collects the errors met on the way, and turns the batch's change
// flags into notifications after each section.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "files/file_kind.h"
#include "files/line_source.h"
#include "files/section_registry.h"
#include "shell/alert.h"

namespace jov {

class Database;

struct ReadResult {
  // The stream was read to its end (or to "##End") without a stop being requested.
  bool ok = false;
  // The stream ended with "##End".
  bool saw_end = false;
  // The errors collected while reading (unknown sections, unresolved identifiers, duplicate
  // host codes ...), in the order met, to be shown together after the read.
  std::vector<AlertRecord> errors;
  // Some of them tell of data the database could not take (an over-long line read as empty,
  // an unknown section skipped, a host code dropped), so saving it again would lose that data.
  bool lost_data = false;
};

// The name of the section a "##" line opens: up to the first tab or blank, so that
// "##JOV-Text 001219" names "JOV-Text".
std::string_view SectionName(std::string_view line);
// The line that ends every stream: "##End" in any case, with or without an argument. Every
// reader of the stream stops there.
bool IsEndSectionLine(std::string_view line);

// Reads sections into `database` until "##End", the end of the stream, or StopRequested. Lines
// outside a known section are skipped; an unknown section name of three or more characters is
// reported (msg::kUnknownSection). `format_date` (YYYYMMDD) is the date the file carries.
ReadResult ReadSections(Database& database, LineSource& lines, const SectionRegistry& registry,
                        uint32_t format_date = kOwnFormatDate);

// Reads the stream into a new database; nothing (and no half-built database) when the read
// failed. The new database is not marked modified.
std::unique_ptr<Database> ReadNewDatabase(LineSource& lines, const SectionRegistry& registry,
                                          ReadResult* result, int untitled_number = 1);

}  // namespace jov
