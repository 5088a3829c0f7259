#include "files/section_reader.h"

#include <algorithm>
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

struct SectionLine {
  std::string name;
  std::string argument;
};

SectionLine ParseSectionLine(std::string_view line, SectionInput& input) {
  const Fields& fields = input.Split(line.substr(text_format::kSectionStart.size()));
  return {std::string(SectionName(line)), std::string(fields[1])};
}

void ReportUnknownSection(std::string_view name) {
  if (name.size() < text_format::kMinReportedNameLength) return;
  AlertRecord alert(msg::kUnknownSection);
  alert.Arg(name);
  ReportAlert(alert);
}

// Dispatches the section whose line is current; false at "##End".
bool DispatchSection(SectionInput& input, const SectionRegistry& registry) {
  if (IsEndSectionLine(input.line())) return false;
  const SectionLine section = ParseSectionLine(input.line(), input);
  const SectionHandler* handler = registry.Find(section.name);
  if (handler == nullptr || !handler->read) {
    if (!EqualsIgnoringCase(section.name, text_format::kJovText))
      ReportUnknownSection(section.name);
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

std::string_view SectionName(std::string_view line) {
  const std::string_view name =
      line.substr(std::min(line.size(), text_format::kSectionStart.size()));
  return name.substr(0, name.find_first_of("\t "));
}

bool IsEndSectionLine(std::string_view line) {
  return line.starts_with(text_format::kSectionStart) &&
         EqualsIgnoringCase(SectionName(line), text_format::kEnd);
}

ReadResult ReadSections(Database& database, LineSource& lines, const SectionRegistry& registry,
                        uint32_t format_date) {
  RecordingSink errors;
  ReadResult result;
  {
    ScopedSink collect(&errors);
    SectionInput input(database, lines, format_date);
    input.Advance();
    while (!input.at_end() && !StopRequested()) {
      if (!input.line().starts_with(text_format::kSectionStart)) {
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
  for (const AlertRecord& error : result.errors) {
    result.lost_data = result.lost_data || error.message == msg::kLinesTooLong ||
                       error.message == msg::kUnknownSection || error.message == msg::kHostTaken;
  }
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
