// The base window of a database: what the database holds (its dimensions with their numbers of
// components, its time scales, import setups, macros and subsets) and the windows it offers.
// Double-clicking an entry opens its window (a dimension's: its components, for editing); a
// dimension's context menu opens its import setup.
// Every open database has one; closing its last window closes the database.
#pragma once

#include "database_window.h"
#include "files/analysis_template.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace jov {

class Subset;
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
  void ImportSetupRequested(Database& database, const std::string& name);
  void DimImportRequested(Database& database, int dimension);
  void DimensionRequested(Database& database, int dimension);
  void MacroRequested(Database& database, const std::string& name);
  void SubsetRequested(Database& database, Subset* subset);
  void AnalysisRequested(Database& database, AnalysisKind kind);
  void TemplateRequested(Database& database, const AnalysisTemplate& stored);

 private:
  void Open(QTreeWidgetItem* item);
  void ShowContextMenu(const QPoint& position);

  QTreeWidget* tree_;
};

}  // namespace jov
