// Dimension import: a dimension's components (JOV-Code, Text, Host Code and their hierarchy) read
// from a text file, such as a chart of accounts exported by another system, through the
// dimension's import setup. The rows land in an edit copy of the dimension, which is checked for
// codes and host codes defined twice and then written in one step.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/fixed_table.h"
#include "io/import_setup.h"
#include "io/row_reader.h"
#include "model/database.h"
#include "model/dimension_edit.h"

namespace jov {

// How a row's place in the tree is found; stored as the letters "CILP".
enum class HierarchyMethod : uint8_t {
  kCodePath = 0,      // the parent is the component whose code is the longest leading part
  kIndented = 1,      // the level is the number of blanks in front of the code
  kLevelNumbers = 2,  // the level is read from a field
  kParentLinks = 3,   // a field names the parent
};
inline constexpr std::string_view kHierarchyLetters = "CILP";

// What the parent field of Parent Links holds; stored as the letters "CTH".
enum class ParentSearch : uint8_t { kCode = 0, kText = 1, kHost = 2 };
inline constexpr std::string_view kParentSearchLetters = "CTH";

struct DimImport {
  static constexpr int kMaxCreateParentsLevel = 6;
  static constexpr int kMinZeroFilling = 2;
  static constexpr int kMaxZeroFilling = 8;
  // The deepest level a row may name: levels 0..62 are kept, -1 standing for the top.
  static constexpr int kLevels = 63;

  // The file: layout, character set, delimiters, rows to skip and character conversions as an
  // import setup has them (its card and line settings are not used).
  ImportSetup file;
  HierarchyMethod method = HierarchyMethod::kCodePath;
  ParentSearch search = ParentSearch::kCode;  // Parent Links only
  // JOV-Code Path: parents are created for the leading parts of a code up to this many
  // characters; 0 for none.
  int create_parents_level = 0;
  // Host codes are filled with leading zeros to this width; 0 for none.
  int zero_filling = 0;
  FieldSpec code;
  FieldSpec text;
  FieldSpec host;
  FieldSpec level_or_parent;  // the Level Number field, or the Parent field

  bool operator==(const DimImport&) const = default;
};

// A setup for a dimension that has none: rows ending at LF or CR LF, tab-separated JOV-Code,
// Text, Host Code and the level or parent in the first four fields.
DimImport DefaultDimImport();

// The import setups of a database's dimensions; a dimension has at most one.
class DimImports : public DatabaseAttachment {
 public:
  explicit DimImports(Database&) {}
  static DimImports& Of(Database& database) { return database.Attached<DimImports>(); }
  static const DimImports& Of(const Database& database) { return database.Attached<DimImports>(); }

  std::optional<DimImport>& of(int dimension) { return setups_[dimension]; }
  const std::optional<DimImport>& of(int dimension) const { return setups_[dimension]; }

 private:
  std::array<std::optional<DimImport>, kDimensionCount> setups_;
};

// Reads the rows of `input` into `edit`. Rows with an empty code, a code already there, a level
// out of range or an unknown parent are skipped without a message. Ends at the end of the
// input, at StopRequested, or once `max_rows` rows (the skipped leading ones included) are read.
// Returns the number of rows read.
uint64_t ImportDimensionRows(DimensionEdit& edit, ImportInput& input, const DimImport& setup,
                             uint64_t max_rows = UINT64_MAX);

enum class DimImportOutcome {
  kDone,       // read to the end and written
  kStopped,    // StopRequested ended the reading; nothing written
  kDuplicate,  // a code or host code is defined twice (reported); nothing written
  kFailed,     // the file could not be opened or read, or is a database file (reported)
};

struct DimImportResult {
  DimImportOutcome outcome = DimImportOutcome::kFailed;
  int added = 0;  // components written (rows added, when only read into a copy)
  uint64_t rows = 0;
};

// Reads the file at `path` into `edit` through `setup`, after the rows the copy already has;
// nothing is written into the database. A database file is refused with the pending error
// msg::kDatabaseFileNotImported; a file that cannot be opened or read is reported (kFailed).
// kStopped keeps the rows read before StopRequested in the copy. `added` counts the new rows.
DimImportResult ReadDimensionFile(DimensionEdit& edit, const std::string& path,
                                  const DimImport& setup);

// Imports the file at `path` into the dimension and writes the new components into the
// database. A database file is refused with the pending error msg::kDatabaseFileNotImported. A
// code or host code defined twice is reported (msg::kCodeDefinedTwice, kHostDefinedTwice with
// the code) and nothing is written.
DimImportResult ImportDimensionFile(Database& database, int dimension, const std::string& path,
                                    const DimImport& setup);

// The preview of a dimension import: the components that the first `max_rows` rows of `input`
// would add to the dimension, in the order the import makes them, with their JOV-Code, Text,
// Host Code and the parent's JOV-Code. Read into a copy of the dimension: the database is not
// changed.
FixedTable PreviewDimImport(Database& database, int dimension, ImportInput& input,
                            const DimImport& setup, int max_rows);

}  // namespace jov
