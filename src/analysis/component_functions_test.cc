#include "analysis/component_functions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "model/database.h"
#include "shell/alert.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

// Companies (dimension 1): N. Accounts (dimension 2, the default view): 1 (10 (100), 11), 2
// (20), 3. Every line is on a card of its own, dated 1 March 2024 unless said.
class ComponentFunctionsTest : public ::testing::Test {
 protected:
  ComponentFunctionsTest() {
    ResetProcess();
    PushSink(&sink_);
    db_.AddComponent(0, "N", "Nordic", "");
    for (const char* code : {"1", "10", "100", "11", "2", "20", "3"}) {
      db_.AddComponent(1, code, std::string("Account ") + code, "");
    }
    db_.SetValueFieldCount(2);
    db_.dimension(1).SetPluralName("Accounts");
    db_.FlushChangeFlags();
  }
  ~ComponentFunctionsTest() override { PopSink(); }

  // A line of `account` with `value` in the first field and `second` in the second.
  void AddLine(std::string_view account, double value, double second = 1,
               DayCode day = PackDay(2024, 3, 1)) {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({day, 0});
    const GroupRef group = cards.FindOrAddGroup(card, db_.FindByCode(0, "N"));
    const LineRef line = cards.CreateLine(group);
    const ComponentRef slots[] = {db_.FindByCode(1, account)};
    cards.SetComponents(line, slots);
    const double values[] = {value, second};
    cards.SetValues(line, values);
  }

  Variable& AddVariable(ComponentFunctionsAnalysis& analysis, std::string_view name,
                        Measure measure, int field = 0) {
    Variable& variable = *analysis.columns().AddVariable(name);
    variable.measure = measure;
    variable.value_field = field;
    return variable;
  }

  Formula& AddFormula(ComponentFunctionsAnalysis& analysis, std::string_view name,
                      std::string_view text, HigherLevels levels = HigherLevels::kByFormula) {
    Formula& formula = *analysis.columns().AddFormula(name);
    analysis.columns().SetText(formula, text);
    formula.higher_levels = levels;
    return formula;
  }

  int RowOf(const ComponentFunctionsAnalysis& analysis, std::string_view code) {
    return analysis.rows().RowOf(db_.FindByCode(1, code));
  }

  // The shown rows' accounts ("" for the root), in order.
  std::vector<std::string> Shown(const ComponentFunctionsAnalysis& analysis) {
    std::vector<std::string> codes;
    for (const int row : analysis.displayed()) {
      const ComponentRow& shown = analysis.rows()[row];
      codes.push_back(shown.parent < 0 ? "" : db_.component(shown.component).code);
    }
    return codes;
  }

  Database db_;
  RecordingSink sink_;
};

TEST_F(ComponentFunctionsTest, ExpandedParentShowsItsOwnSumCollapsedItsSubtrees) {
  AddLine("1", 5);
  AddLine("10", 3);
  AddLine("100", 2);
  AddLine("3", 7);
  ComponentFunctionsAnalysis analysis(db_);
  AddVariable(analysis, "sum", Measure::kSum);
  analysis.options().expansion = "\\";  // every row expanded
  ASSERT_TRUE(analysis.Calculate());
  const int one = RowOf(analysis, "1");
  EXPECT_EQ(analysis.CellValue(one, 0), 5);
  EXPECT_EQ(analysis.CellValue(0, 0), 0);  // the root has no lines of its own
  analysis.SetExpanded(one, false);
  EXPECT_EQ(analysis.CellValue(one, 0), 10);
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "2", "20", "3"}));
  analysis.SetExpanded(one, true);
  analysis.options().include_sublevels = true;
  EXPECT_EQ(analysis.CellValue(one, 0), 10);
  EXPECT_EQ(analysis.CellValue(0, 0), 17);
  // The table: the root's label is the dimension's name, a child is indented.
  std::vector<TableCell> cells;
  analysis.FillRow(0, cells);
  EXPECT_EQ(cells.front().text, "Accounts");
  EXPECT_EQ(cells.back().text, "17.00");
  analysis.FillRow(2, cells);
  EXPECT_EQ(cells.front().text, "  10");
}

// a / b on parent 1 (own a 6, b 2; child 10 a 4, b 4; grandchild 100 a 10, b 5).
TEST_F(ComponentFunctionsTest, HigherLevelsByFormulaOrAsTheSumOfLowerLevels) {
  AddLine("1", 6, 2);
  AddLine("10", 4, 4);
  AddLine("100", 10, 5);
  ComponentFunctionsAnalysis analysis(db_);
  AddVariable(analysis, "a", Measure::kSum, 0);
  AddVariable(analysis, "b", Measure::kSum, 1);
  AddFormula(analysis, "by_formula", "a / b");
  AddFormula(analysis, "summed", "a / b", HigherLevels::kSumOfLowerLevels);
  ASSERT_TRUE(analysis.Calculate());  // only the root expanded: row 1 is collapsed
  const int one = RowOf(analysis, "1");
  EXPECT_DOUBLE_EQ(analysis.CellValue(one, 2), 20.0 / 11);  // quotient of the subtree sums
  EXPECT_DOUBLE_EQ(analysis.CellValue(one, 3), 3 + 1 + 2);  // 6/2 + 4/4 + 10/5
  // Rows without lines have an undefined quotient, which adds nothing to their parents.
  EXPECT_TRUE(IsMissing(analysis.OwnValue(0, 3)));
  EXPECT_DOUBLE_EQ(analysis.SubtreeValue(0, 3), 6);
  analysis.SetExpanded(one, true);
  EXPECT_DOUBLE_EQ(analysis.CellValue(one, 2), 3);
  EXPECT_DOUBLE_EQ(analysis.CellValue(one, 3), 3);
}

