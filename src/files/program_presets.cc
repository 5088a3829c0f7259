#include "files/program_presets.h"

#include <array>

namespace jov {
namespace {

constexpr uint8_t kSys = separator::kSystem, kNone = separator::kNone, kTab = separator::kTab,
                  kSpace = separator::kSpace, kPoint = separator::kPoint;
constexpr PresetFlag kOn = PresetFlag::kOn, kOff = PresetFlag::kOff, kKeep = PresetFlag::kUnchanged;
constexpr ExportFormat kText = ExportFormat::kText, kHtml = ExportFormat::kHtml;

// Columns: program, creator; decimal, thousand, between, around; title, notes, column titles,
// header rows; format.
constexpr std::array<ProgramPreset, 16> kPresets = {{
    {"Claris Resolve", "Rslv", kSys, kSys, kTab, kNone, kOff, kOff, kKeep, kOff, kText},
    {"ClarisWorks", "BOBO", kSys, kSpace, kTab, kNone, kKeep, kOn, kOn, kOn, kText},
    {"FullWrite", "FWRT", kSys, kSpace, kTab, kNone, kKeep, kOn, kOn, kOn, kText},
    {"Internet Explorer", "MSIE", kSys, kSys, kTab, kNone, kKeep, kOn, kOn, kOn, kHtml},
    {"MacWrite Pro", "MWPR", kSys, kSpace, kTab, kNone, kKeep, kOn, kOn, kOn, kText},
    {"Microsoft Excel", "XCEL", kSys, kNone, kTab, kNone, kKeep, kKeep, kOn, kOn, kText},
    {"Microsoft Word", "MSWD", kSys, kSpace, kTab, kNone, kKeep, kOn, kOn, kOn, kText},
    {"MORE", "MOR2", kSys, kNone, kSpace, kNone, kOn, kOff, kOff, kOff, kText},
    {"MPW Shell", "MPS ", kSys, kSys, kTab, kNone, kKeep, kOn, kOn, kOn, kText},
    {"Netscape Navigator", "MOSS", kSys, kSys, kTab, kNone, kKeep, kOn, kOn, kOn, kHtml},
    {"Nisus", "NISI", kSys, kSpace, kTab, kNone, kKeep, kOn, kOn, kOn, kText},
    {"StatView", "STAT", kPoint, kNone, kTab, kNone, kOff, kOff, kOff, kOff, kText},
    {"SimpleText", "ttxt", kSys, kNone, kTab, kNone, kKeep, kOn, kOn, kOn, kText},
    {"Wingz", "WNGZ", kSys, kNone, kTab, kNone, kKeep, kKeep, kOn, kOn, kText},
    {"WordPerfect", "WPC2", kSys, kSpace, kTab, kNone, kKeep, kOn, kOn, kOn, kText},
    {"WriteNow", "nX^n", kSys, kSpace, kTab, kNone, kKeep, kOn, kOn, kOn, kText},
}};

void Apply(PresetFlag flag, bool& include) {
  if (flag != PresetFlag::kUnchanged) include = flag == PresetFlag::kOn;
}

}  // namespace

std::span<const ProgramPreset> ProgramPresets() { return kPresets; }

void ApplyProgramPreset(const ProgramPreset& preset, ExportSettings& settings) {
  settings.creator = FourCharacterCode(preset.creator);
  settings.decimal = preset.decimal;
  settings.thousand = preset.thousand;
  settings.between_fields = preset.between_fields;
  settings.around_fields = preset.around_fields;
  Apply(preset.title, settings.include_title);
  Apply(preset.notes, settings.include_notes);
  Apply(preset.column_titles, settings.include_column_titles);
  Apply(preset.header_rows, settings.include_header_rows);
  settings.include_data_rows = true;
  settings.row_terminator = separator::kSystem;
  settings.format = preset.format;
}

}  // namespace jov
