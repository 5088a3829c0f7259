#include "files/templates_section.h"

#include <optional>

#include "files/text_format.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

bool AtTemplateHeader(const SectionInput& input) {
  return !input.at_end() && !StopRequested() && input.line().starts_with('#') &&
         !input.line().starts_with(text_format::kSectionStart);
}

// Reads one block, whose header line is current, up to the next line that starts with "#".
void ReadBlock(SectionInput& input, const TemplateKinds& kinds, bool defaults) {
  const Fields& header = input.Split();
  const std::string_view key = header[0];
  const std::optional<AnalysisKind> kind =
      key.size() >= 2 ? KindOfLetter(key[1]) : std::optional<AnalysisKind>();
  const bool kept = kind && (defaults || *kind != AnalysisKind::kCardWindow);
  AnalysisTemplate read;
  if (kept) {
    read.frame.kind = *kind;
    read.frame.name = header[1];
    read.body = kinds.NewBody(*kind, input.database());
    read.body->BeginReading(input.format_date());
  }
  while (input.NextBodyLine("#")) {
    if (!kept) continue;
    const std::string_view line = input.JoinContinued();
    if (!read.body->ReadLine(line)) read.frame.ReadLine(line);
  }
  if (!kept || StopRequested()) return;
  AnalysisTemplates& templates = AnalysisTemplates::Of(input.database());
  if (defaults) {
    templates.SetDefaults(std::move(read));
  } else {
    templates.Store(std::move(read));
  }
}

void ReadBlocks(SectionInput& input, const TemplateKinds& kinds, bool defaults) {
  // Lines before the first header belong to no template.
  while (input.NextBodyLine("#")) {
  }
  while (AtTemplateHeader(input)) ReadBlock(input, kinds, defaults);
}

void WriteBlock(SectionOutput& output, const AnalysisTemplate& written) {
  LineSink& sink = output.sink();
  sink.Add('#').Add(KindLetter(written.frame.kind)).Tab().Text(written.frame.name).EndLine();
  written.frame.WriteLines(sink, output.scratch());
  if (written.body) written.body->WriteLines(output);
}

}  // namespace

void ReadTemplatesSection(SectionInput& input, const TemplateKinds& kinds) {
  ReadBlocks(input, kinds, /*defaults=*/false);
}

void ReadDefaultsSection(SectionInput& input, const TemplateKinds& kinds) {
  ReadBlocks(input, kinds, /*defaults=*/true);
}

void WriteTemplatesSection(SectionOutput& output) {
  const AnalysisTemplates& templates = AnalysisTemplates::Of(output.database());
  if (templates.templates().empty()) return;
  output.SectionLine(text_format::kTemplates);
  for (const AnalysisTemplate& written : templates.templates()) WriteBlock(output, written);
}

void WriteDefaultsSection(SectionOutput& output) {
  const std::vector<const AnalysisTemplate*> all =
      AnalysisTemplates::Of(output.database()).AllDefaults();
  if (all.empty()) return;
  output.SectionLine(text_format::kDefaults);
  for (const AnalysisTemplate* defaults : all) WriteBlock(output, *defaults);
}

void UseTemplateKinds(SectionRegistry& registry, std::shared_ptr<const TemplateKinds> kinds) {
  using Reader = void (*)(SectionInput&, const TemplateKinds&);
  const std::pair<std::string_view, Reader> sections[] = {
      {text_format::kTemplates, &ReadTemplatesSection},
      {text_format::kDefaults, &ReadDefaultsSection}};
  for (const auto& section : sections) {
    const SectionHandler* registered = registry.Find(section.first);
    if (registered == nullptr) continue;
    SectionHandler handler = *registered;
    const Reader read = section.second;
    handler.read = [kinds, read](SectionInput& input, std::string_view) { read(input, *kinds); };
    registry.Register(std::move(handler));
  }
}

}  // namespace jov
