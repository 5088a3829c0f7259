#include "dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt_text.h"

namespace jov {
namespace {

// Buttons that leave things as they are answer Escape.
bool IsNegative(MessageId caption) {
  return caption == msg::kButtonCancel || caption == msg::kButtonNo ||
         caption == msg::kButtonStop || caption == msg::kButtonDontSave ||
         caption == msg::kButtonDontChange || caption == msg::kButtonDontAdd ||
         caption == msg::kButtonDontRemove || caption == msg::kButtonDontDelete;
}

QMessageBox::Icon IconFor(const AlertRecord& alert) {
  return alert.button_count > 1 ? QMessageBox::Question : QMessageBox::Warning;
}

}  // namespace

std::unique_ptr<QMessageBox> AlertBox(const AlertRecord& alert, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(QStringLiteral("JOV"));
  box->setIcon(IconFor(alert));
  box->setText(Text(alert));
  const int count = alert.button_count > 0 ? alert.button_count : 1;
  for (int i = 0; i < count; ++i) {
    const MessageId caption = alert.button_count > 0 ? alert.buttons[i] : msg::kButtonOk;
    QPushButton* b = box->addButton(Text(caption), QMessageBox::ActionRole);
    b->setProperty("alert_button", i);
    if (i == 0) box->setDefaultButton(b);
    if (IsNegative(caption) || count == 1) box->setEscapeButton(b);
  }
  return box;
}

int AskSaveChanges(const QString& name) {
  AlertRecord question(msg::kSaveChanges);
  question.Arg(ToEngine(name))
      .Button(msg::kButtonSave)
      .Button(msg::kButtonDontSave)
      .Button(msg::kButtonCancel);
  return ReportAlert(question);
}

int DialogSink::Report(AlertRecord& alert) {
  std::unique_ptr<QMessageBox> box = AlertBox(alert, parent_);
  box->exec();
  const QAbstractButton* clicked = box->clickedButton();
  alert.result = clicked != nullptr ? clicked->property("alert_button").toInt() : 0;
  return alert.result;
}

PasswordDialog::PasswordDialog(const QString& title, const QString& message, QWidget* parent)
    : QDialog(parent), entry_(new QLineEdit(this)) {
  setWindowTitle(title);
  entry_->setEchoMode(QLineEdit::Password);
  entry_->setMinimumWidth(220);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Text(msg::kButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Text(msg::kButtonCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* form = new QFormLayout;
  form->addRow(Text(msg::kPasswordLabel), entry_);
  auto* layout = new QVBoxLayout(this);
  if (!message.isEmpty()) layout->addWidget(new QLabel(message, this));
  layout->addLayout(form);
  layout->addWidget(buttons);
}

QString PasswordDialog::entry() const { return entry_->text(); }

std::optional<std::string> DialogPasswordPrompt::Ask(const std::string& title,
                                                     const std::string& prompt) {
  // The engine's prompt text is the label "Password:" for a file; then there is no other line.
  const QString message =
      prompt == MessageText(msg::kPasswordLabel) ? QString() : FromEngine(prompt);
  PasswordDialog dialog(FromEngine(title), message, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ToEngine(dialog.entry());
}

std::optional<std::string> DialogSignaturePrompt::AskSignature() {
  bool ok = false;
  const QString signature =
      QInputDialog::getText(parent_, Text(msg::kSignature), Text(msg::kSignature) + ':',
                            QLineEdit::Normal, QString(), &ok)
          .trimmed()
          .left(3);
  if (!ok || signature.isEmpty()) return std::nullopt;
  return ToEngine(signature);
}

}  // namespace jov
