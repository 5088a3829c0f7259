#include "analysis/card_template.h"

#include "analysis/component_options.h"
#include "files/fields.h"
#include "files/section_output.h"
#include "model/database.h"

namespace jov {
namespace {

constexpr char kSelectionPrefix = 'B';
constexpr std::string_view kWidthKeys = "CYLVD";

std::optional<DataContents> ContentsOfLetter(char letter) {
  const size_t at = kContentsLetters.find(letter);
  if (letter == '\0' || at == std::string_view::npos) return std::nullopt;
  return static_cast<DataContents>(at);
}

}  // namespace

CardAnalysisOptions CardAnalysisOptions::Standard(int decimals) {
  CardAnalysisOptions options;
  options.decimals = decimals;
  options.columns.accumulated = false;
  return options;
}

CardLevel CardAnalysisOptions::MarkedLevel() const {
  if (groups == DataContents::kNone) return CardLevel::kCards;
  if (lines == DataContents::kSelected) return CardLevel::kLines;
  return groups == DataContents::kSelected ? CardLevel::kGroups : CardLevel::kCards;
}

std::vector<std::string> CardTemplateLines(const CardAnalysisOptions& options,
                                           const Selection& selection,
                                           const std::array<int, kDimensionCount>* numbers) {
  std::vector<std::string> lines = selection.BlockLines(kSelectionPrefix, numbers);
  lines.push_back("P\t" + ColumnListText(options.columns, false));
  lines.push_back(std::string{'D', DecimalsLetter(options.decimals)});
  if (options.groups != DataContents::kSelected || options.lines != DataContents::kSelected) {
    lines.push_back(std::string{'S', '\t', kContentsLetters[static_cast<int>(options.groups)],
                                kContentsLetters[static_cast<int>(options.lines)]});
  }
  for (const std::string& width : options.width_lines) lines.push_back(width);
  return lines;
}

bool ReadCardTemplateLine(std::string_view line, CardAnalysisOptions& options,
                          Selection& selection) {
  if (line.empty()) return false;
  Fields fields;
  fields.Split(line);
  const char second = line.size() > 1 ? line[1] : '\0';
  switch (line[0]) {
    case kSelectionPrefix:
      selection.ReadBlockLine(line);
      return true;
    case 'P':
      options.columns = ReadColumnList(KeyValue(fields, 1));
      return true;
    case 'D':
      if (const std::optional<int> decimals = DecimalsOfLetter(second))
        options.decimals = *decimals;
      return true;
    case 'S': {
      const std::string_view value = KeyValue(fields, 1);
      const std::optional<DataContents> groups = ContentsOfLetter(value.empty() ? '\0' : value[0]);
      const std::optional<DataContents> lines =
          ContentsOfLetter(value.size() > 1 ? value[1] : '\0');
      if (groups) options.groups = *groups;
      if (lines) options.lines = *lines;
      return true;
    }
    case 'w':
      if (second == '\0' || kWidthKeys.find(second) == std::string_view::npos) return false;
      options.width_lines.emplace_back(line);
      return true;
    default:
      return false;
  }
}

CardTemplateBody::CardTemplateBody(Database& database)
    : options_(CardAnalysisOptions::Standard(database.value_decimals())), selection_(database) {}

bool CardTemplateBody::ReadLine(std::string_view line) {
  return ReadCardTemplateLine(line, options_, selection_);
}

void CardTemplateBody::WriteLines(SectionOutput& output) const {
  std::array<int, kDimensionCount> numbers{};
  for (int d = 0; d < kDimensionCount; ++d) numbers[d] = output.NumberOf(d);
  for (const std::string& line : CardTemplateLines(options_, selection_, &numbers)) {
    output.sink().WriteLine(line);
  }
}

std::unique_ptr<TemplateBody> NewCardTemplateBody(Database& database) {
  return std::make_unique<CardTemplateBody>(database);
}

}  // namespace jov
