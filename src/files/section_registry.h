// The registry of section kinds: for each "##" name, the handler that reads a section's body and
// the one that writes the kind's sections, with the kind's place in the save order and the save
// setup flag it is saved under. The database model's sections are registered by this folder;
// upper layers register their own kinds (or replace the kept-verbatim stand-ins) without
// touching the reader.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/save_filter.h"
#include "files/save_setup.h"
#include "shell/messages.h"

namespace jov {

class SectionInput;
class SectionOutput;

// When a kind's sections are written.
enum class SaveCondition {
  kFlag,    // when the save setup's flag is on
  kAlways,  // in every save
};

struct SectionHandler {
  // The name after "##", compared ignoring case.
  std::string name;
  // Kinds are written in increasing order.
  int save_order = 0;
  SaveCondition condition = SaveCondition::kFlag;
  SaveSection flag = SaveSection::kCharacters;
  // Reads one section whose line is current; `argument` is the field after the name. Reads the
  // body and returns with the line after it current (the next section line, or the end).
  std::function<void(SectionInput& input, std::string_view argument)> read;
  // Writes every section of the kind; empty for kinds that are read only.
  std::function<void(SectionOutput& output)> write;
  // For kinds that belong to a dimension: writes the dimension's section, numbered `number`,
  // right after the "##Dimension" section it belongs to.
  std::function<void(SectionOutput& output, int dimension, int number)> write_for_dimension;
};

// Builds the filter that a save setup's selection asks for; null when the setup saves every
// card. The selection layer registers it.
using SaveFilterFactory =
    std::function<std::unique_ptr<SaveFilter>(Database& database, const SaveSetup& setup)>;

class SectionRegistry {
 public:
  // Adds the kind, or replaces the handler registered under the same name.
  void Register(SectionHandler handler);
  const SectionHandler* Find(std::string_view name) const;
  // The kinds in save order.
  const std::vector<SectionHandler>& handlers() const { return handlers_; }

  void SetSaveFilterFactory(SaveFilterFactory factory) { save_filter_ = std::move(factory); }
  // The setup's filter; null without a registered factory (every card is saved).
  std::unique_ptr<SaveFilter> MakeSaveFilter(Database& database, const SaveSetup& setup) const {
    return save_filter_ ? save_filter_(database, setup) : nullptr;
  }

 private:
  std::vector<SectionHandler> handlers_;
  SaveFilterFactory save_filter_;
};

// What a progress display shows while sections of this name are read or written (msg::kSection...,
// "Save Setups" ... "Commands"); kNoMessage for the kinds it does not name.
MessageId SectionProgressText(std::string_view name);

// A registry with every kind of the section stream: the model's own sections, and stand-ins
// that keep the sections of kinds owned by upper layers verbatim until those register theirs.
SectionRegistry DefaultSectionRegistry();

}  // namespace jov
