// The random numbers of formulas ("ran"): a multiplicative congruential generator over a
// process-wide seed, seeded from two readings of the millisecond tick count.
#pragma once

#include <cstdint>
#include <optional>

#include "shell/process.h"

namespace jov {

// The process-wide seed; empty until the first draw seeds it from the tick count.
struct FormulaRandomSeed : ProcessSlot {
  std::optional<double> seed;
};

// The seed made from two successive tick-count readings: first × 425420 + second.
double FormulaSeedFromTicks(uint32_t first, uint32_t second);

// Sets the process-wide seed (tests use it for repeatable draws). A seed that is not a positive
// finite number, or is a multiple of the modulus 2147483647, would make every draw the same
// value; 1 takes its place.
void SeedFormulaRandom(double seed);

// The next number in [0, 1): seed = remainder(75 × seed, 2147483647), returned as seed × 2^-31.
// The first draw of a process without a seed seeds it from the tick count.
double NextFormulaRandom();

}  // namespace jov
