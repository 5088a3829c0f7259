#include "files/identifier_cache.h"

namespace jov {
void IdentifierCache::Add(std::string_view text, ComponentRef ref) {
  if (count_ >= kMaxEntries || ref == kNoComponent) return;
  if (2 * (count_ + 1) > slots_.size()) Grow();
  const Key key = KeyOf(text);
  const size_t slot = Slot(key, text);
  Entry& entry = slots_[slot];
  if (entry.ref == kNoComponent) {
    entry.head = key.head;
    entry.length = key.length;
    Extra& extra = extras_[slot];
    extra.tail = key.tail;
    extra.hash = key.hash;
    if (text.size() > kInlineBytes) {
      extra.offset = texts_.size();
      texts_.append(text);
    }
    ++count_;
  }
  entry.ref = ref;
}

void IdentifierCache::Grow() {
  const size_t size = slots_.empty() ? 64 : 2 * slots_.size();
  std::vector<Entry> old(size);
  std::vector<Extra> old_extras(size);
  old.swap(slots_);
  old_extras.swap(extras_);
  const size_t mask = size - 1;
  for (size_t i = 0; i < old.size(); ++i) {
    if (old[i].ref == kNoComponent) continue;
    size_t slot = old_extras[i].hash & mask;
    while (slots_[slot].ref != kNoComponent) slot = (slot + 1) & mask;
    slots_[slot] = old[i];
    extras_[slot] = old_extras[i];
  }
}

void IdentifierCache::Clear() {
  slots_.clear();
  extras_.clear();
  texts_.clear();
  count_ = 0;
}

}  // namespace jov
