#include "files/block_coder.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "files/binary_file.h"
#include "files/binary_format.h"

namespace jov {

namespace bf = binary_format;

BlockCoder::BlockCoder(bool compressed, int workers) : compressed_(compressed) {
  for (int i = 0; i < workers; ++i) {
    try {
      workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      break;  // fewer threads: the calling thread codes what they would have
    }
  }
}

BlockCoder::~BlockCoder() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

int BlockCoder::DefaultWorkers() {
  // The calling thread codes too while it waits, so one thread fewer than the cores.
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores - 1, 0, 3);
}

void BlockCoder::Code(Slot& slot, LzEncoder& encoder) const {
  slot.block.coding = bf::kCodingStored;
  slot.block.payload = slot.text;
  if (compressed_) {
    slot.coded.clear();
    encoder.Encode(slot.text, slot.coded);
    // A coding that is not shorter than the limit is stored as it is; every reader takes "-".
    if (slot.coded.size() < bf::kMaxPayload) {
      slot.block.coding = bf::kCodingOwn;
      slot.block.payload = slot.coded;
    }
  }
  slot.block.checksum = BlockChecksum(slot.block.payload);
}

void BlockCoder::Work() {
  LzEncoder encoder;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stop_ || next_to_code_ < queued_; });
    if (stop_) return;
    Slot& slot = slots_[next_to_code_++ % kSlots];
    slot.state = State::kCoding;
    lock.unlock();
    bool coded = true;
    try {
      Code(slot, encoder);
    } catch (const std::bad_alloc&) {
      coded = false;
    }
    lock.lock();
    // A block this thread had no memory for goes back to the calling thread, which codes it
    // where its own allocations fail as they would without workers.
    slot.state = coded ? State::kCoded : State::kQueued;
    changed_.notify_all();
    if (!coded) return;
  }
}

void BlockCoder::Push(std::string& text) {
  Slot& slot = slots_[pushed_++ % kSlots];
  // The slot is free, its last block taken out; its text's room goes back to the caller.
  slot.text.swap(text);
  text.clear();
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    slot.state = State::kQueued;
    ++queued_;
  }
  changed_.notify_one();
}

void BlockCoder::CodeHere(Slot& slot, std::unique_lock<std::mutex>& lock) {
  slot.state = State::kCoding;
  lock.unlock();
  Code(slot, encoder_);
  lock.lock();
  slot.state = State::kCoded;
}

CodedBlock BlockCoder::TakeOldest() {
  const size_t index = taken_++;
  Slot& slot = slots_[index % kSlots];
  std::unique_lock<std::mutex> lock(mutex_);
  // Rather than wait, this thread codes what no worker has taken: the oldest block when a worker
  // gave it back, else the next block in the queue.
  while (slot.state != State::kCoded) {
    if (slot.state == State::kQueued && index < next_to_code_) {
      CodeHere(slot, lock);
    } else if (next_to_code_ < queued_) {
      CodeHere(slots_[next_to_code_++ % kSlots], lock);
    } else {
      changed_.wait(lock);
    }
  }
  slot.state = State::kFree;
  return slot.block;
}

}  // namespace jov
