// Plain text files in the open pipeline: the import setup in force (set for the duration of one
// import, else the database's only setup) reads a file that is no database file into the
// database, as opening or importing it asks.
#pragma once

#include <string>

#include "io/import_setup.h"
#include "model/database.h"

namespace jov {

class SectionRegistry;

// The import setup made current for one import; nullptr when none is.
const ImportSetup* CurrentImportSetup();

// Makes `setup` the current import setup for the object's lifetime, then restores the one
// before. The setup must outlive the object.
class ScopedImportSetup {
 public:
  explicit ScopedImportSetup(const ImportSetup* setup);
  ~ScopedImportSetup();
  ScopedImportSetup(const ScopedImportSetup&) = delete;
  ScopedImportSetup& operator=(const ScopedImportSetup&) = delete;

 private:
  const ImportSetup* outer_;
};

// The setup that reads a plain text file into `database`: the current one, else the only setup
// the database holds; nullptr when there is neither.
const ImportSetup* ImportSetupFor(Database& database);

// Reads the file through ImportSetupFor(database); without a setup reports
// msg::kNeedsImportSetup. True when the file was read to its end.
bool ReadPlainTextFile(Database& database, const std::string& path);

// Makes ReadPlainTextFile the registry's reader of plain text files.
void RegisterPlainTextImport(SectionRegistry& registry);

}  // namespace jov
