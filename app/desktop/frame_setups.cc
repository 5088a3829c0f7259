// The frame's side of the setup windows: import setups, dimension import setups, macros and
// subsets, opened from the base window and the Database menu.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "base_window.h"
#include "dim_import_window.h"
#include "frame.h"
#include "import_setup_window.h"
#include "io/import_setup.h"
#include "qt_text.h"

namespace jov {

void Frame::AddSetupMenus(QMenu* database) {
  database->addSeparator();
  database->addAction(Text(msg::kMenuNewImportSetup), this, [this] {
    if (Database* db = ActiveDatabase()) ShowImportSetup(*db, {});
  });
  database->addAction(Text(msg::kMenuDeleteImportSetup), this, &Frame::DeleteImportSetup);
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
  AddWindow(window, {620, 480});
  return window;
}

// Deletes the setup of the active import setup window, after asking, and closes the window.
void Frame::DeleteImportSetup() {
  auto* window = dynamic_cast<ImportSetupWindow*>(ActiveWindow());
  if (window == nullptr || window->stored_name().empty()) return;
  const std::string name = window->stored_name();
  AlertRecord question(msg::kConfirmDelete);
  question.Arg(name)
      .ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  if (ReportAlert(question) != 0) return;
  Database& database = window->database();
  closing_ = true;
  delete SubWindowOf(window);
  closing_ = false;
  ImportSetups::Of(database).Remove(name);
}

}  // namespace jov
