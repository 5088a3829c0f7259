#include "analysis/column_lines.h"

#include <algorithm>

#include "files/fields.h"
#include "model/database.h"

namespace jov {
namespace {

constexpr std::string_view kSelectionBlock = "## Selection";
constexpr std::string_view kFormulaBlock = "## Formula";
// The characters after "F" of a formula's keys. After "V", any character that is not one of
// the variable's keys (N, F, M, T, Z, -) is a selection tag.
constexpr std::string_view kFormulaKeys = "NFDGSZ-";
constexpr std::string_view kDecimalsLetters = "MT0123456";  // decimals + 2

char DecimalsLetter(int decimals) { return kDecimalsLetters[std::clamp(decimals, -2, 6) + 2]; }

// A name, title or text stays one field of one line: tabs and line breaks become blanks.
std::string OneField(std::string_view text) {
  std::string field(text);
  std::replace_if(
      field.begin(), field.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return field;
}

char CharAt(std::string_view text, size_t index) {
  return index < text.size() ? text[index] : '\0';
}

std::string DisplayFields(char key, const ColumnLook& look) {
  std::string line = {
      key, 'Z', '\t', 'D', DecimalsLetter(look.decimals), '\t', 'C', ColourLetter(look.colour)};
  if (look.width >= 16) line.append("\tW").append(std::to_string(look.width));
  line.append("\tw").push_back(static_cast<char>('0' + std::clamp(look.line_width, 0, 9)));
  const auto flag = [&](char letter, bool on) { line.append({'\t', letter, on ? '+' : '-'}); };
  flag('V', look.visible);
  flag('B', look.bold);
  flag('R', look.red_green);
  return line;
}

void ReadDisplayFields(std::string_view line, ColumnLook& look) {
  Fields fields;
  fields.Split(line);
  for (size_t i = 1; i < fields.size(); ++i) {
    const std::string_view field = fields[i];
    const char value = CharAt(field, 1);
    switch (CharAt(field, 0)) {
      case 'D':
        if (const size_t at = kDecimalsLetters.find(value);
            value != '\0' && at != std::string_view::npos) {
          look.decimals = static_cast<int>(at) - 2;
        }
        break;
      case 'C':
        if (const std::optional<int> colour = ColourOfLetter(value)) look.colour = *colour;
        break;
      case 'W':
        if (const std::optional<int> width = FieldInteger(field.substr(1))) look.width = *width;
        break;
      case 'w':
        if (value >= '0' && value <= '9') look.line_width = value - '0';
        break;
      case 'V':
        look.visible = value == '+';
        break;
      case 'B':
        look.bold = value == '+';
        break;
      case 'R':
        look.red_green = value == '+';
        break;
      default:
        break;  // a field of a later version
    }
  }
}

// The value field of "VF": its letter ("A" the first), or its number from 1.
std::optional<int> ValueFieldOf(std::string_view value) {
  const char c = CharAt(value, 0);
  if (c >= 'A' && c <= 'X') return c - 'A';
  const std::optional<int> number = FieldInteger(value);
  if (number && *number >= 1) return *number - 1;
  return std::nullopt;
}

std::string HeadLine(std::string_view key, const FunctionColumn& column) {
  return std::string(key) + "\t" + OneField(column.name()) + "\t" + OneField(column.title);
}

void AppendVariableLines(const Variable& variable, std::vector<std::string>& lines,
                         const std::array<int, kDimensionCount>* numbers) {
  for (std::string& line : variable.selection().BlockLines('V', numbers)) {
    lines.push_back(std::move(line));
  }
  lines.push_back({'V', 'F', static_cast<char>('A' + variable.value_field)});
  if (variable.measure != Measure::kSum || variable.accumulation != Accumulation::kFromStart) {
    lines.push_back({'V', 'M', MeasureLetter(variable.measure),
                     kAccumulationLetters[static_cast<int>(variable.accumulation)]});
  }
  if (!variable.shift.IsNone()) lines.push_back("VT\t" + variable.shift.Text());
  lines.push_back(DisplayFields('V', variable.look));
}

void AppendFormulaLines(const Formula& formula, std::vector<std::string>& lines) {
  lines.push_back("FF\t" + OneField(formula.text()));
  if (formula.operation != TimeOperation::kNone) {
    lines.push_back({'F', 'D', kTimeOperationLetters[static_cast<int>(formula.operation)]});
  }
  lines.push_back({'F', 'G', kGraphStyleLetters[static_cast<int>(formula.graph)]});
  if (formula.higher_levels != HigherLevels::kByFormula) {
    lines.push_back({'F', 'S', kHigherLevelsLetters[static_cast<int>(formula.higher_levels)]});
  }
  lines.push_back(DisplayFields('F', formula.look));
}

}  // namespace

std::vector<std::string> ColumnLines(const FunctionColumns& columns,
                                     const std::array<int, kDimensionCount>* numbers) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < columns.size(); ++i) {
    const FunctionColumn& column = columns[i];
    if (column.is_variable()) {
      lines.push_back(HeadLine("VN", column));
      AppendVariableLines(static_cast<const Variable&>(column), lines, numbers);
    } else {
      lines.push_back(HeadLine("FN", column));
      AppendFormulaLines(static_cast<const Formula&>(column), lines);
    }
  }
  return lines;
}

