#include "select/component_set.h"

#include <algorithm>
#include <bit>

namespace jov {

void ComponentSet::Resize(size_t size, bool value) {
  if (value && size > size_) {
    // Fill the rest of the last word first, then the new words.
    if (size_ % kWordBits != 0) words_.back() |= ~uint64_t{0} << (size_ % kWordBits);
  }
  words_.resize((size + kWordBits - 1) / kWordBits, value ? ~uint64_t{0} : 0);
  size_ = size;
  ClearTail();
}

void ComponentSet::Set(ComponentRef ref, bool value) {
  if (ref >= size_) return;
  const uint64_t bit = uint64_t{1} << (ref % kWordBits);
  if (value) {
    words_[ref / kWordBits] |= bit;
  } else {
    words_[ref / kWordBits] &= ~bit;
  }
}

void ComponentSet::SetAll(bool value) {
  std::fill(words_.begin(), words_.end(), value ? ~uint64_t{0} : 0);
  ClearTail();
}

size_t ComponentSet::Count() const {
  size_t count = 0;
  for (uint64_t word : words_) count += static_cast<size_t>(std::popcount(word));
  return count;
}

ComponentSet& ComponentSet::operator|=(const ComponentSet& other) {
  const size_t n = std::min(words_.size(), other.words_.size());
  for (size_t i = 0; i < n; ++i) words_[i] |= other.words_[i];
  ClearTail();
  return *this;
}

ComponentSet& ComponentSet::operator&=(const ComponentSet& other) {
  const size_t n = std::min(words_.size(), other.words_.size());
  for (size_t i = 0; i < n; ++i) words_[i] &= other.words_[i];
  std::fill(words_.begin() + static_cast<std::ptrdiff_t>(n), words_.end(), 0);
  return *this;
}

ComponentSet& ComponentSet::operator^=(const ComponentSet& other) {
  const size_t n = std::min(words_.size(), other.words_.size());
  for (size_t i = 0; i < n; ++i) words_[i] ^= other.words_[i];
  ClearTail();
  return *this;
}

ComponentSet& ComponentSet::Subtract(const ComponentSet& other) {
  const size_t n = std::min(words_.size(), other.words_.size());
  for (size_t i = 0; i < n; ++i) words_[i] &= ~other.words_[i];
  return *this;
}

void ComponentSet::Complement() {
  for (uint64_t& word : words_) word = ~word;
  ClearTail();
}

void ComponentSet::ClearTail() {
  if (size_ % kWordBits != 0) words_.back() &= ~(~uint64_t{0} << (size_ % kWordBits));
}

}  // namespace jov
