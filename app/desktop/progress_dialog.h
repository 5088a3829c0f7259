// The progress display of long reads, imports and saves: title, section, a bar and the time to
// go, with "Stop" and "Cancel". The work runs on the one thread of the program: every step of
// the operation (at most one each 50 ms) redraws the dialog, and the reports between steps let
// the event loop run every kTurnMs, so the window stays painted and the buttons answer. The
// dialog appears once an operation has run kShowAfterMs (shorter ones show nothing); it is
// application-modal, and before it shows the loop runs without the user's input, so that no
// other window can start work on a database that is being read or written.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include "shell/progress.h"

class QLabel;

namespace jov {

class ProgressBar : public QWidget {
 public:
  explicit ProgressBar(QWidget* parent);
  void SetEnd(int end);  // pixels from the left edge, 0..ProgressState::kBarWidth
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int end_ = 0;
};

class ProgressDialog : public QDialog, public ProgressDisplay {
  Q_OBJECT
 public:
  explicit ProgressDialog(QWidget* parent);

  void Begin(const ProgressState& state) override;
  void Update(const ProgressState& state, const ProgressStep& step) override;
  void End(const ProgressState& state) override;
  void Poll() override;

  static constexpr int kShowAfterMs = 40;
  static constexpr int kTurnMs = 20;

  // True when the user pressed "Cancel" during the last operation (not only "Stop").
  bool cancelled() const { return cancelled_; }

 protected:
  void reject() override;  // Escape and the close box stop the operation

 private:
  void Show(const ProgressState& state);
  void Turn();
  void Stop(bool cancel);

  QLabel* title_;
  QLabel* section_label_;
  QLabel* section_;
  ProgressBar* bar_;
  QLabel* time_label_;
  QLabel* time_;
  QElapsedTimer since_begin_;
  QElapsedTimer since_turn_;
  bool running_ = false;
  bool cancelled_ = false;
};

}  // namespace jov
