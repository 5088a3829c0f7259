// Save As: the file, its form (binary or text) and the choices of the save setup that a save
// uses (compression and the sections written), starting from the database's own setup or one
// of its named setups.
#pragma once

#include <QDialog>
#include <array>

#include "files/database_file.h"
#include "files/save_setup.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace jov {

class SaveAsDialog : public QDialog {
  Q_OBJECT
 public:
  SaveAsDialog(Database& database, QWidget* parent);

  std::string path() const;
  DatabaseFormat format() const;
  SaveSetup setup() const;

 private:
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
};

}  // namespace jov
