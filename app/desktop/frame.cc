#include "frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <algorithm>

#include "aggregate_dialog.h"
#include "analysis/template_list_table.h"
#include "analysis/time_scale_list.h"
#include "analysis_window.h"
#include "automation/section_kinds.h"
#include "automation/startup_actions.h"
#include "base_window.h"
#include "card_window.h"
#include "dimension_window.h"
#include "files/file_kind.h"
#include "info_window.h"
#include "platform/settings_store.h"
#include "preferences_dialog.h"
#include "progress_dialog.h"
#include "qt_text.h"
#include "registration.h"
#include "save_as_dialog.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "table_window.h"
#include "time_scale_window.h"
#include "transform_dialog.h"

namespace jov {
namespace {

constexpr int kRecentFiles = 8;
constexpr const char* kProgramName = "JOV";

QString RecentKey(int i) { return QStringLiteral("Recent%1").arg(i + 1); }

// The program's icon, drawn like the installed one: three bars and a rising line.
QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0x1f, 0x5f, 0x8b));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(1, 1, 30, 30, 5, 5);
  for (const auto& [x, top] : {std::pair{6, 18}, std::pair{12, 13}, std::pair{18, 8}}) {
    painter.fillRect(x, top, 4, 26 - top, Qt::white);
  }
  painter.fillRect(24, 15, 3, 11, QColor(0xf2, 0xb1, 0x34));
  return QIcon(pixmap);
}

// The engine's format date, YYMMDD as the files carry it.
std::string FormatDateText() {
  return std::to_string(kOwnFormatDate % 1000000 + 1000000).substr(1);
}

}  // namespace

Frame::Frame(std::string settings_path)
    : settings_path_(std::move(settings_path)),
      registry_(FullSectionRegistry()),
      area_(new QMdiArea(this)),
      dialog_sink_(this),
      dialog_prompt_(this),
      prompt_(&dialog_prompt_),
      progress_(new ProgressDialog(this)) {
  PushSink(&dialog_sink_);
  SetProgressDisplay(progress_);
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setBackground(palette().brush(QPalette::Dark));
  setCentralWidget(area_);
  setAcceptDrops(true);
  connect(area_, &QMdiArea::subWindowActivated, this, &Frame::CheckChangedOnDisk);
  BuildMenus();
  setWindowTitle(QString::fromLatin1(kProgramName));
  QApplication::setWindowIcon(ProgramIcon());
  resize(900, 620);
}

Frame::~Frame() {
  closing_ = true;
  RemoveWindows(nullptr);
  SetProgressDisplay(nullptr);
  PopSink();
}

// --- Menus

void Frame::BuildMenus() {
  menuBar()->clear();
  QMenu* file = menuBar()->addMenu(Text(msg::kMenuFile));
  file->addAction(Text(msg::kMenuNew), QKeySequence::New, this, [this] { NewDatabase(); });
  file->addAction(Text(msg::kMenuOpen), QKeySequence::Open, this, &Frame::OpenDialog);
  file->addAction(Text(msg::kMenuClose), QKeySequence::Close, this, [this] {
    if (Database* db = ActiveDatabase()) CloseDatabase(*db);
  });
  file->addAction(Text(msg::kMenuSave), QKeySequence::Save, this, [this] {
    if (Database* db = ActiveDatabase()) Save(*db);
  });
  file->addAction(Text(msg::kMenuSaveAs), QKeySequence::SaveAs, this, [this] {
    if (Database* db = ActiveDatabase()) SaveAsDialog(*db);
  });
  recent_menu_ = file->addMenu(Text(msg::kRecentFiles));
  connect(recent_menu_, &QMenu::aboutToShow, this, &Frame::FillRecentMenu);
  file->addSeparator();
  file->addAction(Text(msg::kMenuPreferences), this, &Frame::ShowPreferencesDialog);
  file->addSeparator();
  file->addAction(Text(msg::kMenuExit), QKeySequence::Quit, this, &QWidget::close);

  QMenu* database = menuBar()->addMenu(Text(msg::kMenuDatabase));
  database->addAction(Text(msg::kMenuDatabaseInfo), this, [this] {
    if (Database* db = ActiveDatabase()) ShowInfo(*db);
  });
  database->addSeparator();
  database->addAction(Text(msg::kMenuNewTimeScale), this, [this] {
    if (Database* db = ActiveDatabase()) ShowTimeScale(*db, nullptr);
  });
  database->addAction(Text(msg::kMenuDeleteTimeScale), this, &Frame::DeleteTimeScale);
  AddSetupMenus(database);
  database->addSeparator();
  database->addAction(Text(msg::kNewCard), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), this,
                      [this] {
                        if (Database* db = ActiveDatabase()) ShowCard(*db, std::nullopt);
                      });
  // From the database menu both work on every line; an analysis window offers them on its own.
  database->addAction(Text(msg::kMenuTransform), this, [this] {
    if (Database* db = ActiveDatabase()) RunTransformDialog(*db, WindowLines{}, this);
  });
  database->addAction(Text(msg::kMenuAggregate), this, [this] {
    if (Database* db = ActiveDatabase()) RunAggregateDialog(*db, WindowLines{}, this);
  });

  analysis_menu_ = menuBar()->addMenu(Text(msg::kAnalysisMenu));
  connect(analysis_menu_, &QMenu::aboutToShow, this, &Frame::FillAnalysisMenu);
  FillAnalysisMenu();

  window_menu_ = menuBar()->addMenu(Text(msg::kMenuWindow));
  connect(window_menu_, &QMenu::aboutToShow, this, &Frame::FillWindowMenu);
  FillWindowMenu();

  QMenu* help = menuBar()->addMenu(Text(msg::kMenuHelp));
  help->addAction(Text(msg::kMenuAbout, kProgramName), this, &Frame::ShowAbout);
}

