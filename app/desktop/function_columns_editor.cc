#include "function_columns_editor.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "analysis/formula.h"
#include "analysis/variable.h"
#include "analysis_settings.h"
#include "qt_text.h"
#include "selection_editor.h"

namespace jov {

FunctionColumnsEditor::FunctionColumnsEditor(FunctionColumns& columns, MessageId first_accumulation,
                                             QWidget* parent)
    : QWidget(parent),
      target_(columns),
      work_(columns.database()),
      list_(new QListWidget(this)),
      name_(new QLineEdit(this)),
      title_(new QLineEdit(this)),
      visible_(new QCheckBox(Text(msg::kShow), this)),
      bold_(new QCheckBox(Text(msg::kBoldface), this)),
      decimals_(DecimalsBox(this, 2)),
      kind_pages_(new QStackedWidget(this)),
      measure_(ChoiceBox(this, msg::kFirstMeasure, kMeasureCount, 0)),
      field_(ValueFieldBox(this, columns.database(), 0)),
      accumulation_(ChoiceBox(this, first_accumulation, 2, 1)),
      selection_(new SelectionEditor(columns.database(), this)),
      formula_(new QLineEdit(this)) {
  work_.CopyFrom(columns);
  auto* buttons = new QHBoxLayout;
  const auto add = [&](MessageId caption, auto action) {
    auto* b = new QPushButton(Text(caption).remove('&'), this);
    connect(b, &QPushButton::clicked, this, action);
    buttons->addWidget(b);
  };
  add(msg::kNewVariable, &FunctionColumnsEditor::AddVariable);
  add(msg::kNewFormula, &FunctionColumnsEditor::AddFormula);
  add(msg::kButtonRemove, &FunctionColumnsEditor::RemoveCurrent);
  add(msg::kMoveUp, [this] { MoveCurrent(-1); });
  add(msg::kMoveDown, [this] { MoveCurrent(1); });
  buttons->addStretch();

  auto* look = new QHBoxLayout;
  look->addWidget(visible_);
  look->addWidget(bold_);
  look->addWidget(decimals_);
  look->addStretch();
  auto* common = new QFormLayout;
  common->addRow(Text(msg::kName), name_);
  common->addRow(Text(msg::kTitle), title_);
  common->addRow(Text(msg::kDecimals), look);

  auto* variable_page = new QWidget(kind_pages_);
  auto* variable_form = new QFormLayout(variable_page);
  variable_form->setContentsMargins(0, 0, 0, 0);
  variable_form->addRow(Text(msg::kMeasure), measure_);
  variable_form->addRow(Text(msg::kValueField), field_);
  variable_form->addRow(Text(msg::kAccumulation), accumulation_);
  variable_form->addRow(selection_);
  auto* formula_page = new QWidget(kind_pages_);
  auto* formula_form = new QFormLayout(formula_page);
  formula_form->setContentsMargins(0, 0, 0, 0);
  formula_form->addRow(Text(msg::kFormula), formula_);
  kind_pages_->addWidget(variable_page);
  kind_pages_->addWidget(formula_page);

  auto* details = new QVBoxLayout;
  details->addLayout(common);
  details->addWidget(kind_pages_, 1);
  auto* columns_row = new QHBoxLayout;
  list_->setMaximumWidth(180);
  columns_row->addWidget(list_);
  columns_row->addLayout(details, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns_row, 1);
  layout->addLayout(buttons);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    StoreShown();
    Show(row);
  });
  FillList(work_.empty() ? -1 : 0);
}

void FunctionColumnsEditor::FillList(int current) {
  const QSignalBlocker blocker(list_);
  list_->clear();
  for (size_t i = 0; i < work_.size(); ++i) {
    list_->addItem(FromEngine(work_[i].name()));
  }
  list_->setCurrentRow(current);
  Show(current);
}

void FunctionColumnsEditor::Show(int index) {
  shown_ = index >= 0 && index < static_cast<int>(work_.size()) ? index : -1;
  for (QWidget* field :
       std::initializer_list<QWidget*>{name_, title_, visible_, bold_, decimals_, kind_pages_}) {
    field->setEnabled(shown_ >= 0);
  }
  if (shown_ < 0) return;
  FunctionColumn& column = work_[shown_];
  name_->setText(FromEngine(column.name()));
  title_->setText(FromEngine(column.title));
  visible_->setChecked(column.look.visible);
  bold_->setChecked(column.look.bold);
  decimals_->setCurrentIndex(decimals_->findData(column.look.decimals));
  if (column.is_variable()) {
    auto& variable = static_cast<Variable&>(column);
    kind_pages_->setCurrentIndex(0);
    measure_->setCurrentIndex(static_cast<int>(variable.measure));
    field_->setCurrentIndex(std::min(variable.value_field, field_->count() - 1));
    accumulation_->setCurrentIndex(static_cast<int>(variable.accumulation));
    selection_->Load(variable.selection());
  } else {
    kind_pages_->setCurrentIndex(1);
    formula_->setText(FromEngine(static_cast<Formula&>(column).text()));
  }
}

void FunctionColumnsEditor::StoreShown() {
  if (shown_ < 0 || shown_ >= static_cast<int>(work_.size())) return;
  FunctionColumn& column = work_[shown_];
  const std::string name = ToEngine(name_->text().trimmed());
  // A name that is taken or empty keeps the old one.
  if (name != column.name() && work_.Rename(shown_, name)) {
    if (QListWidgetItem* item = list_->item(shown_)) item->setText(FromEngine(name));
  }
  column.title = ToEngine(title_->text().trimmed());
  column.look.visible = visible_->isChecked();
  column.look.bold = bold_->isChecked();
  column.look.decimals = ChosenData(decimals_, column.look.decimals);
  if (column.is_variable()) {
    auto& variable = static_cast<Variable&>(column);
    variable.measure = static_cast<Measure>(measure_->currentIndex());
    variable.value_field = ChosenData(field_, variable.value_field);
    variable.accumulation = static_cast<Accumulation>(accumulation_->currentIndex());
    selection_->Store(variable.selection());
  } else {
    auto& formula = static_cast<Formula&>(column);
    const std::string text = ToEngine(formula_->text().trimmed());
    if (text != formula.text()) work_.SetText(formula, text);
  }
}

FunctionColumns& FunctionColumnsEditor::edited() {
  StoreShown();
  return work_;
}

void FunctionColumnsEditor::AddVariable() {
  StoreShown();
  const size_t at = shown_ < 0 ? work_.size() : static_cast<size_t>(shown_) + 1;
  work_.AddVariable({}, at);
  FillList(static_cast<int>(at));
}

void FunctionColumnsEditor::AddFormula() {
  StoreShown();
  const size_t at = shown_ < 0 ? work_.size() : static_cast<size_t>(shown_) + 1;
  work_.AddFormula({}, at);
  FillList(static_cast<int>(at));
}

void FunctionColumnsEditor::RemoveCurrent() {
  if (shown_ < 0) return;
  StoreShown();
  const int at = shown_;
  // Refused, with its message, while a formula uses the column.
  if (!work_.Erase(static_cast<size_t>(at))) return;
  FillList(std::min(at, static_cast<int>(work_.size()) - 1));
}

void FunctionColumnsEditor::MoveCurrent(int step) {
  if (shown_ < 0) return;
  StoreShown();
  const int to = shown_ + step;
  if (to < 0 || to >= static_cast<int>(work_.size())) return;
  work_.Move(static_cast<size_t>(shown_), static_cast<size_t>(to));
  FillList(to);
}

void FunctionColumnsEditor::Apply() { target_.CopyFrom(edited()); }

}  // namespace jov
