#include "model/component_index.h"

#include <new>

#include "model/string_hash.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

constexpr ComponentRef kEmptySlot = 0;
constexpr uint8_t kHostTagOffset = kDimensionCount;

uint32_t Advance(uint32_t slot, uint32_t step, uint32_t size) {
  const uint64_t next = uint64_t{slot} + step;
  return static_cast<uint32_t>(next >= size ? next - size : next);
}

}  // namespace

ComponentIndex::ComponentIndex(const ComponentPool& pool) : pool_(pool) { Presize(kInitialCount); }

bool ComponentIndex::Reallocate(uint32_t size) {
  try {
    std::vector<Slot> slots(size, Slot{kEmptySlot, 0});
    slots_.swap(slots);
  } catch (const std::bad_alloc&) {
    PostOutOfMemory();
    return false;
  }
  size_ = size;
  hasher_ = StringHasher(size);
  threshold_ = HashThreshold(size);
  count_ = 0;
  return true;
}

bool ComponentIndex::Presize(uint64_t count) { return Reallocate(HashTableSize(count)); }

std::string_view ComponentIndex::KeyOf(ComponentRef ref, uint8_t tag) const {
  return tag < kHostTagOffset ? pool_[ref].code : pool_[ref].host;
}

uint32_t ComponentIndex::Check(std::string_view key, uint8_t tag) {
  uint32_t fingerprint = 2166136261u;  // FNV-1a over the folded characters
  for (char c : key) {
    if (c == '\0') break;
    fingerprint = (fingerprint ^ UpperCase(static_cast<unsigned char>(c))) * 16777619u;
  }
  return (uint32_t{tag} << 27) | (fingerprint & 0x07FFFFFF);
}

uint32_t ComponentIndex::Step(std::string_view key, uint8_t tag) const {
  const unsigned char last = key.empty() ? 0 : static_cast<unsigned char>(key.back());
  // A code of dimension 1 that ends in a NUL byte would give the step 0, and a probe that
  // never moves never leaves an occupied slot. Every other step is below the smallest table
  // size, a prime, so each probe sequence visits every slot.
  const uint32_t step = UpperCase(last) + tag;
  return step == 0 ? 1 : step;
}

bool ComponentIndex::InsertEntry(ComponentRef ref, uint8_t tag) {
  const std::string_view key = KeyOf(ref, tag);
  const uint32_t step = Step(key, tag);
  uint32_t slot = hasher_(key);
  do {
    slot = Advance(slot, step, size_);
  } while (slots_[slot].ref != kEmptySlot);
  slots_[slot] = Slot{ref, Check(key, tag)};
  return ++count_ <= threshold_;
}

bool ComponentIndex::InsertAll() {
  for (int dimension = 0; dimension < kDimensionCount; ++dimension) {
    const ComponentRef root = static_cast<ComponentRef>(dimension);
    for (ComponentRef ref = pool_.NextInPreorder(root); ref != root;
         ref = pool_.NextInPreorder(ref)) {
      if (!InsertEntry(ref, static_cast<uint8_t>(dimension))) return false;
      if (!pool_[ref].host.empty() &&
          !InsertEntry(ref, static_cast<uint8_t>(dimension + kHostTagOffset))) {
        return false;
      }
    }
  }
  return true;
}

bool ComponentIndex::RebuildAt(uint32_t size) {
  std::vector<Slot> old_slots = std::move(slots_);  // kept to restore when memory runs out
  const uint32_t old_size = size_, old_count = count_;
  for (;;) {
    if (!Reallocate(size)) {
      slots_.swap(old_slots);
      size_ = old_size;
      count_ = old_count;
      hasher_ = StringHasher(old_size);
      threshold_ = HashThreshold(old_size);
      return false;
    }
    if (InsertAll()) return true;
    size = HashTableSize(uint64_t{size_} * 2);
  }
}

bool ComponentIndex::Rebuild() { return RebuildAt(size_); }

bool ComponentIndex::Insert(ComponentRef ref, int dimension) {
  if (!InsertEntry(ref, static_cast<uint8_t>(dimension)) ||
      (!pool_[ref].host.empty() &&
       !InsertEntry(ref, static_cast<uint8_t>(dimension + kHostTagOffset)))) {
    return RebuildAt(HashTableSize(uint64_t{size_} * 2));
  }
  return true;
}

ComponentRef ComponentIndex::Find(uint8_t tag, std::string_view key, bool exact) const {
  const uint32_t step = Step(key, tag);
  const uint32_t check = Check(key, tag);
  uint32_t slot = hasher_(key);
  for (uint32_t probes = 0; probes < size_; ++probes) {
    slot = Advance(slot, step, size_);
    const ComponentRef ref = slots_[slot].ref;
    if (ref == kEmptySlot) break;
    if (slots_[slot].check != check) continue;
    const std::string_view candidate = KeyOf(ref, tag);
    if (candidate.empty()) continue;
    if (exact ? candidate == key : EqualsIgnoringCase(candidate, key)) return ref;
  }
  return kNoComponent;
}

ComponentRef ComponentIndex::FindCode(int dimension, std::string_view code, bool exact) const {
  return Find(static_cast<uint8_t>(dimension), code, exact);
}

ComponentRef ComponentIndex::FindHost(int dimension, std::string_view host, bool exact) const {
  return Find(static_cast<uint8_t>(dimension + kHostTagOffset), host, exact);
}

}  // namespace jov
