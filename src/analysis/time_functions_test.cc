#include "analysis/time_functions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis/formula_test_util.h"
#include "analysis/time_scale_list.h"
#include "files/line_sink.h"
#include "model/database.h"
#include "shell/alert.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

// One line as the test keeps it, to compute what the analysis should show.
struct TestLine {
  Date date;
  std::string account;
  double value = 0;
  double quantity = 0;
};

class TimeFunctionsTest : public ::testing::Test {
 protected:
  TimeFunctionsTest() {
    ResetProcess();
    PushSink(&sink_);
    for (const char* code : {"3000", "4000"}) db_.AddComponent(0, code, "", "");
    db_.SetValueFieldCount(2);
    db_.FlushChangeFlags();
  }
  ~TimeFunctionsTest() override { PopSink(); }

  // A card of `day` with one line per value, in `account`; the second field is 1.
  CardRef AddCard(DayCode day, std::vector<double> values, std::string_view account = "3000",
                  std::string_view title = "") {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({day, 0});
    cards.SetTitle(card, title);
    const GroupRef group = cards.FindOrAddGroup(card, db_.FindByCode(0, account));
    for (const double value : values) {
      const LineRef line = cards.CreateLine(group);
      const double both[] = {value, 1.0};
      cards.SetValues(line, both);
      lines_.push_back({cards.CardId(card), std::string(account), value, 1.0});
    }
    return card;
  }

  Variable& AddVariable(TimeFunctionsAnalysis& analysis, std::string_view name, Measure measure,
                        Accumulation accumulation = Accumulation::kFromStart) {
    Variable& variable = *analysis.columns().AddVariable(name);
    variable.measure = measure;
    variable.accumulation = accumulation;
    return variable;
  }

  Formula& AddFormula(TimeFunctionsAnalysis& analysis, std::string_view name, std::string_view text,
                      TimeOperation operation = TimeOperation::kNone) {
    Formula& formula = *analysis.columns().AddFormula(name);
    analysis.columns().SetText(formula, text);
    formula.operation = operation;
    return formula;
  }

  // The column's values, row by row.
  static std::vector<double> ColumnOf(const TimeFunctionsAnalysis& analysis, size_t column) {
    std::vector<double> values;
    for (size_t row = 0; row < analysis.row_count(); ++row) {
      values.push_back(analysis.CellValue(row, column));
    }
    return values;
  }

  static std::vector<std::string> Labels(const TimeFunctionsAnalysis& analysis) {
    std::vector<std::string> labels;
    for (size_t row = 0; row < analysis.row_count(); ++row)
      labels.push_back(analysis.RowLabel(row));
    return labels;
  }

  Database db_;
  RecordingSink sink_;
  std::vector<TestLine> lines_;
};

using Values = std::vector<double>;

TEST_F(TimeFunctionsTest, MonthsRunToTheLastMonthWithDataAndAccumulateAsAsked) {
  AddCard(PackDay(2023, 12, 20), {100});  // before the range
  AddCard(PackDay(2024, 3, 5), {10, 5});
  AddCard(PackDay(2024, 5, 31), {7});
  AddCard(PackDay(2025, 1, 2), {1000});  // after the range
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 12, 31));
  analysis.options().period_kind = PeriodKind::kMonths;
  AddVariable(analysis, "total", Measure::kSum);
  AddVariable(analysis, "monthly", Measure::kSum, Accumulation::kByPeriod);
  AddVariable(analysis, "lines", Measure::kCount, Accumulation::kByPeriod);
  ASSERT_TRUE(analysis.Calculate());

  EXPECT_EQ(Labels(analysis),
            (std::vector<std::string>{"Before 240101", "2401", "2402", "2403", "2404", "2405"}));
  EXPECT_EQ(ColumnOf(analysis, 0), (Values{100, 100, 100, 115, 115, 122}));
  // The row before the range holds, By Period, everything before it.
  EXPECT_EQ(ColumnOf(analysis, 1), (Values{100, 0, 0, 15, 0, 7}));
  EXPECT_EQ(ColumnOf(analysis, 2), (Values{1, 0, 0, 2, 0, 1}));
  EXPECT_EQ(analysis.row(5).end, (Date{PackDay(2024, 5, 31), kEndOfDay}));
  EXPECT_EQ(analysis.row(0).end.day, kNoDay);
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(TimeFunctionsTest, FromStartReadsFromTheVariablesOwnFromDate) {
  AddCard(PackDay(2024, 1, 10), {1});
  AddCard(PackDay(2024, 2, 10), {2});
  AddCard(PackDay(2024, 3, 10), {4});
  AddCard(PackDay(2024, 4, 10), {8});
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 3, 1), PackDay(2024, 4, 30));
  analysis.options().period_kind = PeriodKind::kMonths;
  AddVariable(analysis, "since_feb", Measure::kSum).selection().SetFrom("240201");
  AddVariable(analysis, "until_mar", Measure::kSum).selection().SetTo("240331");
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(ColumnOf(analysis, 0), (Values{2, 6, 14}));
  EXPECT_EQ(ColumnOf(analysis, 1), (Values{3, 7, 7}));
}

