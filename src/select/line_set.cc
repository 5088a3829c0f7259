#include "select/line_set.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "shell/pending_error.h"

namespace jov {

bool LineSet::Reset(size_t size) {
  if (WordCount(size) > WordCount(capacity_)) {
    std::unique_ptr<uint64_t[]> words(new (std::nothrow) uint64_t[WordCount(size)]);
    if (!words) {
      Free();
      PostOutOfMemory();
      return false;
    }
    words_ = std::move(words);
    capacity_ = WordCount(size) * 64;
  }
  size_ = size;
  ClearAll();
  return true;
}

void LineSet::Free() {
  words_.reset();
  size_ = capacity_ = 0;
}

void LineSet::CopyFrom(const LineSet& other) {
  if (!Reset(other.size_)) return;
  if (size_ > 0) std::memcpy(words_.get(), other.words_.get(), WordCount(size_) * 8);
}

void LineSet::SetAll() {
  if (size_ == 0) return;
  std::fill_n(words_.get(), WordCount(size_), ~uint64_t{0});
  ClearTail();
}

void LineSet::ClearAll() {
  if (size_ > 0) std::fill_n(words_.get(), WordCount(size_), uint64_t{0});
}

bool LineSet::Any() const {
  return std::any_of(words_.get(), words_.get() + WordCount(size_),
                     [](uint64_t word) { return word != 0; });
}

size_t LineSet::Count() const {
  size_t count = 0;
  for (size_t i = 0; i < WordCount(size_); ++i)
    count += static_cast<size_t>(std::popcount(words_[i]));
  return count;
}

// Combines word by word; words that `other` lacks count as clear.
template <typename Combine>
static void CombineWords(uint64_t* words, size_t count, const LineSet& other, Combine combine) {
  const size_t common = std::min(count, (other.size() + 63) / 64);
  const uint64_t* theirs = other.words();
  for (size_t i = 0; i < common; ++i) words[i] = combine(words[i], theirs[i]);
  for (size_t i = common; i < count; ++i) words[i] = combine(words[i], uint64_t{0});
}

LineSet& LineSet::operator|=(const LineSet& other) {
  CombineWords(words_.get(), WordCount(size_), other, [](uint64_t a, uint64_t b) { return a | b; });
  ClearTail();
  return *this;
}

LineSet& LineSet::operator&=(const LineSet& other) {
  CombineWords(words_.get(), WordCount(size_), other, [](uint64_t a, uint64_t b) { return a & b; });
  return *this;
}

LineSet& LineSet::operator^=(const LineSet& other) {
  CombineWords(words_.get(), WordCount(size_), other, [](uint64_t a, uint64_t b) { return a ^ b; });
  ClearTail();
  return *this;
}

LineSet& LineSet::Subtract(const LineSet& other) {
  CombineWords(words_.get(), WordCount(size_), other,
               [](uint64_t a, uint64_t b) { return a & ~b; });
  return *this;
}

void LineSet::Complement() {
  for (size_t i = 0; i < WordCount(size_); ++i) words_[i] = ~words_[i];
  ClearTail();
}

bool LineSet::operator==(const LineSet& other) const {
  return size_ == other.size_ &&
         std::equal(words_.get(), words_.get() + WordCount(size_), other.words_.get());
}

void LineSet::ClearTail() {
  if (size_ % 64 != 0) words_[size_ / 64] &= ~(~uint64_t{0} << (size_ % 64));
}

}  // namespace jov
