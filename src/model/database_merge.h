// Merging one database into another: what an import adds to an open database.
#pragma once

#include "model/database.h"

namespace jov {

// Copies the components and cards of `source` into `target`, whose settings (labels, value
// fields, card digits, dimension names and options) stay as they are. Components are found or
// added by code; a card whose identifier is taken in `target` gets the next free number of its
// day. Values past the target's value fields are dropped. Stops between cards when a stop is
// requested.
void MergeInto(Database& target, const Database& source);

}  // namespace jov
