#include "files/template_frame.h"

#include <charconv>
#include <span>

#include "files/fields.h"
#include "files/multiline_text.h"

namespace jov {
namespace {

constexpr size_t kMaxSeparatorToken = 8;

// Print lines that are written when their flag differs from the default; "xpt" (flag 1 off)
// comes first. Earlier versions read flag 1 from "xpw", which is still accepted.
struct PrintLine {
  char letter;
  int flag;  // index into PrintOptions::flags
};
constexpr PrintLine kPrintLines[] = {{'t', 0}, {'u', 1}, {'m', 2}, {'n', 3}, {'c', 4},
                                     {'d', 5}, {'a', 6}, {'h', 7}, {'i', 8}};
constexpr char kOldFlagOneLetter = 'w';

// Export lines without a value: the field takes `present` when the line is there.
struct ExportFlagLine {
  char letter;
  bool ExportSettings::*field;
  bool present;
};
constexpr ExportFlagLine kIncludeLines[] = {
    {'t', &ExportSettings::include_title, true},
    {'s', &ExportSettings::include_notes, true},
    {'e', &ExportSettings::include_definition, true},
    {'r', &ExportSettings::include_column_titles, true},
    {'h', &ExportSettings::include_header_rows, false},
    {'a', &ExportSettings::include_data_rows, false},
};
constexpr ExportFlagLine kOptionLines[] = {
    {'k', &ExportSettings::exclude_quotes, true},
    {'l', &ExportSettings::html_column_widths, true},
};

struct SeparatorLine {
  char letter;
  uint8_t ExportSettings::*field;
};
constexpr SeparatorLine kSeparatorLines[] = {
    {'d', &ExportSettings::decimal},        {'m', &ExportSettings::thousand},
    {'f', &ExportSettings::between_fields}, {'q', &ExportSettings::around_fields},
    {'n', &ExportSettings::row_terminator},
};

struct CodeLine {
  char letter;
  std::string ExportSettings::*field;
};
constexpr CodeLine kChartCodeLines[] = {{'p', &ExportSettings::chart_creator},
                                        {'g', &ExportSettings::chart_type}};

int Integer(std::string_view field) { return FieldInteger(field).value_or(0); }

// The rest of the line after the key's tab, untrimmed: notes keep their trailing blanks.
std::string_view RawValue(std::string_view line, size_t key_length) {
  if (line.size() <= key_length || line[key_length] != '\t') return {};
  return line.substr(key_length + 1);
}

bool ReadPrintLine(std::string_view line, const Fields& fields, PrintOptions& print) {
  const char letter = line.size() > 2 ? line[2] : '\0';
  if (letter == 'p') {
    const std::string_view choice = fields[1];
    if (!choice.empty() && PrintOptions::kChoices.find(choice[0]) != std::string_view::npos) {
      print.choice = choice[0];
    }
    return true;
  }
  if (letter == kOldFlagOneLetter) {
    print.flags[0] = false;
    return true;
  }
  for (const PrintLine& entry : kPrintLines) {
    if (entry.letter != letter) continue;
    print.flags[entry.flag] = !PrintOptions().flags[entry.flag];
    return true;
  }
  return false;
}

bool ReadExportLine(std::string_view line, const Fields& fields, ExportSettings& settings) {
  const char letter = line.size() > 2 ? line[2] : '\0';
  for (const std::span<const ExportFlagLine> lines :
       {std::span<const ExportFlagLine>(kIncludeLines),
        std::span<const ExportFlagLine>(kOptionLines)}) {
    for (const ExportFlagLine& entry : lines) {
      if (entry.letter != letter) continue;
      settings.*entry.field = entry.present;
      return true;
    }
  }
  for (const SeparatorLine& entry : kSeparatorLines) {
    if (entry.letter != letter) continue;
    if (const auto value = ReadSeparatorToken(fields[1].substr(0, kMaxSeparatorToken))) {
      settings.*entry.field = *value;
    }
    return true;
  }
  for (const CodeLine& entry : kChartCodeLines) {
    if (entry.letter != letter) continue;
    settings.*entry.field = FourCharacterCode(fields[1]);
    return true;
  }
  switch (letter) {
    case 'c':
      settings.creator = FourCharacterCode(fields[1]);
      return true;
    case 'W':
      settings.chart_width = Integer(fields[1]);
      return true;
    case 'H':
      settings.chart_height = Integer(fields[1]);
      return true;
    case 'w':
      settings.format = ExportFormat::kHtml;
      return true;
    case 'x':
      settings.format = ExportFormat::kXml;
      return true;
    default:
      return false;
  }
}

void WriteFlag(LineSink& out, std::string_view key, bool written) {
  if (written) out.WriteLine(key);
}

void WriteKeyed(LineSink& out, std::string_view key, std::string_view value) {
  out.Add(key).Tab().Text(value).EndLine();
}

void WritePair(LineSink& out, std::string_view key, int first, int second) {
  out.Add(key).Tab().Integer(first).Tab().Integer(second).EndLine();
}

void WriteKeyedInteger(LineSink& out, std::string_view key, int value) {
  if (value != 0) out.Add(key).Tab().Integer(value).EndLine();
}

void WritePrintLines(LineSink& out, const PrintOptions& print) {
  const PrintOptions standard;
  for (const PrintLine& entry : kPrintLines) {
    if (print.flags[entry.flag] == standard.flags[entry.flag]) continue;
    out.Add("xp").Add(entry.letter).EndLine();
  }
  if (print.choice != standard.choice) out.Add("xpp").Tab().Add(print.choice).EndLine();
}

void WriteExportFlags(LineSink& out, std::span<const ExportFlagLine> lines,
                      const ExportSettings& settings) {
  for (const ExportFlagLine& entry : lines) {
    if (settings.*entry.field == entry.present) out.Add("xe").Add(entry.letter).EndLine();
  }
}

void WriteExportLines(LineSink& out, const ExportSettings& settings) {
  const ExportSettings standard;
  for (const CodeLine& entry : kChartCodeLines) {
    if (settings.*entry.field != standard.*entry.field) {
      out.Add("xe").Add(entry.letter).Tab().Text(settings.*entry.field).EndLine();
    }
  }
  WriteKeyedInteger(out, "xeW", settings.chart_width);
  WriteKeyedInteger(out, "xeH", settings.chart_height);
  if (settings.creator != standard.creator) WriteKeyed(out, "xec", settings.creator);
  WriteFlag(out, "xew", settings.format == ExportFormat::kHtml);
  WriteFlag(out, "xex", settings.format == ExportFormat::kXml);
  WriteExportFlags(out, kIncludeLines, settings);
  for (const SeparatorLine& entry : kSeparatorLines) {
    if (settings.*entry.field == standard.*entry.field) continue;
    out.Add("xe").Add(entry.letter).Tab().Add(SeparatorToken(settings.*entry.field)).EndLine();
  }
  WriteExportFlags(out, kOptionLines, settings);
}

}  // namespace

char KindLetter(AnalysisKind kind) {
  switch (kind) {
    case AnalysisKind::kCards:
      return 'C';
    case AnalysisKind::kLines:
      return 'L';
    case AnalysisKind::kComponents:
      return 'P';
    case AnalysisKind::kTimeFunctions:
      return 'T';
    case AnalysisKind::kComponentFunctions:
      return 'R';
    case AnalysisKind::kFurther:
      return 'S';
    case AnalysisKind::kCardWindow:
      return 'K';
  }
  return '?';
}

std::optional<AnalysisKind> KindOfLetter(char letter) {
  for (const AnalysisKind kind : kAnalysisKinds) {
    if (KindLetter(kind) == letter) return kind;
  }
  return std::nullopt;
}

std::string SeparatorToken(uint8_t value) {
  switch (value) {
    case separator::kSystem:
      return "#S";
    case separator::kCrLf:
      return "#F";
    case '#':
      return "##";
    case separator::kPadding:
      return "#B";
    default:
      if (value <= ' ') return "#" + std::to_string(value);
      return std::string(1, static_cast<char>(value));
  }
}

std::optional<uint8_t> ReadSeparatorToken(std::string_view token) {
  if (token.empty()) return std::nullopt;
  if (token.size() < 2 || token[0] != '#') return static_cast<uint8_t>(token[0]);
  switch (token[1]) {
    case '#':
      return '#';
    case 'B':
      return separator::kPadding;
    case 'F':
      return separator::kCrLf;
    case 'S':
      return separator::kSystem;
  }
  unsigned number = 0;
  const auto [end, error] = std::from_chars(token.data() + 1, token.data() + token.size(), number);
  if (error == std::errc::result_out_of_range || number > 255) return std::nullopt;
  if (error != std::errc() || number == 0) return '#';
  return static_cast<uint8_t>(number);
}

bool TemplateFrame::ReadLine(std::string_view line) {
  if (line.starts_with('s')) {
    selection_lines.emplace_back(line);
    return true;
  }
  if (line.size() < 2 || line[0] != 'x') return false;
  Fields fields;
  fields.Split(line);
  switch (line[1]) {
    case 'o':
      open_directly = true;
      return true;
    case 'c':
      calculate_directly = true;
      return true;
    case 'z':
      zoom_directly = true;
      return true;
    case 'P':
      position_x = Integer(fields[1]), position_y = Integer(fields[2]);
      return true;
    case 'S':
      width = Integer(fields[1]), height = Integer(fields[2]);
      return true;
    case 'E':
      kept_number_e = Integer(fields[1]);
      return true;
    case 'M':
      kept_number_m = Integer(fields[1]);
      return true;
    case 'R':
      kept_text_m = fields[1];
      return true;
    case 'L':
      if (line.size() < 3 || (line[2] != 'm' && line[2] != 'w')) return false;
      (line[2] == 'm' ? kept_text_m : kept_text_w) = fields[1];
      return true;
    case 'N':
      DecodeMultiline(RawValue(line, 2), &notes);
      return true;
    case 'p':
      return ReadPrintLine(line, fields, print);
    case 'e':
      return ReadExportLine(line, fields, export_settings);
    default:
      return false;
  }
}

void TemplateFrame::WriteLines(LineSink& out, std::string& scratch) const {
  WriteFlag(out, "xo", open_directly);
  WriteFlag(out, "xc", calculate_directly);
  WriteFlag(out, "xz", zoom_directly);
  if (position_x != 0 || position_y != 0) WritePair(out, "xP", position_x, position_y);
  if (width != 0 || height != 0) WritePair(out, "xS", width, height);
  WriteKeyedInteger(out, "xE", kept_number_e);
  WriteKeyedInteger(out, "xM", kept_number_m);
  for (const std::string& line : selection_lines) out.WriteLine(line);
  if (!kept_text_m.empty()) WriteKeyed(out, "xLm", kept_text_m);
  if (!kept_text_w.empty()) WriteKeyed(out, "xLw", kept_text_w);
  WritePrintLines(out, print);
  WriteExportLines(out, export_settings);
  if (!notes.empty()) {
    out.Add("xN").Tab();
    WriteMultilineField(out, notes, scratch);
  }
}

bool IsFrameLine(std::string_view line) {
  TemplateFrame scratch;
  return scratch.ReadLine(line);
}

}  // namespace jov
