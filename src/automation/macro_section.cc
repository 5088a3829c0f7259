#include "automation/macro_section.h"

#include "automation/command_runner.h"
#include "automation/command_state.h"
#include "automation/macro.h"
#include "files/multiline_text.h"
#include "files/named_objects.h"
#include "files/section_input.h"
#include "files/section_output.h"
#include "files/text_format.h"
#include "shell/message_ids.h"
#include "shell/progress.h"

namespace jov {
namespace {

constexpr char kStepsTag = 'M';
constexpr char kMenuTag = 'A';
constexpr char kOpeningTag = 'S';
constexpr char kPasswordTag = 'P';

// '+' sets and '-' clears; any other character leaves the flag.
void ReadFlag(std::string_view line, bool* flag) {
  if (line.size() < 2) return;
  if (line[1] == '+') *flag = true;
  if (line[1] == '-') *flag = false;
}

void ReadMacroLine(SectionInput& input, Macro& macro) {
  const std::string_view line = input.line();
  switch (line.front()) {
    case kStepsTag: {
      const std::string_view joined = input.JoinContinued();
      const size_t tab = joined.find('\t');
      DecodeMultiline(tab == std::string_view::npos ? std::string_view() : joined.substr(tab + 1),
                      &macro.steps);
      break;
    }
    case kMenuTag:
      ReadFlag(line, &macro.show_in_menu);
      break;
    case kOpeningTag:
      ReadFlag(line, &macro.execute_when_opening);
      break;
    case kPasswordTag:
      ReadFlag(line, &macro.password_required);
      break;
    default:
      break;
  }
}

void ReadMacroSection(SectionInput& input, std::string_view argument) {
  MacroList& list = MacroList::Of(input.database());
  Macro macro;
  macro.name = SectionObjectName(argument, msg::kMacroName);
  // A section of a name already held replaces its content, flags included.
  while (input.NextBodyLine("#")) {
    if (!input.line().empty()) ReadMacroLine(input, macro);
  }
  list.Store(std::move(macro));
}

void WriteFlag(LineSink& sink, char tag, bool on) {
  sink.Add(tag).Add(on ? '+' : '-');
  sink.EndLine();
}

void WriteMacroSections(SectionOutput& output) {
  LineSink& sink = output.sink();
  for (const auto& macro : MacroList::Of(output.database()).macros()) {
    output.SectionLine(text_format::kMacro, macro->name);
    sink.Add(kStepsTag).Tab();
    WriteMultilineField(sink, macro->steps, output.scratch());
    WriteFlag(sink, kMenuTag, macro->show_in_menu);
    WriteFlag(sink, kOpeningTag, macro->execute_when_opening && !macro->running);
    WriteFlag(sink, kPasswordTag, macro->password_required);
    sink.EndLine();
  }
}

// The lines of a "##Commands" body, up to the end of the stream. The runner stops at the next
// section line, which stays current for the section reader.
class SectionScriptLines : public ScriptLines {
 public:
  explicit SectionScriptLines(SectionInput& input) : input_(input) {}
  bool Next(std::string_view* line) override {
    if (!input_.Advance()) return false;
    *line = input_.line();
    return true;
  }

 private:
  SectionInput& input_;
};

}  // namespace

void RegisterMacroSection(SectionRegistry& registry) {
  const SectionHandler* kept = registry.Find(text_format::kMacro);
  SectionHandler handler = kept != nullptr ? *kept : SectionHandler{};
  handler.name = std::string(text_format::kMacro);
  handler.flag = SaveSection::kMacros;
  handler.read = ReadMacroSection;
  handler.write = WriteMacroSections;
  registry.Register(std::move(handler));
}

void RegisterCommandsSection(SectionRegistry& registry, ScriptHost& host) {
  const SectionHandler* kept = registry.Find(text_format::kCommands);
  SectionHandler handler = kept != nullptr ? *kept : SectionHandler{};
  handler.name = std::string(text_format::kCommands);
  handler.read = [&host](SectionInput& input, std::string_view) {
    Database& database = input.database();
    CommandState& state = CommandState::Of(database);
    state.automatic_open_actions = false;
    state.commands_read = true;
    ReportProgressSection(msg::kSectionCommands);
    SectionScriptLines lines(input);
    CommandRunner runner(database, lines, host, ScriptOrigin::kFileSection,
                         text_format::kSectionStart.front());
    runner.Run();
    // The log that the commands opened ends with them: later sections' errors are collected
    // by the read and shown after it.
    state.DestroyLogSink();
  };
  handler.write = nullptr;
  registry.Register(std::move(handler));
}

}  // namespace jov
