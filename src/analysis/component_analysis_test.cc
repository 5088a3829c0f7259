#include "analysis/component_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "model/database.h"
#include "select/selection.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

using Column = ComponentColumn;

// Companies (dimension 1): N. Accounts (dimension 2, the default view): 1 (10 (100), 11), 2
// (20), 3. Cost centres (dimension 3): A, B. Two value fields. Every line is on a card of its
// own, dated in 2024 unless said.
class ComponentAnalysisTest : public ::testing::Test {
 protected:
  ComponentAnalysisTest() {
    ResetProcess();
    db_.AddComponent(0, "N", "Nordic", "");
    for (const char* code : {"1", "10", "100", "11", "2", "20", "3"}) {
      db_.AddComponent(1, code, std::string("Account ") + code, "");
    }
    db_.AddComponent(2, "A", "", "");
    db_.AddComponent(2, "B", "", "");
    db_.SetValueFieldCount(2);
    db_.dimension(1).SetPluralName("Accounts");
    db_.FlushChangeFlags();
  }

  void AddLine(std::string_view account, double value, DayCode day = PackDay(2024, 3, 1),
               std::string_view centre = "A") {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({day, 0});
    const GroupRef group = cards.FindOrAddGroup(card, db_.FindByCode(0, "N"));
    const LineRef line = cards.CreateLine(group);
    const ComponentRef slots[] = {db_.FindByCode(1, account), db_.FindByCode(2, centre)};
    cards.SetComponents(line, slots);
    const double values[] = {value, 1};
    cards.SetValues(line, values);
  }

  // The shown rows' accounts ("" for the root), in order.
  static std::vector<std::string> Shown(const ComponentAnalysis& analysis) {
    std::vector<std::string> codes;
    for (const int row : analysis.displayed()) {
      const ComponentRow& shown = analysis.rows()[row];
      codes.push_back(shown.parent < 0 ? "" : analysis.database().component(shown.component).code);
    }
    return codes;
  }

  // A column's value over every line the analysis takes.
  static double Total(const ComponentAnalysis& analysis, Column column) {
    return ColumnValue(analysis.rows()[0].subtree, column);
  }

  int RowOf(const ComponentAnalysis& analysis, std::string_view code) {
    return analysis.rows().RowOf(db_.FindByCode(1, code));
  }

  Database db_;
};

TEST_F(ComponentAnalysisTest, ExpandedRowsShowTheirOwnLinesCollapsedRowsTheirSubtree) {
  AddLine("1", 5);
  AddLine("10", 3);
  AddLine("100", 2);
  ComponentAnalysis analysis(db_);
  analysis.options().expansion = "\\";  // every row expanded
  ASSERT_TRUE(analysis.Calculate());
  const int one = RowOf(analysis, "1");
  EXPECT_EQ(analysis.CellValue(one, Column::kPeriod), 5);
  EXPECT_EQ(analysis.CellValue(0, Column::kPeriod), 0);  // the root has no lines of its own
  analysis.SetExpanded(one, false);
  EXPECT_EQ(analysis.CellValue(one, Column::kPeriod), 10);
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "2", "20", "3"}));
  // With the sublevels flag the column shows the subtree whatever the expansion.
  analysis.SetExpanded(one, true);
  analysis.options().column(Column::kPeriod).sublevels = true;
  EXPECT_EQ(analysis.CellValue(one, Column::kPeriod), 10);
  EXPECT_EQ(analysis.CellValue(0, Column::kPeriod), 10);
  EXPECT_EQ(analysis.CellValue(one, Column::kPositive), 5);  // the other columns keep own sums
}

TEST_F(ComponentAnalysisTest, FiltersKeepTheAncestorsOfKeptRows) {
  AddLine("100", 4);
  AddLine("3", 0);  // counted, so in use, but zero everywhere
  ComponentAnalysis analysis(db_);
  analysis.options().expansion = "\\";
  analysis.options().filter = RowFilter::kInUse;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "10", "100", "3"}));
  analysis.options().filter = RowFilter::kNonZero;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "10", "100"}));
  // The links are renumbered with the rows.
  const ComponentRows& rows = analysis.rows();
  EXPECT_EQ(rows[rows[3].parent].component, db_.FindByCode(1, "10"));
  EXPECT_EQ(rows[1].next_sibling, -1);
}

