// The line reader of the section stream: splits bytes into lines at CR, LF or either pair, across
// the chunks a byte source hands out (a whole text file at once, or decoded blocks of a binary
// file), and translates every line through the character table of the file being read.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "files/text_format.h"

namespace jov {

class InputFile;

// Hands out the bytes of a stream in chunks; a chunk stays valid until the next call.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The next chunk (it may be empty); false at the end of the stream.
  virtual bool Next(std::string_view* chunk) = 0;
};

// A byte source over text already in memory, handed out in one chunk.
class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view text) : text_(text) {}
  bool Next(std::string_view* chunk) override;

 private:
  std::string_view text_;
  bool done_ = false;
};

// A byte source over a file read from where it stands in chunks of its own buffer, so that a
// reader holds one chunk of the file and never the whole of it. Keeps a reference to `file`,
// which must outlive it. A read error ends the stream early; failed() tells it from the end.
class FileByteSource : public ByteSource {
 public:
  static constexpr size_t kDefaultChunkBytes = 256 * 1024;

  explicit FileByteSource(InputFile& file, size_t chunk_bytes = kDefaultChunkBytes);
  bool Next(std::string_view* chunk) override;
  bool failed() const { return failed_; }
  // The bytes handed out so far.
  uint64_t position() const { return position_; }

 private:
  InputFile& file_;
  std::string buffer_;
  uint64_t position_ = 0;
  bool failed_ = false;
};

// Maps each byte of the file's character set to the system's own.
using CharacterTable = std::array<unsigned char, 256>;
CharacterTable IdentityCharacterTable();
// `*out` = `text` with every byte translated through `table`.
void Translate(std::string_view text, const CharacterTable& table, std::string* out);

// Keeps a reference to `bytes`, which must outlive it. A line handed out is a view into the
// source's current chunk or into the reader's own buffers, valid until the next call.
class LineSource {
 public:
  explicit LineSource(ByteSource& bytes, size_t max_line = text_format::kMaxLineBytes);

  // The next line without its line end, valid until the next call; false at the end of the
  // stream. A line longer than the limit is reported once (msg::kLinesTooLong) and read as empty.
  bool Next(std::string_view* line);

  // Later lines are translated through `table`.
  void SetTranslation(const CharacterTable& table);

 private:
  bool NextChunk();
  // The line as handed out: translated when a table is set.
  std::string_view Deliver(std::string_view line) { return translating_ ? Translated(line) : line; }
  std::string_view Translated(std::string_view line);
  void Carry(std::string_view part);

  ByteSource& bytes_;
  size_t max_line_;
  std::string_view chunk_;
  size_t pos_ = 0;
  // The second byte of a CR LF or LF CR pair whose first byte ended the previous chunk.
  char pending_pair_ = 0;
  // A line that spans chunks is collected here.
  std::string carry_;
  bool carry_delivered_ = false;
  bool too_long_ = false;
  bool too_long_reported_ = false;
  bool translating_ = false;
  CharacterTable table_ = IdentityCharacterTable();
  std::string translated_;
};

}  // namespace jov
