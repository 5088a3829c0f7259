// The analysis windows on the offscreen platform: for each kind, options set through its
// settings dialog, a calculation, and the shown cells compared with the engine's own table
// calculated with the same settings; rows opened and closed, sorting by a column title, the
// card window from a row, templates installed, opened and opened with their database.
#include "analysis_window.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

#include "analysis/card_analysis.h"
#include "analysis/component_analysis.h"
#include "analysis/component_functions.h"
#include "analysis/line_analysis.h"
#include "analysis/time_functions.h"
#include "analysis/variable.h"
#include "analysis_chart.h"
#include "analysis_settings.h"
#include "automation/macro.h"
#include "card_window.h"
#include "desktop_test_util.h"
#include "frame_script_host.h"
#include "function_columns_editor.h"
#include "model/user_stamp.h"
#include "qt_text.h"
#include "select/subset_list.h"
#include "selection_editor.h"
#include "subset_window.h"

namespace jov {
namespace {

class AnalysisWindowTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    db_ = frame_->OpenFile(Demo());
    ASSERT_NE(db_, nullptr);
  }

  // Every cell the window's view shows is the engine table's.
  static void ExpectSameCells(const AnalysisWindow& window, Table& engine) {
    const TableModel& model = window.model();
    ASSERT_EQ(model.rowCount(), engine.RowCount());
    ASSERT_EQ(model.columnCount(), engine.ColumnCount());
    ASSERT_GT(engine.RowCount(), 1) << "a table with rows to compare";
    std::vector<TableCell> cells;
    for (int row = 0; row < engine.RowCount(); ++row) {
      engine.FillRow(row, cells);
      for (int column = 0; column < engine.ColumnCount(); ++column) {
        EXPECT_EQ(ToEngine(model.data(model.index(row, column), Qt::DisplayRole).toString()),
                  cells[column].text)
            << "row " << row << ", column " << column;
      }
    }
    for (int column = 0; column < engine.ColumnCount(); ++column) {
      EXPECT_EQ(ToEngine(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()),
                engine.Column(column).title);
    }
  }

  static void Choose(QDialog& dialog, const char* name, int data) {
    auto* box = dialog.findChild<QComboBox*>(name);
    ASSERT_NE(box, nullptr) << name;
    const int index = box->findData(data);
    ASSERT_GE(index, 0) << name << " offers " << data;
    box->setCurrentIndex(index);
  }

  AnalysisWindow* Active() const {
    return qobject_cast<AnalysisWindow*>(frame_->area()->activeSubWindow()->widget());
  }

  Database* db_ = nullptr;
};

TEST_F(AnalysisWindowTest, ComponentAnalysisShowsTheEngineTableAndOpensClosesAndSortsRows) {
  AnalysisWindow* window = frame_->NewAnalysis(*db_, AnalysisKind::kComponents);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->calculated());
  {
    std::unique_ptr<AnalysisSettingsDialog> dialog = window->NewSettingsDialog();
    Choose(*dialog, "view_dimension", 1);
    Choose(*dialog, "filter", static_cast<int>(RowFilter::kNonZero));
    dialog->findChild<QCheckBox*>("visible4")->setChecked(true);  // Count
    SelectionEditor* selection = dialog->selection_editor();
    selection->from_edit()->setText("240101");
    selection->to_edit()->setText("241231");
    selection->dimension_edit(1)->setText("K|I");
    Screenshot(dialog.get(), "component_settings.png");
    dialog->accept();
  }
  ASSERT_TRUE(window->Calculate());
  EXPECT_TRUE(window->calculated());

  ComponentAnalysis engine(*db_);
  engine.options().view_dimension = 1;
  engine.options().filter = RowFilter::kNonZero;
  engine.options().column(ComponentColumn::kCount).visible = true;
  engine.selection().SetFrom("240101");
  engine.selection().SetTo("241231");
  engine.selection().SetComponentExpression(1, "K|I");
  ASSERT_TRUE(engine.Calculate());
  ExpectSameCells(*window, engine);

  // Opening every row, closing the root, and opening it again by a double-click.
  window->ExpandAll(true);
  engine.ExpandToLevel(1 << 20);
  ExpectSameCells(*window, engine);
  const int all_rows = window->model().rowCount();
  window->ExpandAll(false);
  EXPECT_LT(window->model().rowCount(), all_rows);
  window->ActivateRow(0);
  EXPECT_EQ(window->model().rowCount(), 1) << "the root closed";
  window->ActivateRow(0);
  EXPECT_GT(window->model().rowCount(), 1);

  // A click on a value column's title sorts by it, largest first, then the other way.
  int period = -1;
  for (int c = 0; c < engine.ColumnCount(); ++c) {
    if (engine.ValueColumnAt(c) == ComponentColumn::kPeriod) period = c;
  }
  ASSERT_GE(period, 0);
  window->SortByColumn(0);  // an identifier does not order the rows
  auto& shown = static_cast<ComponentAnalysis&>(window->analysis());
  EXPECT_EQ(shown.options().sort, ComponentSort::kNone);
  window->SortByColumn(period);
  EXPECT_EQ(shown.options().sort, ComponentSort::kDescending);
  engine.options().sort = ComponentSort::kDescending;
  engine.options().sort_column = ComponentColumn::kPeriod;
  ASSERT_TRUE(engine.Calculate());
  engine.ExpandToLevel(1);
  window->ExpandAll(false);
  ExpectSameCells(*window, engine);
  window->SortByColumn(period);
  EXPECT_EQ(shown.options().sort, ComponentSort::kAscending);
  ASSERT_NE(window->chart(), nullptr);
  EXPECT_FALSE(window->chart()->chart()->series().isEmpty());
  Screenshot(frame_->area()->activeSubWindow(), "analysis_components.png");
}