// The top rows' subtrees hold 5, -7, 0, 3 and -1; the children 10 and 11 of 1 tie.
TEST_F(ComponentAnalysisTest, SortOrdersSiblingsAndKeepsTiesInHierarchyOrder) {
  db_.AddComponent(1, "4", "", "");
  db_.AddComponent(1, "5", "", "");
  db_.FlushChangeFlags();
  const std::pair<const char*, double> values[] = {
      {"1", 9}, {"2", -7}, {"3", 0}, {"4", 3}, {"5", -1}};
  for (const auto& [code, value] : values) AddLine(code, value);
  AddLine("10", -2);  // 1's subtree stays 5; 10 and 11 are a tie
  AddLine("11", -2);
  const struct {
    ComponentSort order;
    std::vector<std::string> top;
  } cases[] = {
      {ComponentSort::kNone, {"1", "2", "3", "4", "5"}},
      {ComponentSort::kDescending, {"1", "4", "3", "5", "2"}},
      {ComponentSort::kCombinedDescending, {"1", "4", "2", "5", "3"}},
      {ComponentSort::kAbsoluteDescending, {"2", "1", "4", "5", "3"}},
      {ComponentSort::kAbsoluteAscending, {"3", "5", "4", "1", "2"}},
      {ComponentSort::kCombinedAscending, {"3", "4", "1", "5", "2"}},
      {ComponentSort::kAscending, {"2", "5", "3", "4", "1"}},
  };
  for (const auto& c : cases) {
    ComponentAnalysis analysis(db_);
    analysis.options().sort = c.order;
    ASSERT_TRUE(analysis.Calculate());
    std::vector<std::string> top;
    for (int r = analysis.rows()[0].first_child; r >= 0; r = analysis.rows()[r].next_sibling) {
      top.push_back(db_.component(analysis.rows()[r].component).code);
    }
    EXPECT_EQ(top, c.top) << static_cast<int>(c.order);
    // The array stays in pre-order and the tied children of 1 in their order.
    analysis.ExpandToLevel(9);
    const std::vector<std::string> shown = Shown(analysis);
    const auto at = std::find(shown.begin(), shown.end(), "1");
    ASSERT_LT(at + 3, shown.end());
    EXPECT_EQ(std::vector<std::string>(at, at + 4),
              (std::vector<std::string>{"1", "10", "100", "11"}))
        << static_cast<int>(c.order);
  }
}

TEST_F(ComponentAnalysisTest, RowsWithoutAFiniteKeySortLast) {
  AddLine("1", 1);
  AddLine("2", 2);
  AddLine("3", 3);
  ComponentRows rows;
  Selection selection(db_);
  rows.Build(db_, 1, selection.components(), /*flat=*/true);
  const std::map<std::string, double> keys = {{"1", kMissingNumber},
                                              {"10", 4},
                                              {"100", kPlusInfinity},
                                              {"11", -2},
                                              {"2", 4},
                                              {"20", 0},
                                              {"3", 1}};
  rows.Sort(ComponentSort::kAscending, [&](const ComponentRow& row) {
    return IsRoot(row.component) ? 0.0 : keys.at(db_.component(row.component).code);
  });
  std::vector<std::string> order;
  for (int r = 1; r < rows.size(); ++r) order.push_back(db_.component(rows[r].component).code);
  EXPECT_EQ(order, (std::vector<std::string>{"11", "20", "3", "10", "2", "1", "100"}));
}

