// ComponentSet: one bit per record of a database's component pool, the value of component
// expressions and the component part of a selection. Sized to the pool; bits past the size are
// always clear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/component.h"

namespace jov {

class ComponentSet {
 public:
  ComponentSet() = default;
  explicit ComponentSet(size_t size, bool all_set = false) { Resize(size, all_set); }

  size_t size() const { return size_; }
  // Grows or shrinks to `size` bits; new bits take `value`.
  void Resize(size_t size, bool value = false);

  bool Test(ComponentRef ref) const {
    return ref < size_ && (words_[ref / kWordBits] >> (ref % kWordBits) & 1) != 0;
  }
  // References at or past size() are ignored.
  void Set(ComponentRef ref, bool value = true);
  void SetAll(bool value);
  size_t Count() const;

  // In place, over the common size (both sets are sized to the same pool in practice).
  ComponentSet& operator|=(const ComponentSet& other);
  ComponentSet& operator&=(const ComponentSet& other);
  ComponentSet& operator^=(const ComponentSet& other);
  ComponentSet& Subtract(const ComponentSet& other);
  void Complement();

  bool operator==(const ComponentSet& other) const = default;

 private:
  static constexpr size_t kWordBits = 64;
  void ClearTail();

  size_t size_ = 0;
  std::vector<uint64_t> words_;
};

}  // namespace jov
