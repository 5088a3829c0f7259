// The dimension window on the offscreen platform: rows edited in the window reach the database
// only when applied, in one step, and the questions about codes defined twice and components in
// use leave the database as it was.
#include "dimension_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "desktop_test_util.h"
#include "platform/file_io.h"
#include "qt_text.h"

namespace jov {
namespace {

constexpr int kAccounts = 1;

// Counts the components-changed codes of one dimension.
class ComponentChanges : public DatabaseListener {
 public:
  explicit ComponentChanges(Database& db) : db_(db) { db_.AddListener(this); }
  ~ComponentChanges() override { db_.RemoveListener(this); }
  void OnDatabaseChange(Database&, ChangeCode code, int argument, int) override {
    if (code == ChangeCode::kComponents && argument == kAccounts) ++count;
  }
  int count = 0;

 private:
  Database& db_;
};

class DimensionWindowTest : public DesktopTest {
 protected:
  // The demo company's accounts window, opened by a double-click in the base window.
  DimensionWindow* OpenAccounts() {
    db_ = frame_->OpenFile(Demo());
    EXPECT_NE(db_, nullptr);
    auto* tree = frame_->Windows(db_).front()->findChild<QTreeWidget*>();
    const QList<QTreeWidgetItem*> found = tree->findItems("Accounts", Qt::MatchRecursive);
    EXPECT_EQ(found.size(), 1);
    Q_EMIT tree->itemActivated(found.front(), 0);
    auto* window = dynamic_cast<DimensionWindow*>(frame_->ActiveWindow());
    EXPECT_NE(window, nullptr);
    return window;
  }

  // Every component of the accounts in tree order: number, code, text, host and parent code.
  std::vector<std::string> Accounts() const {
    std::vector<std::string> rows;
    const ComponentRef root = db_->dimension(kAccounts).root();
    for (ComponentRef ref = db_->NextInPreorder(root); ref != root;
         ref = db_->NextInPreorder(ref)) {
      const Component& c = db_->component(ref);
      rows.push_back(std::to_string(ref) + " " + c.code + "|" + c.text + "|" + c.host + "<" +
                     (IsRoot(c.parent) ? "" : db_->component(c.parent).code));
    }
    return rows;
  }

  static DimensionEdit::Row RowWith(const DimensionEdit& edit, const char* code) {
    return edit.Find(ComponentField::kCode, code);
  }
  static QModelIndex Cell(DimensionWindow* window, const char* code, int column) {
    const QAbstractItemModel* model = window->view()->model();
    const QModelIndexList found =
        model->match(model->index(0, 0), Qt::DisplayRole, QString::fromLatin1(code), 1,
                     Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QModelIndex() : found.front().siblingAtColumn(column);
  }
  static void Select(DimensionWindow* window, const char* code) {
    window->Reveal(RowWith(window->edit(), code));
  }
  static void Type(DimensionWindow* window, const char* code, int column, const char* text) {
    const QModelIndex cell = Cell(window, code, column);
    ASSERT_TRUE(cell.isValid()) << code;
    window->view()->model()->setData(cell, QString::fromLatin1(text));
  }
  static QString Shown(DimensionWindow* window, const char* code, int column) {
    return Cell(window, code, column).data().toString();
  }
  bool DimensionWindowOpen() const {
    for (DatabaseWindow* window : frame_->Windows(db_)) {
      if (window->kind() == DatabaseWindow::Kind::kDimension) return true;
    }
    return false;
  }

  Database* db_ = nullptr;
};

TEST_F(DimensionWindowTest, EditsReachTheDatabaseInOneStepWhenApplied) {
  DimensionWindow* window = OpenAccounts();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Title().toStdString(), "demo_company.jox: Accounts");
  EXPECT_EQ(window->view()->model()->rowCount({}), 4);
  const std::vector<std::string> before = Accounts();
  const ComponentRef purchases = db_->FindByCode(kAccounts, "K4010");
  ComponentChanges changes(*db_);

