#include "io/row_reader.h"

#include <algorithm>
#include <cstring>

#include "shell/alert.h"

namespace jov {
std::optional<size_t> MemoryImportInput::Read(char* buffer, size_t size) {
  const size_t count = std::min(size, text_.size());
  std::memcpy(buffer, text_.data(), count);
  text_.remove_prefix(count);
  return count;
}

RowReader::RowReader(ImportInput& input, const ImportSetup& setup)
    : input_(input),
      row_terminator_(setup.row_terminator),
      field_separator_(static_cast<char>(setup.field_separator)),
      converting_(NeedsConversion(setup)),
      table_(ConversionTable(setup)),
      block_(new char[kBlockBytes + 1]) {
  if (setup.character_set == CharacterSet::kUtf8) {
    utf8_ = std::make_unique<Utf8StreamDecoder>();
    raw_.reset(new char[kBlockBytes]);
  }
}

bool RowReader::NextRow() {
  for (;;) {
    char* const begin = block_.get() + start_;
    const void* hit = std::memchr(begin, row_terminator_, end_ - start_);
    if (hit != nullptr) {
      const size_t stop = static_cast<size_t>(static_cast<const char*>(hit) - block_.get());
      row_ = std::string_view(begin, stop - start_);
      start_ = stop + 1;
      if (skipping_) {
        skipping_ = false;  // that was the end of the dropped row
        continue;
      }
      ++rows_;
      return true;
    }
    if (skipping_) {
      start_ = end_;
    } else if (end_ - start_ >= kBlockBytes) {
      DropTooLongRow();
    }
    if (!Fill()) {
      if (start_ == end_ || skipping_) return false;
      row_ = std::string_view(block_.get() + start_, end_ - start_);
      start_ = end_;
      ++rows_;
      return true;
    }
  }
}

void RowReader::JoinRows(int n) {
  if (n <= 1) return;
  joined_.assign(row_);
  for (int i = 1; i < n && NextRow(); ++i) {
    joined_.push_back(field_separator_);
    joined_.append(row_);
  }
  row_ = joined_;
}

// The bytes held are dropped, and so are the rest of the row's: read as a row of its own, the
// rest would put other fields in the places the setup names.
void RowReader::DropTooLongRow() {
  if (too_long_rows_++ == 0) {
    AlertRecord alert(msg::kLinesTooLong, 1);
    ReportAlert(alert);
  }
  start_ = end_;
  skipping_ = true;
}

bool RowReader::Fill() {
  if (at_end_) return false;
  std::memmove(block_.get(), block_.get() + start_, end_ - start_);
  end_ -= start_;
  start_ = 0;
  const std::optional<size_t> added = ReadConverted(kBlockBytes - end_);
  if (!added || *added == 0) {
    read_failed_ = !added;
    at_end_ = true;
    return false;
  }
  end_ += *added;
  return true;
}

std::optional<size_t> RowReader::ReadConverted(size_t room) {
  char* const out = block_.get() + end_;
  size_t added = 0;
  if (!utf8_) {
    const std::optional<size_t> got = input_.Read(out, room);
    if (!got) return std::nullopt;
    bytes_read_ += *got;
    added = *got;
  } else {
    // Until a byte comes out: a read may end inside a character, which the next one completes.
    while (added == 0) {
      const std::optional<size_t> got = input_.Read(raw_.get(), room);
      if (!got) return std::nullopt;
      bytes_read_ += *got;
      if (*got == 0) {
        added = utf8_->Finish(out);
        break;
      }
      added = utf8_->Decode(std::string_view(raw_.get(), *got), out);
    }
  }
  if (converting_) {
    for (size_t i = 0; i < added; ++i) {
      out[i] = static_cast<char>(table_[static_cast<unsigned char>(out[i])]);
    }
  }
  return added;
}

}  // namespace jov
