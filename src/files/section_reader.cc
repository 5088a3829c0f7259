#include "files/section_reader.h"

#include <string>

#include "files/section_input.h"
#include "model/case_tables.h"
#include "model/database.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/progress.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

using namespace text_format;

// The name and argument of a section line. The name ends at the first tab or blank, so that
// "##JOV-Text 001219" is known too.
struct SectionLine {
  std::string name;
  std::string argument;
};

SectionLine ParseSectionLine(std::string_view line, SectionInput& input) {
  const Fields& fields = input.Split(line.substr(kSectionStart.size()));
  std::string_view name = fields[0];
  name = name.substr(0, name.find(' '));
  return {std::string(name), std::string(fields[1])};
}

void ReportUnknownSection(std::string_view name) {
  if (name.size() < kMinReportedNameLength) return;
  AlertRecord alert(msg::kUnknownSection);
  alert.Arg(name);
  ReportAlert(alert);
}

// Dispatches the section whose line is current; false at "##End".
bool DispatchSection(SectionInput& input, const SectionRegistry& registry) {
  const SectionLine section = ParseSectionLine(input.line(), input);
  if (EqualsIgnoringCase(section.name, kEnd)) return false;
  const SectionHandler* handler = registry.Find(section.name);
  if (handler == nullptr || !handler->read) {
    if (!EqualsIgnoringCase(section.name, kJovText)) ReportUnknownSection(section.name);
    input.Advance();
    return true;
  }
  const MessageId progress_text = SectionProgressText(section.name);
  if (progress_text != kNoMessage) ReportProgressSection(progress_text);
  const uint64_t section_line = input.line_number();
  handler->read(input, section.argument);
  // A reader that refused its section line leaves it current: its body is skipped line by line.
  if (input.line_number() == section_line) input.Advance();
  input.database().FlushChangeFlags();
  return true;
}

}  // namespace

ReadResult ReadSections(Database& database, LineSource& lines, const SectionRegistry& registry) {
  RecordingSink errors;
  ReadResult result;
  {
    ScopedSink collect(&errors);
    SectionInput input(database, lines);
    input.Advance();
    while (!input.at_end() && !StopRequested()) {
      if (!input.line().starts_with(kSectionStart)) {
        input.Advance();
        continue;
      }
      if (!DispatchSection(input, registry)) {
        result.saw_end = true;
        break;
      }
    }
    database.FlushChangeFlags();
  }
  result.ok = !StopRequested();
  result.errors = errors.alerts();
  return result;
}

std::unique_ptr<Database> ReadNewDatabase(LineSource& lines, const SectionRegistry& registry,
                                          ReadResult* result, int untitled_number) {
  auto database = std::make_unique<Database>(untitled_number);
  *result = ReadSections(*database, lines, registry);
  if (!result->ok) return nullptr;
  database->ClearModified();
  return database;
}

}  // namespace jov
