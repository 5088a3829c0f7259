#include "analysis/line_template.h"

#include <algorithm>

#include "analysis/component_options.h"
#include "files/fields.h"
#include "files/section_output.h"
#include "model/database.h"
#include "shell/number_text.h"

namespace jov {
namespace {

constexpr char kSelectionPrefix = 'B';
constexpr std::string_view kCalculationLetters = "LE";  // linear, exponential
// Rates are written with this many decimals at most, trailing zeros dropped.
constexpr int kRateDecimals = 10;

// "key", then a tab and each width, when one of them is wide enough to be stored.
template <size_t kCount>
void AddWidths(std::vector<std::string>& lines, std::string_view key,
               const std::array<int, kCount>& widths) {
  if (std::none_of(widths.begin(), widths.end(),
                   [](int width) { return width >= kMinStoredWidth; })) {
    return;
  }
  std::string line(key);
  for (const int width : widths) {
    line.append("\t").append(std::to_string(width >= kMinStoredWidth ? width : 0));
  }
  lines.push_back(std::move(line));
}

// Wider than this, a stored width is taken for damage: the column takes its default.
constexpr int kMaxWidth = 10000;

template <size_t kCount>
void ReadWidths(const Fields& fields, std::array<int, kCount>& widths) {
  for (size_t i = 0; i < kCount; ++i) {
    if (const std::optional<int> width = FieldInteger(fields[i + 1])) {
      widths[i] = *width >= 0 && *width <= kMaxWidth ? *width : 0;
    }
  }
}

std::string RateLine(char key, double rate) {
  std::string line = {key, '\t'};
  AppendNumber(line, rate, kRateDecimals);
  return line;
}

bool ReadWidthLine(const Fields& fields, char which, LineAnalysisOptions& options) {
  switch (which) {
    case 'C':
      ReadWidths(fields, options.widths.card);
      return true;
    case 'D':
      ReadWidths(fields, options.widths.dimensions);
      return true;
    case 'L':
      ReadWidths(fields, options.widths.line);
      return true;
    default:
      return false;
  }
}

bool ReadChartLine(const Fields& fields, char which, LineAnalysisOptions& options) {
  switch (which) {
    case 'C':
      options.chart_caption = std::string(fields[1]);
      return true;
    case 'S':
      options.option_zs = true;
      return true;
    case 'N':
      options.option_zn = true;
      return true;
    default:
      return false;
  }
}

}  // namespace

std::vector<std::string> LineTemplateLines(const LineAnalysisOptions& options,
                                           const Selection& selection,
                                           const std::array<int, kDimensionCount>* numbers) {
  std::vector<std::string> lines = selection.BlockLines(kSelectionPrefix, numbers);
  const auto add = [&](std::string line) { lines.push_back(std::move(line)); };
  add(std::string{'Q', static_cast<char>('A' + options.accumulated_field)});
  add(std::string{'D', DecimalsLetter(options.decimals)});
  add("P\t" + ColumnListText(options.columns, true));
  add("H\t" + options.SummaryLetters());
  if (options.positive_rate != 0) add(RateLine('+', options.positive_rate));
  if (options.negative_rate != 0) add(RateLine('-', options.negative_rate));
  add(std::string{'I', kCalculationLetters[static_cast<int>(options.calculation)]});
  if (!options.card_info_every_line) add("CF");
  AddWidths(lines, "wC", options.widths.card);
  AddWidths(lines, "wD", options.widths.dimensions);
  AddWidths(lines, "wL", options.widths.line);
  if (!options.chart_caption.empty()) add("ZC\t" + options.chart_caption);
  if (options.option_zs) add("ZS");
  if (options.option_zn) add("ZN");
  return lines;
}

bool ReadLineTemplateLine(std::string_view line, LineAnalysisOptions& options,
                          Selection& selection) {
  if (line.empty()) return false;
  Fields fields;
  fields.Split(line);
  const char second = line.size() > 1 ? line[1] : '\0';
  switch (line[0]) {
    case kSelectionPrefix:
      selection.ReadBlockLine(line);
      return true;
    case 'Q':
      if (second >= 'A' && second < 'A' + kListValueFields)
        options.accumulated_field = second - 'A';
      return true;
    case 'D':
      if (const std::optional<int> decimals = DecimalsOfLetter(second))
        options.decimals = *decimals;
      return true;
    case 'P':
      options.columns = ReadColumnList(KeyValue(fields, 1));
      return true;
    case 'H':
      options.SetSummaryLetters(KeyValue(fields, 1));
      return true;
    case '+':
    case '-': {
      const double rate = ParseNumber(KeyValue(fields, 1));
      (line[0] == '+' ? options.positive_rate : options.negative_rate) = RateIsSet(rate) ? rate : 0;
      return true;
    }
    case 'I':
      if (const size_t at = kCalculationLetters.find(second);
          second != '\0' && at != std::string_view::npos) {
        options.calculation = static_cast<InterestCalculation>(at);
      }
      return true;
    case 'C':
      if (second != 'F') return false;
      options.card_info_every_line = false;
      return true;
    case 'w':
      return ReadWidthLine(fields, second, options);
    case 'Z':
      return ReadChartLine(fields, second, options);
    default:
      return false;
  }
}

LineTemplateBody::LineTemplateBody(Database& database)
    : options_(LineAnalysisOptions::Standard(database.value_decimals())), selection_(database) {}

bool LineTemplateBody::ReadLine(std::string_view line) {
  return ReadLineTemplateLine(line, options_, selection_);
}

void LineTemplateBody::WriteLines(SectionOutput& output) const {
  std::array<int, kDimensionCount> numbers{};
  for (int d = 0; d < kDimensionCount; ++d) numbers[d] = output.NumberOf(d);
  for (const std::string& line : LineTemplateLines(options_, selection_, &numbers)) {
    output.sink().WriteLine(line);
  }
}

std::unique_ptr<TemplateBody> NewLineTemplateBody(Database& database) {
  return std::make_unique<LineTemplateBody>(database);
}

}  // namespace jov