TEST_F(AnalysisWindowTest, LineAnalysisListsTheEngineRowsAndOpensTheCardOfARow) {
  AnalysisWindow* window = frame_->NewAnalysis(*db_, AnalysisKind::kLines);
  ASSERT_NE(window, nullptr);
  {
    std::unique_ptr<AnalysisSettingsDialog> dialog = window->NewSettingsDialog();
    dialog->findChild<QCheckBox*>("summary0")->setChecked(true);   // Before
    dialog->findChild<QCheckBox*>("summary10")->setChecked(true);  // cards
    SelectionEditor* selection = dialog->selection_editor();
    selection->from_edit()->setText("240101");
    selection->to_edit()->setText("241231");
    selection->dimension_edit(1)->setText("T1510");
    dialog->title_edit()->setText("Receivables");
    dialog->accept();
  }
  ASSERT_TRUE(window->Calculate());
  EXPECT_EQ(window->chart(), nullptr) << "lists have no chart";
  EXPECT_NE(window->Title().toStdString().find("Receivables"), std::string::npos);
  LineAnalysis engine(*db_);
  engine.options().Set(LineSummary::kBefore, true);
  engine.options().Set(LineSummary::kCardCount, true);
  engine.selection().SetFrom("240101");
  engine.selection().SetTo("241231");
  engine.selection().SetComponentExpression(1, "T1510");
  engine.set_title("Receivables");
  ASSERT_TRUE(engine.Calculate());
  ExpectSameCells(*window, engine);
  Screenshot(frame_->area()->activeSubWindow(), "analysis_lines.png");

  // A summary row has no card; a line row opens its card's window, once.
  const size_t windows = frame_->Windows(db_).size();
  window->ActivateRow(0);
  EXPECT_EQ(frame_->Windows(db_).size(), windows);
  const int row = engine.FirstLineRow() + 2;
  const Date card = db_->cards().CardId(CardOfRow(engine.result(), 2));
  window->ActivateRow(row);
  window->ActivateRow(row);
  ASSERT_EQ(frame_->Windows(db_).size(), windows + 1);
  auto* card_window = dynamic_cast<CardWindow*>(frame_->Windows(db_).back());
  ASSERT_NE(card_window, nullptr);
  EXPECT_EQ(card_window->editor().card(), CardOfRow(engine.result(), 2));
  EXPECT_GE(card_window->table()->rowCount(), 2) << "the card's group and its lines";
  EXPECT_TRUE(card_window->Title().contains(FromEngine(CardIdText(card, db_->card_digits()))));
}

TEST_F(AnalysisWindowTest, CardAnalysisListsWhatItsDialogAsksFor) {
  AnalysisWindow* window = frame_->NewAnalysis(*db_, AnalysisKind::kCards);
  ASSERT_NE(window, nullptr);
  {
    std::unique_ptr<AnalysisSettingsDialog> dialog = window->NewSettingsDialog();
    Choose(*dialog, "groups", static_cast<int>(DataContents::kAll));
    Choose(*dialog, "lines", static_cast<int>(DataContents::kAll));
    dialog->selection_editor()->from_edit()->setText("241220");
    dialog->selection_editor()->to_edit()->setText("241231");
    dialog->accept();
  }
  ASSERT_TRUE(window->Calculate());
  CardAnalysis engine(*db_);
  engine.options().groups = DataContents::kAll;
  engine.options().lines = DataContents::kAll;
  engine.selection().SetFrom("241220");
  engine.selection().SetTo("241231");
  ASSERT_TRUE(engine.Calculate());
  ExpectSameCells(*window, engine);
  Screenshot(frame_->area()->activeSubWindow(), "analysis_cards.png");
}

