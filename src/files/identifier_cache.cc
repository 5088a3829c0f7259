#include "files/identifier_cache.h"

namespace jov {

uint32_t IdentifierCache::Hash(std::string_view text) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash;
}

// The slot holding `text`, or the empty slot where it would go.
size_t IdentifierCache::Slot(std::string_view text, uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const Entry& entry = slots_[slot];
    if (entry.ref == kNoComponent) return slot;
    if (entry.hash == hash && std::string_view(texts_).substr(entry.offset, entry.length) == text) {
      return slot;
    }
  }
}

ComponentRef IdentifierCache::Find(std::string_view text) const {
  if (slots_.empty()) return kNoComponent;
  return slots_[Slot(text, Hash(text))].ref;
}

void IdentifierCache::Add(std::string_view text, ComponentRef ref) {
  if (count_ >= kMaxEntries || ref == kNoComponent) return;
  if (2 * (count_ + 1) > slots_.size()) Grow();
  const uint32_t hash = Hash(text);
  Entry& entry = slots_[Slot(text, hash)];
  if (entry.ref == kNoComponent) {
    entry = {hash, static_cast<uint32_t>(text.size()), texts_.size(), ref};
    texts_.append(text);
    ++count_;
  }
  entry.ref = ref;
}

void IdentifierCache::Grow() {
  std::vector<Entry> old(slots_.empty() ? 64 : 2 * slots_.size());
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Entry& entry : old) {
    if (entry.ref == kNoComponent) continue;
    size_t slot = entry.hash & mask;
    while (slots_[slot].ref != kNoComponent) slot = (slot + 1) & mask;
    slots_[slot] = entry;
  }
}

void IdentifierCache::Clear() {
  slots_.clear();
  texts_.clear();
  count_ = 0;
}

}  // namespace jov
