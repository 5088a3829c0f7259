// Compiling formula texts into code: the grammar with its priorities, the lookup of names and
// function keywords, and the correction of the text in place. Compiling never fails on syntax:
// what cannot be read becomes the missing number or is cut off, and the corrected text is what
// callers store and show.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/compiled_formula.h"
#include "analysis/formula_name_table.h"

namespace jov {

// Characters of a text past this length are never read (and so cut off). It keeps the constants
// of any text within what a code word can address: every constant but the first follows an
// operator character.
constexpr size_t kMaxFormulaTextLength = 16000;
static_assert(kMaxFormulaTextLength + 1 <= kMaxFormulaConstants);

// How deeply operands may nest (through brackets, signs, functions and powers); the text from a
// deeper operand on is cut off, and the operand itself is the missing number. It bounds both
// the compiler's recursion and the evaluation stack: each level keeps at most two values
// waiting for their operator (a sum's and a product's left side, or a power's base).
constexpr int kMaxFormulaNesting = 100;
static_assert(2 * kMaxFormulaNesting + 3 <= CompiledFormula::kMaxStack);

// Compiles `text` against `names` and corrects it in place: keywords, "pi" and names are written
// as their tables write them, and text after the end of the top-level expression is cut off.
// None, with the text emptied, when nothing of it was read (it is empty, blank, or stops at its
// first character).
std::optional<CompiledFormula> CompileFormula(std::string& text, const FormulaNameTable& names);

// The value of a number typed as an expression: `text` compiled without names and evaluated;
// the missing number when nothing of it can be read.
double EvaluateFormulaText(std::string_view text);

// The name around `cursor` (a position between characters, at most the text's length):
// delimited by any of "+-*/()#! ".
std::string FormulaNameAtCursor(std::string_view text, size_t cursor);

}  // namespace jov
