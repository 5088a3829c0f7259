#include "io/line_fields.h"

#include "analysis/formula_compiler.h"
#include "io/import_values.h"
#include "select/criterion_text.h"

namespace jov {
namespace {

// The insert characters that make a value field an arithmetic expression.
constexpr std::string_view kExpressionCharacters = "+-*/^()";

}  // namespace

LineFieldReader::LineFieldReader(const LineDefinition& definition, unsigned char decimal_separator)
    : definition_(definition), decimal_separator_(decimal_separator) {
  for (int v = 0; v < kMaxImportValueFields; ++v) {
    const FieldSpec& spec = definition.values[v];
    default_values_[v] = ReadImportNumber(spec.default_text(), decimal_separator).value_or(0);
    for (size_t i = 0; i + 1 < spec.parts.size(); ++i) {
      const unsigned char insert = spec.parts[i].insert;
      if (insert != 0 &&
          kExpressionCharacters.find(static_cast<char>(insert)) != std::string_view::npos) {
        expressions_[v] = true;
      }
    }
  }
}

double LineFieldReader::Value(FieldReader& fields, int field, UnreadableValue* unreadable) {
  const FieldSpec& spec = definition_.values[field];
  const double factor = definition_.scale_factors[field];
  if (expressions_[field]) return Expression(fields, spec, unreadable) * factor;
  fields.PlainJoin(spec, text_);
  if (text_.empty()) return default_values_[field];
  return Number(text_, unreadable).value_or(0) * factor;
}

std::optional<double> LineFieldReader::Number(std::string_view text,
                                              UnreadableValue* unreadable) const {
  const std::optional<double> number = ReadImportNumber(text, decimal_separator_);
  if (!number && unreadable != nullptr) unreadable->Report(text);
  return number;
}

// The parts read as numbers, with their insert characters between them, evaluated.
double LineFieldReader::Expression(FieldReader& fields, const FieldSpec& spec,
                                   UnreadableValue* unreadable) {
  expression_.clear();
  for (size_t i = 0; i < spec.parts.size(); ++i) {
    const std::string_view text = fields.Part(spec.parts[i]);
    AppendExpressionNumber(expression_, text.empty() ? 0 : Number(text, unreadable).value_or(0));
    if (i + 1 < spec.parts.size() && spec.parts[i].insert != 0) {
      expression_.push_back(static_cast<char>(spec.parts[i].insert));
    }
  }
  return EvaluateFormulaText(expression_);
}

std::string_view LineFieldReader::Code(FieldReader& fields, int dimension) {
  if (!active(dimension)) return {};
  fields.CodeJoin(definition_.components[dimension], text_);
  const std::string_view code = TrimBlanksView(text_);
  const size_t width = definition_.zero_filling[dimension];
  if (code.empty() || code.size() >= width) return code;
  filled_.assign(width - code.size(), '0').append(code);
  return filled_;
}

std::string_view LineFieldReader::DefaultCode(int dimension) const {
  return TrimBlanksView(definition_.components[dimension].default_text());
}

}  // namespace jov