void Frame::FillRecentMenu() {
  recent_menu_->clear();
  SettingsStore store(settings_path_);
  store.Load();
  for (int i = 0; i < kRecentFiles; ++i) {
    const std::optional<std::string> path = store.Get(ToEngine(RecentKey(i)));
    if (!path || path->empty()) continue;
    const QString shown = FromEngine(*path);
    recent_menu_->addAction(shown, this, [this, shown] { OpenFile(shown); });
  }
  recent_menu_->setEnabled(true);
}

// The settings store holds texts of the engine's character set; paths go in as they are shown.
void Frame::RememberRecent(const std::string& path) {
  SettingsStore store(settings_path_);
  store.Load();
  const std::string entry = ToEngine(FromPath(path));
  std::vector<std::string> paths{entry};
  for (int i = 0; i < kRecentFiles; ++i) {
    const std::optional<std::string> old = store.Get(ToEngine(RecentKey(i)));
    if (old && !old->empty() && *old != entry) paths.push_back(*old);
  }
  paths.resize(std::min<size_t>(paths.size(), kRecentFiles));
  for (int i = 0; i < kRecentFiles; ++i) {
    store.Set(ToEngine(RecentKey(i)), i < static_cast<int>(paths.size()) ? paths[i] : "");
  }
  store.Save();
}

// New analyses of each kind for the active database, then the active analysis window's commands.
void Frame::FillAnalysisMenu() {
  analysis_menu_->clear();
  for (const AnalysisWindowKind& kind : AnalysisWindowKinds()) {
    const AnalysisKind engine_kind = kind.engine->kind;
    analysis_menu_->addAction(Text(msg::kMenuNewNamed, ToEngine(Text(kind.name))), this,
                              [this, engine_kind] {
                                if (Database* db = ActiveDatabase()) NewAnalysis(*db, engine_kind);
                              });
  }
  if (auto* window = dynamic_cast<AnalysisWindow*>(ActiveWindow())) {
    analysis_menu_->addSeparator();
    analysis_menu_->addActions(window->commands());
  }
}

void Frame::FillWindowMenu() {
  window_menu_->clear();
  window_menu_->addAction(Text(msg::kMenuCascade), area_, &QMdiArea::cascadeSubWindows);
  window_menu_->addAction(Text(msg::kMenuTile), area_, &QMdiArea::tileSubWindows);
  window_menu_->addAction(Text(msg::kMenuCloseAll), this, [this] { CloseAll(); });
  const QList<QMdiSubWindow*> subs = area_->subWindowList();
  if (!subs.isEmpty()) window_menu_->addSeparator();
  for (QMdiSubWindow* sub : subs) {
    QAction* action = window_menu_->addAction(sub->windowTitle(), this,
                                              [this, sub] { area_->setActiveSubWindow(sub); });
    action->setCheckable(true);
    action->setChecked(sub == area_->activeSubWindow());
  }
}

// --- Windows

