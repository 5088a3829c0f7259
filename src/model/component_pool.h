// The component pool: fixed records addressed by number, the 16 dimension roots first, freed
// records on a free list that is used before the pool grows, and the tree links between them.
#pragma once

#include <cstddef>
#include <vector>

#include "model/component.h"
#include "platform/check.h"

namespace jov {

class ComponentPool {
 public:
  ComponentPool();

  // A cleared record (from the free list, else a new one), or kNoComponent when memory runs
  // out (the pending out-of-memory error is then posted).
  ComponentRef Allocate();
  // Clears the record and puts it on the free list; it must be live, not a root, and unlinked
  // from the tree.
  void Free(ComponentRef ref);

  Component& operator[](ComponentRef ref) {
    JOV_DCHECK(ref < records_.size(), "a component number past the end of the pool");
    return records_[ref];
  }
  const Component& operator[](ComponentRef ref) const {
    JOV_DCHECK(ref < records_.size(), "a component number past the end of the pool");
    return records_[ref];
  }

  // Records ever allocated, free ones included: what decides the width of line slots.
  size_t size() const { return records_.size(); }
  bool IsLive(ComponentRef ref) const;
  size_t BytesAllocated() const { return records_.capacity() * sizeof(Component); }

  void AppendChild(ComponentRef parent, ComponentRef child);
  void Unlink(ComponentRef ref);

  // The dimension index of a live component (found through its root).
  int DimensionOf(ComponentRef ref) const;
  ComponentRef LastChild(ComponentRef ref) const;

  // The next component in pre-order: the first child, else the next sibling, else the next
  // sibling of the nearest ancestor that has one; the walk ends at the root, which is returned.
  // `depth_change`, when given, receives the change of level (+1 into a child, 0 to a sibling,
  // negative when climbing).
  ComponentRef NextInPreorder(ComponentRef ref, int* depth_change = nullptr) const;
  // True when `ancestor` is `ref` itself or one of its parents.
  bool IsDescendant(ComponentRef ancestor, ComponentRef ref) const;
  // Number of parents up to the root (the root is level 0).
  int Level(ComponentRef ref) const;

 private:
  std::vector<Component> records_;
  ComponentRef free_head_ = kNoComponent;
};

}  // namespace jov
