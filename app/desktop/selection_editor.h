// The editor of a selection's criteria, shared by every settings dialog and the subset window:
// the From and To points, a component expression per dimension in use, the card-title and
// line-text patterns, a condition per value field and the subset reference. It edits texts
// only; Store hands the changed ones to the selection, whose compilers correct them, and Load
// shows the corrected texts, marking an expression that did not compile.
#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "model/database.h"
#include "select/selection.h"

class QLineEdit;

namespace jov {

class SelectionEditor : public QWidget {
  Q_OBJECT
 public:
  // The fields that `database` has: its dimensions in use and its value fields.
  explicit SelectionEditor(const Database& database, QWidget* parent = nullptr);

  // Shows the criteria of `selection` (of the same database).
  void Load(const Selection& selection);
  // Sets every criterion whose text was edited since Load, then shows the corrected texts.
  // True when any criterion was set.
  bool Store(Selection& selection);

  QLineEdit* from_edit() const { return from_; }
  QLineEdit* to_edit() const { return to_; }
  // nullptr for a dimension that is not in use.
  QLineEdit* dimension_edit(int dimension) const { return dimensions_[dimension]; }
  QLineEdit* card_title_edit() const { return card_title_; }
  QLineEdit* line_text_edit() const { return line_text_; }
  // nullptr for a field the database does not have.
  QLineEdit* value_edit(int field) const {
    return field < static_cast<int>(values_.size()) ? values_[field] : nullptr;
  }
  QLineEdit* subset_edit() const { return subset_; }

 private:
  // Every edit with the setter that stores it.
  struct Field {
    QLineEdit* edit;
    void (*store)(Selection& selection, int index, std::string_view text);
    int index;
  };
  QLineEdit* AddField(void (*store)(Selection&, int, std::string_view), int index = 0);
  void Show(QLineEdit* edit, const std::string& text);

  QLineEdit* from_;
  QLineEdit* to_;
  std::array<QLineEdit*, kDimensionCount> dimensions_{};
  QLineEdit* card_title_;
  QLineEdit* line_text_;
  std::vector<QLineEdit*> values_;
  QLineEdit* subset_;
  std::vector<Field> fields_;
};

}  // namespace jov
