// The settings dialog of an analysis window: the title, a page of the kind's own options, the
// selection (selection_editor.h) and the notes. Each kind's dialog adds its options page and
// writes the options back in ApplyOptions; nothing reaches the analysis before OK. The pieces
// that several kinds' pages share live here too: choice lists, the decimals choice and the
// visible columns of card and line lists.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <array>
#include <initializer_list>
#include <vector>

#include "analysis/list_columns.h"
#include "files/analysis_template.h"
#include "model/database.h"
#include "select/selection.h"
#include "shell/message_ids.h"

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace jov {

class SelectionEditor;

class AnalysisSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  // `selection` is null for a kind whose rows come from its columns' own selections.
  AnalysisSettingsDialog(Database& database, TemplateFrame& frame, Selection* selection,
                         QWidget* parent);

  Database& database() const { return database_; }
  QLineEdit* title_edit() const { return title_; }
  QPlainTextEdit* notes_edit() const { return notes_; }
  // nullptr for a kind without a selection of its own.
  SelectionEditor* selection_editor() const { return selection_editor_; }
  QTabWidget* tabs() const { return tabs_; }
  // Writes everything into the analysis, as OK does.
  void ApplyAll();

 protected:
  // Adds the kind's options page before the selection page; call once from the constructor.
  QFormLayout* AddOptionsPage();
  // Adds a further page of the kind's after the pages added so far, before the selection.
  void AddPage(QWidget* page, MessageId title);
  // Object names by which tests find a dialog's fields; `index` tells the fields of a row apart.
  static void Name(QWidget* field, const char* name, int index = -1);
  // Writes the options page back into the analysis.
  virtual void ApplyOptions() = 0;

 private:
  Database& database_;
  TemplateFrame& frame_;
  Selection* selection_;
  QLineEdit* title_;
  QTabWidget* tabs_;
  SelectionEditor* selection_editor_ = nullptr;
  int own_pages_ = 0;
  QPlainTextEdit* notes_;
};

// A choice list of message texts, the item's index as its data.
QComboBox* ChoiceBox(QWidget* parent, MessageId first, int count, int current);
QComboBox* ChoiceBox(QWidget* parent, std::initializer_list<MessageId> items, int current);
// The database's dimensions in use; the dimension index as the item's data.
QComboBox* DimensionBox(QWidget* parent, const Database& database, int current);
// The database's value fields by name; the field index as the item's data.
QComboBox* ValueFieldBox(QWidget* parent, const Database& database, int current);
// Millions, thousands, 0 to 6 decimals; the decimals as the item's data.
QComboBox* DecimalsBox(QWidget* parent, int current);
// The current item's data, or `fallback` when nothing is chosen.
int ChosenData(const QComboBox* box, int fallback);

// Check boxes for the columns that card and line lists show: the card's identifier and title,
// a component per dimension in use, the line text, the value fields and, when `accumulated`,
// the running balance.
class ListColumnsEditor : public QWidget {
 public:
  ListColumnsEditor(const Database& database, const ListColumns& columns, bool accumulated,
                    QWidget* parent);
  ListColumns Chosen() const;

 private:
  // Each box with the flag it sets in a copy of the columns.
  std::vector<std::pair<QCheckBox*, bool ListColumns::*>> plain_;
  std::vector<std::pair<QCheckBox*, int>> dimensions_;
  std::vector<std::pair<QCheckBox*, int>> values_;
  ListColumns start_;
};

}  // namespace jov
