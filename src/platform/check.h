// Debug checks of contracts that the types cannot state: record numbers are plain integers, so
// a day, card or group number passed where another belongs compiles, and a record freed twice
// corrupts a free list silently. Built in when JOV_CHECKS is set (the dev, clang and sanitizer
// presets), compiled away otherwise, so that release builds pay nothing.
#pragma once

namespace jov {

// Prints where and what failed on stderr and aborts.
[[noreturn]] void CheckFailed(const char* file, int line, const char* condition, const char* what);

}  // namespace jov

#if defined(JOV_CHECKS) && JOV_CHECKS
#define JOV_DCHECK(condition, what) \
  ((condition) ? (void)0 : ::jov::CheckFailed(__FILE__, __LINE__, #condition, what))
#else
#define JOV_DCHECK(condition, what) ((void)sizeof(!(condition)))
#endif
