#include "table_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "io/table_export.h"
#include "qt_text.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

QColor CellColor(CellColour colour) {
  switch (colour) {
    case CellColour::kRed:
      return QColor(0xC0, 0x10, 0x10);
    case CellColour::kGreen:
      return QColor(0x10, 0x80, 0x20);
    default:
      return {};
  }
}

Qt::Alignment Aligned(CellAlignment alignment) {
  return (alignment == CellAlignment::kRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

// The export settings that a window offers: the format, the parts written and how much copying
// takes. The separators keep their settings.
class ExportSettingsDialog : public QDialog {
 public:
  ExportSettingsDialog(ExportSettings& settings, QWidget* parent)
      : QDialog(parent), settings_(settings) {
    setWindowTitle(Text(msg::kExport));
    format_ = new QComboBox(this);
    for (const MessageId name : {msg::kFormatText, msg::kFormatHtml, msg::kFormatXml}) {
      format_->addItem(Text(name));
    }
    format_->setCurrentIndex(static_cast<int>(settings.format));
    extent_ = new QComboBox(this);
    for (int i = 0; i <= static_cast<int>(CopyExtent::kVisibleOnly); ++i) {
      extent_->addItem(Text(msg::kFirstCopyExtent + i));
    }
    extent_->setCurrentIndex(static_cast<int>(settings.copy_extent));
    auto* form = new QFormLayout;
    form->addRow(Text(msg::kExportFormat), format_);
    const auto include = [&](MessageId label, bool& flag) {
      auto* box = new QCheckBox(Text(label), this);
      box->setChecked(flag);
      connect(this, &QDialog::accepted, box, [box, &flag] { flag = box->isChecked(); });
      form->addRow(QString(), box);
    };
    include(msg::kIncludeWindowTitle, settings.include_title);
    include(msg::kIncludeColumnTitles, settings.include_column_titles);
    include(msg::kDefinition, settings.include_definition);
    include(msg::kIncludeHeaderRows, settings.include_header_rows);
    include(msg::kIncludeDataRows, settings.include_data_rows);
    form->addRow(Text(msg::kCopyData), extent_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Text(msg::kButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(Text(msg::kButtonCancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, [this] {
      settings_.format = static_cast<ExportFormat>(format_->currentIndex());
      settings_.copy_extent = static_cast<CopyExtent>(extent_->currentIndex());
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
  }

 private:
  ExportSettings& settings_;
  QComboBox* format_;
  QComboBox* extent_;
};

}  // namespace

void TableModel::SetTable(Table* table) {
  beginResetModel();
  table_ = table;
  cached_row_ = -1;
  endResetModel();
}

int TableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || table_ == nullptr ? 0 : table_->RowCount();
}

int TableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || table_ == nullptr ? 0 : table_->ColumnCount();
}

const TableCell& TableModel::Cell(int row, int column) const {
  if (row != cached_row_) {
    table_->FillRow(row, cells_);
    cached_row_ = row;
    ++rows_filled_;
  }
  static const TableCell kEmpty;
  return column < static_cast<int>(cells_.size()) ? cells_[column] : kEmpty;
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
  if (table_ == nullptr || !index.isValid()) return {};
  const int row = index.row(), column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return FromEngine(Cell(row, column).text);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Aligned(Cell(row, column).alignment));
    case Qt::FontRole: {
      const bool bold =
          Cell(row, column).bold || table_->Column(column).bold || row < table_->FirstDataRow();
      if (!bold) return {};
      QFont font;
      font.setBold(true);
      return font;
    }
    case Qt::ForegroundRole: {
      const QColor color = CellColor(Cell(row, column).colour);
      return color.isValid() ? QVariant(color) : QVariant();
    }
    default:
      return {};
  }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (table_ == nullptr || orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return FromEngine(table_->Column(section).title);
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Aligned(table_->Column(section).alignment));
  }
  return {};
}

TableWindow::TableWindow(Database& database, TableSource make, QWidget* parent)
    : TableWindow(database, Kind::kTable, parent) {
  make_ = std::move(make);
  Refresh();
}

TableWindow::TableWindow(Database& database, Kind kind, QWidget* parent)
    : DatabaseWindow(database, kind, parent),
      heading_(new QLabel(this)),
      panes_(new QSplitter(Qt::Horizontal, this)),
      view_(new QTableView(panes_)),
      model_(new TableModel(this)),
      buttons_(new QHBoxLayout) {
  heading_->setTextFormat(Qt::PlainText);
  view_->setModel(model_);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->horizontalHeader()->setStretchLastSection(true);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  panes_->addWidget(view_);
  panes_->setChildrenCollapsible(false);
  const auto add = [&](MessageId caption, auto action) {
    auto* b = new QPushButton(Text(caption).remove('&'), this);
    connect(b, &QPushButton::clicked, this, action);
    buttons_->addWidget(b);
  };
  add(msg::kMenuExportTable, &TableWindow::ExportDialog);
  add(msg::kMenuCopyTable, &TableWindow::Copy);
  add(msg::kMenuPrint, &TableWindow::PrintDialog);
  add(msg::kExportAsPdf, [this] {
    const QString path = QFileDialog::getSaveFileName(
        this, Text(msg::kExportAsPdf), FromEngine(shown_->Title()) + QStringLiteral(".pdf"),
        QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty()) ExportPdf(path);
  });
  buttons_->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(heading_);
  layout->addWidget(panes_, 1);
  layout->addLayout(buttons_);
}

QString TableWindow::Title() const {
  return TitleOf(shown_ != nullptr ? FromEngine(shown_->Title()) : QString());
}

void TableWindow::Refresh() {
  // The settings the user chose stay with the window when the table is built again.
  std::optional<ExportSettings> settings;
  if (table_ != nullptr) settings = table_->export_settings();
  model_->SetTable(nullptr);
  shown_ = nullptr;
  table_ = make_(database());
  if (settings) table_->export_settings() = *settings;
  ShowTable(*table_);
}

void TableWindow::ShowTable(Table& table) {
  shown_ = &table;
  StringByteSink definition;
  {
    LineSink lines(definition, "\n");
    table.WriteDefinition(lines, DefinitionForm::kText);
    lines.Finish();
  }
  const QString heading = FromEngine(definition.text()).trimmed();
  heading_->setText(heading);
  heading_->setVisible(!heading.isEmpty());
  model_->SetTable(&table);
  // The table's own column widths; a column without one is as wide as its title needs, at
  // least. Measuring the contents would fill every row.
  const QFontMetrics metrics = view_->fontMetrics();
  for (int column = 0; column < table.ColumnCount(); ++column) {
    const TableColumn& c = table.Column(column);
    const int title = metrics.horizontalAdvance(FromEngine(c.title)) + 24;
    view_->setColumnWidth(column, std::max({c.right - c.left, title, 80}));
  }
  setWindowTitle(Title());
}

void TableWindow::HideTable() { model_->SetTable(nullptr); }

void TableWindow::Copy() {
  QApplication::clipboard()->setText(FromEngine(CopyTableText(*shown_)));
  FlushPendingError();
}

bool TableWindow::ExportTo(const std::string& path) {
  const bool written = ExportTableToFile(*shown_, path);
  FlushPendingError();
  return written;
}

void TableWindow::ExportDialog() {
  ExportSettingsDialog settings(shown_->export_settings(), this);
  if (settings.exec() != QDialog::Accepted) return;
  ExportTableAs(*shown_, [this](const std::string& proposed) -> std::optional<std::string> {
    const QString path =
        QFileDialog::getSaveFileName(this, Text(msg::kExport), FromEngine(proposed));
    if (path.isEmpty()) return std::nullopt;
    return ToPath(path);
  });
  FlushPendingError();
}

QString TableWindow::PrintedHtml() {
  ExportSettings& settings = shown_->export_settings();
  const ExportSettings exported = settings;
  const PrintOptions& options = print_options();
  settings.format = ExportFormat::kHtml;
  settings.include_title = IsOn(options, PrintOption::kTitle);
  settings.include_definition = IsOn(options, PrintOption::kDefinition);
  StringByteSink html;
  {
    LineSink lines(html, "\n");
    WriteTable(*shown_, lines);
    lines.Finish();
  }
  settings = exported;
  return PrintedPage(FromEngine(html.text()), options);
}

void TableWindow::Print(QPrinter& printer) { PrintPage(printer, PrintedHtml(), print_options()); }

void TableWindow::PrintDialog() {
  PrintOptionsDialog options(print_options(), this);
  if (options.exec() != QDialog::Accepted) return;
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) Print(printer);
}

bool TableWindow::ExportPdf(const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  Print(printer);
  return QFileInfo::exists(path);
}

}  // namespace jov
