#include "time_scale_window.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/time_scale_list.h"
#include "qt_text.h"

namespace jov {
namespace {

constexpr int kStartColumn = 0;
constexpr int kNameColumn = 1;

QString StartText(const TimeScaleEntry& entry) {
  return entry.start.day == kNoDay ? QString() : FromEngine(CardIdText(entry.start));
}

}  // namespace

TimeScaleWindow::TimeScaleWindow(Database& database, TimeScale* scale, QWidget* parent)
    : DatabaseWindow(database, Kind::kTimeScale, parent),
      scale_(scale),
      table_(new QTableWidget(this)) {
  if (scale_ != nullptr) rows_ = scale_->entries();
  if (rows_.empty()) rows_.emplace_back();
  table_->setColumnCount(2);
  table_->horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
  table_->setColumnWidth(kStartColumn, 110);
  connect(table_, &QTableWidget::cellChanged, this, &TimeScaleWindow::CellEdited);

  auto* buttons = new QHBoxLayout;
  const auto add = [&](MessageId caption, auto action) {
    auto* b = new QPushButton(Text(caption), this);
    connect(b, &QPushButton::clicked, this, action);
    buttons->addWidget(b);
  };
  add(msg::kInsertRow, &TimeScaleWindow::InsertRow);
  add(msg::kDeleteRow, &TimeScaleWindow::DeleteRow);
  add(msg::kPaste, [this] { Paste(QApplication::clipboard()->text()); });
  buttons->addStretch();
  add(msg::kApply, &TimeScaleWindow::Apply);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(table_);
  layout->addLayout(buttons);
  ShowRows();
  Refresh();
}

QString TimeScaleWindow::Title() const {
  return scale_ == nullptr ? TitleOf(msg::kTimeScaleName) : TitleOf(FromEngine(scale_->name()));
}

void TimeScaleWindow::Refresh() {
  // A time scale removed elsewhere: the rows become a new one when applied.
  if (scale_ != nullptr && !ScaleStillExists()) scale_ = nullptr;
  table_->setHorizontalHeaderLabels({Text(msg::kTimeScaleStart), Text(msg::kTimeScalePeriodName)});
  setWindowTitle(Title());
}

bool TimeScaleWindow::ScaleStillExists() const {
  const TimeScaleList& list = TimeScaleList::Of(database());
  for (size_t i = 0; i < list.size(); ++i) {
    if (&list.at(i) == scale_) return true;
  }
  return false;
}

void TimeScaleWindow::ShowRows() {
  showing_ = true;
  table_->setRowCount(static_cast<int>(rows_.size()));
  for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
    table_->setItem(row, kStartColumn, new QTableWidgetItem(StartText(rows_[row])));
    table_->setItem(row, kNameColumn, new QTableWidgetItem(FromEngine(rows_[row].name)));
  }
  showing_ = false;
}

void TimeScaleWindow::CellEdited(int row, int column) {
  if (showing_ || row < 0 || row >= static_cast<int>(rows_.size())) return;
  TimeScaleEntry& entry = rows_[row];
  const std::string text = ToEngine(table_->item(row, column)->text());
  if (column == kStartColumn) {
    // Text that is not a date leaves the cell empty.
    entry.start = ReadCardId(text, DateBound::kStart);
    if (entry.start.day == kNoDay) entry.start = Date{};
  } else {
    entry.name = SingleLineName(text, TimeScaleEntry::kMaxName);
  }
  edited_ = true;
  ShowRows();
}

void TimeScaleWindow::InsertRow() {
  const int current = std::max(table_->currentRow(), 0);
  rows_.insert(rows_.begin() + std::min<size_t>(current, rows_.size()), TimeScaleEntry{});
  edited_ = true;
  ShowRows();
  table_->setCurrentCell(current, kStartColumn);
}

void TimeScaleWindow::DeleteRow() {
  const int current = table_->currentRow();
  if (current < 0 || current >= static_cast<int>(rows_.size())) return;
  if (rows_.size() > 1) {
    rows_.erase(rows_.begin() + current);
  } else {
    rows_[0] = TimeScaleEntry{};
  }
  edited_ = true;
  ShowRows();
  table_->setCurrentCell(std::min<int>(current, static_cast<int>(rows_.size()) - 1), kStartColumn);
}

void TimeScaleWindow::Paste(const QString& text) {
  PasteEntryLines(rows_, ToEngine(text));
  edited_ = true;
  ShowRows();
}

void TimeScaleWindow::Apply() {
  if (scale_ == nullptr) scale_ = &TimeScaleList::Of(database()).Create("");
  scale_->ApplyEdit(rows_);
  rows_ = scale_->entries();
  if (rows_.empty()) rows_.emplace_back();
  edited_ = false;
  ShowRows();
  setWindowTitle(Title());
}

bool TimeScaleWindow::MayClose() {
  if (!edited_) return true;
  return AskToApply([this] {
    Apply();
    return true;
  });
}

}  // namespace jov
