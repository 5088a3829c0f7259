// Line records: fixed-size records in chunked storage, so that adding lines never moves them
// (only a layout change does). A record holds its number, the next line of its group, a line-text
// handle, V values (IEEE doubles) and S component slots of W bytes, big-endian, plus a pad byte
// when the total is odd.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "model/component.h"
#include "platform/check.h"

namespace jov {

using LineRef = uint32_t;
constexpr LineRef kNoLine = 0xFFFFFFFF;

struct LineLayout {
  static constexpr size_t kHeaderBytes = 12;  // number, next line, text handle
  int values = 1;                             // V: 1..24
  int slots = 1;       // S: 1..15; slot k holds the component of dimension index k
  int slot_width = 2;  // W: 2, 3 or 4 bytes

  size_t RecordSize() const {
    const size_t bytes = kHeaderBytes + 8 * static_cast<size_t>(values) +
                         static_cast<size_t>(slots) * static_cast<size_t>(slot_width);
    return bytes + (bytes & 1);
  }
  size_t SlotOffset() const { return kHeaderBytes + 8 * static_cast<size_t>(values); }
  bool operator==(const LineLayout&) const = default;
};

class LineStore {
 public:
  static constexpr int kChunkBits = 16;  // records per chunk: 65,536

  LineStore() = default;
  LineStore(const LineStore&) = delete;
  LineStore& operator=(const LineStore&) = delete;

  const LineLayout& layout() const { return layout_; }

  // A record with values 0, no text, every slot the root of its dimension; kNoLine (with the
  // pending out-of-memory error posted) when memory runs out.
  LineRef Allocate() { return Allocate({}, {}); }
  // The same record written once with the first values and slots given (a reader's bulk add);
  // values and slots past the layout's counts are ignored.
  LineRef Allocate(std::span<const double> values, std::span<const ComponentRef> slots);
  // The line must be live: freeing it twice would put it on the free list twice.
  void Free(LineRef line);
  // Allocated and not freed since.
  bool IsLive(LineRef line) const;

  LineRef next(LineRef line) const { return Read32(line, 4); }
  void set_next(LineRef line, LineRef next) { Write32(line, 4, next); }
  uint32_t text(LineRef line) const { return Read32(line, 8); }
  void set_text(LineRef line, uint32_t handle) { Write32(line, 8, handle); }
  double value(LineRef line, int field) const;
  void set_value(LineRef line, int field, double value);
  // slot 1..S. Inline, with next() and text(): scans of every line call them per line.
  ComponentRef slot(LineRef line, int slot) const {
    JOV_DCHECK(slot >= 1 && slot <= layout_.slots, "a slot past the line layout");
    return DecodeSlot(Record(line) + layout_.SlotOffset() +
                          static_cast<size_t>(slot - 1) * static_cast<size_t>(layout_.slot_width),
                      layout_.slot_width);
  }
  // The component a slot of `width` bytes at `p` holds (big-endian).
  static uint32_t DecodeSlot(const unsigned char* p, int width) {
    uint32_t value = 0;
    for (int i = 0; i < width; ++i) value = (value << 8) | p[i];
    return value;
  }
  void set_slot(LineRef line, int slot, ComponentRef component);

  // The bytes of a line's record, for loops that decode many records themselves (the scan of a
  // selection); valid until the next layout change (ChangeCode::kLinesMoving). Such loops may also
  // address records as chunk_data(line >> kChunkBits) + (line & kChunkMask) * record_size().
  const unsigned char* RecordBytes(LineRef line) const { return Record(line); }
  size_t record_size() const { return record_size_; }
  size_t chunk_count() const { return chunks_.size(); }
  const unsigned char* chunk_data(size_t chunk) const { return chunks_[chunk].get(); }
  static constexpr uint32_t kChunkMask = (1u << kChunkBits) - 1;

  // Records ever allocated (free ones included) and the bytes the chunks hold.
  size_t size() const { return size_; }
  size_t live_count() const { return size_ - free_count_; }
  size_t BytesAllocated() const;

  // Rewrites every record for `layout`: values kept up to the smaller count (new ones 0),
  // slots kept up to the smaller count and re-encoded for the new width (new ones the root of
  // their dimension). False, changing nothing, when memory runs out.
  bool Relayout(const LineLayout& layout);

 private:
  unsigned char* Record(LineRef line) const {
    JOV_DCHECK(line < size_, "a line number past the end of the line store");
    return chunks_[line >> kChunkBits].get() + (line & kChunkMask) * record_size_;
  }
  uint32_t Read32(LineRef line, size_t offset) const {
    uint32_t value;
    std::memcpy(&value, Record(line) + offset, sizeof value);
    return value;
  }
  void Write32(LineRef line, size_t offset, uint32_t value);
  void InitRecord(unsigned char* record, LineRef line, std::span<const double> values,
                  std::span<const ComponentRef> slots) const;
  LineRef NewRecord();

  LineLayout layout_;
  size_t record_size_ = LineLayout().RecordSize();
  std::vector<std::unique_ptr<unsigned char[]>> chunks_;
  size_t size_ = 0;
  size_t free_count_ = 0;
  LineRef free_head_ = kNoLine;
};

}  // namespace jov
