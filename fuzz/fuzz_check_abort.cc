// A failed check in a libFuzzer build: say where, and abort so that the fuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

#include "fuzz_target.h"

namespace jov::fuzz {

void CheckFailed(const char* file, int line, const char* condition) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

}  // namespace jov::fuzz
