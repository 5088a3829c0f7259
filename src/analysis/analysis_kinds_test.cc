#include "analysis/analysis_kinds.h"

#include <gtest/gtest.h>

#include "analysis/component_functions.h"
#include "analysis/time_functions.h"
#include "files/analysis_template.h"
#include "model/database.h"
#include "select/selection.h"
#include "shell/process.h"

namespace jov {
namespace {

// Every kind a front end holds through the table: a new analysis becomes a template of its kind
// and name that opens again with the settings it had, and its selection is the one its rows
// come from (none for the kinds whose columns carry their own).
TEST(AnalysisKindsTest, EveryKindMakesATemplateThatOpensWithItsSettings) {
  ResetProcess();
  Database db;
  db.AddComponent(1, "1", "", "");
  db.FlushChangeFlags();
  for (const AnalysisKindEntry& entry : BuiltAnalysisKinds()) {
    SCOPED_TRACE(static_cast<int>(entry.kind));
    EXPECT_EQ(FindAnalysisKind(entry.kind), &entry);
    std::unique_ptr<Table> analysis = entry.create(db);
    ASSERT_NE(analysis, nullptr);
    entry.frame(*analysis).notes = "kept";
    Selection* selection = entry.selection(*analysis);
    const bool own_selection = entry.kind != AnalysisKind::kTimeFunctions &&
                               entry.kind != AnalysisKind::kComponentFunctions;
    EXPECT_EQ(selection != nullptr, own_selection);
    if (selection != nullptr) selection->SetFrom("240101");

    const AnalysisTemplate stored = entry.to_template(*analysis, "Kept");
    EXPECT_EQ(stored.frame.kind, entry.kind);
    EXPECT_EQ(stored.frame.name, "Kept");
    std::unique_ptr<Table> opened = OpenTemplate(db, stored);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(entry.frame(*opened).notes, "kept");
    if (selection != nullptr) {
      EXPECT_EQ(entry.selection(*opened)->from().Text(), "240101");
    }
  }
  EXPECT_EQ(FindAnalysisKind(AnalysisKind::kCardWindow), nullptr);
}

// A column width set as a window's user drags it is kept in the settings of the kinds that keep
// widths, and so in their templates; a width too small to be stored leaves the default.
TEST(AnalysisKindsTest, ColumnWidthsAreKeptByTheKindsThatStoreThem) {
  ResetProcess();
  Database db;
  db.AddComponent(1, "1", "", "");
  db.FlushChangeFlags();
  const auto width = [](const Table& table, int column) {
    return table.Column(column).right - table.Column(column).left;
  };
  for (const AnalysisKindEntry& entry : BuiltAnalysisKinds()) {
    SCOPED_TRACE(static_cast<int>(entry.kind));
    std::unique_ptr<Table> analysis = entry.create(db);
    if (entry.kind == AnalysisKind::kTimeFunctions) {
      static_cast<TimeFunctionsAnalysis&>(*analysis).columns().AddVariable("v");
    } else if (entry.kind == AnalysisKind::kComponentFunctions) {
      static_cast<ComponentFunctionsAnalysis&>(*analysis).columns().AddVariable("v");
    }
    ASSERT_TRUE(analysis->Calculate());
    const int last = analysis->ColumnCount() - 1;
    ASSERT_GE(last, 0);
    const int standard = width(*analysis, last);
    if (entry.kind == AnalysisKind::kCards) {
      EXPECT_FALSE(analysis->SetColumnWidth(last, 140)) << "kept as read, not set";
      continue;
    }
    ASSERT_TRUE(analysis->SetColumnWidth(last, 140));
    EXPECT_EQ(width(*analysis, last), 140);
    std::unique_ptr<Table> opened = OpenTemplate(db, entry.to_template(*analysis, "Wide"));
    ASSERT_TRUE(opened->Calculate());
    EXPECT_EQ(width(*opened, last), 140);
    ASSERT_TRUE(analysis->SetColumnWidth(last, 10));
    EXPECT_EQ(width(*analysis, last), standard);
    EXPECT_FALSE(analysis->SetColumnWidth(last + 1, 140));
    const bool labels_from_view =
        entry.kind == AnalysisKind::kComponents || entry.kind == AnalysisKind::kComponentFunctions;
    EXPECT_NE(analysis->SetColumnWidth(0, 140), labels_from_view);
  }
}

}  // namespace
}  // namespace jov