  // The code cell edits the segment: renaming K renames every account below it.
  EXPECT_EQ(Cell(window, "K4010", 0).data(Qt::EditRole).toString().toStdString(), "4010");
  Type(window, "K", 0, "c");
  EXPECT_EQ(Shown(window, "C4010", 1).toStdString(), "Purchases of goods");
  // A new account after I3020, typed into its code cell as the user does.
  QApplication::setActiveWindow(frame_.get());
  window->view()->setFocus();
  Select(window, "I3020");
  QTest::keyClick(window->view(), Qt::Key_Insert);
  auto* editor = window->view()->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr) << "the new row's code cell opens for typing";
  editor->setText("3030");
  QTest::keyClick(editor, Qt::Key_Return);
  Settle();  // the editor hands its text over once the key is handled
  Type(window, "I3030", 1, "Sales, wholesale");
  Type(window, "I3030", 2, "3030");
  // From the keyboard: indented under I3020 it becomes I30203030, outdented it is I3030 again,
  // then moved up.
  QTest::keyClick(window->view(), Qt::Key_Right, Qt::ControlModifier);
  EXPECT_TRUE(Cell(window, "I30203030", 0).isValid());
  QTest::keyClick(window->view(), Qt::Key_Left, Qt::ControlModifier);
  QTest::keyClick(window->view(), Qt::Key_Up, Qt::ControlModifier);
  const DimensionEdit::Row income = RowWith(window->edit(), "I");
  EXPECT_EQ(window->edit().code(window->edit().children(income)[1]), "I3030");
  EXPECT_EQ(Accounts(), before) << "nothing is written before Apply";
  Select(window, "I3010");  // the new row shows in its own colour
  Screenshot(frame_->area()->activeSubWindow(), "dimension.png");
  Select(window, "I3030");