TEST_F(AnalysisWindowTest, TimeFunctionsWithAVariableAndAFormulaFromTheDialog) {
  AnalysisWindow* window = frame_->NewAnalysis(*db_, AnalysisKind::kTimeFunctions);
  ASSERT_NE(window, nullptr);
  {
    std::unique_ptr<AnalysisSettingsDialog> dialog = window->NewSettingsDialog();
    dialog->findChild<QLineEdit*>("from")->setText("240101");
    dialog->findChild<QLineEdit*>("to")->setText("241231");
    dialog->findChild<QComboBox*>("periods")->setCurrentIndex(
        PeriodKindNumber(PeriodKind::kQuarters));
    dialog->findChild<QLineEdit*>("axis_maximum")->setText("250000");
    auto* columns = dialog->findChild<FunctionColumnsEditor*>();
    columns->AddVariable();
    columns->name_edit()->setText("sales");
    columns->selection_editor()->dimension_edit(1)->setText("I");
    columns->shift_box()->setCurrentIndex(static_cast<int>(TimeShiftKind::kPlusYear));
    columns->colour_box()->setCurrentIndex(5);
    columns->AddFormula();
    columns->name_edit()->setText("half");
    columns->formula_edit()->setText("sales / 2");
    columns->by_time_box()->setCurrentIndex(static_cast<int>(TimeOperation::kAddFromStart));
    columns->graph_box()->setCurrentIndex(static_cast<int>(GraphStyle::kBars));
    Screenshot(dialog.get(), "time_functions_settings.png");
    dialog->findChild<QTabWidget*>()->setCurrentIndex(1);
    Screenshot(dialog.get(), "time_functions_columns.png");
    dialog->accept();
  }
  ASSERT_TRUE(window->Calculate());
  TimeFunctionsAnalysis engine(*db_);
  engine.options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 12, 31));
  engine.options().period_kind = PeriodKind::kQuarters;
  engine.options().axis_maximum = 250000;
  Variable& sales = *engine.columns().AddVariable("sales");
  sales.selection().SetComponentExpression(1, "I");
  sales.shift = TimeShift::FromText("Y+");
  sales.look.colour = 5;
  Formula& half = *engine.columns().AddFormula("half");
  engine.columns().SetText(half, "sales / 2");
  half.operation = TimeOperation::kAddFromStart;
  half.graph = GraphStyle::kBars;
  ASSERT_TRUE(engine.Calculate());
  ExpectSameCells(*window, engine);
  auto& shown = static_cast<TimeFunctionsAnalysis&>(window->analysis());
  EXPECT_EQ(shown.options(), engine.options());
  EXPECT_EQ(shown.columns()[0].look, sales.look);
  EXPECT_EQ(static_cast<const Formula&>(shown.columns()[1]).graph, GraphStyle::kBars);
  {
    // The dialog shows what it stored.
    std::unique_ptr<AnalysisSettingsDialog> dialog = window->NewSettingsDialog();
    EXPECT_EQ(dialog->findChild<QLineEdit*>("axis_maximum")->text(), "250000");
    EXPECT_TRUE(dialog->findChild<QLineEdit*>("axis_minimum")->text().isEmpty());
    auto* columns = dialog->findChild<FunctionColumnsEditor*>();
    EXPECT_EQ(columns->shift_box()->currentIndex(), static_cast<int>(TimeShiftKind::kPlusYear));
    dialog->findChild<QTabWidget*>()->setCurrentIndex(1);
    Screenshot(dialog.get(), "time_functions_variable.png");
    columns->list()->setCurrentRow(1);
    EXPECT_EQ(columns->by_time_box()->currentIndex(),
              static_cast<int>(TimeOperation::kAddFromStart));
  }
  // The chart beside the table draws the calculated columns.
  ASSERT_NE(window->chart(), nullptr);
  EXPECT_EQ(window->chart()->chart()->series().size(), 2);
  Screenshot(frame_->area()->activeSubWindow(), "analysis_time_functions.png");
}