std::vector<DatabaseWindow*> Frame::Windows(const Database* database) const {
  std::vector<DatabaseWindow*> windows;
  for (QMdiSubWindow* sub : area_->subWindowList(QMdiArea::CreationOrder)) {
    auto* window = qobject_cast<DatabaseWindow*>(sub->widget());
    if (window != nullptr && (database == nullptr || &window->database() == database)) {
      windows.push_back(window);
    }
  }
  return windows;
}

DatabaseWindow* Frame::ActiveWindow() const {
  QMdiSubWindow* sub = area_->activeSubWindow();
  return sub != nullptr ? qobject_cast<DatabaseWindow*>(sub->widget()) : nullptr;
}

Database* Frame::ActiveDatabase() const {
  DatabaseWindow* window = ActiveWindow();
  return window != nullptr ? &window->database() : nullptr;
}

QMdiSubWindow* Frame::SubWindowOf(const DatabaseWindow* window) const {
  for (QMdiSubWindow* sub : area_->subWindowList()) {
    if (sub->widget() == window) return sub;
  }
  return nullptr;
}

QMdiSubWindow* Frame::AddWindow(DatabaseWindow* window, QSize size) {
  QMdiSubWindow* sub = area_->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowTitle(window->Title());
  sub->installEventFilter(this);
  connect(window, &DatabaseWindow::TitleChanged, sub,
          [sub, window] { sub->setWindowTitle(window->Title()); });
  connect(window, &QWidget::windowTitleChanged, sub, &QWidget::setWindowTitle);
  sub->resize(size);
  sub->show();
  area_->setActiveSubWindow(sub);
  return sub;
}

void Frame::Activate(const Database& database) {
  const std::vector<DatabaseWindow*> windows = Windows(&database);
  if (windows.empty()) return;
  QMdiSubWindow* sub = SubWindowOf(windows.front());
  sub->showNormal();
  area_->setActiveSubWindow(sub);
}

InfoWindow* Frame::ShowInfo(Database& database) {
  for (DatabaseWindow* window : Windows(&database)) {
    if (window->kind() == DatabaseWindow::Kind::kInfo) {
      area_->setActiveSubWindow(SubWindowOf(window));
      return static_cast<InfoWindow*>(window);
    }
  }
  auto* window = new InfoWindow(database);
  AddWindow(window, {440, 470});
  return window;
}

TableWindow* Frame::ShowTemplates(Database& database) {
  for (DatabaseWindow* window : Windows(&database)) {
    if (window->kind() == DatabaseWindow::Kind::kTable) {
      area_->setActiveSubWindow(SubWindowOf(window));
      return static_cast<TableWindow*>(window);
    }
  }
  auto* window = new TableWindow(database, [](Database& db) -> std::unique_ptr<Table> {
    return std::make_unique<FixedTable>(TemplateListTable(AnalysisTemplates::Of(db)));
  });
  AddWindow(window, {560, 300});
  return window;
}

DatabaseWindow* Frame::ShowTimeScale(Database& database, TimeScale* scale) {
  for (DatabaseWindow* window : Windows(&database)) {
    if (window->kind() == DatabaseWindow::Kind::kTimeScale && scale != nullptr &&
        static_cast<TimeScaleWindow*>(window)->scale() == scale) {
      area_->setActiveSubWindow(SubWindowOf(window));
      return window;
    }
  }
  auto* window = new TimeScaleWindow(database, scale);
  AddWindow(window, {420, 360});
  return window;
}

DimensionWindow* Frame::ShowDimension(Database& database, int dimension) {
  DatabaseWindow* open =
      BringForward(database, DatabaseWindow::Kind::kDimension, [dimension](DatabaseWindow* window) {
        return static_cast<DimensionWindow*>(window)->dimension() == dimension;
      });
  if (open != nullptr) return static_cast<DimensionWindow*>(open);
  auto* window = new DimensionWindow(database, dimension);
  AddWindow(window, {560, 420});
  return window;
}

AnalysisWindow* Frame::AddAnalysisWindow(AnalysisWindow* window) {
  connect(window, &AnalysisWindow::CardRequested, this, [this](Database& db, Date card) {
    const CardRef ref = db.cards().FindCard(card);
    if (ref != kCardSentinel) ShowCard(db, ref);
  });
  Database* database = &window->database();
  window->set_close_cards([this, database](std::span<const CardRef> cards) {
    return CloseCardWindows(*database, cards);
  });
  const TemplateFrame& frame = window->frame();
  QMdiSubWindow* sub =
      AddWindow(window, frame.width > 0 && frame.height > 0 ? QSize(frame.width, frame.height)
                                                            : QSize(640, 420));
  if (frame.position_x != 0 || frame.position_y != 0) {
    sub->move(frame.position_x, frame.position_y);
  }
  return window;
}

