// The coding of a binary file's blocks, spread over worker threads: blocks go in in file order,
// are LZ-coded and checksummed wherever a thread is free, and come out in file order, so that the
// keystream, which runs on across blocks, scrambles them in one thread as a single-threaded
// writer would. The coding of a block does not depend on the thread: the file's bytes stay the
// same.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "files/lz_coder.h"

namespace jov {

// A block ready to be scrambled and written.
struct CodedBlock {
  char coding = 0;
  std::string_view payload;  // valid until the next call of the coder
  uint16_t checksum = 0;
};

class BlockCoder {
 public:
  // Blocks coded "b" when `compressed`, else stored; `workers` threads beside the caller's
  // (none: every block is coded in the calling thread).
  BlockCoder(bool compressed, int workers);
  // Waits for the workers, which are gone afterwards; blocks not taken out are dropped.
  ~BlockCoder();
  BlockCoder(const BlockCoder&) = delete;
  BlockCoder& operator=(const BlockCoder&) = delete;

  // The threads a writer should ask for on this machine.
  static int DefaultWorkers();

  // Queues the text of the next block; `text` is left empty, its room kept for the caller's next
  // block where one is free.
  void Push(std::string& text);
  // Blocks pushed and not yet taken out.
  size_t pending() const { return pushed_ - taken_; }
  // Whether Push would first need the oldest block taken out.
  bool full() const { return pending() == kSlots; }
  // The oldest block pushed and not taken out, coded: coded here when no worker has taken it
  // yet, else waited for. At least one block must be pending.
  CodedBlock TakeOldest();

 private:
  static constexpr size_t kSlots = 16;
  enum class State { kFree, kQueued, kCoding, kCoded };
  struct Slot {
    State state = State::kFree;
    std::string text;
    std::string coded;
    CodedBlock block;
  };

  void Work();
  // Codes the slot in the calling thread, with the lock released meanwhile.
  void CodeHere(Slot& slot, std::unique_lock<std::mutex>& lock);
  // Codes the slot's text into its block; throws std::bad_alloc when memory runs out.
  void Code(Slot& slot, LzEncoder& encoder) const;

  const bool compressed_;
  std::array<Slot, kSlots> slots_;
  LzEncoder encoder_;  // the calling thread's
  size_t pushed_ = 0;  // the calling thread's counts
  size_t taken_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  // Guarded by mutex_ (as are the slots' states): the blocks queued, the next block a thread
  // takes for coding, and the end.
  size_t queued_ = 0;
  size_t next_to_code_ = 0;
  bool stop_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace jov