TEST_F(ComponentFunctionsTest, FormulasSeeOnlyTheirOwnRowsValues) {
  AddLine("1", 6);
  AddLine("2", 9);
  ComponentFunctionsAnalysis analysis(db_);
  AddVariable(analysis, "a", Measure::kSum);
  AddFormula(analysis, "early", "later + 1");  // names a formula after it
  AddFormula(analysis, "later", "a * 2");
  AddFormula(analysis, "time", "T");
  ASSERT_TRUE(analysis.Calculate());
  for (const char* code : {"1", "2"}) {
    const int row = RowOf(analysis, code);
    EXPECT_TRUE(IsMissing(analysis.OwnValue(row, 1))) << code;
    EXPECT_EQ(analysis.OwnValue(row, 2), 2 * analysis.OwnValue(row, 0)) << code;
    EXPECT_TRUE(IsMissing(analysis.OwnValue(row, 3))) << code;
  }
}

TEST_F(ComponentFunctionsTest, FiltersKeepAncestorsAndSortingUsesTheNamedColumn) {
  AddLine("100", 4);
  AddLine("3", 0);  // read, so in use, but zero
  AddLine("20", -9);
  AddLine("2", 1);
  ComponentFunctionsAnalysis analysis(db_);
  AddVariable(analysis, "sum", Measure::kSum);
  AddVariable(analysis, "average", Measure::kAverage);  // missing where no line was read
  analysis.options().expansion = "\\";
  analysis.options().filter = RowFilter::kInUse;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "10", "100", "2", "20", "3"}));
  analysis.options().filter = RowFilter::kNonZero;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "10", "100", "2", "20"}));
  // Subtrees: 1 holds 4, 2 holds -8. The values follow their rows.
  analysis.options().sort = ComponentSort::kAscending;
  analysis.options().sort_column = "sum";
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "2", "20", "1", "10", "100"}));
  EXPECT_EQ(analysis.SubtreeValue(RowOf(analysis, "2"), 0), -8);
  EXPECT_EQ(analysis.OwnValue(RowOf(analysis, "100"), 1), 4);
  analysis.options().sort_column = "no such column";  // no key: hierarchy order
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "10", "100", "2", "20"}));
}

TEST_F(ComponentFunctionsTest, VariablesReadTheirOwnDatesAndComponents) {
  AddLine("10", 1, 1, PackDay(2023, 3, 1));
  AddLine("10", 2, 1, PackDay(2024, 3, 1));
  AddLine("2", 4, 1, PackDay(2024, 3, 1));
  ComponentFunctionsAnalysis analysis(db_);
  Variable& year = AddVariable(analysis, "this_year", Measure::kSum);
  year.selection().SetFrom("240101");
  year.selection().SetTo("241231");
  year.selection().SetComponentExpression(1, "1");
  Variable& last = AddVariable(analysis, "last_year", Measure::kSum);
  last.selection().CopyFrom(year.selection());
  last.shift = TimeShift::FromText("Y+");
  analysis.options().expansion = "\\";
  ASSERT_TRUE(analysis.Calculate());
  // Only the components some variable admits are rows.
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "10", "100", "11"}));
  EXPECT_EQ(analysis.SubtreeValue(0, 0), 2);
  EXPECT_EQ(analysis.SubtreeValue(0, 1), 1);
}

TEST_F(ComponentFunctionsTest, ASelfReferenceStopsTheCalculationAndNamesTheColumn) {
  AddLine("1", 1);
  ComponentFunctionsAnalysis analysis(db_);
  AddVariable(analysis, "a", Measure::kSum);
  AddFormula(analysis, "f", "g + a");
  AddFormula(analysis, "g", "f");
  EXPECT_FALSE(analysis.Calculate());
  EXPECT_EQ(analysis.failed_column(), 1);
  EXPECT_EQ(analysis.RowCount(), 0);
  ASSERT_EQ(sink_.alerts().size(), 1u);
  EXPECT_EQ(sink_.alerts()[0].message, msg::kRefersIndirectly);
}

