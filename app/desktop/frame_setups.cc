// The frame's side of the setup windows: import setups, dimension import setups, macros and
// subsets, opened from the base window and the Database menu.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "base_window.h"
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
}

void Frame::ConnectSetupRequests(BaseWindow* base) {
  connect(base, &BaseWindow::ImportSetupRequested, this,
          [this](Database& db, const std::string& name) { ShowImportSetup(db, name); });
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
