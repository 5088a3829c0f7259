#include "io/import_preview.h"

#include <deque>

#include "io/import_fields.h"
#include "io/import_values.h"
#include "io/line_fields.h"
#include "shell/message_ids.h"
#include "shell/messages.h"
#include "shell/number_text.h"

namespace jov {
namespace {

class Previewer : public UnreadableValue {
 public:
  Previewer(const Database& database, ImportInput& input, const ImportSetup& setup)
      : database_(database), setup_(setup), reader_(input, setup), fields_(setup) {
    for (const LineDefinition& definition : setup.line_definitions) {
      definitions_.emplace_back(definition, setup.decimal_separator);
    }
    const DayCode day = ReadImportDate(setup.card_date.default_text(), setup.date_format);
    default_day_ = day != kNoDay ? day : Today();
  }

  std::vector<PreviewRow> Run(int max_rows);
  void Report(std::string_view text) override { row_->unreadable.emplace_back(text); }

 private:
  bool Next(int join);
  void ReadCard();
  void ReadLines();
  PreviewLine ReadLine(LineFieldReader& reader);
  bool IsNewCode(int dimension, std::string_view code, std::string_view default_code) const;

  const Database& database_;
  const ImportSetup& setup_;
  RowReader reader_;
  FieldReader fields_;
  std::deque<LineFieldReader> definitions_;
  DayCode default_day_ = kNoDay;
  PreviewRow* row_ = nullptr;
  std::string text_;
};

std::vector<PreviewRow> Previewer::Run(int max_rows) {
  std::vector<PreviewRow> rows;
  while (static_cast<int>(rows.size()) < max_rows && reader_.NextRow()) {
    row_ = &rows.emplace_back();
    row_->number = reader_.rows();
    if (static_cast<int>(rows.size()) <= setup_.rows_to_skip) {
      row_->skipped = true;
      row_->text = reader_.row();
      continue;
    }
    fields_.SetRow(reader_.row());
    // A card row is read with its rows per card joined, and tested as a line row after that,
    // as the import tests a card's first row.
    if (fields_.Matches(setup_.card_indicator)) ReadCard();
    if (fields_.Matches(setup_.line_indicator)) ReadLines();
    row_->text = reader_.row();
  }
  return rows;
}

// Joins `join` rows into the current one.
bool Previewer::Next(int join) {
  if (join <= 1) return true;
  reader_.JoinRows(join);
  fields_.SetRow(reader_.row());
  return true;
}

void Previewer::ReadCard() {
  row_->card = true;
  Next(setup_.rows_per_card);
  fields_.TextJoin(setup_.card_date, text_);
  const DayCode day = text_.empty() ? kNoDay : ReadImportDate(text_, setup_.date_format);
  row_->date = day != kNoDay ? day : default_day_;
  fields_.TextJoin(setup_.card_title, row_->title);
}

void Previewer::ReadLines() {
  row_->line = true;
  if (!row_->card) Next(setup_.rows_per_line);
  for (LineFieldReader& reader : definitions_) row_->lines.push_back(ReadLine(reader));
}

PreviewLine Previewer::ReadLine(LineFieldReader& reader) {
  PreviewLine line;
  bool all_zero = true;
  for (int v = 0; v < database_.value_field_count(); ++v) {
    const size_t reported = row_->unreadable.size();
    line.values.push_back(reader.Value(fields_, v, this));
    line.unreadable.push_back(row_->unreadable.size() > reported);
    if (line.values.back() != 0) all_zero = false;
  }
  line.excluded = all_zero && reader.definition().exclude_zero_lines;
  for (int d = 0; d < kDimensionCount; ++d) {
    line.codes[d] = reader.Code(fields_, d);
    line.new_codes[d] = IsNewCode(d, line.codes[d], reader.DefaultCode(d));
  }
  if (!reader.definition().line_text.empty()) {
    fields_.TextJoin(reader.definition().line_text, line.text);
  }
  return line;
}

// As the import looks codes up: a code by host code; an empty one takes the default text, found
// by host code or else by JOV-Code. A default text without either is made too.
bool Previewer::IsNewCode(int dimension, std::string_view code,
                          std::string_view default_code) const {
  if (!code.empty()) return database_.FindByHost(dimension, code) == kNoComponent;
  return !default_code.empty() && database_.FindByHost(dimension, default_code) == kNoComponent &&
         database_.FindByCode(dimension, default_code) == kNoComponent;
}

std::string RowKind(const PreviewRow& row) {
  if (row.skipped) return MessageText(msg::kPreviewSkipped);
  if (row.card && row.line) return MessageText(msg::kPreviewCardAndLine);
  if (row.card) return MessageText(msg::kPreviewCard);
  if (row.line) return MessageText(msg::kPreviewLine);
  return {};
}

// The dimensions whose component field a definition uses.
std::vector<int> ActiveDimensions(const LineDefinition& definition) {
  std::vector<int> active;
  for (int d = 0; d < kDimensionCount; ++d) {
    if (!definition.components[d].empty()) active.push_back(d);
  }
  return active;
}

}  // namespace

std::vector<PreviewRow> PreviewImport(const Database& database, ImportInput& input,
                                      const ImportSetup& setup, int max_rows) {
  return Previewer(database, input, setup).Run(max_rows);
}

FixedTable PreviewTable(const Database& database, const ImportSetup& setup,
                        const std::vector<PreviewRow>& rows) {
  FixedTable table;
  table.set_title(MessageText(msg::kPreview));
  table.AddColumn({.title = MessageText(msg::kPreviewRow), .alignment = CellAlignment::kRight});
  table.AddColumn({.title = MessageText(msg::kPreviewKind)});
  table.AddColumn({.title = MessageText(msg::kCardDateLabel)});
  table.AddColumn({.title = database.GetName(name_id::kCardTitle)});
  const size_t definitions = setup.line_definitions.size();
  std::vector<std::vector<int>> active;
  for (size_t i = 0; i < definitions; ++i) {
    active.push_back(ActiveDimensions(setup.line_definitions[i]));
    // With more than one definition each column says which one it belongs to.
    const std::string prefix = definitions > 1 ? std::to_string(i + 1) + ": " : std::string();
    for (const int d : active.back()) {
      table.AddColumn({.title = prefix + database.GetName(name_id::kFirstSingular + d)});
    }
    for (int v = 0; v < database.value_field_count(); ++v) {
      table.AddColumn({.title = prefix + database.GetName(name_id::kFirstValueField + v),
                       .alignment = CellAlignment::kRight});
    }
  }
  const int decimals = database.value_decimals();
  for (const PreviewRow& row : rows) {
    std::vector<TableCell> cells;
    cells.push_back({.text = std::to_string(row.number), .alignment = CellAlignment::kRight});
    cells.push_back({.text = RowKind(row)});
    cells.push_back({.text = row.card ? DayCodeText(row.date) : std::string()});
    cells.push_back({.text = row.card ? row.title : (row.skipped ? row.text : std::string())});
    for (size_t i = 0; i < row.lines.size() && i < definitions; ++i) {
      const PreviewLine& line = row.lines[i];
      const CellColour colour = line.excluded ? CellColour::kRed : CellColour::kDefault;
      for (const int d : active[i]) {
        cells.push_back(
            {.text = line.codes[d] + (line.new_codes[d] ? " *" : ""), .colour = colour});
      }
      for (size_t v = 0; v < line.values.size(); ++v) {
        cells.push_back({.text = line.unreadable[v] ? "?" : FormatNumber(line.values[v], decimals),
                         .alignment = CellAlignment::kRight,
                         .colour = colour});
      }
    }
    table.AddDataRow(std::move(cells));
  }
  return table;
}

}  // namespace jov
