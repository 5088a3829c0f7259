// The Aggregate dialog: every setting of an aggregation (the time resolution, including Single
// Card, Cards and the database's time scales; the single card's date; the card title and
// whether period names follow it; keeping the source lines and zero lines) entered for the lines
// a window holds, then run through the engine.
#pragma once

#include <QDialog>

#include "analysis/aggregate.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace jov {

class AggregateDialog : public QDialog {
  Q_OBJECT
 public:
  AggregateDialog(Database& database, const WindowLines& window, QWidget* parent);

  AggregateSettings Settings() const;
  // Whether the aggregation ran (after OK).
  bool ran() const { return ran_; }

  // Runs the aggregation and closes.
  void accept() override;

 private:
  void ResolutionChosen();
  void ShowCardDate();

  Database& database_;
  WindowLines window_;
  QComboBox* resolution_;
  QLineEdit* card_date_;
  QLabel* card_date_read_;  // the single card's date as the text is read
  QLineEdit* card_title_;
  QCheckBox* append_period_name_;
  QCheckBox* duplicate_;
  QCheckBox* keep_zero_lines_;
  bool ran_ = false;
};

// Asks for the settings of an aggregation of `window`'s lines and runs it; true when it ran.
bool RunAggregateDialog(Database& database, const WindowLines& window, QWidget* parent);

}  // namespace jov
