// Stand-ins for the platform clock: the local date and time, and the millisecond tick count
// that seeds random numbers and the keystream of binary files.
#pragma once

#include <cstdint>

namespace jov {

struct LocalTime {
  int year = 1900;  // four digits
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

LocalTime LocalNow();

// Milliseconds since an arbitrary start; wraps around after about 49 days.
uint32_t TickCountMs();

}  // namespace jov
