#include "model/text_store.h"

#include <algorithm>
#include <new>

#include "shell/pending_error.h"

namespace jov {

TextStore::TextStore() = default;

size_t TextStore::BytesAllocated() const {
  size_t bytes = block_bytes_ + blocks_.capacity() * sizeof(blocks_[0]);
  for (const auto& [span, handles] : free_) bytes += handles.capacity() * sizeof(TextHandle);
  return bytes;
}

bool TextStore::NewBlock(size_t bytes) {
  if (blocks_.size() >= kMaxBlocks) return false;
  std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[bytes]);
  if (!block) return false;
  try {
    blocks_.push_back(std::move(block));
  } catch (const std::bad_alloc&) {
    return false;
  }
  block_bytes_ += bytes;
  capacity_ = bytes;
  // Block 0 starts at offset 1: handle 0 is no text.
  used_ = blocks_.size() == 1 ? 1 : 0;
  return true;
}

TextHandle TextStore::Reserve(size_t span) {
  if (free_count_ > 0) {
    const auto room = free_.find(static_cast<uint32_t>(span));
    if (room != free_.end() && !room->second.empty()) {
      const TextHandle handle = room->second.back();
      room->second.pop_back();
      --free_count_;
      return handle;
    }
  }
  // Blocks grow from kFirstBlockBytes to kBlockBytes, so that a small database holds little.
  // A text must start within the first kBlockBytes of its block; a longer one gets a block of
  // its own size.
  if (blocks_.empty() || used_ + span > capacity_) {
    const size_t block =
        std::min(kFirstBlockBytes << std::min<size_t>(blocks_.size(), 8), kBlockBytes);
    if (!NewBlock(std::max(span + 1, block))) return kNoText;
  }
  const TextHandle handle =
      static_cast<TextHandle>((blocks_.size() - 1) << kOffsetBits | static_cast<uint32_t>(used_));
  used_ += span;
  return handle;
}

void TextStore::Write(TextHandle handle, std::string_view text) {
  unsigned char* at = At(handle);
  if (text.size() < kLongLength) {
    // memmove: `text` may be this very text, rewritten in place.
    std::memmove(at + 1, text.data(), text.size());
    at[0] = static_cast<unsigned char>(text.size());
    return;
  }
  const uint32_t length = static_cast<uint32_t>(text.size());
  std::memmove(at + 5, text.data(), text.size());
  at[0] = kLongLength;
  std::memcpy(at + 1, &length, sizeof length);
}

void TextStore::Release(TextHandle handle) {
  const size_t length = Get(handle).size();
  text_bytes_ -= length;
  --count_;
  try {
    free_[static_cast<uint32_t>(SpanOf(length))].push_back(handle);
    ++free_count_;
  } catch (const std::bad_alloc&) {
    // Without room to remember it, the freed room is simply not taken again.
  }
}

bool TextStore::Set(TextHandle* handle, std::string_view text) {
  if (text.empty()) {
    Free(handle);
    return true;
  }
  // Texts are limited far below 4 GB; a longer one cannot be held.
  if (text.size() > UINT32_MAX - 5) {
    PostOutOfMemory();
    return false;
  }
  const size_t span = SpanOf(text.size());
  if (*handle != kNoText && SpanOf(Get(*handle).size()) == span) {
    text_bytes_ = text_bytes_ - Get(*handle).size() + text.size();
    Write(*handle, text);
    return true;
  }
  // The old text is released only after the new one is written, which may copy from it.
  const TextHandle room = Reserve(span);
  if (room == kNoText) {
    PostOutOfMemory();
    return false;
  }
  Write(room, text);
  if (*handle != kNoText) Release(*handle);
  *handle = room;
  text_bytes_ += text.size();
  ++count_;
  return true;
}

void TextStore::Free(TextHandle* handle) {
  if (*handle == kNoText) return;
  Release(*handle);
  *handle = kNoText;
}

}  // namespace jov
