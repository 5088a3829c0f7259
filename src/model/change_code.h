// The change codes a database broadcasts to the windows and analyses bound to it, and the
// listener interface through which they arrive.
#pragma once

#include <cstddef>

namespace jov {

class Database;

enum class ChangeCode : int {
  kFileName = 2,
  kSaved = 5,           // after every save that wrote its file, to the database's file or another
  kFileFormat = 6,      // the file format the database was read from or saved in changed
  kComponents = 10,     // argument: dimension
  kDimensionUsed = 11,  // arguments: dimension, new state (1 used, 0 not)
  kSingularName = 13,   // argument: dimension
  kPluralName = 14,     // argument: dimension
  kDisplay = 15,        // what analyses display for a dimension; argument: dimension
  kCodeCase = 16,       // argument: dimension
  kTextCase = 17,       // argument: dimension
  kHostCase = 18,       // argument: dimension
  kDisplayOption = 19,  // argument: dimension
  kMustFill = 20,       // argument: dimension
  kOrdering = 21,       // argument: dimension
  kWidths = 22,         // argument: dimension
  kCards = 25,
  kCardDigits = 26,
  kValueDecimals = 27,
  kSlotCount = 28,
  kValueFieldCount = 29,  // argument: new minus old count
  kCardTitleLabel = 30,
  kLineTextLabel = 31,
  kValueFieldName = 32,  // argument: field index (0-based)
  kReferencePoint = 33,
  kLinesMoving = 34,  // pointers into line records must be dropped
  kLinesMoved = 35,   // they may be rebuilt
  // The database's time scales; argument: the scale's position in the database's list (for a
  // removal, the position it had).
  kTimeScaleAdded = 40,
  kTimeScaleRenamed = 41,
  kTimeScaleChanged = 42,  // its entries were replaced
  kTimeScaleRemoved = 43,
  // The database's subsets; argument: the subset's position in the database's list (for a
  // removal, the position it had). "Changed" is a new calculated result.
  kSubsetAdded = 44,
  kSubsetRenamed = 45,
  kSubsetChanged = 46,
  kSubsetRemoved = 47,
  // The database's import setups or dimension import setups were stored or removed.
  kImportSetups = 48,
  // A macro was added or its content replaced.
  kMacroAdded = 49,
  // Macros were deleted.
  kMacroRemoved = 50,
};

class DatabaseListener {
 public:
  virtual ~DatabaseListener() = default;
  virtual void OnDatabaseChange(Database& database, ChangeCode code, int argument,
                                int argument2) = 0;
  // The memory the window or analysis holds for itself (rows, results, caches), which the
  // information report sums as the memory in use; 0 for one that holds nothing to speak of.
  virtual size_t MemoryBytes() const { return 0; }
};

}  // namespace jov
