// The stored form of a selection (lines of a tag, a tab and a text) and its definition block
// printed above an analysis, as text or HTML.
#include <string>

#include "model/database.h"
#include "select/criterion_text.h"
#include "select/selection.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

// Tags after the prefix letter.
constexpr char kDateRangeTag = 'C';
constexpr char kDimensionTag = 'D';
constexpr char kCardTitleTag = 'Y';
constexpr char kLineTextTag = 'L';
constexpr char kValueTag = 'V';
constexpr char kSubsetTag = 'S';

std::string DatePointField(const DatePoint& point) {
  return point.IsOpen() ? std::string() : OneField(point.Text());
}

// The value field a "V" line names by its third character: "1"-"9" fields 1-9, "A"-"Z" fields
// 1-26; anything else, and a field past the last, is field 1. 0-based.
int ValueFieldOf(std::string_view tag) {
  const char c = tag.size() > 2 ? tag[2] : '\0';
  int field = 1;
  if (c >= '1' && c <= '9') field = c - '0';
  if (c >= 'A' && c <= 'Z') field = c - 'A' + 1;
  return field > Selection::kValueFields ? 0 : field - 1;
}

// The dimension a "D" line names by the decimal number after its letter; -1 outside 1-16.
int DimensionOf(std::string_view tag) {
  int number = 0;
  size_t i = 2;
  for (; i < tag.size() && tag[i] >= '0' && tag[i] <= '9' && number <= kDimensionCount; ++i) {
    number = number * 10 + (tag[i] - '0');
  }
  return i > 2 && number >= 1 && number <= kDimensionCount ? number - 1 : -1;
}

}  // namespace

std::vector<std::string> Selection::BlockLines(
    char prefix, const std::array<int, kDimensionCount>* numbers) const {
  std::vector<std::string> lines;
  const auto add = [&](std::string tag, std::string_view text) {
    lines.push_back(std::string(1, prefix) + tag + "\t" + OneField(text));
  };
  if (!from_.IsOpen() || !to_.IsOpen()) {
    add(std::string(1, kDateRangeTag), DatePointField(from_));
    lines.back().append("\t").append(DatePointField(to_));
  }
  for (int d = 0; d < kDimensionCount; ++d) {
    const int number = numbers != nullptr ? (*numbers)[d] : d + 1;
    if (expressions_[d].text.empty() || number < 1) continue;
    add(kDimensionTag + std::to_string(number), expressions_[d].text);
  }
  if (!title_.text.empty()) add(std::string(1, kCardTitleTag), title_.text);
  if (!line_text_.text.empty()) add(std::string(1, kLineTextTag), line_text_.text);
  for (int field = 0; field < kValueFields; ++field) {
    if (values_[field].text.empty()) continue;
    add(std::string{kValueTag, static_cast<char>('A' + field)}, values_[field].text);
  }
  if (!subset().empty()) add(std::string(1, kSubsetTag), subset());
  return lines;
}

void Selection::ReadDateRange(std::string_view fields) {
  const size_t tab = fields.find('\t');
  SetFrom(fields.substr(0, tab));
  SetTo(tab == std::string_view::npos ? std::string_view() : fields.substr(tab + 1));
}

void Selection::ReadBlockLine(std::string_view line) {
  if (line.size() < 2) return;
  const size_t tab = line.find('\t');
  const std::string_view tag = line.substr(0, tab);
  const std::string_view text = tab == std::string_view::npos ? "" : line.substr(tab + 1);
  switch (tag[1]) {
    case kDateRangeTag:
      return ReadDateRange(text);
    case kDimensionTag:
      return SetComponentExpression(DimensionOf(tag), text);
    case kCardTitleTag:
      return SetCardTitle(text);
    case kLineTextTag:
      return SetLineText(text);
    case kValueTag:
      return SetValueCondition(ValueFieldOf(tag), text);
    case kSubsetTag:
      return SetSubset(text);
    default:
      return;  // a criterion this version does not know
  }
}

std::vector<DefinitionRow> Selection::DefinitionRows() const {
  std::vector<DefinitionRow> rows = {{MessageText(msg::kFrom), from_.Text()},
                                     {MessageText(msg::kTo), to_.Text()}};
  for (int d = 0; d < kDimensionCount; ++d) {
    if (RestrictsDimension(d)) {
      rows.push_back({database_.GetName(name_id::kFirstSingular + d), DisplayedExpression(d)});
    }
  }
  if (title_.compiled.program)
    rows.push_back({database_.GetName(name_id::kCardTitle), title_.text});
  if (line_text_.compiled.program) {
    rows.push_back({database_.GetName(name_id::kLineText), line_text_.text});
  }
  for (int field = 0; field < UsedValueFields(); ++field) {
    if (values_[field].program) {
      rows.push_back({database_.GetName(name_id::kFirstValueField + field), values_[field].text});
    }
  }
  if (!subset().empty()) rows.push_back({MessageText(msg::kSubset), subset_reference_.Text(true)});
  return rows;
}

void Selection::Render(LineSink& out, Form form) const {
  if (form == Form::kXml) return WriteXml(out);
  WriteDefinitionBlock(out, form == Form::kHtml ? DefinitionForm::kHtml : DefinitionForm::kText,
                       DefinitionRows());
}

}  // namespace jov
