// The frame's side of the setup windows: import setups, dimension import setups, macros and
// subsets, opened from the base window and the Database menu.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include "automation/macro.h"
#include "base_window.h"
#include "dim_import_window.h"
#include "dimension_window.h"
#include "files/password.h"
#include "frame.h"
#include "import_setup_window.h"
#include "io/import_setup.h"
#include "macro_window.h"
#include "qt_text.h"
#include "select/subset_list.h"
#include "shell/pending_error.h"
#include "subset_window.h"

namespace jov {

void Frame::AddSetupMenus(QMenu* database) {
  database->addSeparator();
  database->addAction(Text(msg::kMenuNewImportSetup), this, [this] {
    if (Database* db = ActiveDatabase()) ShowImportSetup(*db, {});
  });
  database->addAction(Text(msg::kMenuDeleteImportSetup), this, &Frame::DeleteImportSetup);
  database->addSeparator();
  database->addAction(Text(msg::kMenuNewMacro), this, [this] {
    if (Database* db = ActiveDatabase()) ShowMacro(*db, {});
  });
  database->addAction(Text(msg::kMenuDeleteMacro), this, &Frame::DeleteMacro);
  database->addAction(Text(msg::kMenuNewSubset), this, [this] {
    if (Database* db = ActiveDatabase()) ShowSubset(*db, nullptr);
  });
  database->addAction(Text(msg::kMenuDeleteSubset), this, &Frame::DeleteSubset);
  QMenu* execute = menuBar()->addMenu(Text(msg::kMenuExecute));
  connect(execute, &QMenu::aboutToShow, this, [this, execute] { FillExecuteMenu(execute); });
  database->addSeparator();
  // The import setups of the active database's dimensions, named when the menu opens.
  QMenu* dimensions = database->addMenu(Text(msg::kMenuDimensions));
  connect(dimensions, &QMenu::aboutToShow, this, [this, dimensions] {
    dimensions->clear();
    Database* db = ActiveDatabase();
    if (db == nullptr) return;
    for (int d = 0; d < kDimensionCount; ++d) {
      dimensions->addAction(Text(msg::kDimImportTitle, db->GetName(name_id::kFirstPlural + d)),
                            this, [this, db, d] {
                              if (IsOpen(db)) ShowDimImport(*db, d);
                            });
    }
  });
}

void Frame::ConnectSetupRequests(BaseWindow* base) {
  connect(base, &BaseWindow::ImportSetupRequested, this,
          [this](Database& db, const std::string& name) { ShowImportSetup(db, name); });
  connect(base, &BaseWindow::DimImportRequested, this,
          [this](Database& db, int dimension) { ShowDimImport(db, dimension); });
  connect(base, &BaseWindow::MacroRequested, this,
          [this](Database& db, const std::string& name) { ShowMacro(db, name); });
  connect(base, &BaseWindow::SubsetRequested, this,
          [this](Database& db, Subset* subset) { ShowSubset(db, subset); });
}

DatabaseWindow* Frame::BringForward(const Database& database, DatabaseWindow::Kind kind,
                                    const std::function<bool(DatabaseWindow*)>& shows) {
  for (DatabaseWindow* window : Windows(&database)) {
    if (window->kind() == kind && shows(window)) {
      area_->setActiveSubWindow(SubWindowOf(window));
      return window;
    }
  }
  return nullptr;
}

ImportSetupWindow* Frame::ShowImportSetup(Database& database, const std::string& name) {
  if (!name.empty()) {
    DatabaseWindow* open =
        BringForward(database, DatabaseWindow::Kind::kImportSetup, [&name](DatabaseWindow* window) {
          return static_cast<ImportSetupWindow*>(window)->stored_name() == name;
        });
    if (open != nullptr) return static_cast<ImportSetupWindow*>(open);
  }
  auto* window = new ImportSetupWindow(database, name);
  AddWindow(window, {720, 520});
  return window;
}

DimImportWindow* Frame::ShowDimImport(Database& database, int dimension) {
  if (dimension < 0 || dimension >= kDimensionCount) return nullptr;
  DatabaseWindow* open =
      BringForward(database, DatabaseWindow::Kind::kDimImport, [dimension](DatabaseWindow* window) {
        return static_cast<DimImportWindow*>(window)->dimension() == dimension;
      });
  if (open != nullptr) return static_cast<DimImportWindow*>(open);
  auto* window = new DimImportWindow(database, dimension);
  // With the dimension's window open, the file's rows join its copy of the tree.
  window->SetImporter([this, &database, dimension](const std::string& path) {
    for (DatabaseWindow* open : Windows(&database)) {
      if (open->kind() != DatabaseWindow::Kind::kDimension) continue;
      auto* components = static_cast<DimensionWindow*>(open);
      if (components->dimension() != dimension) continue;
      area_->setActiveSubWindow(SubWindowOf(components));
      return std::optional<DimImportResult>(components->ImportFile(FromPath(path)));
    }
    return std::optional<DimImportResult>();
  });
  AddWindow(window, {620, 480});
  return window;
}

MacroWindow* Frame::ShowMacro(Database& database, const std::string& name) {
  const Macro* macro = MacroList::Of(database).Find(name);
  if (macro != nullptr) {
    DatabaseWindow* open =
        BringForward(database, DatabaseWindow::Kind::kMacro, [macro](DatabaseWindow* window) {
          return static_cast<MacroWindow*>(window)->stored_name() == macro->name;
        });
    if (open != nullptr) return static_cast<MacroWindow*>(open);
    if (macro->password_required && !VerifyForWindow(database, *prompt_)) {
      FlushPendingError();
      return nullptr;
    }
  }
  auto* window = new MacroWindow(database, name);
  AddWindow(window, {480, 440});
  return window;
}

SubsetWindow* Frame::ShowSubset(Database& database, Subset* subset) {
  if (subset != nullptr) {
    DatabaseWindow* open =
        BringForward(database, DatabaseWindow::Kind::kSubset, [subset](DatabaseWindow* window) {
          return static_cast<SubsetWindow*>(window)->subset() == subset;
        });
    if (open != nullptr) return static_cast<SubsetWindow*>(open);
  }
  Subset& shown = subset != nullptr ? *subset : SubsetList::Of(database).Create();
  auto* window = new SubsetWindow(database, shown);
  AddWindow(window, {860, 560});
  return window;
}

void Frame::FillExecuteMenu(QMenu* menu) {
  menu->clear();
  Database* db = ActiveDatabase();
  if (db == nullptr) return;
  for (const auto& macro : MacroList::Of(*db).macros()) {
    if (!macro->show_in_menu) continue;
    const std::string name = macro->name;
    menu->addAction(FromEngine(name), this, [this, db, name] {
      Macro* chosen = IsOpen(db) ? MacroList::Of(*db).Find(name) : nullptr;
      if (chosen == nullptr) return;
      MacroList::Of(*db).Execute(*chosen, script_host_);
      FlushPendingError();
    });
  }
}

// Deletes the macro of the active macro window, after asking, and closes the window.
void Frame::DeleteMacro() {
  auto* window = dynamic_cast<MacroWindow*>(ActiveWindow());
  if (window == nullptr || window->stored_name().empty()) return;
  const std::string name = window->stored_name();
  if (!ConfirmDelete(name)) return;
  Database& database = window->database();
  CloseWindowQuietly(window);
  MacroList::Of(database).DeleteIf([&name](const Macro& macro) { return macro.name == name; });
}

// Erases the subset of the active subset window: refused while a selection names it, else
// after asking; the window closes with it.
void Frame::DeleteSubset() {
  auto* window = dynamic_cast<SubsetWindow*>(ActiveWindow());
  Subset* subset = window != nullptr ? window->subset() : nullptr;
  if (subset == nullptr || !subset->list().Erase(*subset)) return;
  CloseWindowQuietly(window);
}

// Deletes the setup of the active import setup window, after asking, and closes the window.
void Frame::DeleteImportSetup() {
  auto* window = dynamic_cast<ImportSetupWindow*>(ActiveWindow());
  if (window == nullptr || window->stored_name().empty()) return;
  const std::string name = window->stored_name();
  if (!ConfirmDelete(name)) return;
  Database& database = window->database();
  CloseWindowQuietly(window);
  ImportSetups::Of(database).Remove(name);
}

bool Frame::ConfirmDelete(const std::string& name) {
  AlertRecord question(msg::kConfirmDelete);
  question.Arg(name)
      .ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  return ReportAlert(question) == 0;
}

void Frame::CloseWindowQuietly(DatabaseWindow* window) {
  closing_ = true;
  delete SubWindowOf(window);
  closing_ = false;
}

}  // namespace jov
