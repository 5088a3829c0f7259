#include "files/binary_stream.h"

#include "files/binary_format.h"
#include "files/section_reader.h"
#include "shell/progress.h"

namespace jov {

bool BinaryBlockSource::Next(std::string_view* chunk) {
  size_t end = 0;
  if (!reader_.NextBlock(buffer_, end)) return false;
  *chunk = std::string_view(buffer_.data(), end);
  ReportProgress(static_cast<int64_t>(reader_.position()));
  return true;
}

bool SkipToMagicLine(LineSource& lines) {
  std::string_view line;
  while (lines.Next(&line)) {
    if (line == binary_format::kMagicLine) return true;
  }
  return false;
}

BinaryReadResult DecodeBinaryFile(std::string_view file_bytes,
                                  std::optional<std::string_view> password) {
  BinaryFileReader reader(file_bytes, password);
  BinaryBlockSource blocks(reader);
  LineSource lines(blocks);
  BinaryReadResult result;
  result.header = reader.header();
  result.section_text.reserve(2 * file_bytes.size());  // about what the blocks decode to
  bool complete = false;
  if (SkipToMagicLine(lines)) {
    std::string_view line;
    while (!complete && lines.Next(&line)) {
      result.section_text.append(line) += binary_format::kLineEnd;
      complete = IsEndSectionLine(line);
    }
  }
  result.status = reader.status();
  if (result.status == BinaryReadStatus::kOk && !complete) {
    result.status = BinaryReadStatus::kCorrupted;
  }
  return result;
}

}  // namespace jov
