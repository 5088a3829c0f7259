// The component index: one open-addressing hash table per database that holds every component
// under its JOV-Code (tag = dimension index) and, when it has one, under its Host Code
// (tag = dimension index + 16). It grows by rebuilding from the component trees.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/case_tables.h"
#include "model/component_pool.h"
#include "model/string_hash.h"

namespace jov {

// Keeps a reference to the pool whose components it indexes (the database owns both, and the
// pool outlives the index). Keys are read from the pool's records at every probe and hashed
// case-folded: an entered component's code or host may change in letter case alone; any other
// change needs a Rebuild.
class ComponentIndex {
 public:
  static constexpr uint32_t kInitialCount = 2000;

  explicit ComponentIndex(const ComponentPool& pool);

  // Empties the table and sizes it for `count` entries (used before reading a file).
  bool Presize(uint64_t count);

  // Adds the code entry, and the host entry when the component has a host code. False (with
  // the pending out-of-memory error posted, the table as it was) when growing failed.
  bool Insert(ComponentRef ref, int dimension);

  // Rebuilds from the trees of all dimensions in pre-order; false when memory ran out.
  bool Rebuild();
  // Rebuilds with room for `count` entries (before a file fills the database).
  bool RebuildFor(uint64_t count) { return RebuildAt(HashTableSize(count)); }

  // `exact`: compare as the dimension's case option S demands, else ignoring case.
  ComponentRef FindCode(int dimension, std::string_view code, bool exact) const;
  ComponentRef FindHost(int dimension, std::string_view host, bool exact) const;

  uint32_t size() const { return size_; }
  uint32_t count() const { return count_; }
  size_t BytesAllocated() const { return slots_.capacity() * sizeof(Slot); }

 private:
  bool InsertEntry(ComponentRef ref, uint8_t tag);
  // Rebuilds at `size`, growing further while the entries do not fit.
  bool RebuildAt(uint32_t size);
  bool Reallocate(uint32_t size);
  bool InsertAll();
  ComponentRef Find(uint8_t tag, std::string_view key, bool exact) const;
  std::string_view KeyOf(ComponentRef ref, uint8_t tag) const;
  uint32_t Step(std::string_view key, uint8_t tag) const;

  const ComponentPool& pool_;
  StringHasher hasher_{1};
  uint32_t size_ = 0;
  uint32_t count_ = 0;
  uint32_t threshold_ = 0;
  // Each slot holds the component (0 = empty: roots are never entered) and a check word: the tag
  // in the top 5 bits and a fingerprint of the case-folded key below, so that a probe touches
  // the component record only when the key very likely matches. Slots, probe order and results
  // are those of a plain table of components and tags.
  struct Slot {
    ComponentRef ref;
    uint32_t check;
  };
  static uint32_t Check(std::string_view key, uint8_t tag);

  std::vector<Slot> slots_;
};

}  // namespace jov
