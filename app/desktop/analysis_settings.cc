#include "analysis_settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "analysis/component_options.h"
#include "qt_text.h"
#include "selection_editor.h"

namespace jov {

AnalysisSettingsDialog::AnalysisSettingsDialog(Database& database, TemplateFrame& frame,
                                               Selection* selection, QWidget* parent)
    : QDialog(parent),
      database_(database),
      frame_(frame),
      selection_(selection),
      title_(new QLineEdit(FromEngine(frame.name), this)),
      tabs_(new QTabWidget(this)),
      notes_(new QPlainTextEdit(this)) {
  setWindowTitle(Text(msg::kAnalysisSettings));
  auto* heading = new QFormLayout;
  heading->addRow(Text(msg::kTitle), title_);
  if (selection_ != nullptr) {
    selection_editor_ = new SelectionEditor(database, this);
    selection_editor_->Load(*selection_);
    tabs_->addTab(selection_editor_, Text(msg::kSelectionName));
  }
  // Notes are kept with CR between lines, as the template stores them.
  notes_->setPlainText(FromEngine(frame.notes).replace(QChar('\r'), QChar('\n')));
  notes_->setTabChangesFocus(true);
  tabs_->addTab(notes_, Text(msg::kNotesLabel));
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Text(msg::kButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Text(msg::kButtonCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(this, &QDialog::accepted, this, &AnalysisSettingsDialog::ApplyAll);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(heading);
  layout->addWidget(tabs_, 1);
  layout->addWidget(buttons);
  resize(640, 520);
}

QFormLayout* AnalysisSettingsDialog::AddOptionsPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  AddPage(page, msg::kOptions);
  tabs_->setCurrentIndex(0);
  return form;
}

void AnalysisSettingsDialog::AddPage(QWidget* page, MessageId title) {
  tabs_->insertTab(own_pages_++, page, Text(title));
}

void AnalysisSettingsDialog::Name(QWidget* field, const char* name, int index) {
  QString text = QString::fromLatin1(name);
  if (index >= 0) text += QString::number(index);
  field->setObjectName(text);
}

void AnalysisSettingsDialog::ApplyAll() {
  ApplyOptions();
  frame_.name = ToEngine(title_->text().trimmed());
  frame_.notes = ToEngine(notes_->toPlainText().replace(QChar('\n'), QChar('\r')));
  if (selection_editor_ != nullptr) selection_editor_->Store(*selection_);
}

QComboBox* ChoiceBox(QWidget* parent, MessageId first, int count, int current) {
  auto* box = new QComboBox(parent);
  for (int i = 0; i < count; ++i) box->addItem(Text(first + i), i);
  box->setCurrentIndex(current);
  return box;
}

QComboBox* ChoiceBox(QWidget* parent, std::initializer_list<MessageId> items, int current) {
  auto* box = new QComboBox(parent);
  int index = 0;
  for (const MessageId item : items) box->addItem(Text(item), index++);
  box->setCurrentIndex(current);
  return box;
}

QComboBox* DimensionBox(QWidget* parent, const Database& database, int current) {
  auto* box = new QComboBox(parent);
  for (int d = 0; d < kDimensionCount; ++d) {
    if (!database.IsDimensionUsed(d)) continue;
    box->addItem(FromEngine(database.GetName(name_id::kFirstPlural + d)), d);
    if (d == current) box->setCurrentIndex(box->count() - 1);
  }
  return box;
}

QComboBox* ValueFieldBox(QWidget* parent, const Database& database, int current) {
  auto* box = new QComboBox(parent);
  for (int field = 0; field < database.value_field_count(); ++field) {
    box->addItem(FromEngine(database.GetName(name_id::kFirstValueField + field)), field);
  }
  box->setCurrentIndex(std::min(current, box->count() - 1));
  return box;
}

QComboBox* DecimalsBox(QWidget* parent, int current) {
  auto* box = new QComboBox(parent);
  box->addItem(Text(msg::kShownInMillions), kMillions);
  box->addItem(Text(msg::kShownInThousands), kThousands);
  for (int decimals = 0; decimals <= kMaxShownDecimals; ++decimals) {
    box->addItem(QString::number(decimals), decimals);
  }
  box->setCurrentIndex(box->findData(current));
  return box;
}

int ChosenData(const QComboBox* box, int fallback) {
  return box->currentIndex() < 0 ? fallback : box->currentData().toInt();
}

ListColumnsEditor::ListColumnsEditor(const Database& database, const ListColumns& columns,
                                     bool accumulated, QWidget* parent)
    : QWidget(parent), start_(columns) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  int row = 0;
  const auto place = [&](QCheckBox* box, int column) { grid->addWidget(box, row++, column); };
  const auto plain = [&](QString label, bool ListColumns::*flag) {
    auto* box = new QCheckBox(label, this);
    box->setChecked(columns.*flag);
    plain_.emplace_back(box, flag);
    place(box, 0);
  };
  plain(Text(msg::kCardId), &ListColumns::card_id);
  plain(Text(msg::kCardTitle), &ListColumns::card_title);
  plain(FromEngine(database.GetName(name_id::kLineText)), &ListColumns::line_text);
  if (accumulated) plain(Text(msg::kAccumulated), &ListColumns::accumulated);
  row = 0;
  for (int d = 0; d < kDimensionCount; ++d) {
    if (!database.IsDimensionUsed(d)) continue;
    auto* box = new QCheckBox(FromEngine(database.GetName(name_id::kFirstSingular + d)), this);
    box->setChecked(columns.dimensions[d]);
    dimensions_.emplace_back(box, d);
    place(box, 1);
  }
  row = 0;
  for (int field = 0; field < database.value_field_count() && field < kListValueFields; ++field) {
    auto* box =
        new QCheckBox(FromEngine(database.GetName(name_id::kFirstValueField + field)), this);
    box->setChecked(columns.values[field]);
    values_.emplace_back(box, field);
    place(box, 2);
  }
}

ListColumns ListColumnsEditor::Chosen() const {
  ListColumns columns = start_;
  for (const auto& [box, flag] : plain_) columns.*flag = box->isChecked();
  for (const auto& [box, d] : dimensions_) columns.dimensions[d] = box->isChecked();
  for (const auto& [box, field] : values_) columns.values[field] = box->isChecked();
  return columns;
}

}  // namespace jov
