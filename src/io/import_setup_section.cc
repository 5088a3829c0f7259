#include "io/import_setup_section.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "files/fields.h"
#include "files/file_kind.h"
#include "files/line_sink.h"
#include "files/line_source.h"
#include "files/named_objects.h"
#include "files/section_input.h"
#include "files/section_output.h"
#include "files/section_registry.h"
#include "files/text_format.h"
#include "model/case_tables.h"
#include "platform/text_encoding.h"
#include "shell/number_text.h"

namespace jov {
namespace {

constexpr std::string_view kConversionLetters = "-?ULSW";  // by TextConversion value
constexpr std::string_view kPlacementLetters = "-HN";      // by NewComponentPlacement value
constexpr char kFirstValueLetter = 'A';
constexpr std::string_view kNextDefinition = "-";

// The card field specs in the order they are written, with their keys.
struct CardSpecKey {
  std::string_view key;
  FieldSpec ImportSetup::*spec;
};
constexpr CardSpecKey kCardSpecKeys[] = {
    {"LX", &ImportSetup::card_switcher},  {"LC", &ImportSetup::card_indicator},
    {"LL", &ImportSetup::line_indicator}, {"LI", &ImportSetup::card_date},
    {"LT", &ImportSetup::card_title},     {"LN", &ImportSetup::card_notes},
    {"Lc", &ImportSetup::created},        {"Lm", &ImportSetup::modified},
    {"Le", &ImportSetup::examined},       {"La", &ImportSetup::approved},
};

int Clamped(std::string_view text, int low, int high) {
  return std::clamp(FieldInteger(text).value_or(low), low, high);
}

// A character code 1..255; a negative code has 256 added. Nothing for other values.
std::optional<unsigned char> Code(std::string_view text) {
  std::optional<int> code = FieldInteger(text);
  if (code && *code < 0) *code += 256;
  if (!code || *code < 1 || *code > 255) return std::nullopt;
  return static_cast<unsigned char>(*code);
}

bool ConversionFromLetter(std::string_view text, TextConversion* conversion) {
  if (text.empty()) return false;
  const size_t index = kConversionLetters.find(UpperCase(static_cast<unsigned char>(text[0])));
  if (index == std::string_view::npos || index == 1) return false;
  *conversion = static_cast<TextConversion>(index);
  return true;
}

char ConversionLetter(TextConversion conversion) {
  return kConversionLetters[static_cast<size_t>(conversion)];
}

// The first of the names from "D/M/Y" back to "YYMMDD" that the value begins with.
bool DateFormatFromName(std::string_view value, DateFormat* format) {
  for (int index = kDateFormatCount - 1; index >= 0; --index) {
    const std::string_view name = kDateFormatNames[static_cast<size_t>(index)];
    if (value.size() >= name.size() && EqualsIgnoringCase(value.substr(0, name.size()), name)) {
      *format = static_cast<DateFormat>(index);
      return true;
    }
  }
  return false;
}

// The dimension (0..15) that a key's number after `prefix` names; -1 for none.
int DimensionAfter(std::string_view key, size_t prefix) {
  if (key.size() <= prefix) return -1;
  const std::string_view digits = key.substr(prefix);
  if (digits.find_first_not_of("0123456789") != std::string_view::npos) return -1;
  const int number = FieldInteger(digits).value_or(0);
  return number >= 1 && number <= kDimensionCount ? number - 1 : -1;
}

// Files of the earliest text format write a field spec as field number, first, last and text.
bool IsThreeNumberForm(std::string_view first_item) {
  return !first_item.empty() &&
         (first_item[0] == '-' || (first_item[0] >= '0' && first_item[0] <= '9'));
}

}  // namespace

void SplitBodyItems(std::string_view line, std::vector<std::string_view>& items) {
  items.clear();
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    items.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return;
    start = tab + 1;
  }
}

