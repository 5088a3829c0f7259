// Card-ID and stamp conditions as typed, with the keyword forms of date points. What must hold:
// the corrected text compiles to itself and to a condition that passes the same items.
#include <string>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "select/interval_condition.h"

namespace jov {
namespace {

// Stands in for the selections' date points: "Month" is November 2001, "Day" its 15th, and
// "Nowhere" a range without days.
class StandInResolver : public DatePointResolver {
 public:
  std::optional<DateRange> Resolve(std::string_view text) const override {
    if (text == "Month")
      return DateRange{{PackDay(2001, 11, 1), 1}, {PackDay(2001, 11, 30), kEndOfDay}};
    if (text == "Day")
      return DateRange{{PackDay(2001, 11, 15), 1}, {PackDay(2001, 11, 15), kEndOfDay}};
    if (text == "Nowhere") return DateRange{};
    return std::nullopt;
  }
};

template <typename Condition, typename Item>
void Check(std::string_view typed, std::initializer_list<Item> items) {
  const StandInResolver resolver;
  std::string text(typed);
  const auto [condition, again] = fuzz::CompileTwice(
      text, [&](std::string& corrected) { return Condition::Compile(corrected, &resolver); });
  if (!condition || !again) return;
  for (const Item& item : items) JOV_FUZZ_CHECK(condition->Evaluate(item) == again->Evaluate(item));
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(interval_condition) {
  using jov::Date;
  using jov::PackDay;
  const std::string_view text = jov::fuzz::AsText(data, size);
  jov::Check<jov::CardIdCondition, Date>(
      text, {Date{0, 0}, Date{PackDay(2001, 11, 15), 1}, Date{PackDay(2001, 11, 15), 999},
             Date{PackDay(2024, 1, 5), 3}, Date{PackDay(1999, 12, 31), 1}});
  jov::Check<jov::StampCondition, jov::StampTime>(
      text, {jov::StampTime{0}, jov::PackStampTime({2001, 11, 15, 13, 45}),
             jov::PackStampTime({2024, 1, 5, 0, 0}), jov::PackStampTime({1990, 6, 1, 23, 59})});
}
