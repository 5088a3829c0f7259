// The subset window: one of the database's subsets, with its name, its combination (shown as
// the compiler corrected it), the count line of its calculated lines, its notes and the Open
// Directly flag; the table of its named selections, each with the criteria that restrict; and,
// for the chosen selection, its criteria in the selection editor with the card identifier,
// notes and stamp criteria below. Edits go into the subset when a field is left (the texts
// then show corrected) or with Apply; Calculate brings the count line up to date, and Delete
// Data deletes the subset's lines from the database.
#pragma once

#include <QString>
#include <array>

#include "database_window.h"
#include "select/subset.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace jov {

class SelectionEditor;

class SubsetWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  SubsetWindow(Database& database, Subset& subset, QWidget* parent = nullptr);
  ~SubsetWindow() override;
  QString Title() const override;
  void Refresh() override;

  // The subset shown; nullptr once it was erased.
  Subset* subset() const;

  // Stores every field that was edited: the name, combination, notes, flag and the chosen
  // selection's criteria.
  void Apply();
  // Calculates the subset and shows its count line.
  void Calculate();
  // A new named selection, chosen for editing.
  void AddSelection();
  // Deletes the chosen selection (refused while the combination names it).
  void DeleteSelection();
  // Moves the chosen selection one place up (-1) or down (1) in the list.
  void MoveSelection(int step);
  // Chooses the named selection of that row for editing, after storing the edits of the one
  // chosen before.
  void ChooseSelection(int row);
  void DeleteData();

  QLineEdit* name_edit() const { return name_; }
  QLineEdit* combination_edit() const { return combination_; }
  QLineEdit* notes_edit() const { return notes_; }
  QCheckBox* open_directly_box() const { return open_directly_; }
  QTableWidget* selection_table() const { return table_; }
  SelectionEditor* selection_editor() const { return editor_; }
  QLineEdit* card_id_edit() const { return card_id_; }
  QLineEdit* card_notes_edit() const { return card_notes_; }
  QLineEdit* stamp_time_edit(StampKind kind) const { return stamp_times_[Index(kind)]; }
  QLineEdit* stamp_signature_edit(StampKind kind) const { return stamp_signatures_[Index(kind)]; }
  QString count_line() const;

 private:
  static int Index(StampKind kind) { return static_cast<int>(kind); }
  QWidget* BuildCardCriteria();
  void ShowSubset();
  void ShowSelections();
  void ShowCardCriteria();
  void StoreSubsetFields();
  void StoreSelection();
  NamedSelection* Chosen() const;

  Subset* subset_;
  int chosen_ = -1;  // the row of the selection being edited
  bool showing_ = false;
  QLineEdit* name_;
  QLineEdit* combination_;
  QLabel* count_;
  QLineEdit* notes_;
  QCheckBox* open_directly_;
  QTableWidget* table_;
  SelectionEditor* editor_;
  QWidget* criteria_;
  QLineEdit* card_id_;
  QLineEdit* card_notes_;
  std::array<QLineEdit*, kStampKinds> stamp_times_{};
  std::array<QLineEdit*, kStampKinds> stamp_signatures_{};
};

}  // namespace jov