ColumnLinesReader::ColumnLinesReader(FunctionColumns& columns, uint32_t format_date)
    : columns_(columns),
      older_display_(format_date < kColumnDisplayDate),
      by_period_(format_date >= kColumnDisplayDate && format_date < kAccumulationDate) {}

bool ColumnLinesReader::ReadLine(std::string_view line) {
  const char key = CharAt(line, 0);
  if (key != 'V' && key != 'F') return false;
  const char sub = CharAt(line, 1);
  const bool variable_line = key == 'V';
  if (sub == 'N') {
    StartColumn(line,
                variable_line ? FunctionColumn::Kind::kVariable : FunctionColumn::Kind::kFormula);
    return true;
  }
  if (!variable_line && (sub == '\0' || kFormulaKeys.find(sub) == std::string_view::npos)) {
    return false;  // a key of the analysis kind's own
  }
  if (current_ == nullptr || current_->is_variable() != variable_line) return true;
  if (sub == '-') {
    RemoveCurrent();
  } else if (variable_line) {
    ReadVariableLine(static_cast<Variable&>(*current_), line);
  } else {
    ReadFormulaLine(static_cast<Formula&>(*current_), line);
  }
  return true;
}

void ColumnLinesReader::StartColumn(std::string_view line, FunctionColumn::Kind kind) {
  Fields fields;
  fields.Split(line);
  const int found = columns_.Find(fields[1]);
  if (found < 0 || columns_[static_cast<size_t>(found)].kind() != kind) {
    Start(kind, fields[1], fields[2]);
  } else {
    current_ = &columns_[static_cast<size_t>(found)];
    current_->title = fields[2];
  }
  if (current_ != nullptr && by_period_ && current_->is_variable()) {
    static_cast<Variable&>(*current_).accumulation = Accumulation::kByPeriod;
  }
}

bool ColumnLinesReader::Start(FunctionColumn::Kind kind, std::string_view name,
                              std::string_view title) {
  const std::string free = name.empty() ? std::string() : columns_.FreeName(name);
  current_ = kind == FunctionColumn::Kind::kVariable
                 ? static_cast<FunctionColumn*>(columns_.AddVariable(free))
                 : columns_.AddFormula(free);
  if (current_ != nullptr) current_->title = title;
  return current_ != nullptr;
}

bool ColumnLinesReader::Replace(size_t index, std::string_view name, std::string_view title) {
  FunctionColumn& column = columns_[index];
  if (!name.empty() && name != column.name()) columns_.Rename(index, columns_.FreeName(name));
  column.title = title;
  column.look =
      ColumnLook{.decimals = columns_.database().value_decimals(), .colour = column.look.colour};
  if (column.is_variable()) {
    auto& variable = static_cast<Variable&>(column);
    variable.selection().Clear();
    variable.value_field = 0;
    variable.measure = Measure::kSum;
    variable.accumulation = Accumulation::kFromStart;
    variable.shift = TimeShift();
  } else {
    auto& formula = static_cast<Formula&>(column);
    columns_.SetText(formula, "");
    formula.operation = TimeOperation::kNone;
    formula.graph = GraphStyle::kLine;
    formula.higher_levels = HigherLevels::kByFormula;
  }
  current_ = &column;
  return true;
}