AnalysisWindow* Frame::NewAnalysis(Database& database, AnalysisKind kind) {
  const AnalysisWindowKind* window_kind = FindWindowKind(kind);
  if (window_kind == nullptr) return nullptr;
  return AddAnalysisWindow(new AnalysisWindow(database, *window_kind));
}

AnalysisWindow* Frame::ShowTemplate(Database& database, const AnalysisTemplate& stored) {
  DatabaseWindow* open =
      BringForward(database, DatabaseWindow::Kind::kAnalysis, [&stored](DatabaseWindow* window) {
        const TemplateFrame& shown = static_cast<AnalysisWindow*>(window)->frame();
        return shown.name == stored.frame.name && shown.kind == stored.frame.kind;
      });
  if (open != nullptr) return static_cast<AnalysisWindow*>(open);
  const AnalysisWindowKind* window_kind = FindWindowKind(stored.frame.kind);
  if (window_kind == nullptr) return nullptr;
  return AddAnalysisWindow(new AnalysisWindow(database, *window_kind, &stored));
}

CardWindow* Frame::ShowCard(Database& database, std::optional<CardRef> card) {
  if (card) {
    DatabaseWindow* open =
        BringForward(database, DatabaseWindow::Kind::kCard, [card](DatabaseWindow* window) {
          return static_cast<CardWindow*>(window)->editor().card() == card;
        });
    if (open != nullptr) return static_cast<CardWindow*>(open);
  }
  auto* window = new CardWindow(database, card);
  AddWindow(window, {680, 440});
  return window;
}

bool Frame::CloseCardWindows(Database& database, std::span<const CardRef> cards) {
  for (DatabaseWindow* window : Windows(&database)) {
    auto* card_window = dynamic_cast<CardWindow*>(window);
    if (card_window == nullptr) continue;
    const bool concerned = std::any_of(cards.begin(), cards.end(), [&](CardRef card) {
      return card_window->editor().card() == card;
    });
    if (!concerned) continue;
    if (!card_window->MayClose()) return false;
    closing_ = true;
    delete SubWindowOf(card_window);
    closing_ = false;
  }
  return true;
}

void Frame::OpenWindowsAtOpening(Database& database) {
  ShowSubsetsAtOpening(database, script_host_);
  // By name: calculating runs long work, during which the list may change.
  std::vector<std::string> marked;
  for (const AnalysisTemplate& stored : AnalysisTemplates::Of(database).templates()) {
    if (stored.frame.open_directly) marked.push_back(stored.frame.name);
  }
  for (const std::string& name : marked) {
    if (StopRequested()) break;
    const AnalysisTemplate* stored = AnalysisTemplates::Of(database).Find(name);
    if (stored == nullptr) continue;
    const bool calculate = stored->frame.calculate_directly;
    const bool zoom = stored->frame.zoom_directly;
    AnalysisWindow* window = ShowTemplate(database, *stored);
    if (window == nullptr) continue;
    if (calculate) window->Calculate();
    if (zoom) window->Zoom();
  }
}

// --- Databases

Database& Frame::NewDatabase() {
  Database& database = open_.Create();
  AddBaseWindow(database);
  return database;
}

void Frame::AddBaseWindow(Database& database) {
  auto* base = new BaseWindow(database);
  connect(base, &BaseWindow::InfoRequested, this, [this](Database& db) { ShowInfo(db); });
  connect(base, &BaseWindow::TemplatesRequested, this, [this](Database& db) { ShowTemplates(db); });
  connect(base, &BaseWindow::AnalysisRequested, this,
          [this](Database& db, AnalysisKind kind) { NewAnalysis(db, kind); });
  connect(base, &BaseWindow::TemplateRequested, this,
          [this](Database& db, const AnalysisTemplate& stored) { ShowTemplate(db, stored); });
  connect(base, &BaseWindow::TimeScaleRequested, this,
          [this](Database& db, TimeScale* scale) { ShowTimeScale(db, scale); });
  connect(base, &BaseWindow::DimensionRequested, this,
          [this](Database& db, int dimension) { ShowDimension(db, dimension); });
  ConnectSetupRequests(base);
  AddWindow(base, {360, 320});
}

