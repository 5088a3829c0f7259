#include "aggregate_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/time_scale_list.h"
#include "database_window.h"
#include "qt_text.h"
#include "select/date_point.h"

namespace jov {
namespace {

// The resolutions by their place in the list: Single Card, the calendar kinds Years .. Days,
// Cards, then the database's time scales.
constexpr int kCalendarKinds = static_cast<int>(PeriodKind::kDays) + 1;
constexpr int kFirstCalendar = 1;
constexpr int kCardsItem = kFirstCalendar + kCalendarKinds;
constexpr int kFirstScaleItem = kCardsItem + 1;

}  // namespace

AggregateDialog::AggregateDialog(Database& database, const WindowLines& window, QWidget* parent)
    : QDialog(parent),
      database_(database),
      window_(window),
      resolution_(new QComboBox(this)),
      card_date_(new QLineEdit(this)),
      card_date_read_(new QLabel(this)),
      card_title_(new QLineEdit(this)),
      append_period_name_(new QCheckBox(Text(msg::kAppendPeriodName), this)),
      duplicate_(new QCheckBox(Text(msg::kKeepSourceLines), this)),
      keep_zero_lines_(new QCheckBox(Text(msg::kKeepZeroLines), this)) {
  const QString what = parent != nullptr ? parent->windowTitle() : DatabaseName(database);
  setWindowTitle(Text(msg::kAggregateTitle, ToEngine(what)));
  resolution_->setObjectName(QStringLiteral("resolution"));
  card_date_->setObjectName(QStringLiteral("card_date"));
  card_date_read_->setObjectName(QStringLiteral("card_date_read"));
  card_title_->setObjectName(QStringLiteral("card_title"));
  append_period_name_->setObjectName(QStringLiteral("append_period_name"));
  duplicate_->setObjectName(QStringLiteral("duplicate"));
  keep_zero_lines_->setObjectName(QStringLiteral("keep_zero_lines"));

  resolution_->addItem(Text(msg::kSingleCard));
  for (int k = 0; k < kCalendarKinds; ++k) resolution_->addItem(Text(msg::kFirstPeriodKind + k));
  resolution_->addItem(Text(msg::kCardsResolution));
  const TimeScaleList& scales = TimeScaleList::Of(database);
  for (size_t i = 0; i < scales.size(); ++i) resolution_->addItem(FromEngine(scales.at(i).name()));
  const AggregateSettings defaults;
  resolution_->setCurrentIndex(kFirstCalendar + static_cast<int>(defaults.kind));
  append_period_name_->setChecked(defaults.append_period_name);
  connect(resolution_, &QComboBox::currentIndexChanged, this, &AggregateDialog::ResolutionChosen);

  auto* form = new QFormLayout;
  form->addRow(Text(msg::kTimeResolution), resolution_);
  auto* date_row = new QHBoxLayout;
  date_row->addWidget(card_date_);
  date_row->addWidget(card_date_read_, 1);
  form->addRow(Text(msg::kCardDateLabel), date_row);
  connect(card_date_, &QLineEdit::textChanged, this, &AggregateDialog::ShowCardDate);
  form->addRow(Text(msg::kAggregateCardTitle), card_title_);
  form->addRow(QString(), append_period_name_);
  form->addRow(QString(), duplicate_);
  form->addRow(QString(), keep_zero_lines_);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Text(msg::kAggregateButton), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Text(msg::kButtonCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &AggregateDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  card_title_->setMinimumWidth(240);
  ResolutionChosen();
}

// The card date serves Single Card only, which names no period after the title.
void AggregateDialog::ResolutionChosen() {
  const bool single = resolution_->currentIndex() == 0;
  card_date_->setEnabled(single);
  append_period_name_->setEnabled(!single);
}

// A date point reads any text (one without a date is the data's start; empty, the first
// card's): the date it reads is shown beside it.
void AggregateDialog::ShowCardDate() {
  QString shown;
  const std::string text = ToEngine(card_date_->text().trimmed());
  if (!text.empty()) {
    DatePoint point(DateEnd::kFrom);
    point.Read(text, TodayIn(database_));
    if (point.date().day != kNoDay) shown = FromEngine(CardIdText(point.date()));
  }
  card_date_read_->setText(shown);
}

AggregateSettings AggregateDialog::Settings() const {
  AggregateSettings settings;
  const int item = resolution_->currentIndex();
  if (item == 0) {
    settings.by = AggregateBy::kSingleCard;
  } else if (item < kCardsItem) {
    settings.by = AggregateBy::kCalendar;
    settings.kind = static_cast<PeriodKind>(item - kFirstCalendar);
  } else if (item == kCardsItem) {
    settings.by = AggregateBy::kCards;
  } else {
    settings.by = AggregateBy::kTimeScale;
    settings.time_scale =
        &TimeScaleList::Of(database_).at(static_cast<size_t>(item - kFirstScaleItem));
  }
  settings.card_date = ToEngine(card_date_->text().trimmed());
  settings.card_title = ToEngine(card_title_->text().trimmed());
  settings.append_period_name = append_period_name_->isChecked();
  settings.duplicate = duplicate_->isChecked();
  settings.keep_zero_lines = keep_zero_lines_->isChecked();
  return settings;
}

void AggregateDialog::accept() {
  ran_ = Aggregate(database_, window_, Settings());
  QDialog::accept();
}

bool RunAggregateDialog(Database& database, const WindowLines& window, QWidget* parent) {
  AggregateDialog dialog(database, window, parent);
  return dialog.exec() == QDialog::Accepted && dialog.ran();
}

}  // namespace jov
