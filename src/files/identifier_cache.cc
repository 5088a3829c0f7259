#include "files/identifier_cache.h"

namespace jov {
void IdentifierCache::Add(std::string_view text, ComponentRef ref) {
  if (count_ >= kMaxEntries || ref == kNoComponent) return;
  if (2 * (count_ + 1) > slots_.size()) Grow();
  const Key key = KeyOf(text);
  Entry& entry = slots_[Slot(key, text)];
  if (entry.ref == kNoComponent) {
    entry.key = key;
    if (text.size() > kInlineBytes) {
      entry.offset = texts_.size();
      texts_.append(text);
    }
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
    size_t slot = entry.key.hash & mask;
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
