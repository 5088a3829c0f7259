// Which components are in use and may therefore not be removed: those that groups and lines
// refer to, and those that objects above the model name (the expressions of subsets'
// selections), which register a marker with the database.
#pragma once

#include <vector>

#include "model/database.h"

namespace jov {

class ComponentUseMarker {
 public:
  virtual ~ComponentUseMarker() = default;
  // Sets the flag of every component the object names; `marks` has one flag per component of
  // the pool.
  virtual void MarkNamedComponents(std::vector<bool>& marks) const = 0;
};

// The markers of a database. A marker is registered by its owner, which lives as long as the
// database.
struct ComponentUseMarkers : DatabaseAttachment {
  explicit ComponentUseMarkers(Database&) {}
  std::vector<const ComponentUseMarker*> markers;
};

// One flag per component of the pool: set for the components in use.
std::vector<bool> ComponentsInUse(const Database& database);

}  // namespace jov
