#include "analysis/formula_random.h"

#include <cmath>

#include "platform/clock.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr double kModulus = 2147483647.0;
constexpr double kMultiplier = 75.0;
constexpr double kTickWeight = 425420.0;
constexpr double kToUnit = 1.0 / 2147483648.0;  // 2^-31

}  // namespace

double FormulaSeedFromTicks(uint32_t first, uint32_t second) {
  return first * kTickWeight + second;
}

void SeedFormulaRandom(double seed) {
  if (!(seed > 0) || !std::isfinite(seed) || std::fmod(seed, kModulus) == 0) seed = 1;
  Process().Slot<FormulaRandomSeed>().seed = seed;
}

double NextFormulaRandom() {
  std::optional<double>& seed = Process().Slot<FormulaRandomSeed>().seed;
  if (!seed) {
    const uint32_t first = TickCountMs();
    SeedFormulaRandom(FormulaSeedFromTicks(first, TickCountMs()));
  }
  *seed = std::fmod(kMultiplier * *seed, kModulus);
  return *seed * kToUnit;
}

}  // namespace jov
