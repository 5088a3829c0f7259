#include "analysis/line_options.h"

namespace jov {

LineAnalysisOptions LineAnalysisOptions::Standard(int decimals) {
  LineAnalysisOptions options;
  options.decimals = decimals;
  return options;
}

void LineAnalysisOptions::Set(LineSummary summary, bool on) {
  const int bit = static_cast<int>(summary);
  if (bit >= kSummaryFlagCount) return;
  summaries = static_cast<uint16_t>(on ? summaries | 1u << bit : summaries & ~(1u << bit));
}

std::string LineAnalysisOptions::SummaryLetters() const {
  std::string letters;
  for (int flag = 0; flag < kSummaryFlagCount; ++flag) {
    if (Has(static_cast<LineSummary>(flag))) letters += kSummaryLetters[flag];
  }
  return letters;
}

bool LineAnalysisOptions::SetSummaryLetters(std::string_view letters) {
  summaries = 0;
  bool all_known = true;
  for (const char letter : letters) {
    const size_t flag = kSummaryLetters.find(letter);
    if (flag == std::string_view::npos) {
      all_known = false;
      continue;
    }
    Set(static_cast<LineSummary>(flag), true);
  }
  return all_known;
}

bool LineAnalysisOptions::NeedsBalanceDays() const {
  return Has(LineSummary::kAverage) || Has(LineSummary::kTurnoverTime) ||
         Has(LineSummary::kTurnoverRate) || RateIsSet(positive_rate) || RateIsSet(negative_rate);
}

}  // namespace jov
