// The components that card identifiers resolved to during one read, by their exact text. Cards
// repeat the same accounts, customers and projects line after line; a hit here costs one hash
// of the text instead of an index probe with case folding, and never allocates.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/component.h"

namespace jov {

class IdentifierCache {
 public:
  // The component `text` resolved to before, or kNoComponent.
  ComponentRef Find(std::string_view text) const;
  // Remembers the result; past kMaxEntries the cache stops growing and answers what it holds.
  void Add(std::string_view text, ComponentRef ref);
  void Clear();

  static constexpr size_t kMaxEntries = size_t{1} << 20;

 private:
  struct Entry {
    uint32_t hash = 0;
    uint32_t length = 0;
    size_t offset = 0;
    ComponentRef ref = kNoComponent;  // kNoComponent: an empty slot
  };
  static uint32_t Hash(std::string_view text);
  size_t Slot(std::string_view text, uint32_t hash) const;
  void Grow();

  std::vector<Entry> slots_;  // a power of two in size, at most half full
  std::string texts_;
  size_t count_ = 0;
};

}  // namespace jov
