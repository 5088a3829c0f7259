#include "files/save_setup_section.h"

#include <algorithm>

#include "files/named_objects.h"
#include "files/save_setup.h"
#include "files/section_input.h"
#include "files/section_output.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

constexpr std::string_view kFormatLetters = "NBT";
constexpr std::string_view kLevelLetters = "CGL";

bool Sign(std::string_view text, bool* flag) {
  if (text.empty() || (text[0] != '+' && text[0] != '-')) return false;
  *flag = text[0] == '+';
  return true;
}

void ReadComponentChoices(std::string_view letters, SaveSetup& setup) {
  const size_t count = std::min<size_t>(letters.size(), kDimensionCount);
  for (size_t d = 0; d < count; ++d) {
    if (kComponentChoiceLetters.find(letters[d]) != std::string_view::npos) {
      setup.components[d] = static_cast<ComponentChoice>(letters[d]);
    }
  }
}

void ReadIdentifierChoices(std::string_view letters, SaveSetup& setup) {
  const size_t count = std::min<size_t>(letters.size(), kDimensionCount);
  for (size_t d = 0; d < count; ++d) IdentifierFromLetter(letters[d], &setup.identifiers[d]);
}

// "M" directly followed by n, tab, m or "-". "-", m = n and m outside 2..16 set the entry to
// none, which is written back as "-".
void ReadNumbering(const Fields& fields, SaveSetup& setup) {
  const std::optional<int> from = FieldInteger(fields[0].substr(1));
  if (!from || *from < 2 || *from > kDimensionCount) return;
  const std::optional<int> to = fields[1] == "-" ? std::nullopt : FieldInteger(fields[1]);
  const bool moves = to && *to != *from && *to >= 2 && *to <= kDimensionCount;
  setup.new_numbers[*from - 1] = moves ? *to : SaveSetup::kNumberNone;
}

void ReadSectionFlag(std::string_view key, SaveSetup& setup) {
  const size_t flag = kSaveSectionLetters.find(key.size() > 1 ? key[1] : '\0');
  if (flag == std::string_view::npos) return;
  bool on;
  if (Sign(key.substr(2), &on)) setup.sections[flag] = on;
}

// Applies one body line; false when its key is none of the setup's.
bool ReadSetupLine(std::string_view line, const Fields& fields, SaveSetup& setup) {
  const std::string_view key = fields[0];
  if (key.starts_with("FZ")) {
    Sign(key.substr(2), &setup.compressed);
  } else if (key.starts_with("DF")) {
    ReadComponentChoices(fields[1], setup);
  } else if (key.starts_with("DL")) {
    ReadIdentifierChoices(fields[1], setup);
  } else if (key.starts_with("CT")) {
    Sign(key.substr(2), &setup.only_for_templates);
  } else if (key.starts_with("TF")) {
    setup.template_filter = std::string(fields[1]);
  } else if (key.starts_with("TO")) {
    Sign(key.substr(2), &setup.open_templates_only);
  } else if (key.starts_with("S")) {
    ReadSectionFlag(key, setup);
  } else if (key.starts_with("F") && key.size() > 1 &&
             kFormatLetters.find(key[1]) != std::string_view::npos) {
    setup.format = key[1];
  } else if (key.starts_with("G") && key.size() > 1 && key[1] != 'C' &&
             kLevelLetters.find(key[1]) != std::string_view::npos) {
    setup.level = key[1];
  } else if (key.starts_with("M")) {
    ReadNumbering(fields, setup);
  } else if (key.starts_with("B")) {
    setup.selection_lines.emplace_back(line);
  } else {
    return false;
  }
  return true;
}

// The dimensions whose letters a body lists: 1 up to the highest used dimension, or further
// when a later dimension has a choice other than the default.
int ChoiceCount(const Database& database, const SaveSetup& setup) {
  int count = 0;
  for (int d = 0; d < kDimensionCount; ++d) {
    if (database.IsDimensionUsed(d) || setup.components[d] != ComponentChoice::kAll ||
        setup.identifiers[d] != IdentifierKind::kCode) {
      count = d + 1;
    }
  }
  return count;
}

void WriteSign(LineSink& sink, std::string_view key, bool on) {
  sink.Add(key).Add(on ? '+' : '-');
  sink.EndLine();
}

void WriteSaveSetupBody(SectionOutput& output, const SaveSetup& setup);

}  // namespace

bool ApplySaveOption(std::string_view option, SaveSetup& setup) {
  Fields fields;
  fields.Split(option);
  return ReadSetupLine(option, fields, setup);
}

void ReadSaveSetupSection(SectionInput& input, std::string_view argument) {
  const std::string name = SectionObjectName(argument, msg::kSaveSetupName);
  SaveSetup& setup = ReplaceOrAddNamed(input.database().Attached<SaveSetups>().named(), name);
  while (input.NextBodyLine("#") && !input.line().empty()) {
    ReadSetupLine(input.line(), input.Split(), setup);
  }
}

namespace {

void WriteSaveSetupBody(SectionOutput& output, const SaveSetup& setup) {
  LineSink& sink = output.sink();
  sink.Add('F').Add(setup.format);
  sink.EndLine();
  WriteSign(sink, "FZ", setup.compressed);
  for (int flag = 0; flag < kSaveSectionCount; ++flag) {
    const char key[] = {'S', kSaveSectionLetters[static_cast<size_t>(flag)]};
    WriteSign(sink, std::string_view(key, 2), setup.sections[static_cast<size_t>(flag)]);
  }
  const int count = ChoiceCount(output.database(), setup);
  if (count > 0) {
    sink.Add("DF\t");
    for (int d = 0; d < count; ++d) sink.Add(static_cast<char>(setup.components[d]));
    sink.EndLine();
    sink.Add("DL\t");
    for (int d = 0; d < count; ++d) sink.Add(IdentifierLetter(setup.identifiers[d]));
    sink.EndLine();
  }
  for (const std::string& line : setup.selection_lines) sink.WriteLine(line);
  WriteSign(sink, "CT", setup.only_for_templates);
  sink.Add('G').Add(setup.level);
  sink.EndLine();
  if (!setup.template_filter.empty()) {
    sink.Add("TF\t").Text(setup.template_filter);
    sink.EndLine();
  }
  WriteSign(sink, "TO", setup.open_templates_only);
  for (int d = 1; d < kDimensionCount; ++d) {
    const int number = setup.new_numbers[d];
    if (number == 0) continue;
    sink.Add('M').Integer(d + 1).Tab();
    if (number == SaveSetup::kNumberNone) {
      sink.Add('-');
    } else {
      sink.Integer(number);
    }
    sink.EndLine();
  }
  sink.EndLine();
}

}  // namespace

void WriteSaveSetupSections(SectionOutput& output) {
  for (const SaveSetup& setup : output.database().Attached<SaveSetups>().named()) {
    output.SectionLine(text_format::kSaveSetup, setup.name);
    WriteSaveSetupBody(output, setup);
  }
}

}  // namespace jov
