#include "analysis/column_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/database.h"
#include "shell/process.h"

namespace jov {
namespace {

class ColumnLinesTest : public ::testing::Test {
 protected:
  ColumnLinesTest() {
    ResetProcess();
    db_.SetValueFieldCount(3);
    db_.AddComponent(0, "10", "", "");
  }

  // A variable with every setting off its default, a plain one, and two formulas.
  void MakeColumns(FunctionColumns& columns) {
    Variable* sales = columns.AddVariable("sales");
    sales->title = "Net sales";
    sales->selection().SetFrom("240101");
    sales->selection().SetComponentExpression(0, "10");
    sales->value_field = 2;
    sales->measure = Measure::kMedian;
    sales->accumulation = Accumulation::kByPeriod;
    sales->shift = TimeShift::Other(-10, ShiftUnit::kDays);
    sales->look = {.decimals = -1,
                   .colour = 11,
                   .width = 40,
                   .line_width = 3,
                   .visible = false,
                   .bold = true,
                   .red_green = true};
    columns.AddVariable("cost");
    Formula* margin = columns.AddFormula("margin");
    columns.SetText(*margin, "sales - cost");
    margin->operation = TimeOperation::kQuotient;
    margin->graph = GraphStyle::kBars;
    margin->title = "Margin";
    margin->higher_levels = HigherLevels::kSumOfLowerLevels;
    columns.AddFormula("growth");
  }

  static std::vector<std::string> Read(FunctionColumns& columns,
                                       const std::vector<std::string>& lines,
                                       uint32_t format_date = 20001219) {
    ColumnLinesReader reader(columns, format_date);
    std::vector<std::string> refused;
    for (const std::string& line : lines) {
      if (!reader.ReadLine(line)) refused.push_back(line);
    }
    return refused;
  }

