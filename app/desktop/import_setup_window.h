// The import setup window: every field of one of the database's import setups, edited in a
// working copy. The General page holds the file's form (layout, character set, delimiters, rows
// to skip and join, date format, character conversions), the Card Definition page the card
// fields, one page per line definition its component, text and value fields with their zero
// filling, new-component placement and scale factors, and the Preview page the first rows of a
// chosen file as the import reads them through the working copy. "Apply" stores the copy under
// its name; "Import" stores it and imports the chosen file into the database.
#pragma once

#include <QString>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "analysis/fixed_table.h"
#include "database_window.h"
#include "io/import_setup.h"
#include "io/text_import.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace jov {

class FieldSpecTable;
class FileForm;
class PreviewPage;

class ImportSetupWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  // The preview shows at most this many rows.
  static constexpr int kPreviewRows = 200;

  // `name` empty: a new setup, stored when first applied.
  ImportSetupWindow(Database& database, const std::string& name, QWidget* parent = nullptr);
  ~ImportSetupWindow() override;
  QString Title() const override;
  void Refresh() override;
  bool MayClose() override;

  // The name the setup is stored under; empty while it is new.
  const std::string& stored_name() const { return stored_name_; }
  const ImportSetup& edit() const { return edit_; }

  // Writes the working copy into the database's setups. False when nothing was stored.
  bool Apply();
  void AddLineDefinition();
  // Removes the line definition of the current page; the last one is kept.
  void DeleteLineDefinition();
  // Reads the example file's first rows through the working copy.
  void UpdatePreview();
  // The example file, previewed and imported.
  PreviewPage* preview_page() const { return preview_page_; }
  // Applies, then imports the example file into the database.
  ImportResult Import();

  QTabWidget* pages() const { return pages_; }
  FieldSpecTable* card_fields() const { return card_fields_; }
  // The field table of a line definition's page.
  FieldSpecTable* line_fields(int definition) const;

 private:
  QWidget* BuildGeneralPage();
  QWidget* BuildCardPage();
  QWidget* BuildLinePage(int definition);
  void RebuildLinePages();
  void ShowGeneral();
  void ReadGeneral();
  void Edited();
  // The dimensions a line definition page lists: those with components or with a field in any
  // definition, and the first one after them.
  std::vector<int> ShownDimensions() const;

  std::string stored_name_;
  ImportSetup edit_;
  bool edited_ = false;
  bool showing_ = false;

  QLineEdit* name_;
  QTabWidget* pages_;
  // General page.
  FileForm* file_form_;
  QLineEdit* decimal_separator_;
  QSpinBox* rows_per_card_;
  QSpinBox* rows_per_line_;
  QComboBox* date_format_;
  // Card page.
  FieldSpecTable* card_fields_;
  QComboBox* title_conversion_;
  QComboBox* notes_conversion_;
  // Line pages, one per definition.
  std::vector<FieldSpecTable*> line_fields_;
  PreviewPage* preview_page_;
  QLabel* status_;
};

}  // namespace jov
