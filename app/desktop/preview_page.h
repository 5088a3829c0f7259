// The preview page of the import windows: the example file (typed, or chosen with the file
// dialog) and a table of what the import would make of its first rows. The owning window
// reads the file through the engine and hands the table over.
#pragma once

#include <QWidget>
#include <functional>

#include "analysis/fixed_table.h"
#include "io/row_reader.h"

class QLineEdit;
class QTableView;

namespace jov {

class TableModel;

class PreviewPage : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewPage(QWidget* parent = nullptr);

  // The example file; empty when none was chosen.
  const QString& file() const { return file_; }
  void SetFile(const QString& path);
  // Asks for the example file with the file dialog.
  void ChooseFile();
  // Shows what `read` makes of the example file. Returns the message to show when the file
  // cannot be opened, else an empty text; nothing is shown without a file.
  QString Read(const std::function<FixedTable(ImportInput&)>& read);
  const FixedTable& table() const { return table_; }
  const TableModel& model() const { return *model_; }

 Q_SIGNALS:
  void FileChanged();

 private:
  void Show(FixedTable table);

  QString file_;
  FixedTable table_;
  QLineEdit* file_edit_;
  QTableView* view_;
  TableModel* model_;
};

}  // namespace jov
