// The dimension import window: a dimension's import setup edited in a working copy (the file's
// form, the hierarchy method with its parent search, parent creation and host code zero filling,
// and the JOV-Code, Text, Host Code and Level Number or Parent fields), a preview of the
// components the first rows of a chosen file would add, and Import. "Apply" stores the setup
// with the dimension. Import writes the file's components into the database, unless a
// components window made itself the target: then they go into that window's copy of the tree,
// for the user to review before applying.
#pragma once

#include <QPointer>
#include <QString>

#include "database_window.h"
#include "io/dim_import.h"

class QComboBox;
class QLabel;
class QSpinBox;
class QTabWidget;

namespace jov {

class FieldSpecTable;
class FileForm;
class PreviewPage;

class DimImportWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  // The preview reads at most this many rows.
  static constexpr int kPreviewRows = 200;

  DimImportWindow(Database& database, int dimension, QWidget* parent = nullptr);
  ~DimImportWindow() override;
  QString Title() const override;
  void Refresh() override;
  bool MayClose() override;

  int dimension() const { return dimension_; }
  const DimImport& edit() const { return edit_; }

  // Import reads into `edit` instead of writing into the database, for as long as `owner`
  // lives (a components window passes itself and its copy of the tree). nullptr: the database.
  void SetImportTarget(QObject* owner, DimensionEdit* edit);

  // Stores the working copy as the dimension's import setup.
  void Apply();
  // Reads the example file's first rows through the working copy.
  void UpdatePreview();
  // The example file, previewed and imported.
  PreviewPage* preview_page() const { return preview_page_; }
  // Applies, then imports the example file (asked for when none is chosen).
  DimImportResult Import();

  QTabWidget* pages() const { return pages_; }
  FieldSpecTable* fields() const { return fields_; }

 Q_SIGNALS:
  // Components were read into the import target's copy.
  void Imported(int added);

 private:
  QWidget* BuildHierarchyPage();
  void ShowFields();
  void ShowHierarchy();
  void ReadHierarchy();
  void Edited();

  const int dimension_;
  DimImport edit_;
  bool edited_ = false;
  bool showing_ = false;
  QPointer<QObject> target_owner_;
  DimensionEdit* target_ = nullptr;

  QTabWidget* pages_;
  FileForm* file_form_;
  QComboBox* method_;
  QComboBox* search_;
  QSpinBox* create_parents_;
  QComboBox* zero_filling_;
  FieldSpecTable* fields_;
  PreviewPage* preview_page_;
  QLabel* status_;
};

}  // namespace jov
