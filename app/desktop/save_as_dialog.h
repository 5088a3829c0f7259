// Save As: the file, its form (binary or text) and every choice of the save setup that a save
// uses (compression and the sections written; per dimension the components written, the code
// cards refer to them by and the number it is saved as; the selection that limits the cards
// saved and its level; the template options), starting from the database's own setup or one of
// its named setups.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "files/database_file.h"
#include "files/save_setup.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTableWidget;

namespace jov {

class Selection;
class SelectionEditor;

class SaveAsDialog : public QDialog {
  Q_OBJECT
 public:
  SaveAsDialog(Database& database, QWidget* parent);
  ~SaveAsDialog() override;

  std::string path() const;
  DatabaseFormat format() const;
  SaveSetup setup() const;

  // The dimensions table: a row per dimension in use, with the columns below.
  enum DimensionColumn { kDimensionName, kComponents, kIdentifiers, kNumber };
  QTableWidget* dimensions() const { return dimensions_; }
  // The dimension shown in a row of the table.
  int DimensionOfRow(int row) const { return shown_dimensions_[row]; }
  SelectionEditor* selection_editor() const { return editor_; }
  QComboBox* level_box() const { return level_; }
  QCheckBox* templates_only_box() const { return templates_only_; }
  QLineEdit* template_filter_edit() const { return template_filter_; }
  QCheckBox* open_templates_box() const { return open_templates_; }

 private:
  QWidget* BuildDimensionsPage();
  QWidget* BuildCardsPage();
  QWidget* BuildTemplatesPage();
  void ShowSetup(const SaveSetup& setup);
  void Browse();

  Database& database_;
  SaveSetup base_;
  QLineEdit* file_;
  QComboBox* setups_;
  QRadioButton* binary_;
  QRadioButton* text_;
  QCheckBox* compressed_;
  std::array<QCheckBox*, kSaveSectionCount> sections_{};
  std::vector<int> shown_dimensions_;
  QTableWidget* dimensions_;
  // The selection of the setup shown, edited in the editor; its lines are the setup's.
  std::unique_ptr<Selection> selection_;
  SelectionEditor* editor_;
  QComboBox* level_;
  QCheckBox* templates_only_;
  QLineEdit* template_filter_;
  QCheckBox* open_templates_;
};

}  // namespace jov
