#include "analysis/function_columns.h"

#include <gtest/gtest.h>

#include <vector>

#include "analysis/formula_test_util.h"
#include "model/database.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

class FunctionColumnsTest : public ::testing::Test {
 protected:
  FunctionColumnsTest() {
    ResetProcess();
    PushSink(&sink_);
  }
  ~FunctionColumnsTest() override { PopSink(); }

  Formula* AddFormula(std::string_view name, std::string_view text) {
    Formula* formula = columns_.AddFormula(name);
    columns_.SetText(*formula, text);
    return formula;
  }

  // The formulas' values over periods whose variables take `values` (one row of variable values
  // per period, in column order; the formulas' places are ignored).
  std::vector<std::vector<double>> Rows(std::vector<std::vector<double>> values) {
    columns_.StartCalculation();
    for (std::vector<double>& row : values) columns_.CloseRow(0, row);
    return values;
  }

  Database db_;
  RecordingSink sink_;
  FunctionColumns columns_{db_};
};

TEST_F(FunctionColumnsTest, OperationsByTimeRunFromTheStartOfACalculation) {
  columns_.AddVariable("v");
  Formula* formula = AddFormula("f", "v");
  struct Case {
    TimeOperation operation;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {TimeOperation::kNone, {10, 20, 5}},
      {TimeOperation::kAddFromStart, {10, 30, 35}},
      {TimeOperation::kDifference, {10, 10, -15}},
      {TimeOperation::kMultiplyFromStart, {10, 200, 1000}},
      {TimeOperation::kQuotient, {10, 2, 0.25}},  // the first value is the plain value
  };
  for (const Case& c : cases) {
    formula->operation = c.operation;
    for (int calculation = 0; calculation < 2; ++calculation) {
      const auto rows = Rows({{10, 0}, {20, 0}, {5, 0}});
      for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][1], c.expected[i]) << static_cast<int>(c.operation) << " row " << i;
      }
    }
  }
}

TEST_F(FunctionColumnsTest, FormulasSeeEarlierColumnsOfThisPeriodAndLaterOnesOfTheLast) {
  columns_.AddVariable("sales");
  AddFormula("early", "late + 1");
  AddFormula("late", "sales * 2 + T");
  columns_.StartCalculation();
  std::vector<double> row = {5, 0, 0};
  columns_.CloseRow(0.5, row);
  EXPECT_TRUE(IsMissing(row[1]));  // "late" not yet evaluated
  EXPECT_EQ(row[2], 10.5);
  row = {7, 0, 0};
  columns_.CloseRow(1, row);
  EXPECT_EQ(row[1], 11.5);
  EXPECT_EQ(row[2], 15);
  EXPECT_TRUE(columns_.UsesTime());
}

TEST_F(FunctionColumnsTest, NamesAreUniqueAndRenamingRewritesWholeNamesOnly) {
  ASSERT_NE(columns_.AddVariable("a"), nullptr);
  ASSERT_NE(columns_.AddVariable("ab"), nullptr);
  EXPECT_EQ(columns_.AddVariable("a"), nullptr);
  EXPECT_EQ(columns_.AddFormula("T"), nullptr);
  EXPECT_EQ(columns_.AddVariable("")->name(), "Variable");
  EXPECT_EQ(columns_.AddVariable("")->name(), "Variable 1");
  Formula* formula = AddFormula("f", "a*ab + sqrt(a) - (a)");
  columns_.Compile();
  EXPECT_EQ(formula->text(), "a*ab + sqrt(a) - (a)");

  EXPECT_FALSE(columns_.Rename(0, "ab"));
  EXPECT_FALSE(columns_.Rename(0, ""));
  EXPECT_TRUE(columns_.Rename(0, "sales"));
  EXPECT_EQ(formula->text(), "sales*ab + sqrt(sales) - (sales)");
  EXPECT_EQ(columns_[0].name_index(), 1);
  EXPECT_EQ(columns_.names().Name(1), "sales");
  EXPECT_EQ(columns_.names().Name(0), "T");
  columns_.Compile();
  EXPECT_TRUE(formula->Uses(1));
  EXPECT_TRUE(formula->Uses(2));

  EXPECT_EQ(RenameInFormula("x+xy*yx-x", "x", "z"), "z+xy*yx-z");
  EXPECT_EQ(RenameInFormula("net sales/2", "net sales", "n"), "n/2");
}

TEST_F(FunctionColumnsTest, AColumnAFormulaUsesCannotBeErased) {
  columns_.AddVariable("a");
  columns_.AddVariable("b");
  AddFormula("f", "a * 2");
  EXPECT_FALSE(columns_.Erase(0));
  ASSERT_EQ(sink_.alerts().size(), 1u);
  EXPECT_EQ(sink_.alerts()[0].message, msg::kColumnInUse);
  EXPECT_EQ(sink_.Texts()[0], "Variable \"a\" is in use and cannot be erased.");
  EXPECT_TRUE(columns_.Erase(1));
  EXPECT_EQ(columns_.size(), 2u);
  EXPECT_EQ(columns_[1].name_index(), 2);
  // The formula still reads "a", at its new place in the table.
  columns_.StartCalculation();
  std::vector<double> row = {4, 0};
  columns_.CloseRow(0, row);
  EXPECT_EQ(row[1], 8);
  EXPECT_TRUE(columns_.Erase(1));
  EXPECT_TRUE(columns_.Erase(0));
}

TEST_F(FunctionColumnsTest, SelfReferenceIsFoundDirectAndIndirect) {
  columns_.AddVariable("v");
  AddFormula("f", "v + 1");
  AddFormula("g", "h * 2");
  AddFormula("h", "f + g");
  AddFormula("k", "k + 1");
  auto found = columns_.FindSelfReference();
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->column, 2u);
  EXPECT_EQ(found->message, msg::kRefersIndirectly);

  columns_.SetText(static_cast<Formula&>(columns_[3]), "f + 1");
  found = columns_.FindSelfReference();
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->column, 4u);
  EXPECT_EQ(found->message, msg::kRefersToItself);

  columns_.SetText(static_cast<Formula&>(columns_[4]), "g + h");
  EXPECT_FALSE(columns_.FindSelfReference().has_value());
}

TEST_F(FunctionColumnsTest, TextsNamingLaterColumnsCompileOnceTheyExist) {
  Formula* formula = AddFormula("f", "later * 3");
  columns_.AddVariable("later");
  columns_.StartCalculation();
  std::vector<double> row = {0, 2};
  columns_.CloseRow(0, row);
  EXPECT_EQ(row[0], 6);
  EXPECT_EQ(formula->text(), "later * 3");
  // An empty text compiles to nothing and shows as the missing number.
  columns_.SetText(*formula, "");
  columns_.StartCalculation();
  columns_.CloseRow(0, row);
  EXPECT_TRUE(IsMissing(row[0]));
}

TEST_F(FunctionColumnsTest, MovingAColumnKeepsFormulasReadingIt) {
  columns_.AddVariable("a");
  columns_.AddVariable("b");
  AddFormula("f", "a - b");
  columns_.Move(2, 0);
  columns_.Move(1, 2);
  EXPECT_EQ(columns_[0].name(), "f");
  EXPECT_EQ(columns_[1].name(), "b");
  EXPECT_EQ(columns_[2].name(), "a");
  columns_.StartCalculation();
  std::vector<double> row = {0, 3, 10};
  columns_.CloseRow(0, row);
  EXPECT_EQ(row[0], 7);
}

}  // namespace
}  // namespace jov
