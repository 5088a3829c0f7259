// The "Program" presets of the export settings: choosing a program that the table is meant for
// sets the file's creator code, the separators, some of the included parts and the format the
// way that program reads tables best.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "files/export_settings.h"

namespace jov {

// An include flag that a preset turns on, turns off or leaves as it is.
enum class PresetFlag : uint8_t { kUnchanged, kOn, kOff };

struct ProgramPreset {
  std::string_view program;  // the program's name, the same in every language
  std::string_view creator;  // four characters
  uint8_t decimal, thousand, between_fields, around_fields;
  PresetFlag title, notes, column_titles, header_rows;
  ExportFormat format;
};

// The presets in menu order.
std::span<const ProgramPreset> ProgramPresets();

// Sets the preset's creator, separators, include flags and format; turns data rows on and sets
// the row terminator to the system's own.
void ApplyProgramPreset(const ProgramPreset& preset, ExportSettings& settings);

}  // namespace jov
