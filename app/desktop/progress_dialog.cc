#include "progress_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "qt_text.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

constexpr int kBarHeight = 12;

}  // namespace

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

QSize ProgressBar::sizeHint() const { return {ProgressState::kBarWidth + 2, kBarHeight + 2}; }

void ProgressBar::SetEnd(int end) {
  if (end == end_) return;
  end_ = end;
  update();
}

void ProgressBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colors = palette();
  painter.setPen(colors.color(QPalette::WindowText));
  painter.setBrush(colors.color(QPalette::Base));
  painter.drawRect(0, 0, ProgressState::kBarWidth + 1, kBarHeight + 1);
  painter.fillRect(1, 1, end_, kBarHeight, colors.color(QPalette::Highlight));
}

ProgressDialog::ProgressDialog(QWidget* parent)
    : QDialog(parent),
      title_(new QLabel(this)),
      section_label_(new QLabel(Text(msg::kProgressSection), this)),
      section_(new QLabel(this)),
      bar_(new ProgressBar(this)),
      time_label_(new QLabel(Text(msg::kTimeToGo), this)),
      time_(new QLabel(this)) {
  setWindowModality(Qt::ApplicationModal);
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* stop = buttons->addButton(Text(msg::kButtonStop), QDialogButtonBox::ActionRole);
  QPushButton* cancel = buttons->addButton(Text(msg::kButtonCancel), QDialogButtonBox::ActionRole);
  stop->setObjectName("stop");
  cancel->setObjectName("cancel");
  connect(stop, &QPushButton::clicked, this, [this] { Stop(false); });
  connect(cancel, &QPushButton::clicked, this, [this] { Stop(true); });
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(10);
  grid->addWidget(title_, 0, 0, 1, 2);
  grid->addWidget(section_label_, 1, 0);
  grid->addWidget(section_, 1, 1);
  grid->addWidget(bar_, 2, 0, 1, 2);
  grid->addWidget(time_label_, 3, 0);
  grid->addWidget(time_, 3, 1);
  grid->addWidget(buttons, 4, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  // Laid out now, so that showing it in the middle of a read costs little.
  ensurePolished();
  adjustSize();
}

void ProgressDialog::Begin(const ProgressState& state) {
  running_ = true;
  cancelled_ = false;
  since_begin_.start();
  Show(state);
  // The loop turns as the operation starts, at every step, and every kTurnMs between.
  Turn();
}

void ProgressDialog::Update(const ProgressState& state, const ProgressStep& step) {
  Show(state);
  if (step.stepped && !isVisible()) show();
  Turn();
}

void ProgressDialog::Poll() {
  if (!running_) return;
  if (!isVisible() && since_begin_.elapsed() >= kShowAfterMs) show();
  if (since_turn_.elapsed() >= kTurnMs) Turn();
}

// Until the dialog shows, the event loop runs without the user's input (which waits for the
// dialog), so that nothing can start other work on the database being read or written.
void ProgressDialog::Turn() {
  QApplication::processEvents(isVisible() ? QEventLoop::AllEvents
                                          : QEventLoop::ExcludeUserInputEvents);
  since_turn_.start();
}

void ProgressDialog::End(const ProgressState&) {
  running_ = false;
  hide();
}

void ProgressDialog::Show(const ProgressState& state) {
  const QString title = FromEngine(state.Title());
  setWindowTitle(title);
  title_->setText(title);
  section_->setText(FromEngine(state.section()));
  bar_->SetEnd(state.bar_end());
  time_label_->setVisible(state.ShowsTimeToGo());
  time_->setVisible(state.ShowsTimeToGo());
  time_->setText(FromEngine(state.time_text()));
}

void ProgressDialog::Stop(bool cancel) {
  if (!running_) return;
  cancelled_ = cancelled_ || cancel;
  PostSilentError();
}

void ProgressDialog::reject() { Stop(false); }

}  // namespace jov