bool Frame::IsOpen(const Database* database) const {
  for (const auto& open : open_.all()) {
    if (open.get() == database) return true;
  }
  return false;
}

Database* Frame::OpenFile(const QString& path) {
  const std::string file = ToPath(path);
  // The open copy comes to the front before the question whether to open another.
  if (const Database* already = open_.FindByFileName(file)) Activate(*already);
  const size_t open_before = open_.all().size();
  // The macros marked to execute at opening run within the read (they resolve file names
  // against its folder, and what they change does not mark the database modified); the
  // windows to show at opening follow the base window.
  ReadOptions options;
  bool open_windows = false;
  options.startup = [this, &open_windows](Database& read) {
    open_windows = RunOpeningMacros(read, script_host_);
  };
  Database* database = OpenDatabaseFile(open_, file, options, prompt_, registry_);
  FlushPendingError();
  if (database == nullptr) return nullptr;
  if (open_.all().size() == open_before) {  // the user kept the open copy
    Activate(*database);
    return database;
  }
  AddBaseWindow(*database);
  RememberRecent(file);
  if (open_windows) OpenWindowsAtOpening(*database);
  return database;
}

void Frame::OpenDocuments(const QStringList& paths) {
  for (const QString& path : paths) {
    if (StopRequested()) break;
    OpenFile(path);
  }
}

void Frame::OpenDialog() {
  const QString filter = Text(msg::kJovFiles) + QStringLiteral(" (*.jov *.jox);;") +
                         Text(msg::kAllFiles) + QStringLiteral(" (*)");
  for (const QString& path :
       QFileDialog::getOpenFileNames(this, Text(msg::kMenuOpen), {}, filter)) {
    OpenFile(path);
  }
}

bool Frame::Save(Database& database) {
  if (database.file_name().empty()) {
    SaveAsDialog(database);
    return !database.modified();
  }
  const bool saved = SaveDatabase(database, registry_, prompt_);
  FlushPendingError();
  for (DatabaseWindow* window : Windows(&database)) window->Refresh();
  return saved;
}

bool Frame::SaveAs(Database& database, const std::string& path, DatabaseFormat format,
                   const SaveSetup& setup) {
  const bool saved = SaveDatabaseFile(database, path, format, setup, registry_, prompt_);
  FlushPendingError();
  if (saved) RememberRecent(path);
  for (DatabaseWindow* window : Windows(&database)) window->Refresh();
  return saved;
}

void Frame::SaveAsDialog(Database& database) {
  jov::SaveAsDialog dialog(database, this);
  if (dialog.exec() == QDialog::Accepted) {
    SaveAs(database, dialog.path(), dialog.format(), dialog.setup());
  }
}

void Frame::ShowOpened(Database& database) {
  AddBaseWindow(database);
  RememberRecent(database.file_name());
}

void Frame::CloseQuietly(Database& database) {
  RemoveWindows(&database);
  open_.Close(database);
}

bool Frame::CloseDatabase(Database& database) {
  for (DatabaseWindow* window : Windows(&database)) {
    if (!window->MayClose()) return false;
  }
  if (database.modified()) {
    Activate(database);
    const int answer = AskSaveChanges(DatabaseName(database));
    if (answer == 2 || (answer == 0 && !Save(database))) return false;
  }
  RemoveWindows(&database);
  open_.Close(database);
  return true;
}

// Also the windows that were closed and wait for their deferred deletion: none may outlive its
// database.
void Frame::RemoveWindows(const Database* database) {
  closing_ = true;
  for (DatabaseWindow* window : area_->findChildren<DatabaseWindow*>()) {
    if (database != nullptr && &window->database() != database) continue;
    QWidget* outer = window->parentWidget();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(outer)) {
      area_->removeSubWindow(sub);
      delete sub;
    } else {
      delete window;
    }
  }
  closing_ = false;
}

bool Frame::CloseAll() {
  while (!open_.all().empty()) {
    if (!CloseDatabase(*open_.all().front())) return false;
  }
  return true;
}

