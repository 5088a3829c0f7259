#include "shell/process.h"

namespace jov {
namespace {

ProcessState& Instance() {
  static ProcessState state;
  return state;
}

}  // namespace

ProcessState& Process() { return Instance(); }

void ResetProcess() { Instance() = ProcessState(); }

}  // namespace jov
