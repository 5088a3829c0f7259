#include "analysis/time_scale_section.h"

#include <utility>

#include "analysis/time_scale_list.h"
#include "files/section_input.h"
#include "files/section_output.h"
#include "files/section_registry.h"
#include "files/text_format.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

// An entry line: one with a date, or one with an empty first field and a name.
bool IsEntryLine(std::string_view line, const TimeScaleEntry& entry) {
  if (entry.start.day != kNoDay) return true;
  return !line.empty() && line.front() == '\t' && !entry.name.empty();
}

std::string ScaleName(std::string_view name) {
  name = name.substr(0, name.find_last_not_of(' ') + 1);  // npos + 1 is 0
  if (name.empty()) return MessageText(msg::kTimeScaleName) + " 1";
  return std::string(name);
}

}  // namespace

bool ReadTimeScaleSection(Database& database, std::string_view name,
                          std::span<const std::string_view> lines) {
  std::vector<TimeScaleEntry> entries;
  for (const std::string_view line : lines) {
    if (StopRequested()) return false;
    if (!line.empty() && line.front() == '#') break;
    TimeScaleEntry entry = ParseEntryLine(line);
    if (IsEntryLine(line, entry)) entries.push_back(std::move(entry));
  }
  TimeScaleList& scales = TimeScaleList::Of(database);
  const std::string scale_name = ScaleName(name);
  TimeScale* scale = scales.Find(scale_name);
  if (scale == nullptr) scale = &scales.Create(scale_name);
  scale->SetEntries(std::move(entries));
  return true;
}

std::vector<std::string> WriteTimeScaleSection(const TimeScale& scale) {
  std::vector<std::string> lines;
  for (const TimeScaleEntry& entry : scale.entries()) {
    if (entry.empty()) continue;
    // The date (when there is one), a tab, the name (which may be empty).
    std::string line;
    if (entry.start.day != kNoDay) AppendCardId(line, entry.start);
    line.append("\t").append(entry.name);
    lines.push_back(std::move(line));
  }
  lines.emplace_back();
  return lines;
}

void RegisterTimeScaleSection(SectionRegistry& registry) {
  SectionHandler handler =
      OwnedSectionHandler(registry, text_format::kTimeScale, SaveSection::kTimeScales);
  handler.read = [](SectionInput& input, std::string_view argument) {
    std::vector<std::string> lines;
    while (input.NextBodyLine()) lines.emplace_back(input.line());
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    ReadTimeScaleSection(input.database(), argument, views);
  };
  handler.write = [](SectionOutput& output) {
    const TimeScaleList& scales = TimeScaleList::Of(output.database());
    for (size_t i = 0; i < scales.size(); ++i) {
      const TimeScale& scale = scales.at(i);
      output.SectionLine(text_format::kTimeScale, scale.name());
      for (const std::string& line : WriteTimeScaleSection(scale)) {
        output.sink().WriteLineKeepingTabs(line);
      }
    }
  };
  registry.Register(std::move(handler));
}

}  // namespace jov
