// The selection editor on the offscreen platform: it shows a selection's criteria, stores only
// the fields that were edited, shows the texts as the compilers corrected them, and marks an
// expression that names no component.
#include "selection_editor.h"

#include <QLineEdit>

#include "desktop_test_util.h"
#include "qt_text.h"

namespace jov {
namespace {

using SelectionEditorTest = DesktopTest;

TEST_F(SelectionEditorTest, ShowsStoresAndCorrectsTheCriteria) {
  Database* db = frame_->OpenFile(Demo());
  ASSERT_NE(db, nullptr);
  Selection selection(*db);
  selection.SetFrom("240101");
  selection.SetComponentExpression(1, "K|I");
  selection.SetValueCondition(0, ">100");
  SelectionEditor editor(*db);
  editor.Load(selection);
  // Fields for the dimensions in use and the value fields the database has, and no others.
  EXPECT_NE(editor.dimension_edit(3), nullptr);
  EXPECT_EQ(editor.dimension_edit(4), nullptr);
  EXPECT_NE(editor.value_edit(db->value_field_count() - 1), nullptr);
  EXPECT_EQ(editor.value_edit(db->value_field_count()), nullptr);
  EXPECT_EQ(editor.from_edit()->text().toStdString(), "240101");
  EXPECT_EQ(editor.to_edit()->text().toStdString(), "") << "an open end shows empty";
  EXPECT_EQ(editor.dimension_edit(1)->text().toStdString(), selection.DisplayedExpression(1));
  EXPECT_EQ(editor.value_edit(0)->text().toStdString(), selection.value_condition(0));

  // Nothing edited: nothing is set, so the selection keeps its revision.
  const uint64_t revision = selection.revision();
  EXPECT_FALSE(editor.Store(selection));
  EXPECT_EQ(selection.revision(), revision);

  // Edited fields are set; cleared ones clear their criterion.
  editor.to_edit()->setText("241231");
  editor.dimension_edit(1)->clear();
  editor.dimension_edit(2)->setText("SHOP|WEB");
  editor.card_title_edit()->setText("Invoice");
  editor.value_edit(0)->clear();
  ASSERT_TRUE(editor.Store(selection));
  EXPECT_EQ(selection.to().Text(), "241231");
  EXPECT_FALSE(selection.RestrictsDimension(1));
  EXPECT_TRUE(selection.RestrictsDimension(2));
  EXPECT_EQ(selection.card_title(), "Invoice");
  EXPECT_EQ(selection.value_condition(0), "");
  EXPECT_EQ(selection.from().Text(), "240101") << "an unedited field stays as it was";
  EXPECT_EQ(editor.dimension_edit(2)->text().toStdString(), selection.DisplayedExpression(2));

  // A relative date and an expression without its closing bracket come back corrected.
  editor.from_edit()->setText("Year-1");
  editor.dimension_edit(1)->setText("(K|I");
  editor.Store(selection);
  EXPECT_EQ(editor.from_edit()->text().toStdString(), selection.from().Text());
  EXPECT_EQ(selection.from().kind(), DatePointKind::kYear);
  ASSERT_TRUE(selection.RestrictsDimension(1));
  EXPECT_EQ(editor.dimension_edit(1)->text().toStdString(), selection.DisplayedExpression(1));
  EXPECT_NE(editor.dimension_edit(1)->text().toStdString(), "(K|I");

  // A code no component carries: the text stays to be mended, marked, and does not restrict.
  editor.dimension_edit(3)->setText("NOSUCH");
  editor.Store(selection);
  EXPECT_FALSE(selection.RestrictsDimension(3));
  EXPECT_EQ(editor.dimension_edit(3)->text().toStdString(), "NOSUCH");
  EXPECT_FALSE(editor.dimension_edit(3)->styleSheet().isEmpty());
  EXPECT_TRUE(editor.dimension_edit(2)->styleSheet().isEmpty());
}

}  // namespace
}  // namespace jov