TEST_F(AnalysisWindowTest, ComponentFunctionsPerAccountFromTheDialog) {
  AnalysisWindow* window = frame_->NewAnalysis(*db_, AnalysisKind::kComponentFunctions);
  ASSERT_NE(window, nullptr);
  {
    std::unique_ptr<AnalysisSettingsDialog> dialog = window->NewSettingsDialog();
    Choose(*dialog, "view_dimension", 1);
    auto* columns = dialog->findChild<FunctionColumnsEditor*>();
    columns->AddVariable();
    columns->name_edit()->setText("amount");
    columns->selection_editor()->from_edit()->setText("240101");
    columns->selection_editor()->to_edit()->setText("241231");
    columns->AddVariable();
    columns->name_edit()->setText("lines");
    columns->measure_box()->setCurrentIndex(static_cast<int>(Measure::kCount));
    dialog->accept();
  }
  ASSERT_TRUE(window->Calculate());
  ComponentFunctionsAnalysis engine(*db_);
  engine.options().view_dimension = 1;
  Variable& amount = *engine.columns().AddVariable("amount");
  amount.selection().SetFrom("240101");
  amount.selection().SetTo("241231");
  engine.columns().AddVariable("lines")->measure = Measure::kCount;
  ASSERT_TRUE(engine.Calculate());
  ExpectSameCells(*window, engine);
  window->ExpandAll(true);
  engine.ExpandToLevel(1 << 20);
  ExpectSameCells(*window, engine);
  Screenshot(frame_->area()->activeSubWindow(), "analysis_component_functions.png");
}

TEST_F(AnalysisWindowTest, TemplatesInstallOpenAndOpenWithTheirDatabase) {
  // A stored template opens with its settings; calculated, it shows the engine's table.
  const AnalysisTemplate* stored = AnalysisTemplates::Of(*db_).Find("Profit and loss 2024");
  ASSERT_NE(stored, nullptr);
  AnalysisWindow* window = frame_->ShowTemplate(*db_, *stored);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(frame_->ShowTemplate(*db_, *stored), window) << "an open template comes forward";
  ASSERT_TRUE(window->Calculate());
  std::unique_ptr<Table> engine = OpenTemplate(*db_, *stored);
  ASSERT_TRUE(engine->Calculate());
  ExpectSameCells(*window, *engine);

  // Installed under a new name with the flags to open and calculate at opening.
  window->frame().open_directly = true;
  window->frame().calculate_directly = true;
  window->InstallTemplate("Results");
  const AnalysisTemplate* installed = AnalysisTemplates::Of(*db_).Find("Results");
  ASSERT_NE(installed, nullptr);
  EXPECT_TRUE(installed->frame.open_directly);
  EXPECT_EQ(installed->frame.kind, AnalysisKind::kComponents);
  const std::string path = Path("results.jox");
  ASSERT_TRUE(frame_->SaveAs(*db_, path, DatabaseFormat::kText, SaveSetup{}));
  engine.reset();  // an analysis leaves its database's listeners as it goes: before the database
  frame_->CloseQuietly(*db_);
  Database* reopened = frame_->OpenFile(QString::fromStdString(path));
  ASSERT_NE(reopened, nullptr);
  AnalysisWindow* opened = nullptr;
  for (DatabaseWindow* w : frame_->Windows(reopened)) {
    if (auto* a = dynamic_cast<AnalysisWindow*>(w)) opened = a;
  }
  ASSERT_NE(opened, nullptr) << "the template marked to open opened with its database";
  EXPECT_EQ(opened->frame().name, "Results");
  EXPECT_TRUE(opened->calculated());
  std::unique_ptr<Table> again =
      OpenTemplate(*reopened, *AnalysisTemplates::Of(*reopened).Find("Results"));
  ASSERT_TRUE(again->Calculate());
  ExpectSameCells(*opened, *again);
  EXPECT_TRUE(sink_.alerts.empty());
}

