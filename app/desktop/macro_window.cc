#include "macro_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "automation/script_host.h"
#include "qt_text.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

// Steps are kept with CR between lines; the editor shows them with LF.
QString StepsShown(const std::string& steps) {
  return FromEngine(steps).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

std::string StepsStored(const QString& text) {
  QString steps = text;
  steps.replace(QStringLiteral("\r\n"), QStringLiteral("\r"))
      .replace(QLatin1Char('\n'), QLatin1Char('\r'));
  return ToEngine(steps);
}

// Watches what a run reports: each alert is written into the output pane and handed on to the
// sink below, so that command errors are still answered in their dialog.
class OutputSink : public AlertSink {
 public:
  explicit OutputSink(QPlainTextEdit* output) : output_(output) {}
  int Report(AlertRecord& alert) override {
    output_->appendPlainText(Text(alert));
    return ReportAlertBelow(this, alert);
  }

 private:
  QPlainTextEdit* output_;
};

// The front end of a run from the window: message texts go into the output pane.
class OutputHost : public ScriptHost {
 public:
  explicit OutputHost(QPlainTextEdit* output) : output_(output) {}
  void ShowMessage(const std::string& title, const std::string& text, int) override {
    output_->appendPlainText(FromEngine(title.empty() ? text : title + ": " + text));
  }
  void Beep() override { QApplication::beep(); }
  std::optional<std::string> ChooseLogFile(const std::string& title,
                                           const std::string& proposed) override {
    const QString chosen =
        QFileDialog::getSaveFileName(output_, FromEngine(title), FromPath(proposed));
    if (chosen.isEmpty()) return std::nullopt;
    return ToPath(chosen);
  }

 private:
  QPlainTextEdit* output_;
};

}  // namespace

MacroWindow::MacroWindow(Database& database, const std::string& name, QWidget* parent)
    : DatabaseWindow(database, Kind::kMacro, parent),
      name_(new QLineEdit(this)),
      steps_(new QPlainTextEdit(this)),
      show_in_menu_(new QCheckBox(Text(msg::kMacroShowInMenu), this)),
      execute_when_opening_(new QCheckBox(Text(msg::kMacroExecuteWhenOpening), this)),
      password_required_(new QCheckBox(Text(msg::kMacroPasswordRequired), this)),
      output_(new QPlainTextEdit(this)) {
  MacroList& macros = MacroList::Of(database);
  if (const Macro* found = macros.Find(name)) {
    edit_ = *found;
    edit_.running = false;
    stored_name_ = found->name;
  } else {
    edit_.name = name.empty() ? macros.UniqueName(MessageText(msg::kMacroName)) : name;
  }
  name_->setObjectName(QStringLiteral("name"));
  steps_->setObjectName(QStringLiteral("steps"));
  output_->setObjectName(QStringLiteral("output"));
  steps_->setLineWrapMode(QPlainTextEdit::NoWrap);
  steps_->setTabChangesFocus(true);
  output_->setReadOnly(true);

  auto* form = new QFormLayout;
  form->addRow(Text(msg::kMacroName), name_);
  auto* steps_label = new QLabel(Text(msg::kMacroSteps), this);
  steps_label->setBuddy(steps_);
  auto* output_label = new QLabel(Text(msg::kMacroOutput), this);
  output_label->setBuddy(output_);
  auto* top = new QWidget(this);
  auto* top_layout = new QVBoxLayout(top);
  top_layout->setContentsMargins(0, 0, 0, 0);
  top_layout->addWidget(steps_label);
  top_layout->addWidget(steps_, 1);
  auto* bottom = new QWidget(this);
  auto* bottom_layout = new QVBoxLayout(bottom);
  bottom_layout->setContentsMargins(0, 0, 0, 0);
  bottom_layout->addWidget(output_label);
  bottom_layout->addWidget(output_, 1);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(top);
  split->addWidget(bottom);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);

  auto* buttons = new QHBoxLayout;
  auto* execute = new QPushButton(Text(msg::kMacroExecute), this);
  execute->setShortcut(QKeySequence(Qt::Key_F5));
  connect(execute, &QPushButton::clicked, this, &MacroWindow::Execute);
  auto* apply = new QPushButton(Text(msg::kApply), this);
  apply->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
  connect(apply, &QPushButton::clicked, this, &MacroWindow::Apply);
  buttons->addWidget(execute);
  buttons->addStretch();
  buttons->addWidget(apply);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(form);
  layout->addWidget(split, 1);
  for (QCheckBox* box : {show_in_menu_, execute_when_opening_, password_required_}) {
    layout->addWidget(box);
    connect(box, &QCheckBox::toggled, this, &MacroWindow::Edited);
  }
  layout->addLayout(buttons);
  connect(name_, &QLineEdit::textEdited, this, &MacroWindow::Edited);
  connect(steps_, &QPlainTextEdit::textChanged, this, &MacroWindow::Edited);
  ShowMacro();
  edited_ = stored_name_.empty() && !name.empty();
  setWindowTitle(Title());
}

