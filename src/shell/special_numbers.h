// The system's special numbers: a number without a value is a quiet NaN (shown "0/0"); division
// by zero gives the infinities (shown "+ inf" and "- inf"). No floating-point operation traps.
#pragma once

#include <cmath>
#include <limits>
#include <string_view>

namespace jov {

inline constexpr double kMissingNumber = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kPlusInfinity = std::numeric_limits<double>::infinity();
inline constexpr double kMinusInfinity = -std::numeric_limits<double>::infinity();

inline constexpr std::string_view kMissingNumberText = "0/0";
inline constexpr std::string_view kPlusInfinityText = "+ inf";
inline constexpr std::string_view kMinusInfinityText = "- inf";

inline bool IsMissing(double value) { return std::isnan(value); }

// A sum that counts as 0: one below 5.2e-7 in magnitude, or one that is not finite.
inline constexpr double kSnapToZeroBelow = 5.2e-7;
inline double SnapToZero(double sum) {
  return std::isfinite(sum) && std::fabs(sum) >= kSnapToZeroBelow ? sum : 0.0;
}

// The display text of a NaN or an infinity; empty for an ordinary number.
inline std::string_view SpecialNumberText(double value) {
  if (std::isnan(value)) return kMissingNumberText;
  if (std::isinf(value)) return value > 0 ? kPlusInfinityText : kMinusInfinityText;
  return {};
}

}  // namespace jov
