// The frame of an analysis template: what every stored analysis window has, whatever its kind
// (how it opens, where its window stands, its stored named selections, print and export
// settings, notes), with its lines in the "##Templates" and "##Defaults" sections. Every line is
// optional; a line a frame does not know is left to the kind (see analysis_template.h).
//
//   "xo", "xc", "xz"     open, calculate, zoom directly
//   "xP" x y, "xS" w h   fixed position (none when both are 0), window size
//   "xE" n, "xM" n       two numbers kept as read
//   "s..."               stored named selections, kept as their lines
//   "xLm" t, "xLw" t     two texts kept as read ("xR" reads the first too)
//   "xp" letter          print options; "xe" letter: export settings; "xN" notes
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/export_settings.h"
#include "files/line_sink.h"

namespace jov {

// The kinds of analysis windows, by their stored numbers.
enum class AnalysisKind : uint8_t {
  kCards = 1,
  kLines = 2,
  kComponents = 3,
  kTimeFunctions = 4,
  kComponentFunctions = 5,
  kFurther = 6,
  kCardWindow = 10,
};

// Every kind, in order of their numbers.
inline constexpr std::array<AnalysisKind, 7> kAnalysisKinds = {AnalysisKind::kCards,
                                                               AnalysisKind::kLines,
                                                               AnalysisKind::kComponents,
                                                               AnalysisKind::kTimeFunctions,
                                                               AnalysisKind::kComponentFunctions,
                                                               AnalysisKind::kFurther,
                                                               AnalysisKind::kCardWindow};

// The letter of a kind in a template's header line: C, L, P, T, R, S, K.
char KindLetter(AnalysisKind kind);
std::optional<AnalysisKind> KindOfLetter(char letter);

struct PrintOptions {
  static constexpr int kFlagCount = 9;
  static constexpr std::string_view kChoices = "-asp";
  // Flags 1 to 9 at indices 0 to 8.
  std::array<bool, kFlagCount> flags = {true, true, false, false, true, true, true, false, false};
  char choice = 'p';
  bool operator==(const PrintOptions&) const = default;
};

struct TemplateFrame {
  AnalysisKind kind = AnalysisKind::kLines;
  std::string name;
  bool open_directly = false;
  bool calculate_directly = false;
  bool zoom_directly = false;
  // The window's fixed position; 0, 0 when it has none.
  int position_x = 0;
  int position_y = 0;
  // The window's size; 0, 0 when none is stored.
  int width = 0;
  int height = 0;
  // Values of earlier program versions, kept as read.
  int kept_number_e = 0;
  int kept_number_m = 0;
  std::string kept_text_m;
  std::string kept_text_w;
  // The window's stored named selections, as their lines.
  std::vector<std::string> selection_lines;
  PrintOptions print;
  // The copy settings and the table file's type code are not stored.
  ExportSettings export_settings;
  std::string notes;

  // Reads a frame line into the frame; false (and nothing changed) for a line that is not one.
  bool ReadLine(std::string_view line);
  // The frame's lines in their order, each only when it differs from the default; the header
  // line is the caller's. `scratch` is reused for the notes.
  void WriteLines(LineSink& out, std::string& scratch) const;

  bool operator==(const TemplateFrame&) const = default;
};

// True for the lines a frame reads.
bool IsFrameLine(std::string_view line);

// A separator choice as a token of a frame line, and back: 2 (CR LF) "#F", 35 ("#") "##", 160
// (padding) "#B", 0 (the system's) "#S", other values to 32 "#" and the number, any other the
// character itself. A token "#" with no number or with 0 reads as "#"; an empty token or a
// number above 255 as nothing.
std::string SeparatorToken(uint8_t value);
std::optional<uint8_t> ReadSeparatorToken(std::string_view token);

}  // namespace jov
