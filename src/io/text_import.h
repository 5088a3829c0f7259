// Text import: a file exported by another system is read row by row through an import setup and
// becomes cards with their lines. Card rows start cards, line rows carry one line per line
// definition; unknown host codes become new components; values that cannot be read become zero
// with a command error. An import that is stopped keeps the cards it has made.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "io/import_setup.h"
#include "io/row_reader.h"
#include "model/database.h"

namespace jov {

enum class ImportOutcome {
  kDone,     // the file was read to its end
  kStopped,  // StopRequested ended the import; what was made stays
  kFailed,   // the file could not be opened or read, or is a database file (reported)
};

struct ImportResult {
  ImportOutcome outcome = ImportOutcome::kFailed;
  uint64_t cards = 0;  // cards made and kept
  uint64_t lines = 0;
  uint64_t rows = 0;  // rows read, skipped ones included
};

// Imports the file at `path` into `database`. A database file is refused
// (msg::kDatabaseFileNotImported), a file that cannot be opened (msg::kUnableToOpen) or read
// (msg::kErrorReading) fails. The database is marked modified when anything came in, and its
// listeners hear of new components and cards when the import ends.
ImportResult ImportTextFile(Database& database, const std::string& path, const ImportSetup& setup);

// Imports rows from `input`; `name` names the source in messages.
ImportResult ImportText(Database& database, ImportInput& input, std::string_view name,
                        const ImportSetup& setup);

}  // namespace jov
