#include "analysis/component_template.h"

#include "files/fields.h"
#include "files/section_output.h"
#include "model/database.h"

namespace jov {
namespace {

constexpr char kSelectionPrefix = 'B';
// The letters of a column line's flags, for on; lower case for off.
constexpr std::string_view kFlagLetters = "VBRS";
constexpr std::string_view kStructureLetters = "FH";  // flat, hierarchical
constexpr std::string_view kFilterLetters = "AUZ";    // all, in use, non-zero

// The index of `c` in `letters`; nothing for a character not in them.
std::optional<int> IndexIn(std::string_view letters, char c) {
  const size_t at = letters.find(c);
  if (c == '\0' || at == std::string_view::npos) return std::nullopt;
  return static_cast<int>(at);
}

char First(std::string_view text) { return text.empty() ? '\0' : text[0]; }

std::string ColumnLine(ComponentColumn kind, const ColumnOptions& column) {
  std::string line = {'Q', ColumnLetter(kind), '\t'};
  const bool flags[] = {column.visible, column.bold, column.red_green, column.sublevels};
  for (int i = 0; i < 4; ++i) {
    const char letter = kFlagLetters[i];
    line += flags[i] ? letter : static_cast<char>(letter - 'A' + 'a');
  }
  line.append("\t").append(std::to_string(column.width >= kMinStoredWidth ? column.width : 0));
  return line.append("\t").append(1, DecimalsLetter(column.decimals));
}

// "Q" c, tab, flags, tab, width, tab, decimals. Missing fields leave what they would set.
void ReadColumnLine(std::string_view line, ComponentAnalysisOptions& options) {
  const std::optional<ComponentColumn> kind = ColumnOfLetter(line.size() > 1 ? line[1] : '\0');
  if (!kind) return;
  ColumnOptions& column = options.column(*kind);
  Fields fields;
  fields.Split(line);
  bool* const flags[] = {&column.visible, &column.bold, &column.red_green, &column.sublevels};
  for (const char c : fields[1]) {
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    if (const std::optional<int> flag = IndexIn(kFlagLetters, upper)) *flags[*flag] = c == upper;
  }
  if (const std::optional<int> width = FieldInteger(fields[2])) column.width = *width;
  if (const std::optional<int> decimals = DecimalsOfLetter(First(fields[3]))) {
    column.decimals = *decimals;
  }
}

// "F" and the field's letter ("A" the first); a number counts from 1 too.
std::optional<int> ValueFieldOf(std::string_view value) {
  const char c = First(value);
  if (c >= 'A' && c <= 'X') return c - 'A';
  if (c >= 'a' && c <= 'x') return c - 'a';
  const std::optional<int> number = FieldInteger(value);
  if (number && *number >= 1) return *number - 1;
  return std::nullopt;
}

void ReadSortLine(std::string_view value, ComponentAnalysisOptions& options) {
  if (const std::optional<int> order = IndexIn(kSortLetters, First(value))) {
    options.sort = static_cast<ComponentSort>(*order);
  }
  if (const std::optional<ComponentColumn> column =
          ColumnOfLetter(value.size() > 1 ? value[1] : '\0')) {
    options.sort_column = *column;
  }
}

// The "Z" lines: chart options, the global sublevels flag and the expansion text.
bool ReadZLine(std::string_view line, bool older, ComponentAnalysisOptions& options) {
  switch (line.size() > 1 ? line[1] : '\0') {
    case 'C':
      options.option_zc = false;
      return true;
    case 'N':
      options.option_zn = true;
      return true;
    case 'S':
    case 'D':
      options.global_sublevels = line[1] == 'S';
      if (older) {
        for (ColumnOptions& column : options.columns) column.sublevels = options.global_sublevels;
      }
      return true;
    case 'X':
      options.expansion = ValueAfterKey(line, 2);
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string StructureLine(bool flat, RowFilter filter) {
  return {'K', '\t', kStructureLetters[flat ? 0 : 1], kFilterLetters[static_cast<int>(filter)]};
}

void ReadStructureValue(std::string_view value, bool& flat, RowFilter& filter) {
  if (const std::optional<int> structure = IndexIn(kStructureLetters, First(value))) {
    flat = *structure == 0;
  }
  if (const std::optional<int> read = IndexIn(kFilterLetters, value.size() > 1 ? value[1] : '\0')) {
    filter = static_cast<RowFilter>(*read);
  }
}

std::vector<std::string> ComponentTemplateLines(const ComponentAnalysisOptions& options,
                                                const Selection& selection,
                                                const std::array<int, kDimensionCount>* numbers) {
  std::vector<std::string> lines = selection.BlockLines(kSelectionPrefix, numbers);
  const auto add = [&](std::string line) { lines.push_back(std::move(line)); };
  add(std::string{'F', static_cast<char>('A' + options.value_field)});
  add(std::string{'D', DecimalsLetter(options.chart_decimals)});
  if (options.view_dimension != ComponentAnalysisOptions().view_dimension) {
    const int number =
        numbers != nullptr ? (*numbers)[options.view_dimension] : options.view_dimension + 1;
    add("P" + std::to_string(number > 0 ? number : options.view_dimension + 1));
  }
  if (options.sort != ComponentSort::kNone || options.sort_column != ComponentColumn::kPeriod) {
    add(std::string{'S', '\t', kSortLetters[static_cast<int>(options.sort)],
                    ColumnLetter(options.sort_column)});
  }
  if (options.flat || options.filter != RowFilter::kAll) {
    add(StructureLine(options.flat, options.filter));
  }
  add(std::string{'R', kIndentationLetters[std::clamp(options.indentation, 0, 2)]});
  if (options.chart_column != ComponentColumn::kPeriod) {
    add(std::string{'V', 'P', ColumnLetter(options.chart_column)});
  }
  add(std::string{'%', kPieValueLetters[std::clamp(options.pie_values, 0, 2)]});
  if (!options.option_zc) add("ZC");
  add(options.global_sublevels ? "ZS" : "ZD");
  add("ZX" + options.expansion);
  if (options.option_zn) add("ZN");
  if (options.chart_scale_width >= kMinStoredWidth) {
    add("wD" + std::to_string(options.chart_scale_width));
  }
  for (int kind = 0; kind < kComponentColumns; ++kind) {
    add(ColumnLine(static_cast<ComponentColumn>(kind), options.columns[kind]));
  }
  return lines;
}

bool ReadComponentTemplateLine(std::string_view line, int value_fields, bool older,
                               ComponentAnalysisOptions& options, Selection& selection) {
  if (line.empty()) return false;
  switch (line[0]) {
    case kSelectionPrefix:
      selection.ReadBlockLine(line);
      return true;
    case 'F':
      if (const std::optional<int> field = ValueFieldOf(ValueAfterKey(line, 1))) {
        if (*field < value_fields) options.value_field = *field;
      }
      return true;
    case 'D':
      if (const std::optional<int> decimals = DecimalsOfLetter(First(ValueAfterKey(line, 1)))) {
        options.chart_decimals = *decimals;
        if (older) {
          for (ColumnOptions& column : options.columns) column.decimals = *decimals;
        }
      }
      return true;
    case 'P':
      if (const std::optional<int> number = FieldInteger(ValueAfterKey(line, 1))) {
        if (*number >= 1 && *number <= kDimensionCount) options.view_dimension = *number - 1;
      }
      return true;
    case 'S':
      ReadSortLine(ValueAfterKey(line, 1), options);
      return true;
    case 'K':
      ReadStructureValue(ValueAfterKey(line, 1), options.flat, options.filter);
      return true;
    case 'R':
      if (const std::optional<int> step =
              IndexIn(kIndentationLetters, First(ValueAfterKey(line, 1)))) {
        options.indentation = *step;
      }
      return true;
    case 'V':
      if (line.size() < 2 || line[1] != 'P') return false;
      if (const std::optional<ComponentColumn> column =
              ColumnOfLetter(First(ValueAfterKey(line, 2)))) {
        options.chart_column = *column;
      }
      return true;
    case '%':
      if (const std::optional<int> labels =
              IndexIn(kPieValueLetters, First(ValueAfterKey(line, 1)))) {
        options.pie_values = *labels;
      }
      return true;
    case 'Z':
      return ReadZLine(line, older, options);
    case 'w':
      if (line.size() < 2 || line[1] != 'D') return false;
      if (const std::optional<int> width = FieldInteger(ValueAfterKey(line, 2))) {
        options.chart_scale_width = *width;
      }
      return true;
    case 'Q':
      ReadColumnLine(line, options);
      return true;
    default:
      return false;
  }
}

ComponentTemplateBody::ComponentTemplateBody(Database& database)
    : database_(database),
      options_(ComponentAnalysisOptions::Standard(database.value_decimals())),
      selection_(database) {}

void ComponentTemplateBody::BeginReading(uint32_t format_date) {
  older_ = format_date < kPerColumnOptionsDate;
}

bool ComponentTemplateBody::ReadLine(std::string_view line) {
  return ReadComponentTemplateLine(line, database_.value_field_count(), older_, options_,
                                   selection_);
}

void ComponentTemplateBody::WriteLines(SectionOutput& output) const {
  std::array<int, kDimensionCount> numbers{};
  for (int d = 0; d < kDimensionCount; ++d) numbers[d] = output.NumberOf(d);
  for (const std::string& line : ComponentTemplateLines(options_, selection_, &numbers)) {
    output.sink().WriteLine(line);
  }
}

std::unique_ptr<TemplateBody> NewComponentTemplateBody(Database& database) {
  return std::make_unique<ComponentTemplateBody>(database);
}

}  // namespace jov