// Items "F" field, "B" first, "E" last, "T" default text; "+" and the insert character's code
// end a part and start the next.
FieldSpec ReadFieldSpec(std::span<const std::string_view> items) {
  FieldSpec spec;
  if (items.empty()) return spec;
  FieldPart& first = spec.parts.emplace_back();
  if (IsThreeNumberForm(items[0])) {
    first.field = Clamped(items[0], 0, 255);
    if (items.size() > 1) first.first = Clamped(items[1], 0, 1023);
    if (items.size() > 2) first.last = Clamped(items[2], 0, 1023);
    if (items.size() > 3) first.default_text = std::string(items[3]);
  } else {
    for (const std::string_view item : items) {
      if (item.empty()) continue;
      FieldPart& part = spec.parts.back();
      const std::string_view value = item.substr(1);
      switch (item[0]) {
        case 'F':
          part.field = Clamped(value, 0, 255);
          break;
        case 'B':
          part.first = Clamped(value, 0, 1023);
          break;
        case 'E':
          part.last = Clamped(value, 0, 1023);
          break;
        case 'T':
          part.default_text = std::string(value);
          break;
        case '+': {
          const unsigned char code = Code(value).value_or(0);
          part.insert = code >= 32 ? code : 0;
          spec.parts.emplace_back();
          break;
        }
      }
    }
  }
  if (spec.empty()) spec.parts.clear();
  return spec;
}

namespace {

class BodyReader {
 public:
  explicit BodyReader(ImportSetup& setup) : setup_(setup) {}

  // True when the line was read as a setting.
  bool Read(std::string_view line);
  // The same for the keys of the file's layout and characters alone.
  bool ReadLayout(std::string_view line) {
    SplitBodyItems(line, items_);
    return ReadSetupKey(TrimTrailingBlanks(items_[0]));
  }

 private:
  bool ReadSetupKey(std::string_view key);
  bool ReadCardSpec(std::string_view key);
  bool ReadDefinitionKey(std::string_view key);
  void ReadScaleFactors();
  LineDefinition& definition() { return setup_.line_definitions.back(); }
  std::string_view value() const { return items_.size() > 1 ? items_[1] : std::string_view(); }
  std::span<const std::string_view> spec_items() const {
    return std::span<const std::string_view>(items_).subspan(1);
  }

