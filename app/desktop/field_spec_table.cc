#include "field_spec_table.h"

#include <QHeaderView>

#include "qt_text.h"

namespace jov {
namespace {

constexpr int kMaxField = 255;
constexpr int kMaxPosition = 1023;

QString NumberText(int number) { return number == 0 ? QString() : QString::number(number); }

// A number cell: empty or out of range is 0.
int ReadNumber(const QString& text, int max) {
  bool ok = false;
  const int number = text.trimmed().toInt(&ok);
  return ok && number >= 0 && number <= max ? number : 0;
}

QString InsertText(unsigned char insert) {
  return insert == 0 ? QString() : FromEngine(std::string(1, static_cast<char>(insert)));
}

// The first character of the text; only codes of 32 and above are kept.
unsigned char ReadInsert(const QString& text) {
  const std::string engine = ToEngine(text);
  if (engine.empty()) return 0;
  const unsigned char insert = static_cast<unsigned char>(engine.front());
  return insert >= 32 ? insert : 0;
}

}  // namespace

FieldSpecTable::FieldSpecTable(QWidget* parent) : QTableWidget(parent) {
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setTabKeyNavigation(false);
  connect(this, &QTableWidget::cellChanged, this, &FieldSpecTable::CellEdited);
}

void FieldSpecTable::SetEntries(std::vector<Entry> entries, const QStringList& extra_titles,
                                ExtraCells extra) {
  entries_ = std::move(entries);
  extra_titles_ = extra_titles;
  extra_ = std::move(extra);
  Rebuild();
}

std::pair<int, int> FieldSpecTable::PartAt(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return {-1, -1};
  return rows_[row];
}

int FieldSpecTable::RowOf(int entry, int part) const {
  for (size_t row = 0; row < rows_.size(); ++row) {
    if (rows_[row] == std::pair{entry, part}) return static_cast<int>(row);
  }
  return -1;
}

void FieldSpecTable::Rebuild() {
  showing_ = true;
  clear();
  rows_.clear();
  for (size_t e = 0; e < entries_.size(); ++e) {
    const int parts = std::max<int>(1, static_cast<int>(entries_[e].spec->parts.size()));
    for (int p = 0; p < parts; ++p) rows_.emplace_back(static_cast<int>(e), p);
  }
  setColumnCount(kPartColumns + static_cast<int>(extra_titles_.size()));
  QStringList titles = {QString(),
                        Text(msg::kPartField),
                        Text(msg::kPartFirst),
                        Text(msg::kPartLast),
                        Text(msg::kPartDefault),
                        Text(msg::kPartInsert)};
  setHorizontalHeaderLabels(titles + extra_titles_);
  setRowCount(static_cast<int>(rows_.size()));
  for (int row = 0; row < rowCount(); ++row) {
    const auto [entry, part_index] = rows_[row];
    const FieldSpec& spec = *entries_[entry].spec;
    const FieldPart part =
        part_index < static_cast<int>(spec.parts.size()) ? spec.parts[part_index] : FieldPart{};
    auto* label =
        new QTableWidgetItem(part_index == 0 ? entries_[entry].label : QStringLiteral("  +"));
    label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, kLabel, label);
    setItem(row, kField, new QTableWidgetItem(NumberText(part.field)));
    setItem(row, kFirst, new QTableWidgetItem(NumberText(part.first)));
    setItem(row, kLast, new QTableWidgetItem(NumberText(part.last)));
    setItem(row, kDefault, new QTableWidgetItem(FromEngine(part.default_text)));
    setItem(row, kInsert, new QTableWidgetItem(InsertText(part.insert)));
    if (part_index == 0 && extra_) extra_(entry, row);
  }
  resizeColumnToContents(kLabel);
  for (int column = kField; column <= kLast; ++column) setColumnWidth(column, 50);
  setColumnWidth(kDefault, 90);
  setColumnWidth(kInsert, 70);
  showing_ = false;
}

void FieldSpecTable::CellEdited(int row, int column) {
  if (showing_) return;
  const auto [entry, part_index] = PartAt(row);
  if (entry < 0 || column < kField || column > kInsert) return;
  FieldSpec& spec = *entries_[entry].spec;
  if (spec.parts.size() <= static_cast<size_t>(part_index)) spec.parts.resize(part_index + 1);
  FieldPart& part = spec.parts[part_index];
  const QString text = item(row, column)->text();
  switch (column) {
    case kField:
      part.field = ReadNumber(text, kMaxField);
      break;
    case kFirst:
      part.first = ReadNumber(text, kMaxPosition);
      break;
    case kLast:
      part.last = ReadNumber(text, kMaxPosition);
      break;
    case kDefault:
      part.default_text = ToEngine(text);
      break;
    default:
      part.insert = ReadInsert(text);
      break;
  }
  // A spec of nothing but empty parts is stored as no parts.
  if (spec.empty()) spec.parts.clear();
  // The cell shows what was kept.
  showing_ = true;
  const FieldPart shown =
      part_index < static_cast<int>(spec.parts.size()) ? spec.parts[part_index] : FieldPart{};
  item(row, kField)->setText(NumberText(shown.field));
  item(row, kFirst)->setText(NumberText(shown.first));
  item(row, kLast)->setText(NumberText(shown.last));
  item(row, kInsert)->setText(InsertText(shown.insert));
  showing_ = false;
  Q_EMIT Edited();
}

void FieldSpecTable::AddPart() {
  const auto [entry, part_index] = PartAt(currentRow());
  if (entry < 0) return;
  FieldSpec& spec = *entries_[entry].spec;
  if (spec.parts.empty()) spec.parts.emplace_back();
  spec.parts.insert(spec.parts.begin() + std::min<size_t>(part_index + 1, spec.parts.size()),
                    FieldPart{});
  Rebuild();
  setCurrentCell(RowOf(entry, part_index + 1), kField);
  Q_EMIT Edited();
}

void FieldSpecTable::RemovePart() {
  const auto [entry, part_index] = PartAt(currentRow());
  if (entry < 0) return;
  FieldSpec& spec = *entries_[entry].spec;
  if (spec.parts.size() > 1) {
    spec.parts.erase(spec.parts.begin() + part_index);
  } else {
    spec.parts.clear();
  }
  if (spec.empty()) spec.parts.clear();
  Rebuild();
  setCurrentCell(RowOf(entry, std::max(0, part_index - 1)), kField);
  Q_EMIT Edited();
}

}  // namespace jov