// The user closes a window: the last window of a database closes the database.
bool Frame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Close || closing_) return QMainWindow::eventFilter(watched, event);
  auto* sub = qobject_cast<QMdiSubWindow*>(watched);
  auto* window = sub != nullptr ? qobject_cast<DatabaseWindow*>(sub->widget()) : nullptr;
  if (window == nullptr) return QMainWindow::eventFilter(watched, event);
  if (Windows(&window->database()).size() > 1) {
    if (!window->MayClose()) event->ignore();
    return !event->isAccepted();
  }
  // The database goes with its last window, which the frame removes itself.
  event->ignore();
  QMetaObject::invokeMethod(
      this,
      [this, db = &window->database()] {
        if (IsOpen(db)) CloseDatabase(*db);
      },
      Qt::QueuedConnection);
  return true;
}

void Frame::closeEvent(QCloseEvent* event) {
  if (CloseAll()) {
    event->accept();
  } else {
    event->ignore();
  }
}

// --- Changes on disk

void Frame::CheckChangedOnDisk(QMdiSubWindow* sub) {
  auto* window = sub != nullptr ? qobject_cast<DatabaseWindow*>(sub->widget()) : nullptr;
  if (window == nullptr || window->disk_change_asked || !Process().preferences.check_files) return;
  Database& database = window->database();
  if (!ModifiedOnDisk(database)) return;
  window->disk_change_asked = true;
  AlertRecord question(msg::kModifiedOnDisk);
  question.Arg(ToEngine(DatabaseName(database)))
      .Button(msg::kButtonOk)
      .Button(msg::kButtonClose)
      .Button(msg::kButtonOpenModified);
  const int answer = ReportAlert(question);
  if (answer == 0) return;
  const QString path = FromPath(database.file_name());
  // Closing asks about unsaved changes first; a database kept open stays as it is.
  QMetaObject::invokeMethod(
      this,
      [this, db = &database, path, answer] {
        if (IsOpen(db) && CloseDatabase(*db) && answer == 2) OpenFile(path);
      },
      Qt::QueuedConnection);
}

// --- Drops

void Frame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void Frame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  for (const QUrl& url : urls) {
    if (url.isLocalFile()) OpenFile(url.toLocalFile());
  }
}

// --- Time scales

void Frame::DeleteTimeScale() {
  auto* window = dynamic_cast<TimeScaleWindow*>(ActiveWindow());
  if (window == nullptr || window->scale() == nullptr) return;
  TimeScale& scale = *window->scale();
  AlertRecord question(msg::kConfirmDelete);
  question.Arg(scale.name())
      .ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  if (ReportAlert(question) != 0) return;
  closing_ = true;
  delete SubWindowOf(window);
  closing_ = false;
  TimeScaleList::Of(scale.database()).Remove(scale);
}

// --- Preferences, association, about

void Frame::ShowPreferencesDialog() {
  PreferencesDialog dialog(Process().preferences, this);
  connect(&dialog, &PreferencesDialog::AssociateRequested, this, &Frame::Associate);
  if (dialog.exec() == QDialog::Accepted) ApplyPreferences(dialog.Values());
}

void Frame::ApplyPreferences(const Preferences& preferences) {
  Process().preferences = preferences;
  SettingsStore store(settings_path_);
  SaveProcessPreferences(store);
  FlushPendingError();
  ApplyLook(preferences);
  BuildMenus();
  for (DatabaseWindow* window : Windows()) window->Refresh();
}

// The desktop's association of ".jov" and ".jox" with the program (the installed desktop
// entry); the preference "Associate" records that it was made.
bool Frame::Associate() {
  QString error;
  const bool made = WriteAssociations(QApplication::applicationFilePath(), &error);
  if (!made) qWarning("%s", qPrintable(error));
  Preferences preferences = Process().preferences;
  preferences.associate = made;
  Process().preferences = preferences;
  SettingsStore store(settings_path_);
  SaveProcessPreferences(store);
  FlushPendingError();
  return made;
}

void Frame::OfferAssociation() {
  if (Process().preferences.associate == false || IsAssociated()) return;
  AlertRecord question(msg::kNotAssociated);
  question.Button(msg::kButtonYes).Button(msg::kButtonNo);
  if (ReportAlert(question) == 0) {
    Associate();
    return;
  }
  Process().preferences.associate = false;
  SettingsStore store(settings_path_);
  SaveProcessPreferences(store);
  FlushPendingError();
}

void Frame::ShowAbout() {
  const QString text = QStringLiteral("<b>%1</b><br>%2<br>%3")
                           .arg(QString::fromLatin1(kProgramName), Text(msg::kVersion, JOV_VERSION),
                                Text(msg::kFormatDateOfFiles, FormatDateText()));
  QMessageBox::about(this, Text(msg::kAboutTitle), text);
}

}  // namespace jov
