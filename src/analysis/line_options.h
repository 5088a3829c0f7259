// The settings of a line analysis: which columns it shows, which summary rows it puts above the
// lines, the field whose running balance fills the accumulated column, the decimals, and the
// interest rates with their calculation. Its template lines are in line_template.h.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/list_columns.h"
#include "model/component.h"

namespace jov {

// The summary rows, in the order they are listed. The first kSummaryFlagCount have a flag each;
// the interest rows follow when their rates are set.
enum class LineSummary : uint8_t {
  kBefore,
  kPositive,
  kNegative,
  kPeriod,
  kAfter,
  kMaximum,
  kMinimum,
  kAverage,
  kMedian,
  kLineCount,
  kCardCount,
  kTurnoverTime,
  kTurnoverRate,
  kPositiveInterest,
  kNegativeInterest,
};
inline constexpr int kSummaryFlagCount = 13;
inline constexpr int kSummaryKinds = 15;
// The flags' letters in templates and on the command line, in flag order.
inline constexpr std::string_view kSummaryLetters = "B+-PFMmAE#CTR";

enum class InterestCalculation : uint8_t { kLinear, kExponential };

// Column widths in pixels as the window stores them; 0 (or below 16) for the default.
struct LineColumnWidths {
  std::array<int, 2> card{};  // identifier, title
  std::array<int, kDimensionCount> dimensions{};
  // Line text, value 1, accumulated, values 2 to 24: the order of the stored line.
  std::array<int, 3 + kListValueFields - 1> line{};
  bool operator==(const LineColumnWidths&) const = default;
};

struct LineAnalysisOptions {
  int accumulated_field = 0;  // 0..23
  int decimals = 2;           // kMillions..6, as the component analysis's columns
  ListColumns columns;
  // Card Info: the card's identifier and title on every line, or on its first line only.
  bool card_info_every_line = true;
  uint16_t summaries = 0;  // bit i: flag i of kSummaryLetters
  // Percent per year for positive and negative balances; 0 (or not finite) is off.
  double positive_rate = 0;
  double negative_rate = 0;
  InterestCalculation calculation = InterestCalculation::kLinear;
  LineColumnWidths widths;
  // Chart settings, kept as read.
  std::string chart_caption;
  bool option_zs = false;
  bool option_zn = false;

  // The standard settings for a database whose values show `decimals` decimals.
  static LineAnalysisOptions Standard(int decimals);

  bool Has(LineSummary summary) const {
    return static_cast<int>(summary) < kSummaryFlagCount &&
           (summaries >> static_cast<int>(summary) & 1) != 0;
  }
  void Set(LineSummary summary, bool on);
  // The flags' letters that are on, in order; SetSummaryLetters takes such a text (letters it
  // does not know are ignored) and returns false when it held one.
  std::string SummaryLetters() const;
  bool SetSummaryLetters(std::string_view letters);

  // Balance-days are integrated only for the measures that use them.
  bool NeedsBalanceDays() const;
  bool NeedsExtremes() const { return Has(LineSummary::kMaximum) || Has(LineSummary::kMinimum); }

  bool operator==(const LineAnalysisOptions&) const = default;
};

// An interest rate counts, and has its row, when it is a number other than 0.
inline bool RateIsSet(double rate) { return std::isfinite(rate) && rate != 0; }

}  // namespace jov
