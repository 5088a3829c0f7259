// The database information window: the engine's information report (sizes, cards and lines,
// dimension usage, analyses) laid out as a table, recounted when the database changes.
#pragma once

#include "database_window.h"

class QTreeWidget;

namespace jov {

// The system's thousand separator when it is one character of the engine's set, else a blank.
char ThousandSeparator();

class InfoWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  explicit InfoWindow(Database& database, QWidget* parent = nullptr);
  QString Title() const override;
  void Refresh() override;

  // The value shown beside a label (first value column); empty when there is no such row.
  QString Value(const QString& label) const;

 private:
  QTreeWidget* table_;
};

}  // namespace jov
