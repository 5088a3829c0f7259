// The preferences dialog (language, look, dragging, Yes/No alerts, the check for files changed
// on disk, the font, the file-type association) and the application of the look and the font
// to the running program. The values live in the process preferences and are stored in the
// preferences file that the `jov` program reads too.
#pragma once

#include <QDialog>

#include "shell/preferences.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;

namespace jov {

// The stored "GUI" style codes (0 default, 2..5) on Qt's styles and palettes, and the font.
void ApplyLook(const Preferences& preferences);

class PreferencesDialog : public QDialog {
  Q_OBJECT
 public:
  PreferencesDialog(const Preferences& preferences, QWidget* parent);
  // The values as the dialog shows them.
  Preferences Values() const;

 Q_SIGNALS:
  void AssociateRequested();

 private:
  Preferences preferences_;
  QComboBox* language_;
  QComboBox* look_;
  QButtonGroup* dragging_;
  QButtonGroup* alerts_;
  QCheckBox* check_files_;
  QCheckBox* sans_serif_;
};

}  // namespace jov
