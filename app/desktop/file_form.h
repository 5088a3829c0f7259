// The fields of an import setup that describe a file's form: fixed or variable field lengths,
// the character set, the row terminator and field separator, leaving out control characters,
// the rows to skip, and the character conversions and exclusions. Shared by the import setup
// window and the dimension import window; the owner adds its own rows to form().
#pragma once

#include <QWidget>

#include "io/import_setup.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace jov {

class FileForm : public QWidget {
  Q_OBJECT
 public:
  // Edits `setup`, which must outlive the widget.
  FileForm(ImportSetup* setup, QWidget* parent = nullptr);

  // Shows the setup's values again (after the owner changed them).
  void Show();
  // The form of the file's fields, where the owner adds its own.
  QFormLayout* form() const { return form_; }

 Q_SIGNALS:
  // A field was changed and written into the setup.
  void Edited();

 private:
  void Read();

  ImportSetup* setup_;
  bool showing_ = false;
  QFormLayout* form_;
  QRadioButton* variable_;
  QRadioButton* fixed_;
  QComboBox* character_set_;
  QSpinBox* row_terminator_;
  QSpinBox* field_separator_;
  QCheckBox* exclude_controls_;
  QSpinBox* rows_to_skip_;
  QLineEdit* conversion_from_;
  QLineEdit* conversion_to_;
  QLineEdit* excluded_;
};

}  // namespace jov
