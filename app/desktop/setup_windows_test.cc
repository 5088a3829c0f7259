// The setup windows on the offscreen platform: fields set in the window and applied reach the
// database's setups, and the previews show what the engine reads from the same files.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include "automation/macro.h"
#include "desktop_test_util.h"
#include "dim_import_window.h"
#include "dimension_window.h"
#include "field_spec_table.h"
#include "import_setup_window.h"
#include "io/import_preview.h"
#include "io/text_import.h"
#include "macro_window.h"
#include "platform/file_io.h"
#include "preview_page.h"
#include "qt_text.h"
#include "save_as_dialog.h"
#include "select/subset_list.h"
#include "selection_editor.h"
#include "subset_window.h"
#include "table_window.h"

namespace jov {
namespace {

using SetupWindowsTest = DesktopTest;

FieldSpec F(int field, std::string default_text = "") {
  return FieldSpec{{FieldPart{field, 0, 0, std::move(default_text), 0}}};
}

// Types `text` into a cell of a field table, as the user does.
void Type(FieldSpecTable* table, int row, int column, const char* text) {
  ASSERT_GE(row, 0);
  table->item(row, column)->setText(QString::fromLatin1(text));
}

// The row of the field labelled `label`.
int RowLabelled(const FieldSpecTable* table, const char* label) {
  for (int row = 0; row < table->rowCount(); ++row) {
    if (table->item(row, FieldSpecTable::kLabel)->text() == QLatin1String(label)) return row;
  }
  return -1;
}

// Compares every cell a window's preview shows with the engine's table.
void ExpectShown(const TableModel& model, const FixedTable& engine) {
  ASSERT_EQ(model.rowCount(), engine.RowCount());
  ASSERT_EQ(model.columnCount(), engine.ColumnCount());
  std::vector<TableCell> cells;
  for (int row = 0; row < engine.RowCount(); ++row) {
    engine.FillRow(row, cells);
    for (int column = 0; column < engine.ColumnCount(); ++column) {
      EXPECT_EQ(model.data(model.index(row, column), Qt::DisplayRole).toString(),
                FromEngine(cells[column].text))
          << row << "," << column;
    }
  }
}

// A bank statement of the demo company: card rows "H;date;title", line rows
// "L;account;cost centre;amount".
constexpr std::string_view kBankFile =
    "Bank statement 2025-01\r\n"
    "H;250103;Card payments\r\nL;3010;SHOP;1.250,00\r\nL;1930;;-1.250,00\r\n"
    "H;250104;Supplier\r\nL;4010;WH;800,00\r\nL;4099;WH;12,5\r\nL;1930;;-812,50\r\n";

TEST_F(SetupWindowsTest, TheImportSetupWindowEditsEveryFieldAndPreviewsWhatItImports) {
  Database* db = frame_->OpenFile(Demo());
  ASSERT_NE(db, nullptr);
  ImportSetupWindow* window = frame_->ShowImportSetup(*db, {});
  // The fields, set in the window.
  auto* name = window->findChild<QLineEdit*>("name");
  name->setText("Bank");
  Q_EMIT name->textEdited(name->text());
  window->findChild<QSpinBox*>("field_separator")->setValue(';');
  auto* decimal = window->findChild<QLineEdit*>("decimal_separator");
  decimal->setText(",");
  Q_EMIT decimal->textEdited(",");
  window->findChild<QSpinBox*>("rows_to_skip")->setValue(1);
  window->findChild<QComboBox*>("date_format")->setCurrentIndex(0);
  window->findChild<QSpinBox*>("field_separator")->setValue(';');
  FieldSpecTable* card = window->card_fields();
  Type(card, card->RowOf(0), FieldSpecTable::kField, "1");
  Type(card, card->RowOf(0), FieldSpecTable::kDefault, "H");
  Type(card, card->RowOf(1), FieldSpecTable::kField, "1");
  Type(card, card->RowOf(1), FieldSpecTable::kDefault, "L");
  Type(card, card->RowOf(3), FieldSpecTable::kField, "2");
  Type(card, card->RowOf(4), FieldSpecTable::kField, "3");
  // A title of two parts: the third field, "/" and the second.
  card->setCurrentCell(card->RowOf(4), FieldSpecTable::kField);
  card->AddPart();
  Type(card, card->RowOf(4, 1), FieldSpecTable::kField, "2");
  Type(card, card->RowOf(4, 0), FieldSpecTable::kInsert, "/");
  // Accounts are the demo's second dimension, cost centres its third.
  FieldSpecTable* lines = window->line_fields(0);
  Type(lines, RowLabelled(lines, "Account"), FieldSpecTable::kField, "2");
  Type(lines, RowLabelled(lines, "Cost centre"), FieldSpecTable::kField, "3");
  Type(lines, RowLabelled(lines, "Amount"), FieldSpecTable::kField, "4");
  auto* placement = qobject_cast<QComboBox*>(
      lines->cellWidget(RowLabelled(lines, "Account"), FieldSpecTable::kPartColumns + 1));
  ASSERT_NE(placement, nullptr);
  placement->setCurrentIndex(1);
  EXPECT_TRUE(ImportSetups::Of(*db).named().empty()) << "nothing is stored before Apply";

  ASSERT_TRUE(window->Apply());
  ImportSetup expected;
  expected.name = "Bank";
  expected.field_separator = ';';
  expected.decimal_separator = ',';
  expected.rows_to_skip = 1;
  expected.card_indicator = F(1, "H");
  expected.line_indicator = F(1, "L");
  expected.card_date = F(2);
  expected.card_title = FieldSpec{{FieldPart{3, 0, 0, "", '/'}, FieldPart{2, 0, 0, "", 0}}};
  LineDefinition& line = expected.line_definitions[0];
  line.components[1] = F(2);
  line.components[2] = F(3);
  line.values[0] = F(4);
  line.placements[1] = NewComponentPlacement::kHostAsCode;
  ASSERT_EQ(ImportSetups::Of(*db).named().size(), 1u);
  EXPECT_EQ(ImportSetups::Of(*db).named()[0], expected);
  EXPECT_EQ(window->Title().toStdString(), "demo_company.jox: Import Setup Bank");

  // The preview is the engine's reading of the file.
  const std::string path = Path("bank.txt");
  ASSERT_TRUE(WriteFileAtomically(path, kBankFile));
  window->preview_page()->SetFile(QString::fromStdString(path));
  window->pages()->setCurrentIndex(window->pages()->count() - 1);
  MemoryImportInput input(kBankFile);
  const FixedTable engine = PreviewTable(*db, expected, PreviewImport(*db, input, expected, 200));
  const TableModel& model = window->preview_page()->model();
  ExpectShown(model, engine);
  EXPECT_EQ(model.data(model.index(6, 4), Qt::DisplayRole).toString().toStdString(), "4099 *");
  EXPECT_EQ(model.data(model.index(1, 3), Qt::DisplayRole).toString().toStdString(),
            "Card payments/250103");
  Screenshot(frame_->area()->activeSubWindow(), "import_setup.png");

  // Import: the cards of the file come in; the account without a host code is made with
  // JOV-Code = Host Code.
  const uint64_t cards_before = db->cards().card_count();
  const ImportResult result = window->Import();
  EXPECT_EQ(result.outcome, ImportOutcome::kDone);
  EXPECT_EQ(result.cards, 2u);
  EXPECT_EQ(result.lines, 5u);
  EXPECT_EQ(db->cards().card_count(), cards_before + 2);
  EXPECT_NE(db->FindByCode(1, "4099"), kNoComponent);
  EXPECT_EQ(model.data(model.index(6, 4), Qt::DisplayRole).toString().toStdString(), "4099")
      << "the preview follows the database";
}

TEST_F(SetupWindowsTest, ImportSetupsAreRenamedDeletedAndAskedAboutWhenEdited) {
  Database& db = frame_->NewDatabase();
  ImportSetup bank;
  bank.name = "Bank";
  ImportSetups::Of(db).Store(bank, "");
  ImportSetupWindow* window = frame_->ShowImportSetup(db, "bank");
  EXPECT_EQ(window->stored_name(), "Bank");
  EXPECT_EQ(frame_->ShowImportSetup(db, "Bank"), window) << "one window per setup";
  // More line definitions, one deleted again; the last one stays.
  window->AddLineDefinition();
  EXPECT_EQ(window->pages()->count(), 5);
  window->DeleteLineDefinition();
  window->pages()->setCurrentIndex(2);
  window->DeleteLineDefinition();
  EXPECT_EQ(window->edit().line_definitions.size(), 1u);
  // Renamed in the window, stored in place.
  auto* name = window->findChild<QLineEdit*>("name");
  name->setText("Giro");
  Q_EMIT name->textEdited(name->text());
  window->findChild<QComboBox*>("character_set")->setCurrentIndex(4);
  // Closing with edits asks: Cancel keeps the window, Save applies.
  sink_.answers = {2, 0};
  frame_->area()->activeSubWindow()->close();
  Settle();
  ASSERT_EQ(frame_->Windows(&db).size(), 2u);
  frame_->area()->activeSubWindow()->close();
  Settle();
  ASSERT_EQ(ImportSetups::Of(db).named().size(), 1u);
  EXPECT_EQ(ImportSetups::Of(db).named()[0].name, "Giro");
  EXPECT_EQ(ImportSetups::Of(db).named()[0].character_set, CharacterSet::kEbcdic);
  // Deleting from the menu asks, and closes the window.
  frame_->ShowImportSetup(db, "Giro");
  sink_.answers = {0};
  for (QAction* action : frame_->findChildren<QAction*>()) {
    if (action->text() == Text(msg::kMenuDeleteImportSetup)) action->trigger();
  }
  EXPECT_TRUE(ImportSetups::Of(db).named().empty());
  EXPECT_EQ(frame_->Windows(&db).size(), 1u);
}

// Projects for the demo's cost centres: "level;code;text;host", one heading row.
constexpr std::string_view kProjectsFile =
    "Level;Number;Name;Host\r\n1;P;Projects;\r\n2;1;Alpha;17\r\n2;2;Beta;\r\n"
    "1;SHOP;Shop again;\r\n";

TEST_F(SetupWindowsTest, TheDimensionImportWindowEditsTheSetupPreviewsAndImports) {
  Database* db = frame_->OpenFile(Demo());
  ASSERT_NE(db, nullptr);
  constexpr int kCostCentres = 2;
  DimImportWindow* window = frame_->ShowDimImport(*db, kCostCentres);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(frame_->ShowDimImport(*db, kCostCentres), window) << "one window per dimension";
  EXPECT_EQ(window->Title().toStdString(), "demo_company.jox: Import Setup for Cost centres");
  window->findChild<QSpinBox*>("field_separator")->setValue(';');
  window->findChild<QSpinBox*>("rows_to_skip")->setValue(1);
  window->findChild<QComboBox*>("method")->setCurrentIndex(2);
  window->findChild<QComboBox*>("zero_filling")->setCurrentIndex(3);
  FieldSpecTable* fields = window->fields();
  EXPECT_EQ(fields->item(fields->RowOf(3), FieldSpecTable::kLabel)->text().toStdString(),
            "Level Number")
      << "the fourth field follows the method";
  EXPECT_FALSE(window->findChild<QComboBox*>("search")->isEnabled());
  for (const auto& [entry, field] : {std::pair{0, "2"}, {1, "3"}, {2, "4"}, {3, "1"}}) {
    Type(fields, fields->RowOf(entry), FieldSpecTable::kField, field);
  }
  window->pages()->setCurrentIndex(1);
  EXPECT_FALSE(DimImports::Of(*db).of(kCostCentres)) << "nothing is stored before Apply";
  window->Apply();
  DimImport expected = DefaultDimImport();
  expected.file.field_separator = ';';
  expected.file.rows_to_skip = 1;
  expected.method = HierarchyMethod::kLevelNumbers;
  expected.zero_filling = 4;
  expected.code = F(2);
  expected.text = F(3);
  expected.host = F(4);
  expected.level_or_parent = F(1);
  ASSERT_TRUE(DimImports::Of(*db).of(kCostCentres));
  EXPECT_EQ(*DimImports::Of(*db).of(kCostCentres), expected);
  EXPECT_TRUE(db->modified());

  // The preview is the engine's: P with two projects under it; SHOP exists and adds nothing.
  const std::string path = Path("projects.txt");
  ASSERT_TRUE(WriteFileAtomically(path, kProjectsFile));
  window->pages()->setCurrentIndex(2);
  window->preview_page()->SetFile(QString::fromStdString(path));
  MemoryImportInput input(kProjectsFile);
  ExpectShown(window->preview_page()->model(),
              PreviewDimImport(*db, kCostCentres, input, expected, 200));
  EXPECT_EQ(window->preview_page()->model().rowCount(), 3);
  EXPECT_EQ(window->preview_page()
                ->model()
                .data(window->preview_page()->model().index(1, 2), Qt::DisplayRole)
                .toString(),
            "0017");
  Screenshot(frame_->area()->activeSubWindow(), "dim_import.png");

  const DimImportResult result = window->Import();
  EXPECT_EQ(result.outcome, DimImportOutcome::kDone);
  EXPECT_EQ(result.added, 3);
  const ComponentRef alpha = db->FindByCode(kCostCentres, "P1");
  ASSERT_NE(alpha, kNoComponent);
  EXPECT_EQ(db->component(alpha).host, "0017");
  EXPECT_EQ(db->component(alpha).parent, db->FindByCode(kCostCentres, "P"));
  EXPECT_EQ(window->preview_page()->model().rowCount(), 0) << "the preview follows the database";
}

TEST_F(SetupWindowsTest, ADimensionImportGoesIntoTheOpenDimensionWindow) {
  Database& db = frame_->NewDatabase();
  DimImportWindow* window = frame_->ShowDimImport(db, 0);
  const std::string path = Path("chart.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "A\tAlpha\nAB\tBeta\n"));
  window->preview_page()->SetFile(QString::fromStdString(path));
  DimensionWindow* components = frame_->ShowDimension(db, 0);
  frame_->ShowDimImport(db, 0);
  EXPECT_EQ(window->Import().outcome, DimImportOutcome::kDone);
  EXPECT_EQ(components->edit().added_count(), 2);
  EXPECT_FALSE(db.HasComponents(0)) << "the dimension window writes its copy";
  EXPECT_TRUE(DimImports::Of(db).of(0)) << "importing applies the setup";
  ASSERT_TRUE(components->Apply());
  EXPECT_NE(db.FindByCode(0, "AB"), kNoComponent);
  // Without the dimension window the import writes into the database.
  components->parentWidget()->close();
  Settle();
  ASSERT_TRUE(WriteFileAtomically(path, "C\tGamma\n"));
  EXPECT_EQ(window->Import().added, 1);
  EXPECT_NE(db.FindByCode(0, "C"), kNoComponent);
}

// Types into a line edit and leaves it, as the user does.
void Enter(QLineEdit* edit, const char* text) {
  edit->setText(QString::fromLatin1(text));
  Q_EMIT edit->editingFinished();
}

TEST_F(SetupWindowsTest, TheMacroWindowEditsRunsAndStoresAMacro) {
  Database& db = frame_->NewDatabase();
  MacroWindow* window = frame_->ShowMacro(db, {});
  ASSERT_NE(window, nullptr);
  auto* name = window->findChild<QLineEdit*>("name");
  EXPECT_EQ(name->text().toStdString(), "Macro");
  name->setText("Report");
  Q_EMIT name->textEdited(name->text());
  window->findChild<QPlainTextEdit*>("steps")->setPlainText(
      "message Hello\nnoSuchCommand\nmessage done");
  for (QCheckBox* box : window->findChildren<QCheckBox*>()) {
    if (box->text() == Text(msg::kMacroExecuteWhenOpening)) box->setChecked(true);
  }
  // Execute runs the edited steps, before anything is stored; the output shows the messages,
  // the command error (answered Continue) and how the run ended.
  sink_.answers = {0};
  EXPECT_EQ(window->Execute(), 1);
  EXPECT_TRUE(MacroList::Of(db).macros().empty());
  const QStringList output = window->output().split('\n');
  ASSERT_EQ(output.size(), 4) << window->output().toStdString();
  EXPECT_EQ(output[0].toStdString(), "Report: Hello");
  EXPECT_EQ(output[2].toStdString(), "Report: done");
  EXPECT_EQ(output[3], Text(msg::kRunEndedWithErrors, "Report", "1"));
  ASSERT_EQ(sink_.alerts.size(), 1u) << "the command error still asks the user";
  EXPECT_EQ(output[1], Text(sink_.alerts[0]));
  Screenshot(frame_->area()->activeSubWindow(), "macro.png");

  // Apply adds the macro after asking; declined, nothing is stored.
  sink_.answers = {1};
  EXPECT_FALSE(window->Apply());
  EXPECT_TRUE(MacroList::Of(db).macros().empty());
  sink_.answers = {0};
  ASSERT_TRUE(window->Apply());
  EXPECT_EQ(sink_.alerts.back().message, msg::kConfirmAddCard);
  const Macro* stored = MacroList::Of(db).Find("report");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->steps, "message Hello\rnoSuchCommand\rmessage done");
  EXPECT_TRUE(stored->execute_when_opening);
  EXPECT_FALSE(stored->show_in_menu);
  // Applying again under its own name asks nothing; under another macro's name asks 3202 and
  // replaces that macro.
  const size_t asked = sink_.alerts.size();
  ASSERT_TRUE(window->Apply());
  EXPECT_EQ(sink_.alerts.size(), asked);
  Macro daily;
  daily.name = "Daily";
  MacroList::Of(db).Store(daily);
  name->setText("daily");
  Q_EMIT name->textEdited(name->text());
  sink_.answers = {0};
  ASSERT_TRUE(window->Apply());
  EXPECT_EQ(sink_.alerts.back().message, msg::kConfirmChangeCard);
  EXPECT_EQ(window->stored_name(), "Daily");
  EXPECT_EQ(MacroList::Of(db).Find("Daily")->steps, stored->steps);
  EXPECT_EQ(MacroList::Of(db).macros().size(), 2u);
  EXPECT_EQ(frame_->ShowMacro(db, "DAILY"), window) << "one window per macro";
  // Delete Macro in the menu deletes the active window's macro and closes it.
  sink_.answers = {0};
  for (QAction* action : frame_->findChildren<QAction*>()) {
    if (action->text() == Text(msg::kMenuDeleteMacro)) action->trigger();
  }
  EXPECT_EQ(MacroList::Of(db).Find("Daily"), nullptr);
  EXPECT_EQ(frame_->Windows(&db).size(), 1u);
}

TEST_F(SetupWindowsTest, AMacroThatRequiresThePasswordOpensOnlyWithIt) {
  Database& db = frame_->NewDatabase();
  Macro secret;
  secret.name = "Secret";
  secret.password_required = true;
  MacroList::Of(db).Store(secret);
  db.Attached<DatabasePassword>().password.SetPassword("pw");
  prompt_.answers = {"wrong"};
  EXPECT_EQ(frame_->ShowMacro(db, "Secret"), nullptr);
  prompt_.answers = {"pw"};
  EXPECT_NE(frame_->ShowMacro(db, "Secret"), nullptr);
}

TEST_F(SetupWindowsTest, TheSubsetWindowEditsSelectionsAndCombinationAndCounts) {
  Database* db = frame_->OpenFile(Demo());
  ASSERT_NE(db, nullptr);
  Subset* subset = SubsetList::Of(*db).Find("Small purchases 2024 Q4");
  ASSERT_NE(subset, nullptr);
  SubsetWindow* window = frame_->ShowSubset(*db, subset);
  EXPECT_EQ(frame_->ShowSubset(*db, subset), window) << "one window per subset";
  QTableWidget* table = window->selection_table();
  ASSERT_EQ(table->rowCount(), 2);
  EXPECT_EQ(table->item(0, 0)->text().toStdString(), "Goods");
  EXPECT_EQ(window->count_line(), Text(msg::kSubsetNotCalculated));
  window->Calculate();
  EXPECT_EQ(window->count_line(), FromEngine(subset->CountLine()));
  EXPECT_GT(subset->Count(), 0);

  // The second selection's value condition, edited in the selection editor, and a card
  // criterion; the combination narrowed to the first selection.
  window->ChooseSelection(1);
  window->selection_editor()->value_edit(0)->setText(">=50000");
  Enter(window->card_id_edit(), "241001..241231");
  Enter(window->combination_edit(), "cards Goods");
  window->Apply();
  const NamedSelection& big = *subset->selections()[1];
  EXPECT_EQ(big.selection().value_condition(0), ">=50000");
  EXPECT_FALSE(big.card_id().empty());
  EXPECT_EQ(subset->combination_text(), "cards Goods");
  EXPECT_TRUE(db->modified());
  window->Calculate();
  EXPECT_EQ(window->count_line(), FromEngine(subset->CountLine()));
  Screenshot(frame_->area()->activeSubWindow(), "subset.png");

  // A new selection, renamed in the table; the combination follows renames.
  window->AddSelection();
  ASSERT_EQ(table->rowCount(), 3);
  table->item(0, 0)->setText("Buys");
  EXPECT_EQ(subset->combination_text(), "cards Buys");
  // The selection the combination names cannot be deleted.
  window->ChooseSelection(0);
  window->DeleteSelection();
  EXPECT_EQ(sink_.Messages().back(), msg::kSelectionInUse);
  window->ChooseSelection(2);
  window->DeleteSelection();
  EXPECT_EQ(subset->selections().size(), 2u);
  // Renamed in the window, the subset keeps its window; deleting it from the menu closes it.
  Enter(window->name_edit(), "Purchases");
  EXPECT_EQ(subset->name(), "Purchases");
  sink_.answers = {0};
  for (QAction* action : frame_->findChildren<QAction*>()) {
    if (action->text() == Text(msg::kMenuDeleteSubset)) action->trigger();
  }
  EXPECT_EQ(SubsetList::Of(*db).Find("Purchases"), nullptr);
  EXPECT_EQ(frame_->Windows(db).size(), 1u);
}

TEST_F(SetupWindowsTest, ANewSubsetCombinesTheSelectionsMadeInItsWindow) {
  Database* db = frame_->OpenFile(Demo());
  ASSERT_NE(db, nullptr);
  SubsetWindow* window = frame_->ShowSubset(*db, nullptr);
  Subset* subset = window->subset();
  ASSERT_NE(subset, nullptr);
  EXPECT_EQ(subset->name(), "G1");
  window->AddSelection();
  window->selection_editor()->value_edit(0)->setText("<0");
  Enter(window->combination_edit(), "unbalanced Sel");
  window->Calculate();
  EXPECT_EQ(subset->combination_text(), "unbalanced " + subset->selections()[0]->name());
  // The engine's count of the same subset.
  Subset& same = SubsetList::Of(*db).Create("Check");
  same.AddSelection("X").selection().SetValueCondition(0, "<0");
  same.SetCombination("unbalanced X");
  same.Calculate();
  EXPECT_EQ(subset->Count(), same.Count());
  EXPECT_EQ(window->count_line(), FromEngine(same.CountLine()));

  // A second selection moved above the first: the list and the table follow, the combination
  // still names the first, and the database is changed.
  window->AddSelection();
  const std::string second = subset->selections()[1]->name();
  db->ClearModified();
  window->MoveSelection(-1);
  EXPECT_EQ(subset->selections()[0]->name(), second);
  EXPECT_EQ(window->selection_table()->item(0, 0)->text(), FromEngine(second));
  EXPECT_EQ(window->selection_table()->currentRow(), 0);
  EXPECT_EQ(subset->combination_text(), "unbalanced " + subset->selections()[1]->name());
  EXPECT_TRUE(db->modified());
  window->MoveSelection(-1);  // already first
  EXPECT_EQ(subset->selections()[0]->name(), second);
}

TEST_F(SetupWindowsTest, SaveAsEditsEveryChoiceOfTheSaveSetup) {
  Database* db = frame_->OpenFile(Demo());
  ASSERT_NE(db, nullptr);
  SaveSetup chosen;
  {
    SaveAsDialog dialog(*db, frame_.get());
    QTableWidget* dimensions = dialog.dimensions();
    ASSERT_EQ(dialog.DimensionOfRow(2), 2);
    const auto box = [&](int row, int column) {
      return static_cast<QComboBox*>(dimensions->cellWidget(row, column));
    };
    box(2, SaveAsDialog::kComponents)->setCurrentIndex(2);   // used
    box(2, SaveAsDialog::kIdentifiers)->setCurrentIndex(1);  // host code
    box(3, SaveAsDialog::kNumber)->setCurrentIndex(3);       // saved as dimension 3
    box(2, SaveAsDialog::kNumber)->setCurrentIndex(1);       // none
    EXPECT_FALSE(box(0, SaveAsDialog::kNumber)->isEnabled());
    dialog.selection_editor()->value_edit(0)->setText(">=60000");
    dialog.level_box()->setCurrentIndex(2);
    dialog.templates_only_box()->setChecked(true);
    dialog.template_filter_edit()->setText("Sales*");
    dialog.open_templates_box()->setChecked(true);
    chosen = dialog.setup();
    Screenshot(&dialog, "save_as_setup.png");
  }
  EXPECT_EQ(chosen.components[2], ComponentChoice::kUsed);
  EXPECT_EQ(chosen.components[1], ComponentChoice::kAll);
  EXPECT_EQ(chosen.identifiers[2], IdentifierKind::kHost);
  EXPECT_EQ(chosen.new_numbers[3], 3);
  EXPECT_EQ(chosen.new_numbers[2], SaveSetup::kNumberNone);
  EXPECT_EQ(chosen.new_numbers[1], 0);
  EXPECT_EQ(chosen.selection_lines, std::vector<std::string>{"BVA\t>=60000"});
  EXPECT_EQ(chosen.level, 'L');
  EXPECT_TRUE(chosen.only_for_templates);
  EXPECT_EQ(chosen.template_filter, "Sales*");
  EXPECT_TRUE(chosen.open_templates_only);

  // A named setup shows every choice again, and gives them back unchanged.
  chosen.name = "Big lines";
  db->Attached<SaveSetups>().named().push_back(chosen);
  SaveAsDialog again(*db, frame_.get());
  auto* setups = again.findChild<QComboBox*>();
  for (QComboBox* box : again.findChildren<QComboBox*>()) {
    if (box->findText("Big lines") >= 0) setups = box;
  }
  setups->setCurrentIndex(setups->findText("Big lines"));
  const SaveSetup shown = again.setup();
  EXPECT_EQ(shown.components, chosen.components);
  EXPECT_EQ(shown.identifiers, chosen.identifiers);
  EXPECT_EQ(shown.new_numbers, chosen.new_numbers);
  EXPECT_EQ(shown.selection_lines, chosen.selection_lines);
  EXPECT_EQ(shown.level, chosen.level);
  EXPECT_EQ(shown.template_filter, chosen.template_filter);
}

}  // namespace
}  // namespace jov
