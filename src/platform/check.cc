#include "platform/check.h"

#include <cstdio>
#include <cstdlib>

namespace jov {

void CheckFailed(const char* file, int line, const char* condition, const char* what) {
  std::fprintf(stderr, "%s:%d: check failed: %s: %s\n", file, line, what, condition);
  std::abort();
}

}  // namespace jov
