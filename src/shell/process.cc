#include "shell/process.h"

namespace jov {
namespace {

// A signal handler may store into the flag only when doing so takes no lock.
static_assert(std::atomic<bool>::is_always_lock_free);

// Constant-initialised, so it exists before any code runs and after every static is gone.
std::atomic<bool> stop_flag{false};

ProcessState& Instance() {
  static ProcessState state;
  return state;
}

}  // namespace

ProcessState& Process() { return Instance(); }

std::atomic<bool>& StopFlag() { return stop_flag; }

size_t NewProcessSlotIndex() {
  static std::atomic<size_t> next{0};
  return next++;
}

void ResetProcess() {
  Instance() = ProcessState();
  stop_flag = false;
}

}  // namespace jov
