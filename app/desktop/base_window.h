// The base window of a database: what the database holds (its dimensions with their numbers of
// components, its time scales) and the windows it offers. Double-clicking an entry opens its
// window. Every open database has one; closing its last window closes the database.
#pragma once

#include "database_window.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace jov {

class TimeScale;

class BaseWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  explicit BaseWindow(Database& database, QWidget* parent = nullptr);
  QString Title() const override;
  void Refresh() override;

 Q_SIGNALS:
  void InfoRequested(Database& database);
  void TemplatesRequested(Database& database);
  void TimeScaleRequested(Database& database, TimeScale* scale);

 private:
  void Open(QTreeWidgetItem* item);

  QTreeWidget* tree_;
};

}  // namespace jov
