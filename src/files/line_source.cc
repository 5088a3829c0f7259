#include "files/line_source.h"

#include <algorithm>
#include <cstring>

#include "files/byte_scan.h"
#include "platform/file_io.h"
#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {

bool MemoryByteSource::Next(std::string_view* chunk) {
  if (done_) return false;
  done_ = true;
  *chunk = text_;
  return true;
}

FileByteSource::FileByteSource(InputFile& file, size_t chunk_bytes) : file_(file) {
  buffer_.resize(std::max<size_t>(chunk_bytes, 1));
}

bool FileByteSource::Next(std::string_view* chunk) {
  if (failed_) return false;
  const std::optional<size_t> got = file_.Read(buffer_.data(), buffer_.size());
  if (!got) failed_ = true;
  if (!got || *got == 0) return false;
  position_ += *got;
  *chunk = std::string_view(buffer_.data(), *got);
  return true;
}

CharacterTable IdentityCharacterTable() {
  CharacterTable table;
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<unsigned char>(i);
  return table;
}

void Translate(std::string_view text, const CharacterTable& table, std::string* out) {
  out->resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    (*out)[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
  }
}

LineSource::LineSource(ByteSource& bytes, size_t max_line) : bytes_(bytes), max_line_(max_line) {}

void LineSource::SetTranslation(const CharacterTable& table) {
  table_ = table;
  translating_ = table != IdentityCharacterTable();
}

bool LineSource::NextChunk() {
  pos_ = 0;
  chunk_ = {};
  return bytes_.Next(&chunk_);
}

void LineSource::Carry(std::string_view part) {
  if (too_long_) return;
  if (carry_.size() + part.size() > max_line_) {
    too_long_ = true;
    carry_.clear();
    return;
  }
  carry_.append(part);
}

bool LineSource::Next(std::string_view* line) {
  if (carry_delivered_) {
    carry_.clear();
    carry_delivered_ = false;
    too_long_ = false;
  }
  for (;;) {
    if (pos_ < chunk_.size() && pending_pair_ != 0) {
      if (chunk_[pos_] == pending_pair_) ++pos_;
      pending_pair_ = 0;
    }
    const char* const begin = chunk_.data() + pos_;
    const char* const end = chunk_.data() + chunk_.size();
    const char* const stop = FindEither(begin, end, '\r', '\n');
    if (stop != end) {
      const char pair = *stop == '\r' ? '\n' : '\r';
      pos_ = static_cast<size_t>(stop - chunk_.data()) + 1;
      if (pos_ < chunk_.size()) {
        if (chunk_[pos_] == pair) ++pos_;
      } else {
        pending_pair_ = pair;
      }
      const std::string_view piece(begin, static_cast<size_t>(stop - begin));
      if (carry_.empty() && !too_long_) {
        if (piece.size() <= max_line_) {
          *line = Deliver(piece);
          return true;
        }
        too_long_ = true;
      } else {
        Carry(piece);
      }
      break;
    }
    Carry(std::string_view(begin, static_cast<size_t>(end - begin)));
    if (!NextChunk()) {
      if (carry_.empty() && !too_long_) return false;
      break;
    }
  }
  carry_delivered_ = true;
  if (too_long_) {
    if (!too_long_reported_) {
      too_long_reported_ = true;
      AlertRecord alert(msg::kLinesTooLong);
      ReportAlert(alert);
    }
    *line = {};
    return true;
  }
  *line = Deliver(carry_);
  return true;
}

std::string_view LineSource::Translated(std::string_view line) {
  Translate(line, table_, &translated_);
  return translated_;
}

}  // namespace jov
