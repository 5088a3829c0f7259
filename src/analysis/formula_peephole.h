// The simplification rules of the formula language, applied to the code as it is emitted. They
// are part of the language, not an optimisation: "exp ln x" is x even where ln x is undefined.
#pragma once

#include <vector>

#include "analysis/formula_operations.h"

namespace jov {

// Appends `word` to `code`, then rewrites pairs of adjacent operations (B applied to the result
// of A) by the rules, first matching pair first, until no pair matches. The code before `word`
// must hold no matching pair, as it does when every word was appended through this function.
void AppendSimplified(std::vector<FormulaWord>& code, FormulaWord word);

}  // namespace jov
