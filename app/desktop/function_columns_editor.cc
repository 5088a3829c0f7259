#include "function_columns_editor.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "analysis/formula.h"
#include "analysis/variable.h"
#include "analysis_settings.h"
#include "qt_text.h"
#include "selection_editor.h"

namespace jov {

namespace {

// The column colours as swatches; colour 0, no colour of its own, is drawn as it shows.
QComboBox* ColourBox(QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (int colour = 0; colour < kColumnColours; ++colour) {
    QPixmap swatch(24, 12);
    swatch.fill(QColor::fromRgb(ColourRgb(colour)));
    box->addItem(QIcon(swatch), colour == 0 ? QStringLiteral("-") : QString());
  }
  return box;
}

QSpinBox* SpinBox(QWidget* parent, int minimum, int maximum) {
  auto* box = new QSpinBox(parent);
  box->setRange(minimum, maximum);
  return box;
}

}  // namespace

FunctionColumnsEditor::FunctionColumnsEditor(FunctionColumns& columns, Analysis analysis,
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
      red_green_(new QCheckBox(Text(msg::kRedGreen), this)),
      colour_(ColourBox(this)),
      line_width_(SpinBox(this, 0, 9)),
      kind_pages_(new QStackedWidget(this)),
      measure_(ChoiceBox(this, msg::kFirstMeasure, kMeasureCount, 0)),
      field_(ValueFieldBox(this, columns.database(), 0)),
      accumulation_(ChoiceBox(this,
                              analysis == Analysis::kTimeFunctions
                                  ? msg::kFirstTimeAccumulation
                                  : msg::kFirstComponentAccumulation,
                              2, 1)),
      shift_(ChoiceBox(this, msg::kFirstTimeShift, kTimeShiftKinds, 0)),
      shift_amount_(SpinBox(this, -kMaxShiftAmount, kMaxShiftAmount)),
      shift_unit_(
          ChoiceBox(this, msg::kFirstShiftUnit, static_cast<int>(kShiftUnitLetters.size()), 0)),
      selection_(new SelectionEditor(columns.database(), this)),
      formula_(new QLineEdit(this)),
      graph_(ChoiceBox(this, {msg::kFirstTimeOperation, msg::kFirstChartType, msg::kBars}, 1)) {
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
  look->addWidget(red_green_);
  look->addWidget(decimals_);
  look->addStretch();
  auto* chart_look = new QHBoxLayout;
  chart_look->addWidget(colour_);
  chart_look->addWidget(line_width_);
  chart_look->addStretch();
  auto* common = new QFormLayout;
  common->addRow(Text(msg::kName), name_);
  common->addRow(Text(msg::kTitle), title_);
  common->addRow(Text(msg::kDecimals), look);
  common->addRow(Text(msg::kColour), chart_look);
  kind_pages_->addWidget(BuildVariablePage());
  kind_pages_->addWidget(BuildFormulaPage(analysis));

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

QWidget* FunctionColumnsEditor::BuildVariablePage() {
  auto* page = new QWidget(kind_pages_);
  auto* form = new QFormLayout(page);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(Text(msg::kMeasure), measure_);
  form->addRow(Text(msg::kValueField), field_);
  form->addRow(Text(msg::kAccumulation), accumulation_);
  // "Other..." moves the selection by an amount of a unit.
  auto* shift = new QHBoxLayout;
  shift->addWidget(shift_);
  shift->addWidget(shift_amount_);
  shift->addWidget(shift_unit_);
  shift->addStretch();
  connect(shift_, &QComboBox::currentIndexChanged, this, &FunctionColumnsEditor::EnableOtherShift);
  form->addRow(Text(msg::kMoveSelection), shift);
  form->addRow(selection_);
  return page;
}

QWidget* FunctionColumnsEditor::BuildFormulaPage(Analysis analysis) {
  auto* page = new QWidget(kind_pages_);
  auto* form = new QFormLayout(page);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(Text(msg::kFormula), formula_);
  form->addRow(Text(msg::kGraphicPresentation), graph_);
  if (analysis == Analysis::kTimeFunctions) {
    by_time_ = ChoiceBox(page, msg::kFirstTimeOperation, kTimeOperations, 0);
    form->addRow(Text(msg::kOperationByTime), by_time_);
  } else {
    higher_levels_ = ChoiceBox(page, msg::kFirstHigherLevels, 2, 0);
    form->addRow(Text(msg::kHigherLevels), higher_levels_);
  }
  return page;
}

void FunctionColumnsEditor::ShowShift(const TimeShift& shift) {
  shift_->setCurrentIndex(static_cast<int>(shift.kind));
  shift_amount_->setValue(shift.amount);
  shift_unit_->setCurrentIndex(static_cast<int>(shift.unit));
  EnableOtherShift();
}

// The amount and unit count only for "Other...".
void FunctionColumnsEditor::EnableOtherShift() {
  const bool other = shift_->currentIndex() == static_cast<int>(TimeShiftKind::kOther);
  shift_amount_->setEnabled(other);
  shift_unit_->setEnabled(other);
}

TimeShift FunctionColumnsEditor::ShiftShown() const {
  const auto kind = static_cast<TimeShiftKind>(shift_->currentIndex());
  if (kind == TimeShiftKind::kOther) {
    return TimeShift::Other(shift_amount_->value(),
                            static_cast<ShiftUnit>(shift_unit_->currentIndex()));
  }
  TimeShift shift;
  shift.kind = kind;
  return shift;
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
       std::initializer_list<QWidget*>{name_, title_, visible_, bold_, decimals_, red_green_,
                                       colour_, line_width_, kind_pages_}) {
    field->setEnabled(shown_ >= 0);
  }
  if (shown_ < 0) return;
  FunctionColumn& column = work_[shown_];
  name_->setText(FromEngine(column.name()));
  title_->setText(FromEngine(column.title));
  visible_->setChecked(column.look.visible);
  bold_->setChecked(column.look.bold);
  decimals_->setCurrentIndex(decimals_->findData(column.look.decimals));
  red_green_->setChecked(column.look.red_green);
  colour_->setCurrentIndex(column.look.colour);
  line_width_->setValue(column.look.line_width);
  if (column.is_variable()) {
    auto& variable = static_cast<Variable&>(column);
    kind_pages_->setCurrentIndex(0);
    measure_->setCurrentIndex(static_cast<int>(variable.measure));
    field_->setCurrentIndex(std::min(variable.value_field, field_->count() - 1));
    accumulation_->setCurrentIndex(static_cast<int>(variable.accumulation));
    ShowShift(variable.shift);
    selection_->Load(variable.selection());
  } else {
    auto& formula = static_cast<Formula&>(column);
    kind_pages_->setCurrentIndex(1);
    formula_->setText(FromEngine(formula.text()));
    graph_->setCurrentIndex(static_cast<int>(formula.graph));
    if (by_time_ != nullptr) by_time_->setCurrentIndex(static_cast<int>(formula.operation));
    if (higher_levels_ != nullptr) {
      higher_levels_->setCurrentIndex(static_cast<int>(formula.higher_levels));
    }
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
  column.look.red_green = red_green_->isChecked();
  column.look.colour = colour_->currentIndex();
  column.look.line_width = line_width_->value();
  if (column.is_variable()) {
    auto& variable = static_cast<Variable&>(column);
    variable.measure = static_cast<Measure>(measure_->currentIndex());
    variable.value_field = ChosenData(field_, variable.value_field);
    variable.accumulation = static_cast<Accumulation>(accumulation_->currentIndex());
    variable.shift = ShiftShown();
    selection_->Store(variable.selection());
  } else {
    auto& formula = static_cast<Formula&>(column);
    const std::string text = ToEngine(formula_->text().trimmed());
    if (text != formula.text()) work_.SetText(formula, text);
    formula.graph = static_cast<GraphStyle>(graph_->currentIndex());
    if (by_time_ != nullptr)
      formula.operation = static_cast<TimeOperation>(by_time_->currentIndex());
    if (higher_levels_ != nullptr) {
      formula.higher_levels = static_cast<HigherLevels>(higher_levels_->currentIndex());
    }
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