TEST_F(ComponentAnalysisTest, CardsAroundTheRangeAreReadOnlyWhenSomethingShowsThem) {
  AddLine("10", 100, PackDay(2023, 6, 1));
  AddLine("10", 7, PackDay(2024, 3, 1));
  AddLine("10", 1000, PackDay(2025, 1, 1));
  ComponentAnalysis analysis(db_);
  analysis.selection().SetFrom("240101");
  analysis.selection().SetTo("241231");
  ComponentAnalysisOptions& options = analysis.options();
  for (ColumnOptions& column : options.columns) column.visible = false;
  options.column(Column::kPeriod).visible = true;
  options.sort_column = Column::kBefore;  // not used while the order is "none"
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(analysis.lines_read().before, 0);
  EXPECT_EQ(analysis.lines_read().after, 0);
  EXPECT_EQ(analysis.lines_read().period, 1);
  EXPECT_TRUE(IsMissing(Total(analysis, Column::kBefore)));

  const struct {
    const char* what;
    void (*set)(ComponentAnalysisOptions&);
    bool before, after;
  } needs[] = {
      {"At End shown", [](auto& o) { o.column(Column::kAtEnd).visible = true; }, true, false},
      {"Total shown", [](auto& o) { o.column(Column::kTotal).visible = true; }, true, true},
      {"After shown", [](auto& o) { o.column(Column::kAfter).visible = true; }, false, true},
      {"sorted by Before", [](auto& o) { o.sort = ComponentSort::kDescending; }, true, false},
      {"charting At End", [](auto& o) { o.chart_column = Column::kAtEnd; }, true, false},
  };
  for (const auto& need : needs) {
    ComponentAnalysis other(db_);
    other.selection().SetFrom("240101");
    other.selection().SetTo("241231");
    other.options() = options;
    need.set(other.options());
    ASSERT_TRUE(other.Calculate());
    EXPECT_EQ(other.lines_read().before, need.before ? 1 : 0) << need.what;
    EXPECT_EQ(other.lines_read().after, need.after ? 1 : 0) << need.what;
    if (need.before) {
      EXPECT_EQ(Total(other, Column::kAtEnd), 107) << need.what;
    } else {
      EXPECT_TRUE(IsMissing(Total(other, Column::kAtEnd))) << need.what;
    }
  }
  options.column(Column::kTotal).visible = true;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Total(analysis, Column::kBefore), 100);
  EXPECT_EQ(Total(analysis, Column::kAtEnd), 107);
  EXPECT_EQ(Total(analysis, Column::kAfter), 1000);
  EXPECT_EQ(Total(analysis, Column::kTotal), 1107);
}

TEST_F(ComponentAnalysisTest, ZerosAreCountedButNotSummedAndSpecialValuesNeither) {
  for (const double value : {0.0, -0.0, 4.0, -1.5, kPlusInfinity, kMinusInfinity, kMissingNumber}) {
    AddLine("3", value);
  }
  ComponentAnalysis analysis(db_);
  ASSERT_TRUE(analysis.Calculate());
  const int row = RowOf(analysis, "3");
  EXPECT_EQ(analysis.CellValue(row, Column::kCount), 4);
  EXPECT_EQ(analysis.CellValue(row, Column::kPositive), 4);
  EXPECT_EQ(analysis.CellValue(row, Column::kNegative), -1.5);
  EXPECT_EQ(analysis.CellValue(row, Column::kPeriod), 2.5);
}

TEST_F(ComponentAnalysisTest, AdmittedComponentsListedFlatOrUnderTheirNearestAdmittedAncestor) {
  AddLine("100", 1);
  ComponentAnalysis analysis(db_);
  analysis.options().expansion = "\\";
  // 1, 100, 2 and 3 without the rest of their subtrees.
  analysis.selection().SetComponentExpression(1,
                                              "1\xAC"
                                              "10\xAC"
                                              "11|100|2\xAC"
                                              "20|3");
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "100", "2", "3"}));
  EXPECT_EQ(analysis.rows()[RowOf(analysis, "100")].level, 2);
  analysis.options().flat = true;
  analysis.selection().SetComponentExpression(1, "");
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis),
            (std::vector<std::string>{"", "1", "10", "100", "11", "2", "20", "3"}));
  for (int r = 1; r < analysis.rows().size(); ++r) {
    EXPECT_EQ(analysis.rows()[r].parent, 0);
    EXPECT_EQ(analysis.rows()[r].level, 1);
  }
}

TEST_F(ComponentAnalysisTest, ExpansionSurvivesRecalculationAndComesFromTheTemplateOtherwise) {
  AddLine("100", 1);
  ComponentAnalysis analysis(db_);
  analysis.options().expansion = "||1|";
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "10", "11", "2", "3"}));
  analysis.SetExpanded(RowOf(analysis, "10"), true);
  AddLine("20", 1);
  db_.FlushChangeFlags();  // the new card drops the result
  EXPECT_FALSE(analysis.calculated());
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(Shown(analysis), (std::vector<std::string>{"", "1", "10", "100", "11", "2", "3"}));
  // Another view dimension starts from the template's text: the root expanded, no other row.
  analysis.options().view_dimension = 2;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_EQ(analysis.displayed().size(), 3u);
}