  ImportSetup& setup_;
  std::vector<std::string_view> items_;
};

bool BodyReader::Read(std::string_view line) {
  SplitBodyItems(line, items_);
  const std::string_view key = TrimTrailingBlanks(items_[0]);
  if (key.empty()) return false;
  if (key == kNextDefinition) {
    setup_.line_definitions.emplace_back();
    return true;
  }
  return ReadSetupKey(key) || ReadCardSpec(key) || ReadDefinitionKey(key);
}

// "FX" | "FV" | "A" letter | "PX" | "PI" | ("T" | "S" | "D") tab code | ("RC" | "RL" | "RX")
// tab number | ("CF" | "CT" | "CS") tab text | ("CR" | "CN") tab letter | "M" tab date format.
bool BodyReader::ReadSetupKey(std::string_view key) {
  if (key == "FX" || key == "FV") {
    setup_.layout = key == "FX" ? FieldLayout::kFixed : FieldLayout::kVariable;
  } else if (key.size() == 2 && key[0] == 'A') {
    const size_t index = kCharacterSetLetters.find(key[1]);
    if (index == std::string_view::npos) return false;  // a set this version does not know
    setup_.character_set = static_cast<CharacterSet>(index);
  } else if (key == "PX" || key == "PI") {
    setup_.exclude_control_characters = key == "PX";
  } else if (key == "T" || key == "S" || key == "D") {
    unsigned char& target = key == "T"   ? setup_.row_terminator
                            : key == "S" ? setup_.field_separator
                                         : setup_.decimal_separator;
    target = Code(value()).value_or(target);
  } else if (key == "RC") {
    setup_.rows_per_card = Clamped(value(), 1, ImportSetup::kMaxRowsPerRecord);
  } else if (key == "RL") {
    setup_.rows_per_line = Clamped(value(), 1, ImportSetup::kMaxRowsPerRecord);
  } else if (key == "RX") {
    setup_.rows_to_skip = Clamped(value(), 0, ImportSetup::kMaxRowsToSkip);
  } else if (key == "CF" || key == "CT" || key == "CS") {
    std::string& target = key == "CF"   ? setup_.conversion_from
                          : key == "CT" ? setup_.conversion_to
                                        : setup_.excluded_characters;
    target = std::string(value());
  } else if (key == "CR") {
    ConversionFromLetter(value(), &setup_.title_conversion);
  } else if (key == "CN") {
    ConversionFromLetter(value(), &setup_.notes_conversion);
  } else if (key == "M") {
    DateFormatFromName(value(), &setup_.date_format);
  } else {
    return false;
  }
  return true;
}

bool BodyReader::ReadCardSpec(std::string_view key) {
  for (const CardSpecKey& card : kCardSpecKeys) {
    if (key != card.key) continue;
    setup_.*card.spec = ReadFieldSpec(spec_items());
    return true;
  }
  return false;
}

// "L" dimension number, items | "LZ" items | "LV" value letter, items | "V" factors | "ZK" |
// "ZC" tab letter | "ZF" dimension number tab width | "ZN" dimension number tab letter.
bool BodyReader::ReadDefinitionKey(std::string_view key) {
  LineDefinition& definition = this->definition();
  if (key == "LZ") {
    definition.line_text = ReadFieldSpec(spec_items());
  } else if (key.size() == 3 && key.starts_with("LV")) {
    const int field = key[2] - kFirstValueLetter;
    if (field < 0 || field >= kMaxImportValueFields) return false;
    definition.values[static_cast<size_t>(field)] = ReadFieldSpec(spec_items());
  } else if (key.starts_with("L") && DimensionAfter(key, 1) >= 0) {
    definition.components[static_cast<size_t>(DimensionAfter(key, 1))] =
        ReadFieldSpec(spec_items());
  } else if (key == "V") {
    ReadScaleFactors();
  } else if (key == "ZK") {
    definition.exclude_zero_lines = false;
  } else if (key == "ZC") {
    ConversionFromLetter(value(), &definition.line_text_conversion);
  } else if (key.starts_with("ZF") && DimensionAfter(key, 2) >= 0) {
    const int width = Clamped(value(), 0, 8);
    definition.zero_filling[static_cast<size_t>(DimensionAfter(key, 2))] =
        static_cast<uint8_t>(width < 2 ? 0 : width);
  } else if (key.starts_with("ZN") && DimensionAfter(key, 2) >= 0) {
    const size_t letter =
        value().empty() ? std::string_view::npos : kPlacementLetters.find(value()[0]);
    if (letter == std::string_view::npos) return false;
    definition.placements[static_cast<size_t>(DimensionAfter(key, 2))] =
        static_cast<NewComponentPlacement>(letter);
  } else {
    return false;
  }
  return true;
}

// "V", then a factor after each tab; a missing or unreadable factor is 1.
void BodyReader::ReadScaleFactors() {
  for (size_t i = 0; i < kMaxImportValueFields; ++i) {
    const double factor = i + 1 < items_.size() ? ParseNumber(items_[i + 1]) : NAN;
    definition().scale_factors[i] = std::isnan(factor) ? 1.0 : factor;
  }
}

// --- Writing

}  // namespace

void WriteCount(LineSink& sink, std::string_view key, int count, int usual) {
  if (count == usual) return;
  sink.Add(key).Tab().Integer(count);
  sink.EndLine();
}

void WriteFieldSpec(LineSink& sink, std::string_view key, const FieldSpec& spec) {
  if (spec.empty()) return;
  sink.Add(key);
  for (size_t i = 0; i < spec.parts.size(); ++i) {
    const FieldPart& part = spec.parts[i];
    if (part.field != 0) sink.Tab().Add('F').Integer(part.field);
    if (part.first != 0) sink.Tab().Add('B').Integer(part.first);
    if (part.last != 0) sink.Tab().Add('E').Integer(part.last);
    if (!part.default_text.empty()) sink.Tab().Add('T').Text(part.default_text);
    if (i + 1 < spec.parts.size()) sink.Tab().Add('+').Integer(part.insert);
  }
  sink.EndLine();
}