  ASSERT_TRUE(window->Apply());
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(db_->FindByCode(kAccounts, "C4010"), purchases) << "lines keep their account";
  EXPECT_EQ(db_->FindByCode(kAccounts, "K4010"), kNoComponent);
  const ComponentRef added = db_->FindByCode(kAccounts, "I3030");
  ASSERT_NE(added, kNoComponent);
  EXPECT_EQ(db_->component(added).host, "3030");
  EXPECT_EQ(db_->component(db_->component(added).parent).code, "I");
  EXPECT_TRUE(db_->modified());
  // The window shows the database again, with the current row kept.
  EXPECT_FALSE(window->edit().changed());
  EXPECT_EQ(window->edit().code(window->CurrentRow()), "I3030");
  EXPECT_EQ(window->edit().component(window->CurrentRow()), added);
  // Nothing more to write: Apply writes nothing.
  EXPECT_TRUE(window->Apply());
  EXPECT_EQ(changes.count, 1);
}

TEST_F(DimensionWindowTest, ACodeDefinedTwiceAsksAndCloseLeavesTheDatabaseAsItWas) {
  DimensionWindow* window = OpenAccounts();
  ASSERT_NE(window, nullptr);
  const std::vector<std::string> before = Accounts();
  const bool modified = db_->modified();
  Type(window, "I3010", 0, "3020");
  // Cancel: back to editing at the later of the two rows.
  sink_.answers = {1};
  EXPECT_FALSE(window->Apply());
  ASSERT_EQ(sink_.alerts.size(), 1u);
  EXPECT_EQ(Text(sink_.alerts[0]).toStdString(),
            "JOV-code \"I3020\" defined more than once. Do you want to close without changing?");
  EXPECT_EQ(window->CurrentRow(), window->edit().children(RowWith(window->edit(), "I"))[1]);
  EXPECT_TRUE(DimensionWindowOpen());
  // A host code defined twice is the next question; Close closes without writing.
  Type(window, "I3020", 0, "3010");
  Type(window, "I3010", 2, "3020");
  sink_.answers = {0};
  EXPECT_FALSE(window->Apply());
  Settle();
  EXPECT_EQ(sink_.alerts.back().message, msg::kHostDefinedTwice);
  EXPECT_FALSE(DimensionWindowOpen());
  EXPECT_EQ(Accounts(), before);
  EXPECT_EQ(db_->modified(), modified);
}

TEST_F(DimensionWindowTest, RemovingShowsTheFirstRowInUseAndRemovesNothingThen) {
  db_ = frame_->OpenFile(Demo());
  ASSERT_NE(db_, nullptr);
  ASSERT_NE(db_->AddComponent(kAccounts, "T9", "Unused", ""), kNoComponent);
  ASSERT_NE(db_->AddComponent(kAccounts, "T91", "Unused too", ""), kNoComponent);
  DimensionWindow* window = frame_->ShowDimension(*db_, kAccounts);
  // T has accounts in use below it: the first of them is shown, with its text.
  window->view()->collapseAll();
  Select(window, "T");
  window->RemoveRow();
  ASSERT_EQ(sink_.alerts.size(), 1u);
  EXPECT_EQ(Text(sink_.alerts[0]).toStdString(),
            "Component \"T1510 Accounts receivable\" is in use and cannot be removed.");
  EXPECT_EQ(window->edit().code(window->CurrentRow()), "T1510");
  EXPECT_TRUE(window->view()->isExpanded(Cell(window, "T", 0)));
  EXPECT_FALSE(window->edit().changed());
  // T9 is not used, nor is T91 below it: both go, and the row before takes the place.
  Select(window, "T9");
  window->RemoveRow();
  EXPECT_EQ(window->edit().code(window->CurrentRow()), "T1930");
  EXPECT_FALSE(Cell(window, "T91", 0).isValid());
  ASSERT_TRUE(window->Apply());
  EXPECT_EQ(db_->FindByCode(kAccounts, "T9"), kNoComponent);
  EXPECT_EQ(db_->FindByCode(kAccounts, "T91"), kNoComponent);
  EXPECT_EQ(sink_.alerts.size(), 1u);
}

TEST_F(DimensionWindowTest, ImportedRowsAreShownAndWrittenWithTheOtherEdits) {
  DimensionWindow* window = OpenAccounts();
  ASSERT_NE(window, nullptr);
  const std::string path = Path("chart.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "K8000\tInterest\t8000\nX\tOther\t\nX1\tOther one\t\n"));
  const DimImportResult result = window->ImportFile(QString::fromStdString(path));
  EXPECT_EQ(result.outcome, DimImportOutcome::kDone);
  EXPECT_EQ(result.added, 3);
  EXPECT_EQ(window->edit().code(window->CurrentRow()), "K8000");
  EXPECT_EQ(window->findChild<QLabel*>()->text().toStdString(), "3 new rows from chart.txt.");
  EXPECT_EQ(db_->FindByCode(kAccounts, "K8000"), kNoComponent);
  // A database file is no dimension file.
  EXPECT_EQ(window->ImportFile(Demo()).outcome, DimImportOutcome::kFailed);
  EXPECT_EQ(sink_.Messages(), std::vector<MessageId>{msg::kDatabaseFileNotImported});
  ASSERT_TRUE(window->Apply());
  const ComponentRef other_one = db_->FindByCode(kAccounts, "X1");
  ASSERT_NE(other_one, kNoComponent);
  EXPECT_EQ(db_->component(db_->component(other_one).parent).code, "X");
  EXPECT_EQ(db_->component(db_->FindByCode(kAccounts, "K8000")).host, "8000");
}

TEST_F(DimensionWindowTest, ChangesElsewhereAreReadInOrAskedAbout) {
  DimensionWindow* window = OpenAccounts();
  ASSERT_NE(window, nullptr);
  // No edits of its own: the window reads the dimension again.
  ASSERT_NE(db_->AddComponent(kAccounts, "Z", "Zed", ""), kNoComponent);
  db_->FlushChangeFlags();
  Settle();
  EXPECT_TRUE(Cell(window, "Z", 0).isValid());
  // With edits, Apply asks; No keeps them, Yes reads the dimension and drops them.
  Type(window, "Z", 1, "Zulu");
  ASSERT_NE(db_->AddComponent(kAccounts, "Y", "Yankee", ""), kNoComponent);
  db_->FlushChangeFlags();
  Settle();
  sink_.answers = {1, 0};
  EXPECT_FALSE(window->Apply());
  EXPECT_EQ(Shown(window, "Z", 1).toStdString(), "Zulu");
  EXPECT_FALSE(window->Apply());
  EXPECT_EQ(sink_.Messages(), (std::vector<MessageId>{msg::kComponentsChangedElsewhere,
                                                      msg::kComponentsChangedElsewhere}));
  EXPECT_EQ(Shown(window, "Z", 1).toStdString(), "Zed");
  EXPECT_TRUE(Cell(window, "Y", 0).isValid());
  EXPECT_EQ(db_->component(db_->FindByCode(kAccounts, "Z")).text, "Zed");
  // Closing with edits asks to save them; Save writes them.
  Type(window, "Z", 1, "Zulu");
  sink_.answers = {0};
  frame_->area()->activeSubWindow()->close();
  Settle();
  EXPECT_FALSE(DimensionWindowOpen());
  EXPECT_EQ(sink_.Messages().back(), msg::kSaveChanges);
  EXPECT_EQ(db_->component(db_->FindByCode(kAccounts, "Z")).text, "Zulu");
}

}  // namespace
}  // namespace jov
