#include "model/text_store.h"

#include <new>

#include "shell/pending_error.h"

namespace jov {

TextStore::TextStore() : texts_(1) {}

bool TextStore::Set(TextHandle* handle, std::string_view text) {
  if (text.empty()) {
    Free(handle);
    return true;
  }
  try {
    if (*handle == kNoText) {
      if (!free_.empty()) {
        *handle = free_.back();
        texts_[*handle].assign(text);
        free_.pop_back();
      } else {
        texts_.emplace_back(text);
        *handle = static_cast<TextHandle>(texts_.size() - 1);
      }
      text_bytes_ += text.size();
      return true;
    }
    std::string& stored = texts_[*handle];
    const size_t old_size = stored.size();
    stored.assign(text);
    text_bytes_ = text_bytes_ - old_size + text.size();
  } catch (const std::bad_alloc&) {
    PostOutOfMemory();
    return false;
  }
  return true;
}

void TextStore::Free(TextHandle* handle) {
  if (*handle == kNoText) return;
  std::string& stored = texts_[*handle];
  text_bytes_ -= stored.size();
  std::string().swap(stored);
  try {
    free_.push_back(*handle);
  } catch (const std::bad_alloc&) {
    // Without room to remember it, the empty slot is simply not reused.
  }
  *handle = kNoText;
}

}  // namespace jov
