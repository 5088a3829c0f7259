#include "files/binary_stream.h"

#include <new>
#include <system_error>

#include "files/binary_format.h"
#include "files/section_reader.h"
#include "shell/pending_error.h"
#include "shell/progress.h"

namespace jov {

BinaryBlockSource::BinaryBlockSource(BinaryFileReader& reader) : reader_(reader) {
  try {
    thread_ = std::thread([this] { DecodeAhead(); });
  } catch (const std::system_error&) {
    // Without a second thread the blocks are decoded in Next, one batch at a time.
  }
}

BinaryBlockSource::~BinaryBlockSource() { Finish(); }

void BinaryBlockSource::Finish() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool BinaryBlockSource::Fill(Batch& batch) {
  batch.end = 0;
  bool more = true;
  for (int i = 0; i < kBlocksPerBatch && more; ++i) more = reader_.NextBlock(batch.text, batch.end);
  batch.position = reader_.position();
  return more;
}

void BinaryBlockSource::DecodeAhead() {
  for (;;) {
    Batch* batch = nullptr;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return stop_ || filled_ - released_ < kBatches; });
      if (stop_) return;
      batch = &batches_[filled_ % kBatches];
    }
    bool more = false, out_of_memory = false;
    try {
      more = Fill(*batch);
    } catch (const std::bad_alloc&) {
      out_of_memory = true;
    }
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (batch->end > 0 && !out_of_memory) ++filled_;
      ended_ = !more;
      out_of_memory_ = out_of_memory;
    }
    changed_.notify_all();
    if (!more) return;
  }
}

bool BinaryBlockSource::Next(std::string_view* chunk) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (holding_) {
    holding_ = false;
    ++released_;
    changed_.notify_all();
  }
  if (!thread_.joinable() && !ended_ && !stop_) {
    // Decoding here, in this thread.
    Batch& batch = batches_[filled_ % kBatches];
    ended_ = !Fill(batch);
    if (batch.end > 0) ++filled_;
  }
  changed_.wait(lock, [this] { return filled_ > released_ || ended_ || stop_ || out_of_memory_; });
  if (out_of_memory_) {
    lock.unlock();
    PostOutOfMemory();
    return false;
  }
  if (filled_ == released_) return false;
  const Batch& batch = batches_[released_ % kBatches];
  holding_ = true;
  lock.unlock();
  *chunk = std::string_view(batch.text.data(), batch.end);
  ReportProgress(static_cast<int64_t>(batch.position));
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
  blocks.Finish();
  result.status = reader.status();
  if (result.status == BinaryReadStatus::kOk && !complete) {
    result.status = BinaryReadStatus::kCorrupted;
  }
  return result;
}

}  // namespace jov