// The row before the range is the first period closed: a quotient shows its plain value there
// (its running value starts at 1) and divides January by it.
TEST_F(TimeFunctionsTest, OperationsByTimeRunFromTheRowBeforeTheRange) {
  AddCard(PackDay(2023, 12, 10), {4});
  AddCard(PackDay(2024, 1, 10), {10});
  AddCard(PackDay(2024, 2, 10), {20});
  AddCard(PackDay(2024, 3, 10), {5});
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 3, 31));
  analysis.options().period_kind = PeriodKind::kMonths;
  AddVariable(analysis, "v", Measure::kSum, Accumulation::kByPeriod);
  AddFormula(analysis, "q", "v", TimeOperation::kQuotient);
  AddFormula(analysis, "d", "v", TimeOperation::kDifference);
  AddFormula(analysis, "t", "T * 365.25");
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(ColumnOf(analysis, 1), (Values{4, 2.5, 2, 0.25}));
  EXPECT_EQ(ColumnOf(analysis, 2), (Values{4, 6, 10, -15}));
  // T: the years from the day before the start to the period's end; 0 before the range.
  const Values days = ColumnOf(analysis, 3);
  ASSERT_EQ(days.size(), 4u);
  for (size_t row = 0; row < 4; ++row) EXPECT_NEAR(days[row], (Values{0, 31, 60, 91})[row], 1e-9);
}

TEST_F(TimeFunctionsTest, FailuresReportAndLeaveNoRows) {
  AddCard(PackDay(2024, 1, 10), {10});
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 2, 1), PackDay(2024, 1, 31));
  AddVariable(analysis, "v", Measure::kSum);
  EXPECT_FALSE(analysis.Calculate());
  EXPECT_EQ(analysis.row_count(), 0u);
  ASSERT_EQ(sink_.alerts().size(), 1u);
  EXPECT_EQ(sink_.alerts()[0].message, msg::kNegativeTimePeriod);

  analysis.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 1, 31));
  AddFormula(analysis, "f", "g + v");
  AddFormula(analysis, "g", "f");
  EXPECT_FALSE(analysis.Calculate());
  EXPECT_EQ(sink_.alerts().back().message, msg::kRefersIndirectly);
  EXPECT_EQ(analysis.failed_column(), 1);
  EXPECT_EQ(analysis.RowCount(), 0);
  EXPECT_EQ(analysis.ColumnCount(), 0);
}

