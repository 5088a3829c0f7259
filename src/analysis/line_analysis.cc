#include "analysis/line_analysis.h"

#include <algorithm>
#include <cmath>

#include "analysis/component_options.h"
#include "analysis/line_xml.h"
#include "analysis/result_changes.h"
#include "analysis/shown_value.h"
#include "model/database.h"
#include "shell/message_ids.h"
#include "shell/messages.h"
#include "shell/number_text.h"

namespace jov {
namespace {

// Default widths in pixels of columns without a stored width.
constexpr int kCardIdWidth = 90;
constexpr int kTitleWidth = 160;
constexpr int kDimensionWidth = 120;
constexpr int kTextWidth = 160;
constexpr int kValueWidth = 100;
// Turnover is shown with two decimals, counts with none.
constexpr int kTurnoverDecimals = 2;

int WidthOr(int stored, int standard) { return stored >= kMinStoredWidth ? stored : standard; }

// Where the settings keep the width of a column of `kind`; `index` is its dimension or value
// field.
int& WidthSlot(LineColumnWidths& widths, LineColumnKind kind, int index) {
  switch (kind) {
    case LineColumnKind::kCardId:
      return widths.card[0];
    case LineColumnKind::kCardTitle:
      return widths.card[1];
    case LineColumnKind::kDimension:
      return widths.dimensions[static_cast<size_t>(index)];
    case LineColumnKind::kLineText:
      return widths.line[0];
    case LineColumnKind::kAccumulated:
      return widths.line[2];
    case LineColumnKind::kValue:
      break;
  }
  return index == 0 ? widths.line[1] : widths.line[static_cast<size_t>(index) + 2];
}

}  // namespace

std::vector<LineSummary> SummaryRows(const LineAnalysisOptions& options) {
  std::vector<LineSummary> rows;
  for (int flag = 0; flag < kSummaryFlagCount; ++flag) {
    if (options.Has(static_cast<LineSummary>(flag))) rows.push_back(static_cast<LineSummary>(flag));
  }
  if (RateIsSet(options.positive_rate)) rows.push_back(LineSummary::kPositiveInterest);
  if (RateIsSet(options.negative_rate)) rows.push_back(LineSummary::kNegativeInterest);
  return rows;
}

MessageId SummaryTitle(LineSummary summary) {
  return msg::kFirstLineSummary + static_cast<int>(summary);
}

LineAnalysis::LineAnalysis(Database& database)
    : database_(database),
      options_(LineAnalysisOptions::Standard(database.value_decimals())),
      local_subsets_(database),
      selection_(database, &local_subsets_) {
  frame_.kind = AnalysisKind::kLines;
  ApplyKindDefaults<LineTemplateBody>(database, AnalysisKind::kLines, *this);
  database_.AddListener(this);
}

LineAnalysis::~LineAnalysis() { database_.RemoveListener(this); }

void LineAnalysis::Apply(const TemplateFrame& frame, const LineTemplateBody& body) {
  frame_ = frame;
  frame_.kind = AnalysisKind::kLines;
  options_ = body.options();
  selection_.CopyFrom(body.selection());
  Invalidate();
}

AnalysisTemplate LineAnalysis::ToTemplate(const std::string& name) const {
  AnalysisTemplate stored;
  stored.frame = frame_;
  stored.frame.name = name;
  auto body = std::make_unique<LineTemplateBody>(database_);
  body->options() = options_;
  body->selection().CopyFrom(selection_);
  stored.body = std::move(body);
  return stored;
}

// ---------------------------------------------------------------------------------------------
// Calculation

void LineAnalysis::Invalidate() {
  calculated_ = false;
  result_.rows.clear();
  result_.card_starts.clear();
  result_.fields.clear();
  summary_rows_.clear();
  first_line_row_ = 0;
}

bool LineAnalysis::Calculate() {
  Invalidate();
  options_.accumulated_field =
      std::clamp(options_.accumulated_field, 0, database_.value_field_count() - 1);
  if (!selection_.Prepare()) return false;
  summary_rows_ = SummaryRows(options_);
  first_line_row_ = static_cast<int>(summary_rows_.size()) + (summary_rows_.empty() ? 0 : 1);
  LayOutColumns();
  calculated_ = CalculateLines(selection_, options_, result_);
  return calculated_;
}

void LineAnalysis::OnDatabaseChange(Database&, ChangeCode code, int, int) {
  if (DropsAnalysisResult(code)) Invalidate();
}

size_t LineAnalysis::MemoryBytes() const {
  size_t bytes =
      result_.rows.size() * sizeof(LineRow) + result_.card_starts.capacity() * sizeof(CardStart);
  for (const std::vector<double>& values : result_.median_values) {
    bytes += values.capacity() * sizeof(double);
  }
  return bytes;
}

std::vector<CardRef> LineAnalysis::ListedCards() const {
  std::vector<CardRef> cards;
  cards.reserve(result_.card_starts.size());
  for (const CardStart& start : result_.card_starts) cards.push_back(start.card);
  return cards;
}

bool LineAnalysis::CollectHeldLines(LineSet& lines, CardLevel& level) {
  if (!calculated_ || !lines.Reset(database_.cards().lines().size())) return false;
  level = CardLevel::kLines;
  for (const auto& row : result_.rows) lines.Set(row.line);
  return true;
}

bool LineAnalysis::DeleteData(const CloseCardWindows& close) {
  std::vector<ListedLine> lines;
  lines.reserve(result_.rows.size());
  for (size_t c = 0; c < result_.card_starts.size(); ++c) {
    const CardStart& start = result_.card_starts[c];
    const size_t end = c + 1 < result_.card_starts.size() ? result_.card_starts[c + 1].first_row
                                                          : result_.rows.size();
    for (size_t row = start.first_row; row < end; ++row) {
      lines.push_back({start.card, result_.rows[row].group, result_.rows[row].line});
    }
  }
  // The deletion announces the change, which drops the rows.
  return DeleteListedLines(database_, lines, close);
}

std::vector<std::string> LineAnalysis::SelectionBlock() const {
  std::vector<std::string> lines = selection_.BlockLines(Selection::kStoredPrefix);
  lines.push_back(std::string{'V', 'F', '\t', static_cast<char>('A' + options_.accumulated_field)});
  lines.push_back(std::string{'V', 'Z', '\t', 'D', DecimalsLetter(options_.decimals)});
  return lines;
}

// ---------------------------------------------------------------------------------------------
// Table

std::string LineAnalysis::Title() const {
  return frame_.name.empty() ? KindName(AnalysisKind::kLines) : frame_.name;
}

void LineAnalysis::WriteDefinition(LineSink& out, DefinitionForm form) const {
  WriteDefinitionBlock(out, form, selection_.DefinitionRows());
}

void LineAnalysis::LayOutColumns() {
  columns_.clear();
  const ListColumns& visible = options_.columns;
  int left = 0;
  const auto add = [&](LineColumnKind kind, int index, std::string title, int standard) {
    ShownColumn shown{kind, index, {}};
    shown.column.title = std::move(title);
    shown.column.left = left;
    shown.column.right = left += WidthOr(WidthSlot(options_.widths, kind, index), standard);
    if (kind == LineColumnKind::kValue || kind == LineColumnKind::kAccumulated) {
      shown.column.alignment = CellAlignment::kRight;
    }
    columns_.push_back(std::move(shown));
  };
  if (visible.card_id) add(LineColumnKind::kCardId, 0, MessageText(msg::kCardId), kCardIdWidth);
  if (visible.card_title) {
    add(LineColumnKind::kCardTitle, 0, database_.GetName(name_id::kCardTitle), kTitleWidth);
  }
  for (int d = 0; d < kDimensionCount; ++d) {
    if (!visible.dimensions[d] || !database_.IsDimensionUsed(d)) continue;
    add(LineColumnKind::kDimension, d, database_.GetName(name_id::kFirstSingular + d),
        kDimensionWidth);
  }
  if (visible.line_text) {
    add(LineColumnKind::kLineText, 0, database_.GetName(name_id::kLineText), kTextWidth);
  }
  const int fields = database_.value_field_count();
  for (int k = 0; k < fields; ++k) {
    if (!visible.values[k]) continue;
    add(LineColumnKind::kValue, k, database_.GetName(name_id::kFirstValueField + k), kValueWidth);
  }
  if (visible.accumulated) {
    add(LineColumnKind::kAccumulated, options_.accumulated_field, MessageText(msg::kAccumulated),
        kValueWidth);
  }
}

bool LineAnalysis::SetColumnWidth(int column, int pixels) {
  if (column < 0 || column >= static_cast<int>(columns_.size())) return false;
  const ShownColumn& shown = columns_[static_cast<size_t>(column)];
  WidthSlot(options_.widths, shown.kind, shown.index) = pixels >= kMinStoredWidth ? pixels : 0;
  LayOutColumns();
  return true;
}

std::string LineAnalysis::CellText(int row, int column) const {
  std::vector<TableCell> cells;
  FillRow(row, cells);
  return column < static_cast<int>(cells.size()) ? cells[column].text : std::string();
}

void LineAnalysis::FillRow(int row, std::vector<TableCell>& cells) const {
  cells.assign(columns_.size(), TableCell());
  for (size_t c = 0; c < columns_.size(); ++c) cells[c].alignment = columns_[c].column.alignment;
  if (row >= first_line_row_) {
    FillLineRow(row - first_line_row_, cells);
  } else if (row < static_cast<int>(summary_rows_.size())) {
    FillSummaryRow(summary_rows_[row], cells);
  }
}

void LineAnalysis::FillLineRow(int line_row, std::vector<TableCell>& cells) const {
  const LineRow& row = result_.rows[line_row];
  const CardStore& cards = database_.cards();
  const CardRef card = CardOfRow(result_, static_cast<size_t>(line_row));
  const bool card_info = options_.card_info_every_line || line_row == 0 ||
                         CardOfRow(result_, static_cast<size_t>(line_row) - 1) != card;
  for (size_t c = 0; c < columns_.size(); ++c) {
    const ShownColumn& shown = columns_[c];
    std::string& text = cells[c].text;
    switch (shown.kind) {
      case LineColumnKind::kCardId:
        if (card_info) text = CardIdText(cards.CardId(card), database_.card_digits());
        break;
      case LineColumnKind::kCardTitle:
        if (card_info) text = cards.Title(card);
        break;
      case LineColumnKind::kDimension: {
        const int d = shown.index;
        const LineLayout& layout = database_.line_layout();
        if (d == 0) {
          text = ComponentDisplayText(database_, 0, cards.group(row.group).component);
        } else if (d <= layout.slots) {
          text = ComponentDisplayText(database_, d, cards.GetComponent(row.line, d));
        }
        break;
      }
      case LineColumnKind::kLineText:
        text = cards.LineText(row.line);
        break;
      case LineColumnKind::kValue:
        AppendShownValue(text, cards.GetValue(row.line, shown.index), options_.decimals);
        break;
      case LineColumnKind::kAccumulated:
        AppendShownValue(text, row.balance, options_.decimals);
        break;
    }
  }
}

std::optional<double> LineAnalysis::SummaryValue(LineSummary summary, int field) const {
  const FieldMeasures& m = result_.fields[field];
  switch (summary) {
    case LineSummary::kBefore:
      return m.before;
    case LineSummary::kPositive:
      return m.positive;
    case LineSummary::kNegative:
      return m.negative;
    case LineSummary::kPeriod:
      return m.period;
    case LineSummary::kAfter:
      return m.after;
    case LineSummary::kMaximum:
      return m.max_value;
    case LineSummary::kMinimum:
      return m.min_value;
    case LineSummary::kAverage:
      return m.average_value;
    case LineSummary::kMedian:
      return m.median;
    case LineSummary::kTurnoverTime:
      return m.turnover_time;
    case LineSummary::kTurnoverRate:
      return m.turnover_rate;
    case LineSummary::kPositiveInterest:
      return m.positive_interest;
    case LineSummary::kNegativeInterest:
      return m.negative_interest;
    case LineSummary::kLineCount:
    case LineSummary::kCardCount:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<double> LineAnalysis::SummaryBalance(LineSummary summary) const {
  const FieldMeasures& m = result_.fields[options_.accumulated_field];
  const bool opening = options_.Has(LineSummary::kBefore);
  switch (summary) {
    case LineSummary::kPeriod:
      return opening ? std::optional<double>(m.balance) : std::nullopt;
    case LineSummary::kAfter:
      return opening ? std::optional<double>(m.balance + m.after) : std::nullopt;
    case LineSummary::kMaximum:
      return m.max_balance;
    case LineSummary::kMinimum:
      return m.min_balance;
    case LineSummary::kAverage:
      return m.average_balance;
    default:
      return std::nullopt;
  }
}

int LineAnalysis::CountColumn() const {
  int count_column = -1;
  for (size_t c = 0; c < columns_.size(); ++c) {
    const LineColumnKind kind = columns_[c].kind;
    if (kind == LineColumnKind::kValue) return static_cast<int>(c);
    if (kind == LineColumnKind::kAccumulated) count_column = static_cast<int>(c);
  }
  return count_column;
}

std::string LineAnalysis::SummaryCellText(LineSummary summary, int column) const {
  std::string text;
  if (result_.fields.empty() || column < 0 || column >= static_cast<int>(columns_.size())) {
    return text;
  }
  const ShownColumn& shown = columns_[column];
  if (summary == LineSummary::kLineCount || summary == LineSummary::kCardCount) {
    // A count stands in the first value column, else in the accumulated column.
    if (column == CountColumn()) {
      AppendShownValue(
          text,
          static_cast<double>(summary == LineSummary::kLineCount ? result_.rows.size()
                                                                 : result_.card_starts.size()),
          0);
    }
    return text;
  }
  if (shown.kind == LineColumnKind::kLineText &&
      (summary == LineSummary::kPositiveInterest || summary == LineSummary::kNegativeInterest)) {
    const double rate =
        summary == LineSummary::kPositiveInterest ? options_.positive_rate : options_.negative_rate;
    AppendShownNumber(text, rate, 2, Process().separators);
    return text + " %";
  }
  std::optional<double> value;
  if (shown.kind == LineColumnKind::kValue) value = SummaryValue(summary, shown.index);
  if (shown.kind == LineColumnKind::kAccumulated) value = SummaryBalance(summary);
  const bool turnover =
      summary == LineSummary::kTurnoverTime || summary == LineSummary::kTurnoverRate;
  // A measure that is not a finite number (an empty period, no turnover) leaves its cell empty.
  if (value && std::isfinite(*value)) {
    AppendShownValue(text, *value, turnover ? kTurnoverDecimals : options_.decimals);
  }
  return text;
}

void LineAnalysis::FillSummaryRow(LineSummary summary, std::vector<TableCell>& cells) const {
  if (columns_.empty()) return;
  for (size_t c = 0; c < columns_.size(); ++c) {
    cells[c].text = SummaryCellText(summary, static_cast<int>(c));
  }
  // The row's title stands in the leftmost column.
  cells[0].text = MessageText(SummaryTitle(summary)) + ":";
  cells[0].alignment = CellAlignment::kLeft;
  cells[0].bold = true;
}

bool LineAnalysis::WriteOwnXml(LineSink& out) {
  WriteLinesXml(*this, out);
  return true;
}

}  // namespace jov
