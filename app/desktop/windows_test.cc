// The windows and dialogs on the offscreen platform: the time scale window's editing, the
// progress dialog's buttons during a read, the alert boxes, and the preferences.
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>

#include "analysis/fixed_table.h"
#include "analysis/time_scale_list.h"
#include "desktop_test_util.h"
#include "dialogs.h"
#include "io/table_export.h"
#include "platform/file_io.h"
#include "platform/settings_store.h"
#include "preferences_dialog.h"
#include "progress_dialog.h"
#include "qt_text.h"
#include "save_as_dialog.h"
#include "shell/pending_error.h"
#include "table_window.h"
#include "time_scale_window.h"

namespace jov {
namespace {

using WindowsTest = DesktopTest;

std::vector<std::string> Names(const std::vector<TimeScaleEntry>& rows) {
  std::vector<std::string> names;
  for (const TimeScaleEntry& row : rows) names.push_back(row.name);
  return names;
}

TEST_F(WindowsTest, TheTimeScaleWindowEditsAWorkingCopyUntilApplied) {
  Database& db = frame_->NewDatabase();
  auto* window = static_cast<TimeScaleWindow*>(frame_->ShowTimeScale(db, nullptr));
  ASSERT_EQ(window->rows().size(), 1u);
  // Pasted lines fill the empty row, then append; lines without a date or name are skipped.
  window->Paste("240701\tAutumn\nno date\tX\n240101\tSpring\n240101\tSpring again\n250101\n");
  EXPECT_EQ(Names(window->rows()), (std::vector<std::string>{"Autumn", "Spring", "Spring again"}));
  EXPECT_EQ(TimeScaleList::Of(db).size(), 0u) << "nothing is written before Apply";
  window->Apply();
  ASSERT_EQ(TimeScaleList::Of(db).size(), 1u);
  TimeScale& scale = TimeScaleList::Of(db).at(0);
  EXPECT_EQ(scale.name(), "Time Scale");
  EXPECT_EQ(Names(scale.entries()), (std::vector<std::string>{"Spring", "Spring again", "Autumn"}));
  EXPECT_EQ(window->Title().toStdString(), "Noname 1.jov: Time Scale");
  Screenshot(frame_->area()->activeSubWindow(), "time_scale.png");
  // Insert before the current row, delete it again; the last row left is emptied, not removed.
  auto* table = window->findChild<QTableWidget*>();
  table->setCurrentCell(1, 0);
  window->InsertRow();
  EXPECT_TRUE(window->rows()[1].empty());
  window->DeleteRow();
  EXPECT_EQ(Names(window->rows()), Names(scale.entries()));
  for (int i = 0; i < 3; ++i) {
    table->setCurrentCell(0, 0);
    window->DeleteRow();
  }
  ASSERT_EQ(window->rows().size(), 1u);
  EXPECT_TRUE(window->rows()[0].empty());
  // A cell that is not a date stays empty; a date is read as a range start.
  table->item(0, 0)->setText("tomorrow");
  EXPECT_EQ(window->rows()[0].start.day, kNoDay);
  table->item(0, 0)->setText("2403");
  EXPECT_EQ(table->item(0, 0)->text().toStdString(), "240301-1");
  table->item(0, 1)->setText("March");
  // Closing with edits not applied asks; Cancel keeps the window, Save applies.
  sink_.answers = {2, 0};
  frame_->area()->activeSubWindow()->close();
  Settle();
  EXPECT_EQ(frame_->Windows(&db).size(), 2u);
  frame_->area()->activeSubWindow()->close();
  Settle();
  EXPECT_EQ(frame_->Windows(&db).size(), 1u);
  EXPECT_EQ(Names(scale.entries()), std::vector<std::string>{"March"});
  EXPECT_EQ(sink_.Messages(), (std::vector<MessageId>{msg::kSaveChanges, msg::kSaveChanges}));
}

// A binary file large enough for many progress steps.
std::string BigFile(const std::string& path) {
  const std::string command = std::string(JOV_BINARY) + " demo " + path;
  EXPECT_EQ(std::system(command.c_str()), 0);
  return path;
}

TEST_F(WindowsTest, TheProgressDialogShowsReadsAndItsStopButtonEndsThem) {
  const std::string path = BigFile(Path("big.jov"));
  // Every report is a step: the dialog shows, draws and lets events run at each.
  uint32_t now = 0;
  Process().progress_clock = [&now] { return now += 50; };
  ProgressDialog* dialog = frame_->progress_dialog();
  int steps_seen = 0;
  QTimer watcher;
  watcher.setInterval(0);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (!dialog->isVisible()) return;
    if (++steps_seen == 3) {
      Screenshot(dialog, "progress.png");
      dialog->findChild<QPushButton*>("stop")->click();
    }
  });
  watcher.start();
  EXPECT_EQ(frame_->OpenFile(QString::fromStdString(path)), nullptr);
  watcher.stop();
  EXPECT_GE(steps_seen, 3) << "the event loop ran during the read";
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(dialog->cancelled());
  EXPECT_TRUE(frame_->Windows().empty());
  EXPECT_TRUE(sink_.alerts.empty()) << "a stopped read is no damage";
  EXPECT_FALSE(StopRequested());
  // Unstopped, the same file opens.
  EXPECT_NE(frame_->OpenFile(QString::fromStdString(path)), nullptr);
  const QLabel* title = dialog->findChild<QLabel*>();
  EXPECT_EQ(title->text().toStdString(), "Opening big.jov");
}