TEST_F(TimeFunctionsTest, ActiveKindsOpenPeriodsAtTheDataAndLabelThem) {
  AddCard(PackDay(2024, 1, 3), {1, 2}, "3000", "Invoice 17");
  AddCard(PackDay(2024, 1, 3), {4}, "4000", "Refund");
  AddCard(PackDay(2024, 1, 9), {8}, "4000");
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 1, 31));
  analysis.options().show_card_titles = true;
  AddVariable(analysis, "v", Measure::kSum, Accumulation::kByPeriod);

  analysis.options().period_kind = PeriodKind::kActiveCards;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Labels(analysis), (std::vector<std::string>{"Before 240101", "240103-001 Invoice 17",
                                                        "240103-002 Refund", "240109-001"}));
  EXPECT_EQ(ColumnOf(analysis, 0), (Values{0, 3, 4, 8}));

  analysis.options().period_kind = PeriodKind::kActiveDays;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(ColumnOf(analysis, 0), (Values{0, 7, 8}));

  analysis.options().period_kind = PeriodKind::kActiveLines;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(ColumnOf(analysis, 0), (Values{0, 1, 2, 4, 8}));

  // Lines the variable does not take open no period.
  static_cast<Variable&>(analysis.columns()[0]).selection().SetComponentExpression(0, "4000");
  analysis.options().period_kind = PeriodKind::kActiveCards;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(ColumnOf(analysis, 0), (Values{0, 4, 8}));
}

TEST_F(TimeFunctionsTest, AYearShiftShowsLastYearsFiguresInThisYearsPeriods) {
  AddCard(PackDay(2023, 2, 28), {5});
  AddCard(PackDay(2023, 3, 31), {7});
  AddCard(PackDay(2024, 2, 29), {100});
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 2, 1), PackDay(2024, 12, 31));
  analysis.options().period_kind = PeriodKind::kMonths;
  AddVariable(analysis, "now", Measure::kSum, Accumulation::kByPeriod);
  Variable& last_year = AddVariable(analysis, "last_year", Measure::kSum, Accumulation::kByPeriod);
  last_year.shift = {TimeShiftKind::kPlusYear};
  // Its To date, File, is the last card: its windows end a year before that.
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(ColumnOf(analysis, 1), (Values{0, 5}));
  // Set later, it reads March 2023 into March 2024, the last period into which a line is read.
  last_year.selection().SetTo("241231");
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Labels(analysis), (std::vector<std::string>{"Before 240201", "2402", "2403"}));
  EXPECT_EQ(ColumnOf(analysis, 0), (Values{12, 100, 0}));
  EXPECT_EQ(ColumnOf(analysis, 1), (Values{0, 5, 7}));

  // Shifted variables on active periods read the shifted days of each period.
  analysis.options().period_kind = PeriodKind::kActiveDays;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(ColumnOf(analysis, 1), (Values{0, 5}));
}

TEST_F(TimeFunctionsTest, TimeScalePeriodsAndTheirNames) {
  TimeScale& scale = TimeScaleList::Of(db_).Create("Seasons");
  scale.SetEntries({{{PackDay(2024, 1, 1), 1}, "Winter"}, {{PackDay(2024, 4, 1), 1}, "Spring"}});
  AddCard(PackDay(2024, 2, 1), {1});
  AddCard(PackDay(2024, 5, 1), {2});
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 12, 31));
  analysis.options().period_kind = PeriodKind::kTimeScale;
  analysis.options().time_scale = "seasons";
  AddVariable(analysis, "v", Measure::kSum, Accumulation::kByPeriod);
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Labels(analysis), (std::vector<std::string>{"Before 240101", "Winter", "Spring"}));
  EXPECT_EQ(ColumnOf(analysis, 0), (Values{0, 1, 2}));
}

