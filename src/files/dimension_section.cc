#include "files/dimension_section.h"

#include <vector>

#include "files/section_input.h"
#include "files/section_output.h"
#include "files/section_registry.h"
#include "model/database.h"

namespace jov {
namespace {

constexpr std::string_view kHeaderKeys = "NCTHSIXW";

constexpr ComponentField kWidthOrder[] = {ComponentField::kCode, ComponentField::kText,
                                          ComponentField::kHost};

// Only lines before the first component line are header lines, so that later component codes
// may start with "-".
bool IsHeaderLine(std::string_view line) {
  return line.size() >= 2 && line[0] == '-' && kHeaderKeys.find(line[1]) != std::string_view::npos;
}

void ReadCaseOption(Dimension& dimension, ComponentField field, std::string_view value) {
  CaseOption option;
  if (!value.empty() && CaseOptionFromLetter(value[0], &option)) {
    dimension.SetCaseOption(field, option);
  }
}

void ReadHeaderLine(Dimension& dimension, const Fields& fields) {
  const std::string_view value = KeyValue(fields, 2);
  switch (fields[0][1]) {
    case 'N':
      dimension.SetSingularName(fields[1]);
      dimension.SetPluralName(fields[2]);
      break;
    case 'C':
      ReadCaseOption(dimension, ComponentField::kCode, value);
      break;
    case 'T':
      ReadCaseOption(dimension, ComponentField::kText, value);
      break;
    case 'H':
      ReadCaseOption(dimension, ComponentField::kHost, value);
      break;
    case 'S': {
      DisplayFields display;
      if (DisplayFieldsFromText(value, &display)) dimension.SetDisplay(display);
      break;
    }
    case 'I':
      if (!value.empty()) dimension.SetOrdering(value[0]);
      break;
    case 'X':
      dimension.SetMustFill(value == "+");
      break;
    case 'W':
      for (size_t i = 0; i < 3; ++i) {
        dimension.SetWidth(kWidthOrder[i], FieldInteger(fields[i + 1]).value_or(0));
      }
      break;
  }
}

void WriteCaseOption(LineSink& sink, char key, CaseOption option, CaseOption default_option) {
  if (option == default_option) return;
  sink.Add('-').Add(key).Tab().Add(CaseOptionLetter(option));
  sink.EndLine();
}

void WriteHeader(LineSink& sink, const Dimension& dimension) {
  if (!dimension.singular_name().empty() || !dimension.plural_name().empty()) {
    sink.Add("-N\t").Text(dimension.singular_name()).Tab().Text(dimension.plural_name());
    sink.EndLine();
  }
  WriteCaseOption(sink, 'C', dimension.case_option(ComponentField::kCode), CaseOption::kUpper);
  WriteCaseOption(sink, 'T', dimension.case_option(ComponentField::kText),
                  CaseOption::kCaseInsensitive);
  WriteCaseOption(sink, 'H', dimension.case_option(ComponentField::kHost),
                  CaseOption::kCaseInsensitive);
  if (dimension.display() != DisplayFields::kCT) {
    sink.Add("-S\t").Add(DisplayFieldsText(dimension.display()));
    sink.EndLine();
  }
  if (dimension.ordering() != 'S') {
    sink.Add("-I\t").Add(dimension.ordering());
    sink.EndLine();
  }
  if (dimension.must_fill()) sink.WriteLine("-X\t+");
  bool any_width = false;
  for (ComponentField field : kWidthOrder) any_width |= dimension.stored_width(field) != 0;
  if (any_width) {
    sink.Add("-W");
    for (ComponentField field : kWidthOrder) sink.Tab().Integer(dimension.stored_width(field));
    sink.EndLine();
  }
}

// Which components of the dimension the save writes, one flag per component number.
std::vector<bool> ChosenComponents(SectionOutput& output, int dimension) {
  const Database& database = output.database();
  const ComponentChoice choice = output.setup().components[dimension];
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  std::vector<bool> chosen(database.components().size(), choice == ComponentChoice::kAll);
  if (choice != ComponentChoice::kUsed && choice != ComponentChoice::kUsedAndAncestors) {
    return chosen;
  }
  const std::vector<bool>& used = output.UsedComponents();
  for (ComponentRef ref = database.NextInPreorder(root); ref != root;
       ref = database.NextInPreorder(ref)) {
    if (!used[ref]) continue;
    chosen[ref] = true;
    if (choice != ComponentChoice::kUsedAndAncestors) continue;
    for (ComponentRef up = database.component(ref).parent; !IsRoot(up) && !chosen[up];
         up = database.component(up).parent) {
      chosen[up] = true;
    }
  }
  return chosen;
}

void WriteComponents(SectionOutput& output, int dimension) {
  const Database& database = output.database();
  LineSink& sink = output.sink();
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  if (output.setup().components[dimension] == ComponentChoice::kNone) return;
  const std::vector<bool> chosen = ChosenComponents(output, dimension);
  for (ComponentRef ref = database.NextInPreorder(root); ref != root;
       ref = database.NextInPreorder(ref)) {
    if (!chosen[ref]) continue;
    const Component& component = database.component(ref);
    sink.Text(component.code).Tab().Text(component.text).Tab().Text(component.host);
    sink.EndLine();
  }
}

}  // namespace

void ReadDimensionSection(SectionInput& input, std::string_view argument) {
  const std::optional<int> number = FieldInteger(argument);
  if (!number || *number < 1 || *number > kDimensionCount) return;
  const int index = *number - 1;
  Database& database = input.database();
  Dimension& dimension = database.dimension(index);
  bool in_header = true;
  while (input.NextBodyLine()) {
    const std::string_view line = input.line();
    const Fields& fields = input.Split();
    if (in_header && IsHeaderLine(line)) {
      ReadHeaderLine(dimension, fields);
      continue;
    }
    in_header = false;
    database.AddComponent(index, fields[0], fields[1], fields[2]);
  }
}

void WriteDimensionSections(SectionOutput& output) {
  const Database& database = output.database();
  for (int number = 1; number <= kDimensionCount; ++number) {
    const int dimension = output.DimensionAt(number);
    if (dimension < 0) continue;
    if (database.IsDimensionUsed(dimension)) {
      output.SectionLine(text_format::kDimension, std::to_string(number));
      WriteHeader(output.sink(), database.dimension(dimension));
      WriteComponents(output, dimension);
    }
    for (const SectionHandler& handler : output.registry().handlers()) {
      if (handler.write_for_dimension) handler.write_for_dimension(output, dimension, number);
    }
  }
}

std::string DimensionSectionText(const Database& database, int dimension) {
  StringByteSink bytes;
  LineSink sink(bytes);
  const SaveSetup every_component;
  const SectionRegistry no_kinds;
  SectionOutput output(database, sink, every_component, no_kinds, WriteOptions());
  output.SectionLine(text_format::kDimension, std::to_string(dimension + 1));
  WriteHeader(sink, database.dimension(dimension));
  WriteComponents(output, dimension);
  sink.Finish();  // a string takes every byte
  return bytes.text();
}

}  // namespace jov
