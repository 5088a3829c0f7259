// Sections kept as their lines: the kinds whose owners live in upper layers (import setups, time
// scales, macros, dimension imports, subsets), the command lines of "##Commands" and the
// "##Creator" body. They are read verbatim and written back in their
// place, so that reading and saving a file loses nothing until the owner registers its kind.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/section_registry.h"
#include "model/database.h"

namespace jov {

struct KeptSection {
  std::string argument;  // the field after the section name
  std::vector<std::string> lines;
};

// How sections of one kept kind relate to each other.
enum class KeptNaming {
  kNamed,     // one per name; a section of a name already kept (ignoring case) replaces it
  kNumbered,  // one per dimension number 1..16; another number skips the section line
  kAppended,  // one in all; later sections add their lines
  kSingle,    // one in all; a later section replaces it
};

class KeptSections : public DatabaseAttachment {
 public:
  explicit KeptSections(Database&) {}

  // The kept sections of a kind (by its registered name), in the order read.
  std::vector<KeptSection>& Of(std::string_view kind);
  // For writers: empty for a kind that has none.
  std::span<const KeptSection> Of(std::string_view kind) const;

 private:
  std::map<std::string, std::vector<KeptSection>, std::less<>> kinds_;
};

// Registers `name` as a kept kind. `written`: whether saves write it back (false for read-only
// kinds such as the command lines).
struct KeptKind {
  std::string_view name;
  int save_order = 0;
  SaveCondition condition = SaveCondition::kFlag;
  SaveSection flag = SaveSection::kCharacters;
  KeptNaming naming = KeptNaming::kNamed;
  bool written = true;
};
void RegisterKeptSection(SectionRegistry& registry, const KeptKind& kind);

// Reads one section of a kept kind.
void ReadKeptSection(SectionInput& input, std::string_view argument, std::string_view kind,
                     KeptNaming naming);
// Writes every kept section of the kind.
void WriteKeptSections(SectionOutput& output, std::string_view kind);
// Writes the kept section of a numbered kind that belongs to `dimension`, numbered `number`.
void WriteKeptDimensionSection(SectionOutput& output, std::string_view kind, int dimension,
                               int number);

}  // namespace jov