TEST_F(TimeFunctionsTest, TableShowsLabelsAndVisibleColumnsWithTheirLook) {
  AddCard(PackDay(2024, 1, 10), {-1234.5});
  AddCard(PackDay(2024, 2, 10), {2000});
  TimeFunctionsAnalysis analysis(db_);
  analysis.set_title("Sales");
  analysis.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 2, 29));
  analysis.options().period_kind = PeriodKind::kMonths;
  Variable& v = AddVariable(analysis, "v", Measure::kSum, Accumulation::kByPeriod);
  v.look.red_green = true;
  v.look.bold = true;
  v.title = "Net";
  AddVariable(analysis, "hidden", Measure::kCount).look.visible = false;
  AddFormula(analysis, "k", "v").look.decimals = -1;
  ASSERT_TRUE(analysis.Calculate());
  ASSERT_EQ(analysis.ColumnCount(), 3);
  EXPECT_EQ(analysis.Column(0).title, "Months");
  EXPECT_EQ(analysis.Column(1).title, "Net");
  EXPECT_EQ(analysis.Column(2).title, "k");
  EXPECT_EQ(analysis.FirstDataRow(), 1);
  std::vector<TableCell> cells;
  analysis.FillRow(1, cells);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0].text, "2401");
  EXPECT_EQ(cells[1].text, "-1234.50");
  EXPECT_EQ(cells[1].colour, CellColour::kRed);
  EXPECT_TRUE(cells[1].bold);
  EXPECT_EQ(cells[2].text, "-1");
  EXPECT_EQ(cells[2].colour, CellColour::kDefault);
  analysis.FillRow(2, cells);
  EXPECT_EQ(cells[1].colour, CellColour::kGreen);
  EXPECT_EQ(cells[2].text, "2");
  EXPECT_EQ(analysis.Title(), "Sales");
  EXPECT_EQ(analysis.ValueAxisRange(), (std::pair<double, double>{-1234.5, 2000}));
}

TEST_F(TimeFunctionsTest, DefinitionListsWhatTheVariablesAndFormulasUse) {
  TimeFunctionsAnalysis analysis(db_);
  Variable& sales = AddVariable(analysis, "sales", Measure::kSum);
  sales.selection().SetComponentExpression(0, "3000");
  Variable& last = AddVariable(analysis, "last", Measure::kAverage, Accumulation::kByPeriod);
  last.shift = {TimeShiftKind::kPlusYear};
  last.title = "Last year";
  AddFormula(analysis, "growth", "sales / last");
  analysis.columns().Compile();
  const auto written = [&](DefinitionForm form) {
    StringByteSink bytes;
    LineSink out(bytes, "\n");
    analysis.WriteDefinition(out, form);
    out.Finish();
    return bytes.text();
  };
  EXPECT_EQ(written(DefinitionForm::kText),
            "Selections\n"
            "Name\tsales\tlast\n"
            "Title\t\tLast year\n"
            "Measure\tSum From Start\tAverage Y+ By Period\n"
            "From\tFile\tFile\n"
            "To\tFile\tFile\n"
            "Dim 1\t3000\n"
            "\n"
            "Formulas\n"
            "Name\tgrowth\n"
            "Formula\tsales / last\n"
            "\n");
  const std::string html = written(DefinitionForm::kHtml);
  EXPECT_NE(html.find("<H4>Selections</H4>\n<table border=0 cellspacing=0 cellpadding=1>\n"
                      "<tr><td>Name</td><td>sales</td><td>last</td></tr>\n"),
            std::string::npos);
  EXPECT_NE(html.find("<H4>Formulas</H4>"), std::string::npos);
}

