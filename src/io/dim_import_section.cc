#include "io/dim_import_section.h"

#include <string>
#include <vector>

#include "files/fields.h"
#include "files/line_sink.h"
#include "files/section_input.h"
#include "files/section_output.h"
#include "files/section_registry.h"
#include "files/text_format.h"
#include "io/import_setup_section.h"

namespace jov {
namespace {

// The field specs in the order they are written, with their keys.
struct SpecKey {
  std::string_view key;
  FieldSpec DimImport::*spec;
};
constexpr SpecKey kSpecKeys[] = {
    {"LC", &DimImport::code},
    {"LT", &DimImport::text},
    {"LH", &DimImport::host},
    {"LP", &DimImport::level_or_parent},
};

// A number within low..high; nothing for any other text.
std::optional<int> InRange(std::string_view text, int low, int high) {
  const std::optional<int> number = FieldInteger(text);
  if (!number || *number < low || *number > high) return std::nullopt;
  return number;
}

// The index of a key's letter after `prefix` in `letters`: "MC" is method 'C'.
std::optional<int> LetterAfter(std::string_view key, char prefix, std::string_view letters) {
  if (key.size() != 2 || key[0] != prefix) return std::nullopt;
  const size_t index = letters.find(key[1]);
  if (index == std::string_view::npos) return std::nullopt;
  return static_cast<int>(index);
}

// "RP" tab level | "RF" tab width | "M" letter | "N" letter | ("LC" | "LT" | "LH" | "LP") items.
bool ReadOwnKey(const std::vector<std::string_view>& items, DimImport& setup) {
  const std::string_view key = TrimTrailingBlanks(items[0]);
  const std::string_view value = items.size() > 1 ? items[1] : std::string_view();
  if (key == "RP") {
    if (auto level = InRange(value, 0, DimImport::kMaxCreateParentsLevel)) {
      setup.create_parents_level = *level;
    }
    return true;
  }
  if (key == "RF") {
    if (auto width = InRange(value, DimImport::kMinZeroFilling, DimImport::kMaxZeroFilling)) {
      setup.zero_filling = *width;
    }
    return true;
  }
  if (auto method = LetterAfter(key, 'M', kHierarchyLetters)) {
    setup.method = static_cast<HierarchyMethod>(*method);
    return true;
  }
  if (auto search = LetterAfter(key, 'N', kParentSearchLetters)) {
    setup.search = static_cast<ParentSearch>(*search);
    return true;
  }
  for (const SpecKey& spec : kSpecKeys) {
    if (key != spec.key) continue;
    setup.*spec.spec = ReadFieldSpec(std::span<const std::string_view>(items).subspan(1));
    return true;
  }
  return false;
}

}  // namespace

int ReadDimImportBody(std::span<const std::string_view> lines, DimImport& setup) {
  std::vector<std::string_view> items;
  int settings = 0;
  for (const std::string_view line : lines) {
    if (!line.empty() && line[0] == '#') break;
    SplitBodyItems(line, items);
    if (ReadOwnKey(items, setup) || ReadImportLayoutLine(line, setup.file)) ++settings;
  }
  return settings;
}

void WriteDimImportBody(LineSink& sink, const DimImport& setup) {
  WriteImportLayout(sink, setup.file);
  WriteCount(sink, "RX", setup.file.rows_to_skip, 0);
  WriteCount(sink, "RP", setup.create_parents_level, 0);
  WriteCount(sink, "RF", setup.zero_filling, 0);
  WriteImportCharacters(sink, setup.file);
  sink.Add('M').Add(kHierarchyLetters[static_cast<size_t>(setup.method)]);
  sink.EndLine();
  sink.Add('N').Add(kParentSearchLetters[static_cast<size_t>(setup.search)]);
  sink.EndLine();
  for (const SpecKey& spec : kSpecKeys) WriteFieldSpec(sink, spec.key, setup.*spec.spec);
  sink.EndLine();
}

std::optional<DimImport> ReadDimImportFile(std::string_view bytes) {
  const std::vector<std::string> lines = SetupFileLines(bytes);
  // The section line is not part of the body.
  const std::string section_line =
      std::string(text_format::kSectionStart) + std::string(text_format::kDimImport);
  const size_t start = !lines.empty() && lines.front().starts_with(section_line) ? 1 : 0;
  const std::vector<std::string_view> body(lines.begin() + static_cast<long>(start), lines.end());
  DimImport setup;
  if (ReadDimImportBody(body, setup) == 0) return std::nullopt;
  return setup;
}

void RegisterDimImportSection(SectionRegistry& registry) {
  SectionHandler handler =
      OwnedSectionHandler(registry, text_format::kDimImport, SaveSection::kDimensions);
  handler.read = [](SectionInput& input, std::string_view argument) {
    std::vector<std::string> lines;
    while (input.NextBodyLine("#")) lines.emplace_back(input.line());
    const std::optional<int> number = FieldInteger(argument);
    if (!number || *number < 1 || *number > kDimensionCount) return;
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    DimImport setup;
    ReadDimImportBody(views, setup);
    DimImports::Of(input.database()).of(*number - 1) = std::move(setup);
  };
  handler.write_for_dimension = [](SectionOutput& output, int dimension, int number) {
    const std::optional<DimImport>& setup = DimImports::Of(output.database()).of(dimension);
    if (!setup) return;
    output.SectionLine(text_format::kDimImport, std::to_string(number));
    WriteDimImportBody(output.sink(), *setup);
  };
  registry.Register(std::move(handler));
}

}  // namespace jov
