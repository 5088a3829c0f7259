// The card window: one card's identifier, title, notes and stamps above its group and line rows,
// edited in the card editor's copy and written back when the window saves or closes (with the
// editor's questions). Group rows name the first dimension's component; line rows hold the other
// dimensions' components (typed by code, with completion), the line text and the values.
#pragma once

#include <QStringList>
#include <map>
#include <optional>

#include "analysis/card_editor.h"
#include "database_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace jov {

class CardWindow : public DatabaseWindow {
  Q_OBJECT
 public:
  // `card` nothing: a new card.
  CardWindow(Database& database, std::optional<CardRef> card, QWidget* parent = nullptr);
  QString Title() const override;
  void Refresh() override;
  // Runs the editor's closing questions; true when the window may go.
  bool MayClose() override;

  CardEditor& editor() { return editor_; }
  QTableWidget* table() const { return table_; }

  // Rows: a group row or a line row before the current row (at the end when there is none),
  // and the removal of the current row.
  void InsertGroupRow();
  void InsertLineRow();
  void DeleteRow();
  // The buttons: Save writes what changed (asking first), Add writes the content as a new card,
  // Delete deletes the card; each closes the window when it is done.
  void Save();
  void AddCard();
  void DeleteCard();
  // Closes the window, asking first when anything changed.
  void Cancel() { Finish(CardEditor::Outcome::kStay); }

  // The dimension shown in a column, -1 for the text and value columns.
  int DimensionOfColumn(int column) const;
  // The codes of a dimension's components, in tree order, for completion.
  const QStringList& Codes(int dimension);

 protected:
  // A card window of its own (outside the frame) asks before it closes too.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildFields();
  void BuildTable();
  void ShowFields();
  void ShowStamps();
  void ShowRows();
  void ShowRow(int row);
  void SetHeaders();
  void CellEdited(int row, int column);
  void IdEdited();
  void MarkToggled(bool examined, bool on);
  void InsertRow(CardEditRow row);
  void Finish(CardEditor::Outcome outcome);
  int ColumnOfDimension(int dimension) const;
  int first_value_column() const { return text_column_ + 1; }

  CardEditor editor_;
  QLineEdit* id_;
  QLineEdit* title_;
  QPlainTextEdit* notes_;
  QLabel* created_;
  QLabel* modified_;
  QLabel* notes_stamp_;
  QCheckBox* examined_;
  QCheckBox* approved_;
  QTableWidget* table_;
  // The dimensions shown, by column: the first dimension, then those with components.
  std::vector<int> dimensions_;
  int text_column_ = 0;
  std::map<int, QStringList> codes_;
  bool showing_ = false;  // cells are being filled, not edited
  bool done_ = false;
  bool edited_ = false;  // the user changed something in the window     // written or discarded:
                         // the window closes without asking
};

// Opens the card window of `card` (nothing: a new card) in the frame that holds `parent`, or as a
// window of its own when there is none; a window already open for that card comes forward.
CardWindow* OpenCardWindow(Database& database, std::optional<CardRef> card, QWidget* parent);

}  // namespace jov