// A random year and a half of lines, measured by every kind of variable, with formulas over
// them, against what the lines give when summed up directly here.
TEST_F(TimeFunctionsTest, AgreesWithMeasuresTakenDirectlyFromTheLines) {
  std::mt19937 random(11);
  for (DayCode day = PackDay(2023, 1, 1); day <= PackDay(2024, 6, 30); day = NextDay(day)) {
    if (random() % 3 != 0) continue;
    std::vector<double> values;
    for (int i = 0, n = static_cast<int>(random() % 4) + 1; i < n; ++i) {
      values.push_back(static_cast<double>(static_cast<int>(random() % 2001) - 500) / 4);
    }
    AddCard(day, values, random() % 3 == 0 ? "4000" : "3000");
  }
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 12, 31));
  analysis.options().period_kind = PeriodKind::kMonths;
  AddVariable(analysis, "total", Measure::kSum);
  AddVariable(analysis, "avg", Measure::kAverage, Accumulation::kByPeriod)
      .selection()
      .SetComponentExpression(0, "3000");
  AddVariable(analysis, "med", Measure::kMedian, Accumulation::kByPeriod);
  Variable& count = AddVariable(analysis, "n", Measure::kCount);
  count.selection().SetFrom("231001");
  AddVariable(analysis, "top_ly", Measure::kMaximum, Accumulation::kByPeriod).shift = {
      TimeShiftKind::kPlusYear};
  AddFormula(analysis, "mean", "total / n");
  AddFormula(analysis, "avg2", "avg * 2", TimeOperation::kDifference);
  AddFormula(analysis, "run", "med", TimeOperation::kAddFromStart);
  ASSERT_TRUE(analysis.Calculate());
  ASSERT_EQ(analysis.row_count(), 7u);  // before, January .. June
  // The variables' To date (File) is the last card: the shifted window of June ends a year
  // before it.
  DayCode last_day = kNoDay;
  for (const TestLine& line : lines_) last_day = std::max(last_day, line.date.day);
  const DayCode last_year_end = ShiftDay(last_day, {TimeShiftKind::kPlusYear}, PeriodKind::kMonths);

  const auto in = [](Date date, DayCode first, DayCode last) {
    return date.day >= first && date.day <= last;
  };
  const auto same = [](double a, double b) {
    return SameValue(a, b) || std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
  };
  double previous_avg2 = 0;
  double run = 0;
  for (size_t row = 0; row < 7; ++row) {
    const int month = static_cast<int>(row);
    const DayCode first = row == 0 ? PackDay(1990, 1, 1) : PackDay(2024, month, 1);
    const DayCode last =
        row == 0 ? PackDay(2023, 12, 31) : PackDay(2024, month, DaysInMonth(2024, month));
    double total = 0, avg_sum = 0, n = 0, top = kMissingNumber;
    int avg_n = 0;
    std::vector<double> values;
    for (const TestLine& line : lines_) {
      if (line.date.day <= last) total += line.value;
      if (in(line.date, PackDay(2023, 10, 1), last)) ++n;
      if (row > 0 && in(line.date, PackDay(2023, month, 1),
                        std::min(last_year_end, PackDay(2023, month, DaysInMonth(2023, month))))) {
        top = IsMissing(top) ? line.value : std::max(top, line.value);
      }
      if (!in(line.date, first, last)) continue;
      values.push_back(line.value);
      if (line.account == "3000") avg_sum += line.value, ++avg_n;
    }
    std::sort(values.begin(), values.end());
    const size_t m = values.size();
    const double median = m == 0       ? kMissingNumber
                          : m % 2 == 1 ? values[m / 2]
                                       : (values[m / 2 - 1] + values[m / 2]) / 2;
    const double avg = avg_sum / avg_n;
    const PeriodRow shown = analysis.row(row);
    EXPECT_TRUE(same(shown.values[0], total)) << row;
    EXPECT_TRUE(same(shown.values[1], avg)) << row;
    EXPECT_TRUE(same(shown.values[2], median)) << row;
    EXPECT_TRUE(same(shown.values[3], n)) << row;
    EXPECT_TRUE(same(shown.values[4], top)) << row;
    EXPECT_TRUE(same(shown.values[5], total / n)) << row;
    EXPECT_TRUE(same(shown.values[6], avg * 2 - previous_avg2)) << row;
    previous_avg2 = avg * 2;
    run += median;
    EXPECT_TRUE(same(shown.values[7], run)) << row;
  }
}

TEST_F(TimeFunctionsTest, ADatabaseChangeDropsTheResult) {
  AddCard(PackDay(2024, 1, 10), {1});
  TimeFunctionsAnalysis analysis(db_);
  analysis.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 1, 31));
  AddVariable(analysis, "v", Measure::kSum);
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_TRUE(analysis.calculated());
  AddCard(PackDay(2024, 1, 11), {2});
  db_.Notify(ChangeCode::kCards);
  EXPECT_FALSE(analysis.calculated());
  EXPECT_EQ(analysis.RowCount(), 0);
}

}  // namespace
}  // namespace jov
