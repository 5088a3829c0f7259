// The frame of the desktop program: a multiple-document main window holding the windows of the
// open databases, with the File, Database, Analysis, Window and Help menus. It opens, saves and
// closes databases through the engine's open/save pipeline, shows the engine's alerts and questions
// as dialogs and its progress reports in the progress dialog, and asks whether a database changed
// on disk when one of its windows becomes active.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "database_window.h"
#include "dialogs.h"
#include "files/analysis_template.h"
#include "files/database_file.h"
#include "frame_script_host.h"
#include "model/open_databases.h"
#include "shell/preferences.h"

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace jov {

class BaseWindow;
class CardWindow;
class DimensionWindow;
class DimImportWindow;
class MacroWindow;
class SubsetWindow;
class ImportSetupWindow;
class AnalysisWindow;
class CardWindow;
class InfoWindow;
class Subset;
class TableWindow;
class ProgressDialog;
class TimeScale;

class Frame : public QMainWindow {
  Q_OBJECT
 public:
  // The preferences and recent files are kept in the settings file at `settings_path`.
  explicit Frame(std::string settings_path);
  ~Frame() override;

  // Opens a database file; the database (also one already open, when the user keeps it), or
  // nullptr when nothing was opened.
  Database* OpenFile(const QString& path);
  // The documents of the command line, in their order.
  void OpenDocuments(const QStringList& paths);
  Database& NewDatabase();
  // Save to the database's own file (Save As when it has none).
  bool Save(Database& database);
  bool SaveAs(Database& database, const std::string& path, DatabaseFormat format,
              const SaveSetup& setup);
  // Asks to save a modified database (Save, Don't Save, Cancel); false when it stays open.
  bool CloseDatabase(Database& database);

  InfoWindow* ShowInfo(Database& database);
  // The analysis templates of the database as a table.
  TableWindow* ShowTemplates(Database& database);
  // nullptr: a new time scale.
  DatabaseWindow* ShowTimeScale(Database& database, TimeScale* scale);
  // The import setup of that name; an empty name: a new setup.
  ImportSetupWindow* ShowImportSetup(Database& database, const std::string& name);
  // The components of a dimension (index 0..15), edited.
  DimensionWindow* ShowDimension(Database& database, int dimension);
  // A new analysis window of `kind`, or the window of a stored template (brought forward when
  // it is open). nullptr for a kind without a window.
  AnalysisWindow* NewAnalysis(Database& database, AnalysisKind kind);
  AnalysisWindow* ShowTemplate(Database& database, const AnalysisTemplate& stored);
  // The card window of `card` (nothing: a new card); an open one of that card comes forward.
  CardWindow* ShowCard(Database& database, std::optional<CardRef> card);
  // Closes the card windows that show any of `cards`; false when one refuses to close.
  bool CloseCardWindows(Database& database, std::span<const CardRef> cards);
  // The import setup window of a dimension (its index, 0-based), brought forward when open. Its
  // Import reads into the dimension's window when that is open, else into the database.
  DimImportWindow* ShowDimImport(Database& database, int dimension);
  // The macro of that name; an empty name: a new macro. A macro that requires the window
  // password opens only after it was given; nullptr then.
  MacroWindow* ShowMacro(Database& database, const std::string& name);
  // nullptr: a new subset of the database.
  SubsetWindow* ShowSubset(Database& database, Subset* subset);

  // The windows of one database (all windows for nullptr), in the order they were opened.
  std::vector<DatabaseWindow*> Windows(const Database* database = nullptr) const;
  DatabaseWindow* ActiveWindow() const;
  const OpenDatabases& databases() const { return open_; }
  QMdiArea* area() const { return area_; }
  ProgressDialog* progress_dialog() const { return progress_; }

  // Tests answer the password questions themselves.
  void SetPasswordPrompt(PasswordPrompt* prompt) { prompt_ = prompt; }
  PasswordPrompt* password_prompt() const { return prompt_; }
  // Takes new preferences: stores them, applies the look and rebuilds every text.
  void ApplyPreferences(const Preferences& preferences);
  // Asks whether the file types should be associated with the program when they are not and
  // the user has not declined before.
  void OfferAssociation();

  // For automation clients: the open databases, a database they opened shown in its window, and
  // a database closed without questions, its windows with it.
  OpenDatabases& open_databases() { return open_; }
  void ShowOpened(Database& database);
  void CloseQuietly(Database& database);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void FillRecentMenu();
  void FillWindowMenu();
  void RememberRecent(const std::string& path);
  QMdiSubWindow* AddWindow(DatabaseWindow* window, QSize size);
  void AddBaseWindow(Database& database);
  AnalysisWindow* AddAnalysisWindow(AnalysisWindow* window);
  // What opening a database shows after its macros ran: the subsets marked to open,
  // calculated, then the templates marked to open, calculated and zoomed as marked.
  void OpenWindowsAtOpening(Database& database);
  void FillAnalysisMenu();
  bool IsOpen(const Database* database) const;
  QMdiSubWindow* SubWindowOf(const DatabaseWindow* window) const;
  void Activate(const Database& database);
  void CheckChangedOnDisk(QMdiSubWindow* sub);
  // The windows of one database, or all windows for nullptr.
  void RemoveWindows(const Database* database);
  bool CloseAll();
  void OpenDialog();
  void SaveAsDialog(Database& database);
  void DeleteTimeScale();
  // The setup windows (frame_setups.cc): their entries in the Database menu, and the base
  // window's requests for them.
  void AddSetupMenus(QMenu* database);
  void ConnectSetupRequests(BaseWindow* base);
  // The window of `kind` for which `shows` holds, brought forward; nullptr when none is open.
  DatabaseWindow* BringForward(const Database& database, DatabaseWindow::Kind kind,
                               const std::function<bool(DatabaseWindow*)>& shows);
  void DeleteImportSetup();
  // Asks 3205 about deleting `name`; true for Delete.
  bool ConfirmDelete(const std::string& name);
  // Closes the window without asking about its edits.
  void CloseWindowQuietly(DatabaseWindow* window);
  void DeleteMacro();
  void DeleteSubset();
  // The Execute menu: the active database's macros marked to show there.
  void FillExecuteMenu(QMenu* menu);
  void ShowPreferencesDialog();
  void ShowAbout();
  bool Associate();
  Database* ActiveDatabase() const;

  std::string settings_path_;
  OpenDatabases open_;
  const SectionRegistry registry_;
  QMdiArea* area_;
  DialogSink dialog_sink_;
  DialogPasswordPrompt dialog_prompt_;
  // Asked while the frame lives, when an operation needs the user's stamp and none is set.
  DialogSignaturePrompt signature_prompt_{this};
  ScopedSignaturePrompt scoped_signature_prompt_{&signature_prompt_};
  PasswordPrompt* prompt_;
  // Runs the scripts of the Execute menu and of opening.
  FrameScriptHost script_host_{*this};
  ProgressDialog* progress_;
  QMenu* recent_menu_ = nullptr;
  QMenu* window_menu_ = nullptr;
  QMenu* analysis_menu_ = nullptr;
  bool closing_ = false;  // windows are being closed by the frame, not by the user
};

}  // namespace jov
