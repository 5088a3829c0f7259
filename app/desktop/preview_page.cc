#include "preview_page.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "qt_text.h"
#include "table_window.h"

namespace jov {

PreviewPage::PreviewPage(QWidget* parent)
    : QWidget(parent),
      file_edit_(new QLineEdit(this)),
      view_(new QTableView(this)),
      model_(new TableModel(this)) {
  connect(file_edit_, &QLineEdit::editingFinished, this, [this] {
    if (file_edit_->text() != file_) SetFile(file_edit_->text());
  });
  auto* choose = new QPushButton(Text(msg::kShowFile), this);
  connect(choose, &QPushButton::clicked, this, &PreviewPage::ChooseFile);
  auto* file_row = new QHBoxLayout;
  auto* label = new QLabel(Text(msg::kExampleFile), this);
  label->setBuddy(file_edit_);
  file_row->addWidget(label);
  file_row->addWidget(file_edit_, 1);
  file_row->addWidget(choose);
  view_->setModel(model_);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(file_row);
  layout->addWidget(view_, 1);
}

void PreviewPage::SetFile(const QString& path) {
  file_ = path;
  file_edit_->setText(path);
  Q_EMIT FileChanged();
}

void PreviewPage::ChooseFile() {
  const QString filter = Text(msg::kAllFiles) + QStringLiteral(" (*)");
  const QString chosen = QFileDialog::getOpenFileName(this, Text(msg::kExampleFile), file_, filter);
  if (!chosen.isEmpty()) SetFile(chosen);
}

QString PreviewPage::Read(const std::function<FixedTable(ImportInput&)>& read) {
  FileImportInput input;
  if (file_.isEmpty() || !input.Open(ToPath(file_))) {
    Show(FixedTable());
    return file_.isEmpty() ? QString() : Text(msg::kUnableToOpen, ToEngine(file_));
  }
  Show(read(input));
  return QString();
}

void PreviewPage::Show(FixedTable table) {
  model_->SetTable(nullptr);
  table_ = std::move(table);
  if (table_.ColumnCount() == 0) return;
  model_->SetTable(&table_);
  view_->resizeColumnsToContents();
}

}  // namespace jov
