#include "select/comparison.h"

#include "select/criterion_text.h"

namespace jov {
namespace {

bool IsComparisonChar(char c) { return c == '<' || c == '=' || c == '>'; }

}  // namespace

std::string_view ComparisonText(Comparison comparison) {
  constexpr std::string_view kTexts[] = {"=", "<", ">", "<=", ">=", "<>"};
  return kTexts[static_cast<int>(comparison)];
}

std::optional<Comparison> ReadComparison(std::string_view text, size_t* pos) {
  bool lt = false, eq = false, gt = false;
  size_t end = *pos;
  for (; end < text.size() && IsComparisonChar(text[end]); ++end) {
    lt = lt || text[end] == '<';
    eq = eq || text[end] == '=';
    gt = gt || text[end] == '>';
  }
  if (end == *pos) return std::nullopt;
  *pos = end;
  if (lt && gt) return Comparison::kNotEqual;
  if (lt) return eq ? Comparison::kLessEqual : Comparison::kLess;
  if (gt) return eq ? Comparison::kGreaterEqual : Comparison::kGreater;
  return Comparison::kEqual;
}

void AppendMissingTest(Comparison comparison, std::string_view text, size_t* pos,
                       std::string* out) {
  const std::string_view op = ComparisonText(comparison);
  if (*pos < text.size() && text[*pos] == kBackslashChar) {
    ++*pos;
    out->append(op);
  } else {
    out->append(op.substr(0, op.size() - 1));
  }
  out->push_back(kBackslashChar);
}

}  // namespace jov