// Opening runs the macros marked for it, which may open windows themselves, then shows the
// subsets and templates marked to open; nothing of it marks the database modified.
TEST_F(AnalysisWindowTest, OpeningRunsItsMacrosThenShowsTheMarkedSubsets) {
  Macro start;
  start.name = "Start";
  start.steps = "message -title Books Welcome\ropenTemplate \"Profit and loss 2024\"";
  start.execute_when_opening = true;
  MacroList::Of(*db_).Store(start);
  Subset* marked = SubsetList::Of(*db_).Find("Large web sales");
  ASSERT_NE(marked, nullptr);
  marked->set_open_directly(true);
  const std::string path = Path("startup.jox");
  ASSERT_TRUE(frame_->SaveAs(*db_, path, DatabaseFormat::kText, SaveSetup{}));
  frame_->CloseQuietly(*db_);

  Database* reopened = frame_->OpenFile(QString::fromStdString(path));
  ASSERT_NE(reopened, nullptr);
  const AnalysisWindow* opened = nullptr;
  const SubsetWindow* subset = nullptr;
  for (DatabaseWindow* w : frame_->Windows(reopened)) {
    if (auto* a = dynamic_cast<AnalysisWindow*>(w)) opened = a;
    if (auto* s = dynamic_cast<SubsetWindow*>(w)) subset = s;
  }
  ASSERT_NE(opened, nullptr) << "the macro's openTemplate showed the template";
  EXPECT_EQ(opened->frame().name, "Profit and loss 2024");
  EXPECT_TRUE(opened->calculated());
  ASSERT_NE(subset, nullptr) << "the subset marked to open";
  EXPECT_EQ(subset->subset()->name(), "Large web sales");
  EXPECT_NE(subset->subset()->lines(), nullptr) << "calculated";
  EXPECT_FALSE(reopened->modified());
  EXPECT_TRUE(sink_.alerts.empty());
  // The message did not wait for an answer: the macro went on.
  const QList<QMessageBox*> boxes = frame_->findChildren<QMessageBox*>();
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes[0]->windowTitle(), "Books");
  EXPECT_EQ(boxes[0]->text(), "Welcome");
  EXPECT_FALSE(boxes[0]->isModal());
}

// A script's openTemplate on a template whose window is open: used with -current, replaced with
// -reopen, and otherwise replaced only when the user chooses Revert.
TEST_F(AnalysisWindowTest, OpenTemplateOnAnOpenWindowAsksWhetherToRevertIt) {
  FrameScriptHost host(*frame_);
  const auto open_template = [&](std::string_view flags) {
    MacroList::Of(*db_).ExecuteSteps(
        "Report", "openTemplate " + std::string(flags) + " \"Profit and loss 2024\"", host);
    std::vector<AnalysisWindow*> shown;
    for (DatabaseWindow* w : frame_->Windows(db_)) {
      if (auto* a = dynamic_cast<AnalysisWindow*>(w)) shown.push_back(a);
    }
    EXPECT_EQ(shown.size(), 1u) << flags;
    return shown.empty() ? nullptr : shown.front();
  };
  const auto view = [](AnalysisWindow* window) {
    return static_cast<ComponentAnalysis&>(window->analysis()).options().view_dimension;
  };
  AnalysisWindow* window = open_template("");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->calculated());
  const int stored_view = view(window);
  static_cast<ComponentAnalysis&>(window->analysis()).options().view_dimension = 3;

  for (const char* kept : {"-current", ""}) {
    sink_.alerts.clear();
    sink_.answers = {0};  // No
    window = open_template(kept);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(view(window), 3) << kept;
    EXPECT_EQ(sink_.Messages(), std::string_view(kept).empty()
                                    ? std::vector<MessageId>{msg::kAlreadyOpenRevert}
                                    : std::vector<MessageId>{});
  }
  sink_.answers = {1};  // Revert
  EXPECT_EQ(view(open_template("")), stored_view);
  static_cast<ComponentAnalysis&>(open_template("")->analysis()).options().view_dimension = 3;
  sink_.alerts.clear();
  EXPECT_EQ(view(open_template("-reopen")), stored_view);
  EXPECT_TRUE(sink_.alerts.empty()) << "-reopen asks nothing";
}

// Set Column Widths keeps the widths the user gave the columns, and a template installed after
// it has them.
TEST_F(AnalysisWindowTest, ColumnWidthsSetInTheWindowGoWithItsTemplate) {
  AnalysisWindow* window = frame_->NewAnalysis(*db_, AnalysisKind::kLines);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->Calculate());
  auto* view = window->findChild<QTableView*>();
  ASSERT_NE(view, nullptr);
  ASSERT_GE(window->analysis().ColumnCount(), 2);
  view->setColumnWidth(0, 150);
  window->SetColumnWidths();
  const TableColumn& first = window->analysis().Column(0);
  EXPECT_EQ(first.right - first.left, 150);
  EXPECT_EQ(view->columnWidth(0), 150);
  window->InstallTemplate("Wide");
  std::unique_ptr<Table> stored = OpenTemplate(*db_, *AnalysisTemplates::Of(*db_).Find("Wide"));
  ASSERT_TRUE(stored->Calculate());
  EXPECT_EQ(stored->Column(0).right - stored->Column(0).left, 150);
}