namespace {

void WriteCode(LineSink& sink, std::string_view key, unsigned char code, unsigned char usual) {
  if (code == usual) return;
  sink.Add(key).Tab().Integer(code);
  sink.EndLine();
}

void WriteText(LineSink& sink, std::string_view key, const std::string& text) {
  if (text.empty()) return;
  sink.Add(key).Tab().Text(text);
  sink.EndLine();
}

void WriteConversion(LineSink& sink, std::string_view key, TextConversion conversion) {
  if (conversion == TextConversion::kNone) return;
  sink.Add(key).Tab().Add(ConversionLetter(conversion));
  sink.EndLine();
}

// Factors in their shortest form that reads back as the same double.
void WriteScaleFactors(LineSink& sink, const LineDefinition& definition) {
  const auto& factors = definition.scale_factors;
  if (std::all_of(factors.begin(), factors.end(), [](double f) { return f == 1.0; })) return;
  sink.Add('V');
  for (const double factor : factors) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, factor).ptr;
    sink.Tab().Add(std::string_view(text, static_cast<size_t>(end - text)));
  }
  sink.EndLine();
}

void WriteLineDefinition(LineSink& sink, const LineDefinition& definition,
                         const DimensionNumbers& numbers) {
  for (int d = 0; d < kDimensionCount; ++d) {
    if (numbers[d] > 0)
      WriteFieldSpec(sink, "L" + std::to_string(numbers[d]), definition.components[d]);
  }
  WriteFieldSpec(sink, "LZ", definition.line_text);
  for (int v = 0; v < kMaxImportValueFields; ++v) {
    const char key[] = {'L', 'V', static_cast<char>(kFirstValueLetter + v)};
    WriteFieldSpec(sink, std::string_view(key, 3), definition.values[static_cast<size_t>(v)]);
  }
  WriteScaleFactors(sink, definition);
  if (!definition.exclude_zero_lines) sink.WriteLine("ZK");
  WriteConversion(sink, "ZC", definition.line_text_conversion);
  for (int d = 0; d < kDimensionCount; ++d) {
    if (definition.zero_filling[d] == 0 || numbers[d] == 0) continue;
    sink.Add("ZF").Integer(numbers[d]).Tab().Integer(definition.zero_filling[d]);
    sink.EndLine();
  }
  for (int d = 0; d < kDimensionCount; ++d) {
    const auto placement = static_cast<size_t>(definition.placements[d]);
    if (placement == 0 || numbers[d] == 0) continue;
    sink.Add("ZN").Integer(numbers[d]).Tab().Add(kPlacementLetters[placement]);
    sink.EndLine();
  }
}

}  // namespace

int ReadImportSetupBody(std::span<const std::string_view> lines, uint32_t format_date,
                        ImportSetup& setup) {
  setup.exclude_control_characters = format_date >= kFirstDateExcludingControls;
  BodyReader reader(setup);
  int settings = 0;
  for (const std::string_view line : lines) {
    if (!line.empty() && line[0] == '#') break;
    if (reader.Read(line)) ++settings;
  }
  return settings;
}

DimensionNumbers OwnDimensionNumbers() {
  DimensionNumbers numbers;
  for (int d = 0; d < kDimensionCount; ++d) numbers[d] = d + 1;
  return numbers;
}

bool ReadImportLayoutLine(std::string_view line, ImportSetup& setup) {
  return BodyReader(setup).ReadLayout(line);
}

void WriteImportLayout(LineSink& sink, const ImportSetup& setup) {
  if (setup.layout == FieldLayout::kFixed) sink.WriteLine("FX");
  sink.Add('A').Add(kCharacterSetLetters[static_cast<size_t>(setup.character_set)]);
  sink.EndLine();
  sink.WriteLine(setup.exclude_control_characters ? "PX" : "PI");
  WriteCode(sink, "T", setup.row_terminator, 13);
  WriteCode(sink, "S", setup.field_separator, 9);
}

