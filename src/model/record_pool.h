// A pool of fixed records addressed by number, in chunks so that growth never moves a record and
// never holds twice the memory. Freed records are chained through their `next` field and reused
// before the pool grows. Used for days, cards and groups. A live record's `number` is its own
// number, a free one's kNoRecord; the debug checks hold callers to that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "platform/check.h"
#include "shell/pending_error.h"

namespace jov {

constexpr uint32_t kNoRecord = 0xFFFFFFFF;

// T has the fields `number` and `next` (uint32_t) and is default-constructible.
template <typename T>
class RecordPool {
 public:
  static constexpr int kChunkBits = 12;

  // A default record, or kNoRecord (with the pending out-of-memory error) when memory runs out.
  uint32_t Allocate() {
    uint32_t ref;
    if (free_head_ != kNoRecord) {
      ref = free_head_;
      free_head_ = (*this)[ref].next;
      --free_count_;
    } else {
      if (size_ >= kNoRecord - 1 || !EnsureChunk(size_)) {
        PostOutOfMemory();
        return kNoRecord;
      }
      ref = static_cast<uint32_t>(size_++);
    }
    T& record = (*this)[ref];
    record = T();
    record.number = ref;
    return ref;
  }

  // The record must be live: freeing it twice would put it on the free list twice.
  void Free(uint32_t ref) {
    JOV_DCHECK(IsLive(ref), "a record freed twice, or never allocated");
    T& record = (*this)[ref];
    record = T();
    record.number = kNoRecord;
    record.next = free_head_;
    free_head_ = ref;
    ++free_count_;
  }

  T& operator[](uint32_t ref) {
    JOV_DCHECK(ref < size_, "a record number past the end of its pool");
    return chunks_[ref >> kChunkBits][ref & kChunkMask];
  }
  const T& operator[](uint32_t ref) const {
    JOV_DCHECK(ref < size_, "a record number past the end of its pool");
    return chunks_[ref >> kChunkBits][ref & kChunkMask];
  }
  // Allocated and not freed since.
  bool IsLive(uint32_t ref) const { return ref < size_ && (*this)[ref].number == ref; }

  size_t size() const { return size_; }
  size_t live_count() const { return size_ - free_count_; }
  size_t BytesAllocated() const {
    return chunks_.size() * (sizeof(T) << kChunkBits) + chunks_.capacity() * sizeof(chunks_[0]);
  }

 private:
  static constexpr uint32_t kChunkMask = (1u << kChunkBits) - 1;

  bool EnsureChunk(size_t ref) {
    if ((ref >> kChunkBits) < chunks_.size()) return true;
    std::unique_ptr<T[]> chunk(new (std::nothrow) T[size_t{1} << kChunkBits]);
    if (!chunk) return false;
    try {
      chunks_.push_back(std::move(chunk));
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  std::vector<std::unique_ptr<T[]>> chunks_;
  size_t size_ = 0;
  size_t free_count_ = 0;
  uint32_t free_head_ = kNoRecord;
};

}  // namespace jov