TEST_F(ComponentFunctionsTest, ChartRangeCoversWhatTheRowsShow) {
  AddLine("1", 5);
  AddLine("10", -3);
  AddLine("2", 8);
  ComponentFunctionsAnalysis analysis(db_);
  AddVariable(analysis, "sum", Measure::kSum);
  AddFormula(analysis, "half", "sum / 2");
  ASSERT_TRUE(analysis.Calculate());  // rows 1 (2) and 2 (8) collapsed, the root expanded (0)
  EXPECT_EQ(analysis.ValueRange(false), (std::pair<double, double>{0, 8}));
  EXPECT_EQ(analysis.ValueRange(true), (std::pair<double, double>{0, 12}));
  analysis.ExpandToLevel(3);
  EXPECT_EQ(analysis.ValueRange(false), (std::pair<double, double>{-3, 8}));
  const ChartScale scale = analysis.Scale(320, false);
  EXPECT_EQ(scale.step, 1);
}

// The subtree value of every measure against a direct computation over the subtree's lines, on
// a generated tree of accounts and lines with values of both signs.
TEST(ComponentFunctionsCrossCheckTest, SubtreeValuesMatchTheSubtreesLines) {
  ResetProcess();
  Database db;
  db.AddComponent(0, "N", "", "");
  std::vector<std::string> codes;
  for (int a = 1; a <= 4; ++a) {
    codes.push_back(std::to_string(a));
    for (int b = 0; b < 3; ++b) {
      codes.push_back(std::to_string(a) + std::to_string(b));
      for (int c = 0; c < 2; ++c)
        codes.push_back(std::to_string(a) + std::to_string(b) + "X" + std::to_string(c));
    }
  }
  for (const std::string& code : codes) db.AddComponent(1, code, "", "");
  db.FlushChangeFlags();
  std::mt19937 random(7);
  std::map<std::string, std::vector<double>> lines;  // by account
  CardStore& cards = db.cards();
  for (int i = 0; i < 3000; ++i) {
    // Some accounts get no lines at all.
    const std::string& code = codes[random() % (codes.size() - 3)];
    // Near 1 in magnitude, so that products stay finite; a few zeros.
    const double value = random() % 400 == 0
                             ? 0.0
                             : (0.5 + (random() % 1000) / 1000.0) * (random() % 3 == 0 ? -1 : 1);
    const CardRef card = cards.CreateCard({PackDay(2024, 1, 1 + i % 28), 0});
    const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, db.FindByCode(0, "N")));
    const ComponentRef slots[] = {db.FindByCode(1, code)};
    cards.SetComponents(line, slots);
    const double values[] = {value};
    cards.SetValues(line, values);
    lines[code].push_back(value);
  }
  // What each measure gives over a list of values, computed directly.
  const auto direct = [](Measure measure, std::vector<double> v) -> double {
    const double n = static_cast<double>(v.size());
    double sum = 0, product = 1, logs = 0;
    bool negative = false, zero = false;
    for (const double x : v) {
      sum += x;
      product *= x;
      if (x == 0) zero = true;
      logs += x != 0 ? std::log(std::fabs(x)) : 0;
      negative ^= x < 0;
    }
    std::sort(v.begin(), v.end());
    switch (measure) {
      case Measure::kCount:
        return n;
      case Measure::kNegativeSum:
        return -sum;
      case Measure::kProduct:
        return product;
      case Measure::kAverage:
        return v.empty() ? kMissingNumber : sum / n;
      case Measure::kGeometricMean:
        return v.empty() ? kMissingNumber : zero ? 0 : (negative ? -1 : 1) * std::exp(logs / n);
      case Measure::kMedian:
        return v.empty()           ? kMissingNumber
               : v.size() % 2 == 1 ? v[v.size() / 2]
                                   : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
      case Measure::kMaximum:
        return v.empty() ? kMissingNumber : v.back();
      case Measure::kMinimum:
        return v.empty() ? kMissingNumber : v.front();
      default:  // the sums, and First and Last, which are measured as Sum
        return sum;
    }
  };
  for (int m = 0; m < kMeasureCount; ++m) {
    const auto measure = static_cast<Measure>(m);
    ComponentFunctionsAnalysis analysis(db);
    analysis.columns().AddVariable("v")->measure = measure;
    ASSERT_TRUE(analysis.Calculate());
    const ComponentRows& rows = analysis.rows();
    ASSERT_EQ(rows.size(), static_cast<int>(codes.size()) + 1);
    for (int r = 0; r < rows.size(); ++r) {
      const std::string code = r == 0 ? "" : db.component(rows[r].component).code;
      std::vector<double> own;
      std::vector<double> subtree;
      for (const auto& [account, values] : lines) {
        if (account == code) own = values;
        if (account.starts_with(code)) subtree.insert(subtree.end(), values.begin(), values.end());
      }
      for (const auto& [values, got] : {std::pair{own, analysis.OwnValue(r, 0)},
                                        std::pair{subtree, analysis.SubtreeValue(r, 0)}}) {
        const double want = direct(measure, values);
        if (IsMissing(want)) {
          EXPECT_TRUE(IsMissing(got)) << "measure " << m << " row " << code;
        } else {
          EXPECT_NEAR(got, want, 1e-9 * std::max(1.0, std::fabs(want)))
              << "measure " << m << " row " << code << " over " << values.size() << " values";
        }
      }
    }
  }
}

}  // namespace
}  // namespace jov
