// Helpers of the section-stream tests: write a database to a string and read a string into a
// database through the default registry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/line_source.h"
#include "files/save_setup.h"
#include "files/section_reader.h"
#include "files/section_writer.h"
#include "model/database.h"

namespace jov::testing {

// Hands out the text in chunks of one size (the last one shorter).
class ChunkedSource : public ByteSource {
 public:
  ChunkedSource(std::string_view text, size_t chunk) : text_(text), chunk_(chunk) {}
  bool Next(std::string_view* chunk) override {
    if (text_.empty()) return false;
    *chunk = text_.substr(0, chunk_);
    text_.remove_prefix(chunk->size());
    return true;
  }

 private:
  std::string_view text_;
  size_t chunk_;
};

inline std::string WriteStream(Database& database, const SaveSetup& setup,
                               const WriteOptions& options = {}) {
  StringByteSink bytes;
  WriteSections(database, bytes, setup, DefaultSectionRegistry(), options);
  return bytes.text();
}

inline std::string WriteStream(Database& database) {
  return WriteStream(database, database.Attached<SaveSetups>().in_effect());
}

inline ReadResult ReadStream(Database& database, std::string_view text) {
  MemoryByteSource bytes(text);
  LineSource lines(bytes);
  return ReadSections(database, lines, DefaultSectionRegistry());
}

// The composed texts of the errors a read collected.
inline std::vector<std::string> ErrorTexts(const ReadResult& result) {
  std::vector<std::string> texts;
  for (const AlertRecord& alert : result.errors) texts.push_back(alert.ComposeText());
  return texts;
}

}  // namespace jov::testing
