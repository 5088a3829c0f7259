#include "analysis/shown_value.h"

#include "analysis/component_options.h"
#include "shell/number_text.h"
#include "shell/process.h"

namespace jov {

void AppendShownValue(std::string& out, double value, int decimals) {
  if (decimals == kThousands) {
    value /= 1e3, decimals = 0;
  } else if (decimals == kMillions) {
    value /= 1e6, decimals = 0;
  }
  AppendShownNumber(out, value, decimals, Process().separators);
}

std::string ShownValue(double value, int decimals) {
  std::string text;
  AppendShownValue(text, value, decimals);
  return text;
}

}  // namespace jov