QString MacroWindow::Title() const {
  return TitleOf(Text(msg::kMacroName) + QStringLiteral(" ") + FromEngine(edit_.name));
}

void MacroWindow::Refresh() {
  // The macro was deleted elsewhere: the working copy becomes a new macro when applied.
  if (!stored_name_.empty() && MacroList::Of(database()).Find(stored_name_) == nullptr) {
    stored_name_.clear();
    edited_ = true;
  }
  setWindowTitle(Title());
}

bool MacroWindow::MayClose() {
  if (!edited_) return true;
  return AskToApply([this] { return Apply(); });
}

void MacroWindow::ShowMacro() {
  showing_ = true;
  name_->setText(FromEngine(edit_.name));
  steps_->setPlainText(StepsShown(edit_.steps));
  show_in_menu_->setChecked(edit_.show_in_menu);
  execute_when_opening_->setChecked(edit_.execute_when_opening);
  password_required_->setChecked(edit_.password_required);
  showing_ = false;
}

void MacroWindow::Edited() {
  if (showing_) return;
  edit_.name = ToEngine(name_->text());
  edit_.steps = StepsStored(steps_->toPlainText());
  edit_.show_in_menu = show_in_menu_->isChecked();
  edit_.execute_when_opening = execute_when_opening_->isChecked();
  edit_.password_required = password_required_->isChecked();
  edited_ = true;
  setWindowTitle(Title());
}

bool MacroWindow::Apply() {
  MacroList& macros = MacroList::Of(database());
  std::string name = edit_.name;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) return false;
  const Macro* other = macros.Find(name);
  const bool same = !stored_name_.empty() && other != nullptr && other->name == stored_name_;
  if (!same) {
    // The questions of changing and adding a card serve here too.
    AlertRecord question(other != nullptr ? msg::kConfirmChangeCard : msg::kConfirmAddCard);
    question.Arg(other != nullptr ? other->name : name)
        .ConfirmButton(other != nullptr ? msg::kButtonChange : msg::kButtonAdd, msg::kButtonYes)
        .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
    if (ReportAlert(question) != 0) return false;
  }
  Macro stored = edit_;
  stored.name = other != nullptr ? other->name : name;
  stored_name_ = macros.Store(std::move(stored)).name;
  edit_.name = stored_name_;
  showing_ = true;
  name_->setText(FromEngine(edit_.name));
  showing_ = false;
  edited_ = false;
  setWindowTitle(Title());
  return true;
}

int MacroWindow::Execute() {
  output_->clear();
  OutputSink sink(output_);
  OutputHost host(output_);
  int errors = 0;
  {
    ScopedSink watching(&sink);
    errors = MacroList::Of(database()).ExecuteSteps(edit_.name, edit_.steps, host);
    FlushPendingError();
  }
  output_->appendPlainText(errors > 0
                               ? Text(msg::kRunEndedWithErrors, edit_.name, std::to_string(errors))
                               : Text(msg::kRunEndedWithoutErrors, edit_.name));
  return errors;
}

QString MacroWindow::output() const { return output_->toPlainText(); }

}  // namespace jov
