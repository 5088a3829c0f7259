// The macro window: one of the database's macros edited in a working copy: its name, its steps
// (lines of the command language) and the flags that show it in the Execute menu, execute it
// when the database opens and ask for the window password before the window opens. "Execute"
// runs the steps as they stand in the editor, without storing them, through the same command
// interpreter as `jov run`; what the run reports (command errors, message texts) and how it
// ended is written into the output pane. "Apply" stores the copy, asking before it adds a macro
// or replaces another one of the name.
#pragma once

#include <QString>
#include <string>

#include "automation/macro.h"
#include "database_window.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace jov {

class MacroWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  // `name` empty, or a name no macro has: a new macro, stored when first applied.
  MacroWindow(Database& database, const std::string& name, QWidget* parent = nullptr);
  QString Title() const override;
  void Refresh() override;
  bool MayClose() override;

  // The name the macro is stored under; empty while it is new.
  const std::string& stored_name() const { return stored_name_; }
  const Macro& edit() const { return edit_; }

  // Stores the working copy under its name: without asking when that is the stored name,
  // else after 3202 (another macro of the name is replaced) or 3203 (a macro is added). False
  // when the user declined or the name is empty.
  bool Apply();
  // Runs the edited steps; returns the number of command errors.
  int Execute();
  // The output pane's text.
  QString output() const;

 private:
  void ShowMacro();
  void Edited();

  std::string stored_name_;
  Macro edit_;
  bool edited_ = false;
  bool showing_ = false;
  QLineEdit* name_;
  QPlainTextEdit* steps_;
  QCheckBox* show_in_menu_;
  QCheckBox* execute_when_opening_;
  QCheckBox* password_required_;
  QPlainTextEdit* output_;
};

}  // namespace jov
