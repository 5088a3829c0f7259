// The engine's questions as dialogs: the alert sink that shows every alert as a message box with
// its buttons in order (the first is the default, a negative one answers Escape), and the
// password and signature prompts.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <memory>

#include "files/password.h"
#include "model/user_stamp.h"
#include "shell/alert.h"

class QLineEdit;

namespace jov {

// The message box of an alert, not yet shown; its buttons carry their index as the property
// "alert_button".
std::unique_ptr<QMessageBox> AlertBox(const AlertRecord& alert, QWidget* parent);

// 3200 "Do you want to save changes in "@0"?" through the alert sinks: 0 Save, 1 Don't Save,
// 2 Cancel.
int AskSaveChanges(const QString& name);

class DialogSink : public AlertSink {
 public:
  explicit DialogSink(QWidget* parent) : parent_(parent) {}
  int Report(AlertRecord& alert) override;

 private:
  QWidget* parent_;
};

// A modal dialog with the message line, "Password:" and an entry field, "OK" and "Cancel".
class PasswordDialog : public QDialog {
  Q_OBJECT
 public:
  PasswordDialog(const QString& title, const QString& message, QWidget* parent);
  QString entry() const;

 private:
  QLineEdit* entry_;
};

class DialogPasswordPrompt : public PasswordPrompt {
 public:
  explicit DialogPasswordPrompt(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> Ask(const std::string& title, const std::string& prompt) override;

 private:
  QWidget* parent_;
};

// Asks for the user's signature (up to three characters) when an operation needs the user's stamp
// and the preferences hold none.
class DialogSignaturePrompt : public SignaturePrompt {
 public:
  explicit DialogSignaturePrompt(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> AskSignature() override;

 private:
  QWidget* parent_;
};

}  // namespace jov
