// The row reader of text import: the file is read in blocks of 10,240 bytes, each block passed
// through the setup's character conversion before any delimiter is looked for, and cut into rows
// at the row terminator. A row is held whole in the block, so no row is longer than the block:
// a longer one is reported once (msg::kLinesTooLong) and dropped to its terminator. Serves the text
// import and the dimension import.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "io/character_tables.h"
#include "io/import_setup.h"
#include "platform/file_io.h"
#include "platform/text_encoding.h"

namespace jov {

// The bytes of the file being imported, read in pieces of the reader's size.
class ImportInput {
 public:
  virtual ~ImportInput() = default;
  // Reads up to `size` bytes; 0 at the end, nothing on a read error.
  virtual std::optional<size_t> Read(char* buffer, size_t size) = 0;
};

class FileImportInput : public ImportInput {
 public:
  // False when the file cannot be opened.
  bool Open(const std::string& path) { return file_.Open(path); }
  std::optional<size_t> Read(char* buffer, size_t size) override {
    return file_.Read(buffer, size);
  }

 private:
  InputFile file_;
};

// Text already in memory (tests, and text handed over by other programs).
class MemoryImportInput : public ImportInput {
 public:
  explicit MemoryImportInput(std::string_view text) : text_(text) {}
  std::optional<size_t> Read(char* buffer, size_t size) override;

 private:
  std::string_view text_;
};

class RowReader {
 public:
  static constexpr size_t kBlockBytes = 10240;

  // `input` must outlive the reader.
  RowReader(ImportInput& input, const ImportSetup& setup);
  RowReader(const RowReader&) = delete;
  RowReader& operator=(const RowReader&) = delete;

  // Makes the next row current; false at the end of the file or after a read error. Remaining
  // bytes at the end form a last row; an empty remainder is no row.
  bool NextRow();
  // Reads the next n - 1 rows into the current one, the field separator standing for each row
  // terminator between them; fewer when the file ends first.
  void JoinRows(int n);
  // The current row, valid until the next NextRow or JoinRows.
  std::string_view row() const { return row_; }

  bool read_failed() const { return read_failed_; }
  // Rows read so far, joined ones included.
  uint64_t rows() const { return rows_; }
  // Rows dropped for being longer than the block.
  uint64_t too_long_rows() const { return too_long_rows_; }
  // UTF-8 characters that Windows-1252 lacks, read as "?".
  uint64_t replaced_characters() const { return utf8_ ? utf8_->replaced() : 0; }
  // Bytes of the file read so far, for the progress display.
  uint64_t bytes_read() const { return bytes_read_; }

 private:
  // Moves the unread bytes to the start of the block and reads more behind them. False at the
  // end of the file.
  bool Fill();
  // Reads and converts bytes into the block from `end_` on; the number of bytes added.
  std::optional<size_t> ReadConverted(size_t room);
  void DropTooLongRow();

  ImportInput& input_;
  const unsigned char row_terminator_;
  const char field_separator_;
  const bool converting_;
  const CharacterTable table_;
  std::unique_ptr<Utf8StreamDecoder> utf8_;
  std::unique_ptr<char[]> raw_;  // the undecoded bytes of a UTF-8 file
  // The block, with room for one byte that a UTF-8 sequence completed from the previous read
  // adds beyond what was read.
  std::unique_ptr<char[]> block_;
  size_t start_ = 0;  // the first byte not yet in a row
  size_t end_ = 0;    // the end of the bytes read
  bool at_end_ = false;
  bool read_failed_ = false;
  // After a row longer than the block: its bytes are skipped up to its terminator.
  bool skipping_ = false;
  uint64_t rows_ = 0;
  uint64_t too_long_rows_ = 0;
  uint64_t bytes_read_ = 0;
  std::string_view row_;
  std::string joined_;
};

}  // namespace jov
