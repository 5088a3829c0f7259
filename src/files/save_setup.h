// Save setups: named sets of save options (file format, the sections a save writes, which
// components and identifiers each dimension saves, dimension renumbering, the selection that
// limits the cards saved), and the list of them that a database keeps.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/component.h"
#include "model/database.h"

namespace jov {

// The twelve section flags, in the order of their keys SH, SP, SB, SS, SI, ST, SX, SD, SC, SU,
// SM, SG.
enum class SaveSection : int {
  kCharacters,
  kProtection,
  kBaseOptions,
  kSaveSetups,
  kImportSetups,
  kTimeScales,
  kMacros,
  kDimensions,
  kCards,
  kSubsets,
  kAnalysisTemplates,
  kAnalysisDefaults,
};
inline constexpr int kSaveSectionCount = 12;
inline constexpr std::string_view kSaveSectionLetters = "HPBSITXDCUMG";

// Which components a save writes for a dimension.
enum class ComponentChoice : char {
  kAll = 'A',               // every component
  kUsedAndAncestors = 'C',  // those the saved lines use, with their ancestors
  kUsed = 'U',              // those the saved lines use
  kNone = 'N',  // none: cards refer by identifiers alone, a reader creates what it needs
};
inline constexpr std::string_view kComponentChoiceLetters = "ACUN";
inline constexpr std::string_view kIdentifierLetters = "CHT";

struct SaveSetup {
  std::string name;
  char format = 'N';  // N Normal, B Browser, T Text
  bool compressed = true;
  std::array<bool, kSaveSectionCount> sections;
  std::array<ComponentChoice, kDimensionCount> components;
  std::array<IdentifierKind, kDimensionCount> identifiers;
  // The number (1-based) a dimension is saved as; 0 when the entry is not set, kNumberNone when
  // it is set to none. Both keep the dimension's own number. Only dimensions 2..16 move.
  static constexpr int kNumberNone = -1;
  std::array<int, kDimensionCount> new_numbers{};
  // The selection that limits the cards saved, as its stored lines (key letter "B").
  std::vector<std::string> selection_lines;
  bool only_for_templates = false;
  char level = 'C';  // C whole cards, G groups, L lines
  std::string template_filter;
  bool open_templates_only = false;

  SaveSetup();
  bool Saves(SaveSection section) const { return sections[static_cast<int>(section)]; }
};

// The letter of an identifier kind in "CHT", and back (false for any other letter).
char IdentifierLetter(IdentifierKind kind);
bool IdentifierFromLetter(char letter, IdentifierKind* kind);

// The save setups of a database: the named ones, and the one in effect for a plain save, which
// a reader also tells how the file's cards refer to components.
class SaveSetups : public DatabaseAttachment {
 public:
  explicit SaveSetups(Database&) {}

  SaveSetup& in_effect() { return in_effect_; }
  const SaveSetup& in_effect() const { return in_effect_; }
  std::vector<SaveSetup>& named() { return named_; }
  const std::vector<SaveSetup>& named() const { return named_; }

 private:
  SaveSetup in_effect_;
  std::vector<SaveSetup> named_;
};

}  // namespace jov
