#include "analysis/analysis_kinds.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace jov
