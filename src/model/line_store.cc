#include "model/line_store.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "shell/pending_error.h"

namespace jov {
namespace {

constexpr size_t kValueOffset = LineLayout::kHeaderBytes;
// The number field of a freed record.
constexpr uint32_t kFreeMark = 0xFFFFFFFF;

void WriteSlot(unsigned char* p, int width, uint32_t value) {
  for (int i = width - 1; i >= 0; --i) {
    p[i] = static_cast<unsigned char>(value);
    value >>= 8;
  }
}

std::unique_ptr<unsigned char[]> NewChunk(size_t record_size) {
  return std::unique_ptr<unsigned char[]>(
      new (std::nothrow) unsigned char[record_size << LineStore::kChunkBits]);
}

}  // namespace

void LineStore::Write32(LineRef line, size_t offset, uint32_t value) {
  std::memcpy(Record(line) + offset, &value, sizeof value);
}

double LineStore::value(LineRef line, int field) const {
  JOV_DCHECK(field >= 0 && field < layout_.values, "a value field past the line layout");
  double value;
  std::memcpy(&value, Record(line) + kValueOffset + 8 * static_cast<size_t>(field), sizeof value);
  return value;
}

void LineStore::set_value(LineRef line, int field, double value) {
  JOV_DCHECK(field >= 0 && field < layout_.values, "a value field past the line layout");
  std::memcpy(Record(line) + kValueOffset + 8 * static_cast<size_t>(field), &value, sizeof value);
}

void LineStore::set_slot(LineRef line, int slot, ComponentRef component) {
  JOV_DCHECK(slot >= 1 && slot <= layout_.slots, "a slot past the line layout");
  unsigned char* p =
      Record(line) + layout_.SlotOffset() + static_cast<size_t>(slot - 1) * layout_.slot_width;
  WriteSlot(p, layout_.slot_width, component);
}

namespace {

// Slots 1..count of kWidth bytes from `at`: the given components, then the roots.
template <int kWidth>
void WriteSlots(unsigned char* at, size_t count, std::span<const ComponentRef> slots) {
  for (size_t k = 1; k <= count; ++k, at += kWidth) {
    uint32_t value = k <= slots.size() ? slots[k - 1] : static_cast<uint32_t>(k);
    for (int i = kWidth - 1; i >= 0; --i, value >>= 8) at[i] = static_cast<unsigned char>(value);
  }
}

}  // namespace

void LineStore::InitRecord(unsigned char* record, LineRef line, std::span<const double> values,
                           std::span<const ComponentRef> slots) const {
  const uint32_t header[3] = {line, kNoLine, 0};  // number, next line, no text
  std::memcpy(record, header, sizeof header);
  // A value at a time: a few fixed copies cost less than a library call of a variable length.
  const size_t value_count = std::min(values.size(), static_cast<size_t>(layout_.values));
  unsigned char* value_bytes = record + kValueOffset;
  for (size_t i = 0; i < value_count; ++i, value_bytes += 8) {
    std::memcpy(value_bytes, &values[i], 8);
  }
  for (size_t i = value_count; i < static_cast<size_t>(layout_.values); ++i, value_bytes += 8) {
    std::memset(value_bytes, 0, 8);
  }
  unsigned char* const slot_bytes = record + layout_.SlotOffset();
  const size_t count = static_cast<size_t>(layout_.slots);
  switch (layout_.slot_width) {
    case 2:
      WriteSlots<2>(slot_bytes, count, slots);
      break;
    case 3:
      WriteSlots<3>(slot_bytes, count, slots);
      break;
    default:
      WriteSlots<4>(slot_bytes, count, slots);
      break;
  }
  // The pad byte too, so that records compare and copy as bytes.
  if (record_size_ & 1) record[record_size_ - 1] = 0;
}

LineRef LineStore::NewRecord() {
  if (free_head_ != kNoLine) {
    const LineRef line = free_head_;
    free_head_ = next(line);
    --free_count_;
    return line;
  }
  if (size_ >= kNoLine) {
    PostOutOfMemory();
    return kNoLine;
  }
  const LineRef line = static_cast<LineRef>(size_);
  if ((line >> kChunkBits) >= chunks_.size()) {
    std::unique_ptr<unsigned char[]> chunk = NewChunk(record_size_);
    if (!chunk) {
      PostOutOfMemory();
      return kNoLine;
    }
    chunks_.push_back(std::move(chunk));
  }
  ++size_;
  return line;
}

LineRef LineStore::Allocate(std::span<const double> values, std::span<const ComponentRef> slots) {
  const LineRef line = NewRecord();
  if (line != kNoLine) InitRecord(Record(line), line, values, slots);
  return line;
}

void LineStore::Free(LineRef line) {
  JOV_DCHECK(IsLive(line), "a line freed twice, or never allocated");
  Write32(line, 0, kFreeMark);
  set_next(line, free_head_);
  free_head_ = line;
  ++free_count_;
}

bool LineStore::IsLive(LineRef line) const { return line < size_ && Read32(line, 0) == line; }

size_t LineStore::BytesAllocated() const {
  return chunks_.size() * (record_size_ << kChunkBits) + chunks_.capacity() * sizeof(chunks_[0]);
}

bool LineStore::Relayout(const LineLayout& layout) {
  if (layout == layout_) return true;
  const size_t new_size = layout.RecordSize();
  std::vector<std::unique_ptr<unsigned char[]>> chunks(chunks_.size());
  for (auto& chunk : chunks) {
    chunk = NewChunk(new_size);
    if (!chunk) {
      PostOutOfMemory();
      return false;
    }
  }
  const int kept_values = std::min(layout.values, layout_.values);
  const int kept_slots = std::min(layout.slots, layout_.slots);
  for (size_t i = 0; i < size_; ++i) {
    const unsigned char* from = Record(static_cast<LineRef>(i));
    unsigned char* to = chunks[i >> kChunkBits].get() + (i & kChunkMask) * new_size;
    std::memset(to, 0, new_size);
    std::memcpy(to, from, kValueOffset + 8 * static_cast<size_t>(kept_values));
    const unsigned char* old_slots = from + layout_.SlotOffset();
    unsigned char* new_slots = to + layout.SlotOffset();
    for (int k = 1; k <= layout.slots; ++k) {
      const uint32_t component =
          k <= kept_slots ? DecodeSlot(old_slots + static_cast<size_t>(k - 1) * layout_.slot_width,
                                       layout_.slot_width)
                          : static_cast<uint32_t>(k);
      WriteSlot(new_slots + static_cast<size_t>(k - 1) * layout.slot_width, layout.slot_width,
                component);
    }
  }
  chunks_.swap(chunks);
  layout_ = layout;
  record_size_ = new_size;
  return true;
}

}  // namespace jov
