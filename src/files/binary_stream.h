// The line stream of a binary database file, as every reader of one takes it: the blocks decoded
// one at a time and handed to the line reader, the filler and "jovmagic" lines skipped, and the
// stream complete only when it reaches "##End".
#pragma once

#include <array>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "files/binary_file.h"
#include "files/line_source.h"

namespace jov {

// The decoded blocks of a binary file, a batch of blocks per chunk, with the file position
// reported as progress. The blocks are decoded on a second thread, a few batches ahead of the
// reader of the chunks, so that decoding and parsing share the machine's cores. That thread
// touches only `reader` and this source's batches; the database and everything else stay with
// the calling thread. `reader` must not be used elsewhere until Finish() has returned.
class BinaryBlockSource : public ByteSource {
 public:
  explicit BinaryBlockSource(BinaryFileReader& reader);
  ~BinaryBlockSource() override;
  BinaryBlockSource(const BinaryBlockSource&) = delete;
  BinaryBlockSource& operator=(const BinaryBlockSource&) = delete;

  // False at the end of the blocks, on damage (the reader's status says which) and when memory
  // ran out (posted as the pending error).
  bool Next(std::string_view* chunk) override;
  // Stops the decoding between two blocks and waits for its thread, which is gone afterwards.
  void Finish();

 private:
  static constexpr size_t kBatches = 4;
  static constexpr int kBlocksPerBatch = 8;
  struct Batch {
    std::string text;
    size_t end = 0;       // the decoded text is text[0, end)
    size_t position = 0;  // of the file after the batch's last block
  };

  void DecodeAhead();
  // Decodes up to kBlocksPerBatch blocks into `batch`; false when the blocks have ended.
  bool Fill(Batch& batch);

  BinaryFileReader& reader_;
  std::array<Batch, kBatches> batches_;
  std::mutex mutex_;
  std::condition_variable changed_;
  // Guarded by mutex_: batches decoded and batches given back (the one handed out last is given
  // back at the next call), the end of the blocks, a stop asked for, memory run out.
  size_t filled_ = 0;
  size_t released_ = 0;
  bool ended_ = false;
  bool stop_ = false;
  bool out_of_memory_ = false;
  bool holding_ = false;  // a batch is handed out (the calling thread's own)
  std::thread thread_;
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
