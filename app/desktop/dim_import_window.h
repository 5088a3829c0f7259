// The dimension import window: a dimension's import setup edited in a working copy (the file's
// form, the hierarchy method with its parent search, parent creation and host code zero filling,
// and the JOV-Code, Text, Host Code and Level Number or Parent fields), a preview of the
// components the first rows of a chosen file would add, and Import. "Apply" stores the setup
// with the dimension. Import writes the file's components into the database, unless the owner
// gives an importer that takes them (the frame hands them to the dimension's open dimension
// window, whose copy of the tree the user reviews before applying it).
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

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

  // Takes an import of the file at the path with the stored setup elsewhere; nothing when it
  // leaves it to the window, which then writes into the database.
  using Importer = std::function<std::optional<DimImportResult>(const std::string& path)>;
  void SetImporter(Importer importer) { importer_ = std::move(importer); }

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
  Importer importer_;

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