TEST_F(WindowsTest, AlertBoxesShowTheButtonsInOrderWithTheDefaultFirst) {
  AlertRecord question(msg::kAlreadyOpen);
  question.Arg("demo.jov").Button(msg::kButtonOpen).Button(msg::kButtonCancel);
  const std::unique_ptr<QMessageBox> box = AlertBox(question, frame_.get());
  EXPECT_EQ(box->text().toStdString(),
            "The file \"demo.jov\" is already open. Do you want to open a copy?");
  const QList<QAbstractButton*> buttons = box->buttons();
  ASSERT_EQ(buttons.size(), 2);
  EXPECT_EQ(box->defaultButton()->text().toStdString(), "Open");
  EXPECT_EQ(box->escapeButton()->text().toStdString(), "Cancel");
  EXPECT_EQ(box->escapeButton()->property("alert_button").toInt(), 1);
  // The engine's Yes/No rule shows through: confirmations follow the preference.
  Process().preferences.alert_yes_no = true;
  AlertRecord confirm(msg::kConfirmDelete);
  confirm.Arg("Q1")
      .ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  const std::unique_ptr<QMessageBox> yes_no = AlertBox(confirm, frame_.get());
  EXPECT_EQ(yes_no->defaultButton()->text().toStdString(), "Yes");
  EXPECT_EQ(yes_no->escapeButton()->text().toStdString(), "No");
}

TEST_F(WindowsTest, PreferencesAreStoredAndRetitleTheMenus) {
  Preferences preferences = Process().preferences;
  preferences.language = kGerman;  // no German table: every text stays English
  preferences.alert_yes_no = true;
  preferences.check_files = false;
  preferences.gui_style = 5;
  frame_->ApplyPreferences(preferences);
  SettingsStore stored(Path("LR.conf"));
  ASSERT_TRUE(stored.Load());
  EXPECT_EQ(stored.Get("Language"), "GER");
  EXPECT_EQ(stored.Get("AlertYesNo"), "+");
  EXPECT_EQ(stored.Get("CheckFiles"), "-");
  EXPECT_EQ(stored.Get("GUI"), "W4");
  EXPECT_EQ(frame_->menuBar()->actions().front()->text().toStdString(), "File");
  EXPECT_EQ(QApplication::style()->name().toLower().toStdString(), "windows");
  // Swedish has tables of its own: the menus are rebuilt in it.
  preferences.language = kSwedish;
  frame_->ApplyPreferences(preferences);
  EXPECT_EQ(frame_->menuBar()->actions().front()->text().toStdString(), "Arkiv");
  frame_->ApplyPreferences(Preferences{});
  PreferencesDialog dialog(preferences, frame_.get());
  Screenshot(&dialog, "preferences.png");
  SaveAsDialog save_as(frame_->NewDatabase(), frame_.get());
  Screenshot(&save_as, "save_as.png");
}

// A table of `rows` data rows under one header row, with a red and a green cell in each row.
std::unique_ptr<Table> BigTable(int rows) {
  auto table = std::make_unique<FixedTable>();
  table->set_title("Balances");
  table->AddDefinitionRow("Period", "2024");
  table->AddColumn({.title = "Account"});
  table->AddColumn({.title = "Amount", .alignment = CellAlignment::kRight});
  table->AddHeaderRow({{.text = "Total"}, {.text = "0.00", .alignment = CellAlignment::kRight}});
  for (int i = 0; i < rows; ++i) {
    table->AddDataRow({{.text = std::to_string(1000 + i)},
                       {.text = std::to_string(i) + ".00",
                        .alignment = CellAlignment::kRight,
                        .colour = i % 2 ? CellColour::kRed : CellColour::kGreen}});
  }
  return table;
}

