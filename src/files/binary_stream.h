// The line stream of a binary database file, as every reader of one takes it: the blocks decoded
// one at a time and handed to the line reader, the filler and "jovmagic" lines skipped, and the
// stream complete only when it reaches "##End".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/binary_file.h"
#include "files/line_source.h"

namespace jov {

// The decoded blocks of a binary file, one block per chunk, with the file position reported as
// progress. Keeps a reference to `reader`, which must outlive it.
class BinaryBlockSource : public ByteSource {
 public:
  explicit BinaryBlockSource(BinaryFileReader& reader) : reader_(reader) {}
  bool Next(std::string_view* chunk) override;

 private:
  BinaryFileReader& reader_;
  std::string buffer_;
};

// Reads past the "jovmagic" line that opens the section text; false when the stream has none.
bool SkipToMagicLine(LineSource& lines);

struct BinaryReadResult {
  BinaryReadStatus status = BinaryReadStatus::kCorrupted;
  BinaryHeader header;
  // The lines after "jovmagic" up to and including "##End", each ending with CR.
  std::string section_text;
};

// Decodes a whole file through the same line stream as the database reader: a stream that does
// not reach "##End" is corrupted. For tests, tools and benchmarks that want the text itself.
BinaryReadResult DecodeBinaryFile(std::string_view file_bytes,
                                  std::optional<std::string_view> password);

}  // namespace jov
