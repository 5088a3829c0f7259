// The Transform dialog: every setting of a transform (changed copies or changes in place, the
// source and target dates, replacement components, the text rules of titles, notes and line
// texts, value formulas) entered for the lines a window holds, then run through the engine.
#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <vector>

#include "analysis/transform.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;

namespace jov {

class TransformDialog : public QDialog {
  Q_OBJECT
 public:
  TransformDialog(Database& database, const WindowLines& window, QWidget* parent);

  // The settings entered; nothing, after saying why and pointing at the field, when a date or
  // a component code cannot be read.
  std::optional<TransformSettings> Settings();
  // Whether the transform ran (after OK).
  bool ran() const { return ran_; }

  // Runs the transform and closes; stays open while a field cannot be read.
  void accept() override;

 private:
  struct RuleFields {
    QComboBox* pattern = nullptr;
    QLineEdit* replacement = nullptr;
    QCheckBox* clear = nullptr;
  };
  // A field and the option token its text is given as.
  struct Field {
    QLineEdit* edit;
    std::string key;
  };

  QWidget* BuildDates();
  QWidget* BuildReplacements();
  QWidget* BuildTexts();
  QWidget* BuildFormulas();
  QLineEdit* AddField(const std::string& key, const QString& object_name);
  RuleFields AddRule(QGridLayout* grid, int row, const QString& label, const char* name);
  static TextRule RuleOf(const RuleFields& fields);
  void ReportRejected(const Field& field);

  Database& database_;
  WindowLines window_;
  QCheckBox* keep_source_;
  std::vector<Field> fields_;        // dates, replacements and formulas
  std::array<RuleFields, 3> rules_;  // title, notes, line text
  bool ran_ = false;
};

// Asks for the settings of a transform of `window`'s lines (its level as the window marks it)
// and runs it; true when it ran.
bool RunTransformDialog(Database& database, const WindowLines& window, QWidget* parent);

}  // namespace jov
