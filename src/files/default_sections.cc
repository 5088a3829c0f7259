// The default registry: the sections of the database model and the analysis templates, read and
// written here, and the kinds of upper layers kept verbatim until their owners register them.
#include "files/base_options_section.h"
#include "files/cards_section.h"
#include "files/character_section.h"
#include "files/dimension_section.h"
#include "files/kept_sections.h"
#include "files/protection_section.h"
#include "files/save_setup_section.h"
#include "files/section_output.h"
#include "files/section_registry.h"
#include "files/templates_section.h"

namespace jov {
namespace {

// Places in the save order.
enum SaveOrder : int {
  kCharactersOrder = 10,
  kProtectionOrder = 20,
  kCreatorOrder = 30,
  kBaseOptionsOrder = 40,
  kSaveSetupOrder = 50,
  kImportSetupOrder = 60,
  kTimeScaleOrder = 70,
  kMacroOrder = 80,
  kDimensionOrder = 90,
  kCardsOrder = 100,
  kSubsetOrder = 110,
  kTemplatesOrder = 120,
  kDefaultsOrder = 130,
  kReadOnlyOrder = 1000,
};

void RegisterModelSection(SectionRegistry& registry, std::string_view name, int order,
                          SaveSection flag, decltype(SectionHandler::read) read,
                          decltype(SectionHandler::write) write) {
  SectionHandler handler;
  handler.name = std::string(name);
  handler.save_order = order;
  handler.flag = flag;
  handler.read = std::move(read);
  handler.write = std::move(write);
  registry.Register(std::move(handler));
}

void RegisterCreator(SectionRegistry& registry) {
  RegisterKeptSection(registry, {.name = text_format::kCreator,
                                 .save_order = kCreatorOrder,
                                 .condition = SaveCondition::kAlways,
                                 .naming = KeptNaming::kSingle});
  SectionHandler creator = *registry.Find(text_format::kCreator);
  creator.write = [](SectionOutput& output) {
    if (output.options().write_creator) WriteKeptSections(output, text_format::kCreator);
  };
  registry.Register(std::move(creator));
}

}  // namespace

SectionRegistry DefaultSectionRegistry() {
  SectionRegistry registry;
  RegisterModelSection(registry, text_format::kCharacters, kCharactersOrder,
                       SaveSection::kCharacters, ReadCharacterSection, WriteCharacterSection);
  RegisterModelSection(registry, text_format::kProtection, kProtectionOrder,
                       SaveSection::kProtection, ReadProtectionSection, WriteProtectionSection);
  RegisterCreator(registry);
  RegisterModelSection(registry, text_format::kBaseOptions, kBaseOptionsOrder,
                       SaveSection::kBaseOptions, ReadBaseOptionsSection, WriteBaseOptionsSection);
  RegisterModelSection(registry, text_format::kSaveSetup, kSaveSetupOrder, SaveSection::kSaveSetups,
                       ReadSaveSetupSection, WriteSaveSetupSections);
  RegisterModelSection(registry, text_format::kDimension, kDimensionOrder, SaveSection::kDimensions,
                       ReadDimensionSection, WriteDimensionSections);
  RegisterModelSection(registry, text_format::kCards, kCardsOrder, SaveSection::kCards,
                       ReadCardsSection, WriteCardsSection);
  // Template bodies of every kind are kept as text until the analyses register their kinds.
  RegisterModelSection(registry, text_format::kTemplates, kTemplatesOrder,
                       SaveSection::kAnalysisTemplates, nullptr, WriteTemplatesSection);
  RegisterModelSection(registry, text_format::kDefaults, kDefaultsOrder,
                       SaveSection::kAnalysisDefaults, nullptr, WriteDefaultsSection);
  UseTemplateKinds(registry, std::make_shared<const TemplateKinds>());

  const KeptKind kept[] = {
      {.name = text_format::kImportSetup,
       .save_order = kImportSetupOrder,
       .flag = SaveSection::kImportSetups},
      {.name = text_format::kTimeScale,
       .save_order = kTimeScaleOrder,
       .flag = SaveSection::kTimeScales},
      {.name = text_format::kMacro, .save_order = kMacroOrder, .flag = SaveSection::kMacros},
      {.name = text_format::kDimImport,
       .save_order = kDimensionOrder,
       .flag = SaveSection::kDimensions,
       .naming = KeptNaming::kNumbered},
      {.name = text_format::kSubset, .save_order = kSubsetOrder, .flag = SaveSection::kSubsets},
      {.name = text_format::kCommands,
       .save_order = kReadOnlyOrder,
       .naming = KeptNaming::kAppended,
       .written = false},
  };
  for (const KeptKind& kind : kept) RegisterKeptSection(registry, kind);
  return registry;
}

}  // namespace jov
