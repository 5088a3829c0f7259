#include "database_window.h"

#include <QFileInfo>
#include <QTimer>

#include "dialogs.h"
#include "qt_text.h"

namespace jov {

QString DatabaseName(const Database& database) {
  if (database.file_name().empty()) return FromEngine(database.Title());
  return QFileInfo(FromPath(database.file_name())).fileName();
}

DatabaseWindow::DatabaseWindow(Database& database, Kind kind, QWidget* parent)
    : QWidget(parent), database_(database), kind_(kind) {
  database_.AddListener(this);
}

DatabaseWindow::~DatabaseWindow() { database_.RemoveListener(this); }

void DatabaseWindow::OnDatabaseChange(Database&, ChangeCode code, int, int) {
  if (code == ChangeCode::kFileName) Q_EMIT TitleChanged();
  if (refresh_pending_) return;
  refresh_pending_ = true;
  QTimer::singleShot(0, this, [this] {
    refresh_pending_ = false;
    Refresh();
  });
}

bool DatabaseWindow::AskToApply(const std::function<bool()>& apply) const {
  switch (AskSaveChanges(Title())) {
    case 0:
      return apply();
    case 1:
      return true;
    default:
      return false;
  }
}

QString DatabaseWindow::TitleOf(MessageId what) const { return TitleOf(Text(what)); }

QString DatabaseWindow::TitleOf(const QString& what) const {
  return Text(msg::kWindowOfDatabase, ToEngine(DatabaseName(database_)), ToEngine(what));
}

}  // namespace jov
