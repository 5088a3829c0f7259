// What tests and fuzz harnesses of selections share: every criterion of a selection as its
// text, for telling whether two selections hold the same criteria.
#pragma once

#include <string>
#include <vector>

#include "select/selection.h"

namespace jov {

// The date points, the patterns, the subset criterion, each dimension's expression and each
// value field's condition, in that order.
inline std::vector<std::string> CriterionTexts(const Selection& selection) {
  std::vector<std::string> texts = {selection.from().Text(), selection.to().Text(),
                                    selection.card_title(), selection.line_text(),
                                    selection.subset()};
  for (int d = 0; d < kDimensionCount; ++d) texts.push_back(selection.component_expression(d));
  for (int f = 0; f < Selection::kValueFields; ++f) texts.push_back(selection.value_condition(f));
  return texts;
}

}  // namespace jov
