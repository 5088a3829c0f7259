// The columns page of the analyses with variables and formulas: the list of columns, new
// variables and formulas, removal and order, and the selected column's name, title, look and
// either its measure, value field, accumulation and selection (a variable) or its text (a
// formula). It edits a copy of the columns; Apply makes the analysis's columns copies of it.
#pragma once

#include <QWidget>

#include "analysis/function_columns.h"
#include "shell/message_ids.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QStackedWidget;

namespace jov {

class SelectionEditor;

class FunctionColumnsEditor : public QWidget {
  Q_OBJECT
 public:
  // `first_accumulation` names the accumulations as the kind shows them ("By Period" or "By
  // Component", then "From Start").
  FunctionColumnsEditor(FunctionColumns& columns, MessageId first_accumulation,
                        QWidget* parent = nullptr);

  // Writes the edited columns into the analysis's.
  void Apply();
  // The working copy, with the shown column's fields stored.
  FunctionColumns& edited();

  void AddVariable();
  void AddFormula();
  void RemoveCurrent();
  void MoveCurrent(int step);
  QListWidget* list() const { return list_; }
  QLineEdit* name_edit() const { return name_; }
  QLineEdit* formula_edit() const { return formula_; }
  QComboBox* measure_box() const { return measure_; }
  QComboBox* field_box() const { return field_; }
  SelectionEditor* selection_editor() const { return selection_; }

 private:
  void FillList(int current);
  void StoreShown();
  void Show(int index);

  FunctionColumns& target_;
  FunctionColumns work_;
  int shown_ = -1;
  QListWidget* list_;
  QLineEdit* name_;
  QLineEdit* title_;
  QCheckBox* visible_;
  QCheckBox* bold_;
  QComboBox* decimals_;
  QStackedWidget* kind_pages_;
  QComboBox* measure_;
  QComboBox* field_;
  QComboBox* accumulation_;
  SelectionEditor* selection_;
  QLineEdit* formula_;
};

}  // namespace jov
