// The registry of section kinds: for each "##" name, the handler that reads a section's body and
// the one that writes the kind's sections, with the kind's place in the save order and the save
// setup flag it is saved under. The database model's sections are registered by this folder;
// upper layers register their own kinds (or replace the kept-verbatim stand-ins) without
// touching the reader. The text import, which reads files that are no database files, registers
// here too.
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

class Database;
class SectionInput;
class SectionOutput;

// Reads a plain text file (one that is no database file) into a database through the import
// setup in force; true when the file was read to its end. Refusals are reported by the reader.
using PlainTextReader = std::function<bool(Database& database, const std::string& path)>;

// Reads the bytes of an SIE file (one with "#SIETYP" near its start) into a database; false when
// the read was stopped before the end.
using SieReader = std::function<bool(Database& database, std::string_view bytes)>;

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

  // The reader of plain text files; without one they are refused as no database files.
  void SetPlainTextReader(PlainTextReader reader) { plain_text_ = std::move(reader); }
  const PlainTextReader& plain_text_reader() const { return plain_text_; }
  // The reader of SIE files; without one they are refused as no database files.
  void SetSieReader(SieReader reader) { sie_ = std::move(reader); }
  const SieReader& sie_reader() const { return sie_; }

 private:
  std::vector<SectionHandler> handlers_;
  SaveFilterFactory save_filter_;
  PlainTextReader plain_text_;
  SieReader sie_;
};

// What a progress display shows while sections of this name are read or written (msg::kSection...,
// "Save Setups" ... "Commands"); kNoMessage for the kinds it does not name.
MessageId SectionProgressText(std::string_view name);

// The handler of a kind whose owner takes it over from the kept-verbatim stand-in (keeping its
// place in the save order), named `name` and saved under `flag`; the owner adds read and write.
SectionHandler OwnedSectionHandler(const SectionRegistry& registry, std::string_view name,
                                   SaveSection flag);

// A registry with every kind of the section stream: the model's own sections, and stand-ins
// that keep the sections of kinds owned by upper layers verbatim until those register theirs.
SectionRegistry DefaultSectionRegistry();

}  // namespace jov