  Database db_;
};

TEST_F(ColumnLinesTest, LinesReadBackToTheSameColumns) {
  FunctionColumns columns(db_);
  MakeColumns(columns);
  const std::vector<std::string> lines = ColumnLines(columns);
  const std::vector<std::string> expected = {
      "VN\tsales\tNet sales",
      "VC\t240101\t",
      "VD1\t10",
      "VFC",
      "VMDP",
      "VT\t-10D",
      "VZ\tDT\tCR\tW40\tw3\tV-\tB+\tR+",
      "VN\tcost\t",
      "VFA",
      "VZ\tD2\tCR\tw1\tV+\tB-\tR-",
      "FN\tmargin\tMargin",
      "FF\tsales - cost",
      "FDQ",
      "FGB",
      "FSL",
      "FZ\tD2\tCG\tw1\tV+\tB-\tR-",
      "FN\tgrowth\t",
      "FF\t",
      "FGL",
      "FZ\tD2\tCM\tw1\tV+\tB-\tR-",
  };
  EXPECT_EQ(lines, expected);

  FunctionColumns read(db_);
  EXPECT_TRUE(Read(read, lines).empty());
  EXPECT_EQ(ColumnLines(read), lines);
  const auto& sales = static_cast<const Variable&>(read[0]);
  EXPECT_EQ(sales.measure, Measure::kMedian);
  EXPECT_EQ(sales.shift, TimeShift::Other(-10, ShiftUnit::kDays));
  EXPECT_EQ(sales.look.decimals, -1);
}

TEST_F(ColumnLinesTest, ReadingTakesUpNamedColumnsRemovesAndLeavesOtherKeys) {
  FunctionColumns columns(db_);
  MakeColumns(columns);
  const std::vector<std::string> refused =
      Read(columns, {
                        "VN\tcost\tCosts",  // the existing variable
                        "VMCA",             // Count, from start
                        "VFZ",              // no such value field: ignored
                        "FN\tsales\t",      // a formula of a variable's name gets a free name
                        "FF\tcost * 2",
                        "FQ\t1",  // another kind's key
                        "VX\t1",  // an unknown selection tag
                        "FN\tgrowth\t",
                        "F-",    // removes growth
                        "FDQ",   // no current formula: ignored
                        "L\tT",  // not a column line
                    });
  EXPECT_EQ(refused, (std::vector<std::string>{"FQ\t1", "L\tT"}));
  ASSERT_EQ(columns.size(), 4u);
  const auto& cost = static_cast<const Variable&>(columns[1]);
  EXPECT_EQ(cost.title, "Costs");
  EXPECT_EQ(cost.measure, Measure::kCount);
  EXPECT_EQ(cost.value_field, 0);
  EXPECT_EQ(columns[3].name(), "sales 1");
  EXPECT_EQ(static_cast<const Formula&>(columns[3]).text(), "cost * 2");
}

TEST_F(ColumnLinesTest, OlderFilesKeepDefaultsTheirLinesMeantOtherwise) {
  const std::vector<std::string> lines = {"VN\tv\t", "VZ\tDT\tCR\tV-", "FN\tf\t", "FZ\tD0\tB+"};
  FunctionColumns oldest(db_);
  Read(oldest, lines, 19961231);
  EXPECT_EQ(oldest[0].look.decimals, db_.value_decimals());
  EXPECT_TRUE(oldest[1].look.visible);
  EXPECT_EQ(static_cast<Variable&>(oldest[0]).accumulation, Accumulation::kFromStart);

  FunctionColumns spring97(db_);
  Read(spring97, {"VN\tv\t", "VZ\tDT", "VN\tw\t", "VMSA"}, 19970501);
  EXPECT_EQ(static_cast<Variable&>(spring97[0]).accumulation, Accumulation::kByPeriod);
  EXPECT_EQ(spring97[0].look.decimals, -1);
  EXPECT_EQ(static_cast<Variable&>(spring97[1]).accumulation, Accumulation::kFromStart);

  FunctionColumns later(db_);
  Read(later, {"VN\tv\t"}, 19970626);
  EXPECT_EQ(static_cast<Variable&>(later[0]).accumulation, Accumulation::kFromStart);
}

TEST_F(ColumnLinesTest, CopiedBlocksPasteAsNewColumnsOrReplaceTheSelectedOne) {
  FunctionColumns source(db_);
  MakeColumns(source);
  const std::string text = CopyColumns(source, {0, 1, 2});
  EXPECT_TRUE(text.starts_with("## Selection\tsales\tNet sales\r\nVC\t240101\t\r\n"));
  EXPECT_NE(text.find("\r\n## Formula\tmargin\tMargin\r\nFF\tsales - cost\r\nFDQ\r\n"),
            std::string::npos);

  FunctionColumns target(db_);
  EXPECT_EQ(PasteColumns(target, text), 3);
  ASSERT_EQ(target.size(), 3u);
  target.Compile();
  EXPECT_EQ(CopyColumns(target, {0, 1, 2}), text);
  // Pasting again makes new columns with free names.
  EXPECT_EQ(PasteColumns(target, text), 3);
  EXPECT_EQ(target[3].name(), "sales 1");
  EXPECT_EQ(target[5].name(), "margin 1");

  // With a variable selected, the first variable block replaces it, taking its name.
  FunctionColumns replaced(db_);
  replaced.AddVariable("old");
  Formula* reader = replaced.AddFormula("twice");
  replaced.SetText(*reader, "old * 2");
  replaced.Compile();
  EXPECT_EQ(PasteColumns(replaced, CopyColumns(source, {0, 1}), 0), 2);
  ASSERT_EQ(replaced.size(), 3u);
  EXPECT_EQ(replaced[0].name(), "sales");
  EXPECT_EQ(static_cast<const Variable&>(replaced[0]).measure, Measure::kMedian);
  EXPECT_EQ(reader->text(), "sales * 2");
  EXPECT_EQ(replaced[2].name(), "cost");
  EXPECT_EQ(PasteColumns(replaced, "no block here\r\nVMCA\r\n"), 0);
}

}  // namespace
}  // namespace jov