void WriteImportCharacters(LineSink& sink, const ImportSetup& setup) {
  WriteText(sink, "CF", setup.conversion_from);
  WriteText(sink, "CT", setup.conversion_to);
  WriteText(sink, "CS", setup.excluded_characters);
}

void WriteImportSetupBody(LineSink& sink, const ImportSetup& setup,
                          const DimensionNumbers& numbers) {
  WriteImportLayout(sink, setup);
  WriteCode(sink, "D", setup.decimal_separator, '.');
  WriteCount(sink, "RC", setup.rows_per_card, 1);
  WriteCount(sink, "RL", setup.rows_per_line, 1);
  WriteCount(sink, "RX", setup.rows_to_skip, 0);
  WriteImportCharacters(sink, setup);
  WriteConversion(sink, "CR", setup.title_conversion);
  WriteConversion(sink, "CN", setup.notes_conversion);
  if (setup.date_format != DateFormat::kYYMMDD) {
    sink.Add("M\t").Add(kDateFormatNames[static_cast<size_t>(setup.date_format)]);
    sink.EndLine();
  }
  for (const CardSpecKey& card : kCardSpecKeys) WriteFieldSpec(sink, card.key, setup.*card.spec);
  for (size_t i = 0; i < setup.line_definitions.size(); ++i) {
    if (i > 0) sink.WriteLine(kNextDefinition);
    WriteLineDefinition(sink, setup.line_definitions[i], numbers);
  }
  sink.EndLine();
}

std::vector<std::string> SetupFileLines(std::string_view bytes) {
  const std::string text = IsUtf8(bytes) ? Cp1252FromUtf8(bytes) : std::string(bytes);
  MemoryByteSource source(text);
  LineSource line_source(source);
  std::vector<std::string> lines;
  for (std::string_view line; line_source.Next(&line);) {
    if (!lines.empty() || !TrimTrailingBlanks(line).empty()) lines.emplace_back(line);
  }
  return lines;
}

std::optional<ImportSetup> ReadImportSetupFile(std::string_view bytes,
                                               std::string_view fallback_name) {
  const std::vector<std::string> lines = SetupFileLines(bytes);
  size_t start = 0;
  ImportSetup setup;
  setup.name = std::string(fallback_name);
  const std::string section_line =
      std::string(text_format::kSectionStart) + std::string(text_format::kImportSetup);
  bool named = false;
  if (start < lines.size() && lines[start].starts_with(section_line)) {
    const size_t tab = lines[start].find('\t');
    const std::string_view name = tab == std::string::npos
                                      ? std::string_view()
                                      : TrimTrailingBlanks(lines[start]).substr(tab + 1);
    if (!name.empty()) setup.name = std::string(name);
    named = true;
    ++start;
  }
  const std::vector<std::string_view> body(lines.begin() + static_cast<long>(start), lines.end());
  if (ReadImportSetupBody(body, kOwnFormatDate, setup) == 0 && !named) return std::nullopt;
  return setup;
}

void RegisterImportSetupSection(SectionRegistry& registry) {
  SectionHandler handler =
      OwnedSectionHandler(registry, text_format::kImportSetup, SaveSection::kImportSetups);
  handler.read = [](SectionInput& input, std::string_view argument) {
    const std::string name = SectionObjectName(argument, ImportSetup::kDefaultName);
    std::vector<std::string> lines;
    while (input.NextBodyLine("#")) lines.emplace_back(input.line());
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    ImportSetup& setup = ReplaceOrAddNamed(ImportSetups::Of(input.database()).named(), name);
    ReadImportSetupBody(views, input.format_date(), setup);
  };
  handler.write = [](SectionOutput& output) {
    DimensionNumbers numbers;
    for (int d = 0; d < kDimensionCount; ++d) numbers[d] = output.NumberOf(d);
    for (const ImportSetup& setup : ImportSetups::Of(output.database()).named()) {
      output.SectionLine(text_format::kImportSetup, setup.name);
      WriteImportSetupBody(output.sink(), setup, numbers);
    }
  };
  registry.Register(std::move(handler));
}

}  // namespace jov