TEST_F(WindowsTest, TheTableWindowAsksOnlyForVisibleRowsAndWritesTheTableOut) {
  Database& db = frame_->NewDatabase();
  auto* window = new TableWindow(db, [](Database&) { return BigTable(100000); });
  frame_->area()->addSubWindow(window)->resize(500, 300);
  window->show();
  Settle();
  const TableModel& model = window->model();
  EXPECT_EQ(model.rowCount(), 100001);
  EXPECT_LT(model.rows_filled(), 200) << "only the rows in view are filled";
  const QModelIndex header = model.index(0, 0);
  EXPECT_EQ(model.data(header, Qt::DisplayRole).toString().toStdString(), "Total");
  EXPECT_TRUE(model.data(header, Qt::FontRole).value<QFont>().bold());
  const QModelIndex red = model.index(2, 1);
  EXPECT_EQ(model.data(red, Qt::DisplayRole).toString().toStdString(), "1.00");
  EXPECT_EQ(model.data(red, Qt::ForegroundRole).value<QColor>().red(), 0xC0);
  EXPECT_TRUE(model.data(red, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
  Screenshot(window, "table.png");

  // Writing out, on a table of a size that prints quickly.
  window = new TableWindow(db, [](Database&) { return BigTable(300); });
  frame_->area()->addSubWindow(window);
  window->Copy();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), CopyTableText(window->table()));
  window->table().export_settings().format = ExportFormat::kHtml;
  ASSERT_TRUE(window->ExportTo(Path("balances.htm")));
  EXPECT_NE(ReadWholeFile(Path("balances.htm"))->find("299.00"), std::string::npos);
  EXPECT_TRUE(window->PrintedHtml().contains("299.00"));
  const QString pdf = QString::fromStdString(Path("balances.pdf"));
  ASSERT_TRUE(window->ExportPdf(pdf));
  EXPECT_EQ(ReadWholeFile(ToPath(pdf))->substr(0, 5), "%PDF-");
  EXPECT_TRUE(sink_.alerts.empty());
}

// The print options decide what the printed page holds; printing leaves the export settings as
// they were.
TEST_F(WindowsTest, ThePrintOptionsChooseWhatIsPrinted) {
  Database& db = frame_->NewDatabase();
  auto* window = new TableWindow(db, [](Database&) { return BigTable(3); });
  frame_->area()->addSubWindow(window);
  const ExportSettings exported = window->table().export_settings();
  // The standard options: the title, the date and time, the table as wide as the page.
  QString page = window->PrintedHtml();
  EXPECT_TRUE(page.contains("<H2>"));
  EXPECT_TRUE(page.contains("<small>"));
  EXPECT_TRUE(page.contains("width=\"100%\""));
  EXPECT_EQ(window->table().export_settings(), exported);

  {
    PrintOptionsDialog dialog(window->print_options(), window);
    for (PrintOption turned : {PrintOption::kTitle, PrintOption::kDateAndTime,
                               PrintOption::kFillPage, PrintOption::kPageNumbers}) {
      dialog.box(turned)->toggle();
    }
    Screenshot(&dialog, "print_options.png");
    dialog.accept();
  }
  EXPECT_TRUE(IsOn(window->print_options(), PrintOption::kPageNumbers));
  page = window->PrintedHtml();
  EXPECT_FALSE(page.contains("<H2>"));
  EXPECT_FALSE(page.contains("<small>"));
  EXPECT_FALSE(page.contains("width=\"100%\""));

  // Pages laid out by the window (no page numbers) are the printer's pages: as many as when
  // the printer lays them out and numbers them.
  auto* longer = new TableWindow(db, [](Database&) { return BigTable(300); });
  frame_->area()->addSubWindow(longer);
  const auto pages = [&](bool numbered) {
    SetOption(longer->print_options(), PrintOption::kPageNumbers, numbered);
    const QString pdf = QString::fromStdString(Path(numbered ? "numbered.pdf" : "plain.pdf"));
    EXPECT_TRUE(longer->ExportPdf(pdf));
    const std::string bytes = ReadWholeFile(ToPath(pdf)).value_or("");
    int count = 0;
    for (size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
         at = bytes.find("/Type /Page\n", at + 1)) {
      ++count;
    }
    return count;
  };
  const int numbered = pages(true);
  EXPECT_GT(numbered, 1);
  EXPECT_NEAR(pages(false), numbered, 1);
}

}  // namespace
}  // namespace jov
