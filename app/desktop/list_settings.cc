// The settings dialogs of the analyses that list cards and lines. The line analysis: the
// accumulated field, the decimals, the columns, the card information on every line or the
// first, the summary rows and the interest rates with their calculation. The card analysis:
// which groups and lines are listed, the decimals and the columns.
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>

#include "analysis/card_analysis.h"
#include "analysis/line_analysis.h"
#include "kind_settings.h"
#include "qt_text.h"

namespace jov {
namespace {

// Rates in percent per year, as typed.
QDoubleSpinBox* RateBox(QWidget* parent, double rate) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(-1000, 1000);
  box->setDecimals(3);
  box->setValue(RateIsSet(rate) ? rate : 0);
  return box;
}

class LineSettingsDialog : public AnalysisSettingsDialog {
 public:
  LineSettingsDialog(LineAnalysis& analysis, QWidget* parent)
      : AnalysisSettingsDialog(analysis.database(), analysis.frame(), &analysis.selection(),
                               parent),
        analysis_(analysis) {
    const LineAnalysisOptions& o = analysis.options();
    QFormLayout* form = AddOptionsPage();
    QWidget* page = form->parentWidget();
    accumulated_ = ValueFieldBox(page, database(), o.accumulated_field);
    form->addRow(Text(msg::kAccumulated), accumulated_);
    decimals_ = DecimalsBox(page, o.decimals);
    form->addRow(Text(msg::kDecimals), decimals_);
    card_info_ =
        ChoiceBox(page, {msg::kEveryLine, msg::kFirstLine}, o.card_info_every_line ? 0 : 1);
    form->addRow(Text(msg::kCardInfo), card_info_);
    positive_rate_ = RateBox(page, o.positive_rate);
    negative_rate_ = RateBox(page, o.negative_rate);
    form->addRow(Text(msg::kInterestPositive), positive_rate_);
    form->addRow(Text(msg::kInterestNegative), negative_rate_);
    calculation_ =
        ChoiceBox(page, {msg::kLinear, msg::kExponential}, static_cast<int>(o.calculation));
    form->addRow(Text(msg::kCalculation), calculation_);
    auto* summaries = new QWidget(page);
    auto* grid = new QGridLayout(summaries);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int flag = 0; flag < kSummaryFlagCount; ++flag) {
      summaries_[flag] = new QCheckBox(Text(msg::kFirstLineSummary + flag), summaries);
      summaries_[flag]->setChecked(o.Has(static_cast<LineSummary>(flag)));
      Name(summaries_[flag], "summary", flag);
      grid->addWidget(summaries_[flag], flag % 7, flag / 7);
    }
    form->addRow(Text(msg::kHeaderLines), summaries);
    columns_ = new ListColumnsEditor(database(), o.columns, true, this);
    AddPage(columns_, msg::kColumns);
    Name(accumulated_, "accumulated");
    Name(decimals_, "decimals");
  }

 private:
  void ApplyOptions() override {
    LineAnalysisOptions& o = analysis_.options();
    o.accumulated_field = ChosenData(accumulated_, o.accumulated_field);
    o.decimals = ChosenData(decimals_, o.decimals);
    o.card_info_every_line = card_info_->currentIndex() == 0;
    o.positive_rate = positive_rate_->value();
    o.negative_rate = negative_rate_->value();
    o.calculation = static_cast<InterestCalculation>(calculation_->currentIndex());
    for (int flag = 0; flag < kSummaryFlagCount; ++flag) {
      o.Set(static_cast<LineSummary>(flag), summaries_[flag]->isChecked());
    }
    o.columns = columns_->Chosen();
  }

  LineAnalysis& analysis_;
  QComboBox* accumulated_;
  QComboBox* decimals_;
  QComboBox* card_info_;
  QDoubleSpinBox* positive_rate_;
  QDoubleSpinBox* negative_rate_;
  QComboBox* calculation_;
  QCheckBox* summaries_[kSummaryFlagCount];
  ListColumnsEditor* columns_;
};

class CardSettingsDialog : public AnalysisSettingsDialog {
 public:
  CardSettingsDialog(CardAnalysis& analysis, QWidget* parent)
      : AnalysisSettingsDialog(analysis.database(), analysis.frame(), &analysis.selection(),
                               parent),
        analysis_(analysis) {
    const CardAnalysisOptions& o = analysis.options();
    QFormLayout* form = AddOptionsPage();
    QWidget* page = form->parentWidget();
    groups_ = ChoiceBox(page, msg::kFirstContentsChoice, 3, static_cast<int>(o.groups));
    lines_ = ChoiceBox(page, msg::kFirstContentsChoice, 3, static_cast<int>(o.lines));
    form->addRow(Text(msg::kGroupsContents), groups_);
    form->addRow(Text(msg::kLinesContents), lines_);
    decimals_ = DecimalsBox(page, o.decimals);
    form->addRow(Text(msg::kDecimals), decimals_);
    columns_ = new ListColumnsEditor(database(), o.columns, false, this);
    AddPage(columns_, msg::kColumns);
    Name(groups_, "groups");
    Name(lines_, "lines");
  }

 private:
  void ApplyOptions() override {
    CardAnalysisOptions& o = analysis_.options();
    o.groups = static_cast<DataContents>(groups_->currentIndex());
    o.lines = static_cast<DataContents>(lines_->currentIndex());
    o.decimals = ChosenData(decimals_, o.decimals);
    o.columns = columns_->Chosen();
  }

  CardAnalysis& analysis_;
  QComboBox* groups_;
  QComboBox* lines_;
  QComboBox* decimals_;
  ListColumnsEditor* columns_;
};

}  // namespace

std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(LineAnalysis& analysis, QWidget* parent) {
  return std::make_unique<LineSettingsDialog>(analysis, parent);
}

std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog(CardAnalysis& analysis, QWidget* parent) {
  return std::make_unique<CardSettingsDialog>(analysis, parent);
}

}  // namespace jov
