// The components that card identifiers resolved to during one read, by their exact text. Cards
// repeat the same accounts, customers and projects line after line; a hit here costs one hash
// of the text instead of an index probe with case folding, and never allocates.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "model/component.h"

namespace jov {

class IdentifierCache {
 public:
  // The component `text` resolved to before, or kNoComponent.
  ComponentRef Find(std::string_view text) const {
    if (slots_.empty()) return kNoComponent;
    return slots_[Slot(KeyOf(text), text)].ref;
  }
  // Remembers the result; past kMaxEntries the cache stops growing and answers what it holds.
  void Add(std::string_view text, ComponentRef ref);
  void Clear();

  static constexpr size_t kMaxEntries = size_t{1} << 20;

 private:
  static constexpr size_t kInlineBytes = 16;

  // A text's first 16 bytes as two words (texts of 8 to 16 bytes overlap them, shorter ones
  // pad with zeros), which with the length tell identifiers apart without touching the text.
  struct Key {
    uint64_t head = 0;
    uint64_t tail = 0;
    uint32_t length = 0;
    uint32_t hash = 0;
  };
  // The slots that a lookup probes hold what tells texts of up to 8 bytes apart, 16 bytes a
  // slot, so that the table of a dimension of thousands of components stays in the cache while
  // a read streams its records through it; the rest of a key lies beside, in `extras_`.
  struct Entry {
    uint64_t head = 0;
    uint32_t length = 0;
    ComponentRef ref = kNoComponent;  // kNoComponent: an empty slot
  };
  struct Extra {
    uint64_t tail = 0;
    uint32_t hash = 0;
    size_t offset = 0;  // of the whole text in texts_, for texts over 16 bytes
  };

  static uint64_t Load(const char* p, size_t bytes) {
    uint64_t value = 0;
    std::memcpy(&value, p, bytes);
    return value;
  }
  static uint64_t Mix(uint64_t value) {
    value ^= value >> 29;
    value *= 0xBF58476D1CE4E5B9u;
    return value ^ (value >> 32);
  }
  static Key KeyOf(std::string_view text) {
    Key key;
    const char* p = text.data();
    const size_t n = text.size();
    key.length = static_cast<uint32_t>(n);
    if (n >= 8) {
      key.head = Load(p, 8);
      key.tail = Load(p + std::min(n, kInlineBytes) - 8, 8);
    } else if (n >= 4) {
      key.head = Load(p, 4) | Load(p + n - 4, 4) << 32;
    } else {
      for (size_t i = 0; i < n; ++i)
        key.head |= uint64_t{static_cast<unsigned char>(p[i])} << 8 * i;
    }
    uint64_t hash = Mix(key.head ^ Mix(key.tail + n));
    for (size_t i = kInlineBytes; i < n; ++i) {
      hash = (hash ^ static_cast<unsigned char>(p[i])) * 0x100000001B3u;
    }
    key.hash = static_cast<uint32_t>(hash);
    return key;
  }
  // Texts of up to 8 bytes are their head and length; longer ones need the tail too, and past
  // 16 bytes the whole text.
  bool Matches(size_t slot, const Key& key, std::string_view text) const {
    const Entry& entry = slots_[slot];
    if (entry.head != key.head || entry.length != key.length) return false;
    if (key.length <= 8) return true;
    const Extra& extra = extras_[slot];
    return extra.tail == key.tail &&
           (key.length <= kInlineBytes ||
            std::string_view(texts_).substr(extra.offset, text.size()) == text);
  }
  // The slot holding `text`, or the empty slot where it would go.
  size_t Slot(const Key& key, std::string_view text) const {
    const size_t mask = slots_.size() - 1;
    for (size_t slot = key.hash & mask;; slot = (slot + 1) & mask) {
      if (slots_[slot].ref == kNoComponent || Matches(slot, key, text)) return slot;
    }
  }
  void Grow();

  std::vector<Entry> slots_;   // a power of two in size, at most half full
  std::vector<Extra> extras_;  // beside slots_, slot for slot
  std::string texts_;
  size_t count_ = 0;
};

}  // namespace jov
