#include "files/kept_sections.h"

#include <string>

#include "files/fields.h"
#include "files/section_input.h"
#include "files/section_output.h"
#include "model/case_tables.h"

namespace jov {
namespace {

// The kept section that a new section of the kind fills; nullptr when the section is refused.
KeptSection* Target(std::vector<KeptSection>& kept, std::string_view argument, KeptNaming naming) {
  switch (naming) {
    case KeptNaming::kNumbered: {
      const std::optional<int> number = FieldInteger(argument);
      if (!number || *number < 1 || *number > kDimensionCount) return nullptr;
      const std::string canonical = std::to_string(*number);
      for (KeptSection& section : kept) {
        if (section.argument == canonical) return &(section = KeptSection{canonical, {}});
      }
      return &kept.emplace_back(KeptSection{canonical, {}});
    }
    case KeptNaming::kNamed:
      for (KeptSection& section : kept) {
        if (EqualsIgnoringCase(section.argument, argument)) {
          section.lines.clear();
          return &section;
        }
      }
      return &kept.emplace_back(KeptSection{std::string(argument), {}});
    case KeptNaming::kAppended:
      if (kept.empty()) kept.emplace_back();
      return &kept.front();
    case KeptNaming::kSingle:
      kept.assign(1, KeptSection{std::string(argument), {}});
      return &kept.front();
  }
  return nullptr;
}

void WriteKept(SectionOutput& output, std::string_view kind, const KeptSection& section,
               std::string_view argument) {
  output.SectionLine(kind, argument);
  for (const std::string& line : section.lines) output.sink().WriteLine(line);
}

}  // namespace

std::vector<KeptSection>& KeptSections::Of(std::string_view kind) {
  auto found = kinds_.find(kind);
  if (found == kinds_.end())
    found = kinds_.emplace(std::string(kind), std::vector<KeptSection>()).first;
  return found->second;
}

std::span<const KeptSection> KeptSections::Of(std::string_view kind) const {
  const auto found = kinds_.find(kind);
  if (found == kinds_.end()) return {};
  return found->second;
}

void ReadKeptSection(SectionInput& input, std::string_view argument, std::string_view kind,
                     KeptNaming naming) {
  KeptSection* section =
      Target(input.database().Attached<KeptSections>().Of(kind), argument, naming);
  if (section == nullptr) return;
  while (input.NextBodyLine()) section->lines.emplace_back(input.line());
}

void WriteKeptSections(SectionOutput& output, std::string_view kind) {
  for (const KeptSection& section : output.database().Attached<KeptSections>().Of(kind)) {
    WriteKept(output, kind, section, section.argument);
  }
}

void WriteKeptDimensionSection(SectionOutput& output, std::string_view kind, int dimension,
                               int number) {
  const std::string wanted = std::to_string(dimension + 1);
  for (const KeptSection& section : output.database().Attached<KeptSections>().Of(kind)) {
    if (section.argument == wanted) WriteKept(output, kind, section, std::to_string(number));
  }
}

void RegisterKeptSection(SectionRegistry& registry, const KeptKind& kind) {
  const std::string name(kind.name);
  SectionHandler handler;
  handler.name = name;
  handler.save_order = kind.save_order;
  handler.condition = kind.condition;
  handler.flag = kind.flag;
  const KeptNaming naming = kind.naming;
  handler.read = [name, naming](SectionInput& input, std::string_view argument) {
    ReadKeptSection(input, argument, name, naming);
  };
  if (kind.written && naming == KeptNaming::kNumbered) {
    handler.write_for_dimension = [name](SectionOutput& output, int dimension, int number) {
      WriteKeptDimensionSection(output, name, dimension, number);
    };
  } else if (kind.written) {
    handler.write = [name](SectionOutput& output) { WriteKeptSections(output, name); };
  }
  registry.Register(std::move(handler));
}

}  // namespace jov
