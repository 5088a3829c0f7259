#include "files/section_output.h"

#include "model/database.h"

namespace jov {

SectionOutput::SectionOutput(const Database& database, LineSink& sink, const SaveSetup& setup,
                             const SectionRegistry& registry, const WriteOptions& options)
    : database_(database), sink_(sink), setup_(setup), registry_(registry), options_(options) {
  NumberDimensions();
}

void SectionOutput::SectionLine(std::string_view name, std::string_view argument) {
  sink_.Add(text_format::kSectionStart).Add(name);
  if (!argument.empty()) sink_.Tab().Text(argument);
  sink_.EndLine();
}

// Explicit entries take their numbers first, in dimension order (the first one to ask for a
// number gets it); every other dimension keeps its own number when that is still free, and is
// not saved when a moved dimension took it. The first dimension never moves.
void SectionOutput::NumberDimensions() {
  dimension_at_.fill(-1);
  for (int d = 1; d < kDimensionCount; ++d) {
    const int wanted = setup_.new_numbers[d];
    if (wanted >= 2 && wanted <= kDimensionCount && dimension_at_[wanted - 1] < 0) {
      dimension_at_[wanted - 1] = d;
      number_of_[d] = wanted;
    }
  }
  for (int d = 0; d < kDimensionCount; ++d) {
    if (number_of_[d] == 0 && dimension_at_[d] < 0) {
      dimension_at_[d] = d;
      number_of_[d] = d + 1;
    }
  }
}

const std::vector<bool>& SectionOutput::UsedComponents() {
  if (used_known_) return used_components_;
  used_known_ = true;
  used_components_.assign(database_.components().size(), false);
  const CardStore& cards = database_.cards();
  const int slots = database_.line_layout().slots;
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    if (!SavesCard(options_.filter, database_, card)) continue;
    for (GroupRef group = cards.card(card).first_group; group != kNoRecord;
         group = cards.group(group).next) {
      if (!SavesGroup(options_.filter, database_, card, group)) continue;
      used_components_[cards.group(group).component] = true;
      for (LineRef line = cards.group(group).first_line; line != kNoLine;
           line = cards.lines().next(line)) {
        if (!SavesLine(options_.filter, database_, group, line)) continue;
        for (int slot = 1; slot <= slots; ++slot) {
          used_components_[cards.GetComponent(line, slot)] = true;
        }
      }
    }
  }
  return used_components_;
}

}  // namespace jov