void ColumnLinesReader::ReadVariableLine(Variable& variable, std::string_view line) {
  switch (line[1]) {
    case 'F':
      if (const std::optional<int> field = ValueFieldOf(ValueAfterKey(line, 2))) {
        if (*field < columns_.database().value_field_count()) variable.value_field = *field;
      }
      return;
    case 'M': {
      const std::string_view value = ValueAfterKey(line, 2);
      if (const std::optional<Measure> measure = MeasureOfLetter(CharAt(value, 0))) {
        variable.measure = *measure;
      }
      const size_t accumulation = kAccumulationLetters.find(CharAt(value, 1));
      if (CharAt(value, 1) != '\0' && accumulation != std::string_view::npos) {
        variable.accumulation = static_cast<Accumulation>(accumulation);
      }
      return;
    }
    case 'T':
      variable.shift = TimeShift::FromText(ValueAfterKey(line, 2));
      return;
    case 'Z':
      if (!older_display_) ReadDisplayFields(line, variable.look);
      return;
    default:
      variable.selection().ReadBlockLine(line);
      return;
  }
}

void ColumnLinesReader::ReadFormulaLine(Formula& formula, std::string_view line) {
  const char value = CharAt(ValueAfterKey(line, 2), 0);
  switch (line[1]) {
    case 'F':
      columns_.SetText(formula, ValueAfterKey(line, 2));
      return;
    case 'D':
      if (const size_t at = kTimeOperationLetters.find(value);
          value != '\0' && at != std::string_view::npos) {
        formula.operation = static_cast<TimeOperation>(at);
      }
      return;
    case 'G':
      if (const size_t at = kGraphStyleLetters.find(value);
          value != '\0' && at != std::string_view::npos) {
        formula.graph = static_cast<GraphStyle>(at);
      }
      return;
    case 'S':
      if (const size_t at = kHigherLevelsLetters.find(value);
          value != '\0' && at != std::string_view::npos) {
        formula.higher_levels = static_cast<HigherLevels>(at);
      }
      return;
    case 'Z':
      if (!older_display_) ReadDisplayFields(line, formula.look);
      return;
    default:
      return;
  }
}

void ColumnLinesReader::RemoveCurrent() {
  const int index = columns_.Find(current_->name());
  if (index >= 0) columns_.Erase(static_cast<size_t>(index));
  current_ = nullptr;
}

std::string CopyColumns(const FunctionColumns& columns, const std::vector<size_t>& indices) {
  std::vector<std::string> lines;
  for (const size_t index : indices) {
    const FunctionColumn& column = columns[index];
    if (column.is_variable()) {
      lines.push_back(HeadLine(kSelectionBlock, column));
      AppendVariableLines(static_cast<const Variable&>(column), lines, nullptr);
    } else {
      lines.push_back(HeadLine(kFormulaBlock, column));
      AppendFormulaLines(static_cast<const Formula&>(column), lines);
    }
  }
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

int PasteColumns(FunctionColumns& columns, std::string_view text, int selected) {
  ColumnLinesReader reader(columns, UINT32_MAX);
  bool in_block = false;
  int made = 0;
  while (!text.empty()) {
    const size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(text.find_first_not_of("\r\n", end), text.size()));
    const bool variable = line.starts_with(kSelectionBlock);
    if (!variable && !line.starts_with(kFormulaBlock)) {
      if (line.starts_with("##")) in_block = false;
      if (in_block) reader.ReadLine(line);
      continue;
    }
    const FunctionColumn::Kind kind =
        variable ? FunctionColumn::Kind::kVariable : FunctionColumn::Kind::kFormula;
    Fields fields;
    fields.Split(line);
    if (selected >= 0 && static_cast<size_t>(selected) < columns.size() &&
        columns[static_cast<size_t>(selected)].kind() == kind) {
      in_block = reader.Replace(static_cast<size_t>(selected), fields[1], fields[2]);
      selected = -1;
    } else {
      in_block = reader.Start(kind, fields[1], fields[2]);
    }
    made += in_block ? 1 : 0;
  }
  return made;
}

}  // namespace jov
