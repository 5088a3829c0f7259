// Opening and saving database files: recognising the file, the questions before a read (a copy
// of an open file, a later format version, the password), reading binary or text files into a
// new database or into an open one (import), saving as binary or text through a save setup
// with every save atomic, the templates file, and the modified-on-disk check. The read pipeline
// is in database_read.cc, the save pipeline in database_save.cc.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "files/file_kind.h"
#include "files/password.h"
#include "files/save_setup.h"
#include "files/section_registry.h"
#include "model/open_databases.h"

namespace jov {

enum class DatabaseFormat { kBinary, kText, kOther };

// What the database was last read from or saved to, kept with it.
struct DatabaseFileState : DatabaseAttachment {
  explicit DatabaseFileState(Database&) {}
  DatabaseFormat format = DatabaseFormat::kOther;
  bool compressed = true;
  std::optional<int64_t> modification_time;  // when it was read or saved
  bool check_allowed = true;                 // off while the database saves itself
  // The last read reported data it could not take (ReadResult::lost_data): saving the
  // database over its file would lose that data for good.
  bool read_lost_data = false;
  // The file being read into the database at this moment, or whose start-up actions run; empty
  // otherwise. Commands run meanwhile resolve their file names against its folder.
  std::string reading_path;
};

// True while `path` is being read by an open or import in progress (a script in the file's
// "##Commands" section importing the same file again).
bool IsBeingRead(const std::string& path);

struct ReadOptions {
  // Supplied by a command or the caller; the prompt is asked when the file expects one and
  // none is supplied.
  std::optional<std::string> password;
  // Read into an open database: its components and cards grow, its settings stay.
  bool import = false;
  // The start-up actions of a database opened for a user (macros run at opening, subsets
  // calculated, templates opened), run after a successful read that is not an import and
  // before the modified flag is cleared.
  std::function<void(Database&)> startup;
};

// ".jox" names a text database, anything else a binary one.
DatabaseFormat FormatForFileName(const std::string& path);

// Reads a database file into `database`. Refusals, damage and the errors collected by the
// section reader are reported as alerts after the read; false when the read failed (a cancelled
// question fails quietly). An import leaves the open database as it was when the file cannot
// be read. A plain text file is read by the registry's plain text reader when it has one: the
// text import, which needs no password and leaves the database without a file name.
bool ReadDatabaseFile(Database& database, const std::string& path, const ReadOptions& options,
                      PasswordPrompt* prompt, const SectionRegistry& registry);

// Opens a file as a new database of the list; nothing when the read failed (no database is
// left behind) or when the file is open already and the user keeps the open one
// (msg::kAlreadyOpen, then that database is returned).
Database* OpenDatabaseFile(OpenDatabases& open, const std::string& path, const ReadOptions& options,
                           PasswordPrompt* prompt, const SectionRegistry& registry);

// Saves as `format` with `setup`. A text save of a protected database asks for its password
// first (and whether it may appear in the file); a binary save is keyed by the password when
// the setup saves the Protection section. Every save is atomic: on failure (reported,
// msg::kErrorWriting) the old file is untouched. With `adopt` the database takes the file name and
// format and is no longer modified.
bool SaveDatabaseFile(Database& database, const std::string& path, DatabaseFormat format,
                      const SaveSetup& setup, const SectionRegistry& registry,
                      PasswordPrompt* prompt, bool adopt = true);

// The progress total of a save: 72 bytes per card, 40 per line, 32 per component, and the
// texts the database holds.
int64_t EstimatedSaveBytes(const Database& database);

// Save with the database's own setup, to its own file.
bool SaveDatabase(Database& database, const SectionRegistry& registry, PasswordPrompt* prompt);

// "Templates.jov" in the database's folder: only the character table, subsets, analysis
// templates and defaults.
bool SaveTemplatesFile(Database& database, const SectionRegistry& registry);

// True when the database's file changed on disk since it was read or saved (and the check is
// allowed); the caller asks whether to read it again.
bool ModifiedOnDisk(const Database& database);

// Shared by the read and save pipelines.
// The database takes the file as its own: its name, format and compression, and the file's
// modification time; it is no longer modified.
void AdoptFile(Database& database, const std::string& path, DatabaseFormat format, bool compressed);
// The bytes of a file (at most `limit` of them when given); nothing when it cannot be read,
// reported as msg::kNotRegularFile, msg::kUnableToOpen or the pending out-of-memory error.
std::optional<std::string> ReadFileBytes(const std::string& path, std::optional<size_t> limit);
// Reports `message` about a file (its name as @0) with an OK button.
void ReportAboutFile(MessageId message, const std::string& file);

}  // namespace jov