TEST_F(ComponentAnalysisTest, AStoppedCalculationLeavesTheTableEmpty) {
  AddLine("1", 1);
  ComponentAnalysis analysis(db_);
  RequestStop();
  EXPECT_FALSE(analysis.Calculate());
  EXPECT_FALSE(analysis.calculated());
  EXPECT_EQ(analysis.RowCount(), 0);
  ResetProcess();
  EXPECT_TRUE(analysis.Calculate());
  EXPECT_GT(analysis.RowCount(), 0);
}

TEST_F(ComponentAnalysisTest, PieSharesAndTheirTexts) {
  AddLine("1", 30);
  AddLine("2", 60);
  AddLine("3", 10);
  ComponentAnalysis analysis(db_);
  ASSERT_TRUE(analysis.Calculate());
  const std::vector<double> shares = analysis.PieShares();
  EXPECT_EQ(shares, (std::vector<double>{0, 0.3, 0.6, 0.1}));  // the root holds no lines
  const struct {
    double share;
    int pie_values;
    PieTextPlace place;
    const char* text;
  } texts[] = {
      {0.3, 1, PieTextPlace::kSlice, "30%"},
      {0.256, 2, PieTextPlace::kLegend, "25.6 %"},
      {0.256, 2, PieTextPlace::kBare, "26"},
      {0.0456, 1, PieTextPlace::kBare, "4.6"},
      {0.3, 0, PieTextPlace::kSlice, ""},
      {kPlusInfinity, 1, PieTextPlace::kSlice, "+ inf"},
      {kMissingNumber, 2, PieTextPlace::kLegend, "0/0"},
  };
  for (const auto& t : texts) EXPECT_EQ(PieShareText(t.share, t.pie_values, t.place), t.text);
}

TEST_F(ComponentAnalysisTest, TheTableShowsIdentifiersIndentedAndValuesByColumn) {
  AddLine("100", 1234.5);
  AddLine("20", -2);
  ComponentAnalysis analysis(db_);
  ComponentAnalysisOptions& options = analysis.options();
  options.expansion = "\\";
  for (ColumnOptions& column : options.columns) column.visible = false;
  options.column(Column::kPeriod) = {
      .visible = true, .bold = true, .red_green = true, .sublevels = true, .decimals = 2};
  options.column(Column::kCount) = {.visible = true, .decimals = 2};
  options.column(Column::kTotal) = {.visible = true, .decimals = kThousands};
  ASSERT_TRUE(analysis.Calculate());
  ASSERT_EQ(analysis.ColumnCount(), 5);  // JOV-Code, Text, Period, Count, Total
  EXPECT_EQ(analysis.Column(0).title, "JOV-Code");
  EXPECT_EQ(analysis.Column(2).title, "Period");
  EXPECT_EQ(analysis.FirstDataRow(), 1);
  std::vector<TableCell> cells;
  const auto row_text = [&](int row) {
    analysis.FillRow(row, cells);
    std::string text;
    for (const TableCell& cell : cells) text += cell.text + "|";
    return text;
  };
  Process().separators = {',', ' '};
  EXPECT_EQ(row_text(0), "Accounts||1 232,50|0|0|");
  EXPECT_EQ(row_text(3), "    100|Account 100|1 234,50|1|1|");
  EXPECT_EQ(cells[2].colour, CellColour::kGreen);
  EXPECT_TRUE(cells[2].bold);
  EXPECT_EQ(cells[2].alignment, CellAlignment::kRight);
  EXPECT_EQ(row_text(6), "  20|Account 20|-2,00|1|0|");
  EXPECT_EQ(cells[2].colour, CellColour::kRed);
  analysis.export_settings().format = ExportFormat::kHtml;  // spaces that HTML keeps
  EXPECT_EQ(row_text(3).substr(0, 5),
            "\xA0\xA0\xA0\xA0"
            "1");
}