TEST_F(AnalysisWindowTest, ListedCardsAreExaminedAndDeletedWithTheirCardWindowsClosedFirst) {
  ASSERT_TRUE(SetUserSignature("TST"));
  AnalysisWindow* window = frame_->NewAnalysis(*db_, AnalysisKind::kLines);
  ASSERT_NE(window, nullptr);
  auto& listing = static_cast<LineAnalysis&>(window->analysis());
  listing.selection().SetFrom("241220");
  listing.selection().SetTo("241231");
  ASSERT_TRUE(window->Calculate());
  ASSERT_GT(listing.LineRowCount(), 0);
  const CardRef first = CardOfRow(listing.result(), 0);
  const Date first_id = db_->cards().CardId(first);
  window->ActivateRow(listing.FirstLineRow());
  ASSERT_NE(dynamic_cast<CardWindow*>(frame_->Windows(db_).back()), nullptr);
  const size_t cards = db_->cards().card_count();

  ASSERT_TRUE(window->Mark(CardMark::kExamined));
  EXPECT_EQ(db_->cards().card(first).examined.Signature(), "TST");
  EXPECT_FALSE(window->calculated()) << "the change dropped the rows";
  EXPECT_EQ(window->model().rowCount(), 0);

  // Declined: nothing goes. Confirmed: the card window closes first, then the cards go.
  ASSERT_TRUE(window->Calculate());
  sink_.answers = {1};
  EXPECT_FALSE(window->DeleteData());
  EXPECT_EQ(db_->cards().card_count(), cards);
  ASSERT_TRUE(window->DeleteData());
  EXPECT_LT(db_->cards().card_count(), cards);
  EXPECT_EQ(db_->cards().FindCard(first_id), kCardSentinel);
  for (DatabaseWindow* open : frame_->Windows(db_)) {
    EXPECT_EQ(dynamic_cast<CardWindow*>(open), nullptr) << "the deleted card's window closed";
  }
  ASSERT_TRUE(window->Calculate());
  EXPECT_EQ(listing.LineRowCount(), 0);
}

TEST_F(AnalysisWindowTest, InstallRemoveAndSetDefaultsFromTheWindow) {
  AnalysisWindow* window = frame_->NewAnalysis(*db_, AnalysisKind::kComponents);
  ASSERT_NE(window, nullptr);
  auto& analysis = static_cast<ComponentAnalysis&>(window->analysis());
  analysis.options().view_dimension = 1;
  QWidget* sub = window->parentWidget();
  sub->move(30, 40);
  window->InstallTemplate("Placed", true);
  const AnalysisTemplate* placed = AnalysisTemplates::Of(*db_).Find("Placed");
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(placed->frame.position_x, 30);
  EXPECT_EQ(placed->frame.position_y, 40);
  EXPECT_EQ(placed->frame.width, sub->width());
  window->InstallTemplate("Placed", false);
  EXPECT_EQ(AnalysisTemplates::Of(*db_).Find("Placed")->frame.position_x, 0);

  // A stored template reopens where it was placed, with its settings.
  window->InstallTemplate("Placed", true);
  sub->close();
  Settle();
  AnalysisWindow* reopened =
      frame_->ShowTemplate(*db_, *AnalysisTemplates::Of(*db_).Find("Placed"));
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->parentWidget()->pos(), QPoint(30, 40));
  EXPECT_EQ(static_cast<ComponentAnalysis&>(reopened->analysis()).options().view_dimension, 1);

  sink_.answers = {1};
  EXPECT_FALSE(reopened->RemoveTemplate()) << "declined";
  EXPECT_NE(AnalysisTemplates::Of(*db_).Find("Placed"), nullptr);
  EXPECT_TRUE(reopened->RemoveTemplate());
  EXPECT_EQ(AnalysisTemplates::Of(*db_).Find("Placed"), nullptr);
  EXPECT_FALSE(reopened->RemoveTemplate()) << "nothing left to remove";

  // "Change" makes the window's settings the kind's defaults for new windows.
  reopened->SetDefaults();
  AnalysisWindow* fresh = frame_->NewAnalysis(*db_, AnalysisKind::kComponents);
  EXPECT_EQ(static_cast<ComponentAnalysis&>(fresh->analysis()).options().view_dimension, 1);
}

}  // namespace
}  // namespace jov
