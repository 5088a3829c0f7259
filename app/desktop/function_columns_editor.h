// The columns page of the analyses with variables and formulas: the list of columns, new
// variables and formulas, removal and order, and the selected column's name, title, look (shown,
// boldface, decimals, red/green, colour and line width in the chart) and either its measure,
// value field, accumulation, time shift and selection (a variable) or its text, graph style and
// operation by time or higher-level values (a formula). It edits a copy of the columns; Apply
// makes the analysis's columns copies of it.
#pragma once

#include <QWidget>

#include "analysis/function_columns.h"
#include "analysis/time_shift.h"
#include "shell/message_ids.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QStackedWidget;

namespace jov {

class SelectionEditor;

class FunctionColumnsEditor : public QWidget {
  Q_OBJECT
 public:
  // The analysis the columns belong to: it names the accumulations ("By Period" or "By
  // Component", then "From Start") and has its formulas either work through time or give
  // higher-level values.
  enum class Analysis { kTimeFunctions, kComponentFunctions };
  FunctionColumnsEditor(FunctionColumns& columns, Analysis analysis, QWidget* parent = nullptr);

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
  QComboBox* colour_box() const { return colour_; }
  QComboBox* shift_box() const { return shift_; }
  QComboBox* graph_box() const { return graph_; }
  QComboBox* by_time_box() const { return by_time_; }

 private:
  void FillList(int current);
  void StoreShown();
  void Show(int index);
  QWidget* BuildVariablePage();
  QWidget* BuildFormulaPage(Analysis analysis);
  void ShowShift(const TimeShift& shift);
  void EnableOtherShift();
  TimeShift ShiftShown() const;

  FunctionColumns& target_;
  FunctionColumns work_;
  int shown_ = -1;
  QListWidget* list_;
  QLineEdit* name_;
  QLineEdit* title_;
  QCheckBox* visible_;
  QCheckBox* bold_;
  QComboBox* decimals_;
  QCheckBox* red_green_;
  QComboBox* colour_;
  QSpinBox* line_width_;
  QStackedWidget* kind_pages_;
  QComboBox* measure_;
  QComboBox* field_;
  QComboBox* accumulation_;
  // The time shift: its kind, and for "Other..." the amount and unit.
  QComboBox* shift_;
  QSpinBox* shift_amount_;
  QComboBox* shift_unit_;
  SelectionEditor* selection_;
  QLineEdit* formula_;
  QComboBox* graph_;
  // Either the operation by time (time functions) or the higher-level values (component
  // functions).
  QComboBox* by_time_ = nullptr;
  QComboBox* higher_levels_ = nullptr;
};

}  // namespace jov