// Every column of every row against sums taken in the test straight from the lines, over a
// generated database large enough for the pass to split its work, with criteria on the view
// dimension, another dimension, values and dates.
TEST(ComponentAnalysisCrossCheck, EveryColumnMatchesSumsTakenFromTheLines) {
  ResetProcess();
  Database db;
  std::mt19937 random(7);
  std::vector<ComponentRef> accounts;
  for (int a = 1; a <= 4; ++a) {
    db.AddComponent(0, std::to_string(a), "", "");
    for (int b = 0; b < 5; ++b) {
      const std::string parent = std::to_string(a * 10 + b);
      accounts.push_back(db.AddComponent(0, parent, "", ""));
      for (int c = 0; c < 4; ++c)
        accounts.push_back(db.AddComponent(0, parent + char('0' + c), "", ""));
    }
  }
  std::vector<ComponentRef> centres;
  for (int c = 0; c < 12; ++c)
    centres.push_back(db.AddComponent(1, "C" + std::to_string(c), "", ""));
  std::vector<ComponentRef> customers;
  for (int c = 0; c < 50; ++c)
    customers.push_back(db.AddComponent(2, "K" + std::to_string(c), "", ""));
  db.SetValueFieldCount(2);
  CardStore& cards = db.cards();
  for (int i = 0; i < 50000; ++i) {
    const DayCode day = PackDay(2020 + i / 10000, 1 + (i / 800) % 12, 1 + i % 28);
    const CardRef card = cards.CreateCard({day, 0});
    const int groups = 1 + static_cast<int>(random() % 3);
    for (int g = 0; g < groups; ++g) {
      const GroupRef group = cards.FindOrAddGroup(card, accounts[random() % accounts.size()]);
      for (int l = 1 + static_cast<int>(random() % 3); l > 0; --l) {
        const LineRef line = cards.CreateLine(group);
        const ComponentRef slots[] = {
            centres[random() % centres.size()],
            random() % 10 == 0 ? ComponentRef{2} : customers[random() % customers.size()]};
        cards.SetComponents(line, slots);
        const double values[] = {static_cast<double>(static_cast<int>(random() % 2001) - 1000),
                                 static_cast<double>(random() % 3)};
        cards.SetValues(line, values);
        if (random() % 7 == 0) cards.SetLineText(line, "note");
      }
    }
  }
  db.FlushChangeFlags();

  const struct {
    int view;
    bool flat;
    const char* line_text;  // a pattern makes the pass run on one thread
  } setups[] = {{0, false, ""}, {0, true, "\\"}, {2, false, ""}, {1, false, "note"}};
  for (const auto& setup : setups) {
    ComponentAnalysis analysis(db);
    ComponentAnalysisOptions& options = analysis.options();
    options.view_dimension = setup.view;
    options.flat = setup.flat;
    options.value_field = 0;
    for (ColumnOptions& column : options.columns) column = {.visible = true, .sublevels = true};
    Selection& selection = analysis.selection();
    selection.SetFrom("210315");
    selection.SetTo("230610");
    selection.SetComponentExpression(0,
                                     "\xAC"
                                     "2");  // not account class 2
    selection.SetComponentExpression(1, "C1|C2|C3|C4|C5|C6|C7");
    selection.SetValueCondition(1, ">0");
    selection.SetLineText(setup.line_text);
    ASSERT_TRUE(analysis.Calculate());

    // The sums of each component's own lines, taken line by line.
    std::map<ComponentRef, RowSums> own;
    const Date from = selection.from().date();
    const Date to = selection.to().date();
    for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
      const Date id = cards.CardId(card);
      for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
        if (!selection.GroupPasses(g)) continue;
        for (LineRef line = cards.group(g).first_line; line != kNoLine;
             line = cards.lines().next(line)) {
          if (!selection.LinePasses(line)) continue;
          const double value = cards.GetValue(line, 0);
          RowSums& sums = own[db.LineComponent(g, line, setup.view)];
          if (id < from) {
            sums.before += value;
          } else if (id > to) {
            sums.after += value;
          } else {
            (value > 0 ? sums.positive : sums.negative) += value;
            ++sums.count;
          }
        }
      }
    }
    const ComponentRows& rows = analysis.rows();
    int checked = 0;
    for (int r = 0; r < rows.size(); ++r) {
      RowSums expected;
      for (const auto& [component, sums] : own) {
        const bool under = setup.flat && r > 0 ? component == rows[r].component
                                               : db.IsDescendant(rows[r].component, component);
        if (under) expected.Add(sums);
      }
      for (int kind = 0; kind < kComponentColumns; ++kind) {
        const auto column = static_cast<ComponentColumn>(kind);
        EXPECT_EQ(analysis.CellValue(r, column), ColumnValue(expected, column))
            << "view " << setup.view << " row " << r << " column " << kind;
        ++checked;
      }
    }
    EXPECT_GT(rows[0].subtree.count, 1000) << setup.view;
    EXPECT_EQ(checked, rows.size() * kComponentColumns);
  }
}

}  // namespace
}  // namespace jov
