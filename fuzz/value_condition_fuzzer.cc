// Value conditions as typed. What must hold: the corrected text compiles to itself and to a
// condition that passes the same values.
#include <cmath>
#include <limits>
#include <string>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "select/value_condition.h"

JOV_FUZZ_TARGET(value_condition) {
  std::string text(jov::fuzz::AsText(data, size));
  const auto [condition, again] = jov::fuzz::CompileTwice(
      text, [](std::string& typed) { return jov::ValueCondition::Compile(typed); });
  if (!condition || !again) return;
  for (const double value : {-1e9, -100.0, -1.5, 0.0, 0.5, 1.0, 99.0, 100.0, 200.0, 1e12,
                             std::numeric_limits<double>::infinity(), std::nan("")}) {
    JOV_FUZZ_CHECK(condition->Evaluate(value) == again->Evaluate(value));
  }
}
