#include "frame_script_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <vector>

#include "analysis_window.h"
#include "card_window.h"
#include "files/analysis_template.h"
#include "frame.h"
#include "model/case_tables.h"
#include "qt_text.h"
#include "select/subset.h"
#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {

namespace {

// The window of the template `name` of `database` that is open, or nullptr.
AnalysisWindow* OpenTemplateWindow(const Frame& frame, const Database& database,
                                   const AnalysisTemplate& stored) {
  for (DatabaseWindow* window : frame.Windows(&database)) {
    auto* analysis = dynamic_cast<AnalysisWindow*>(window);
    if (analysis != nullptr && analysis->frame().name == stored.frame.name &&
        analysis->frame().kind == stored.frame.kind) {
      return analysis;
    }
  }
  return nullptr;
}

// Asks 4407 about the open window of a template: true to revert it to the stored settings.
bool AskRevert() {
  AlertRecord question(msg::kAlreadyOpenRevert);
  question.Button(msg::kButtonNo).ConfirmButton(msg::kButtonRevert, msg::kButtonYes);
  return ReportAlert(question) == 1;
}

}  // namespace

void FrameScriptHost::ShowTable(Database& database, const std::string& name,
                                std::unique_ptr<Table> /*table*/, unsigned flags) {
  const AnalysisTemplate* stored = AnalysisTemplates::Of(database).Find(name);
  if (stored == nullptr) return;
  // An open window comes to the front (ShowTemplate) and is used; it is replaced by a new one
  // on "-reopen", and, without "-current", when the user chooses to revert it.
  AnalysisWindow* window = OpenTemplateWindow(frame_, database, *stored);
  if (window != nullptr) {
    frame_.ShowTemplate(database, *stored);
    const bool reopen = (flags & kOpenReopen) != 0 || ((flags & kOpenCurrent) == 0 && AskRevert());
    // A window that refuses to close is used as it is.
    if (reopen && window->parentWidget()->close()) window = nullptr;
  }
  if (window == nullptr) {
    stored = AnalysisTemplates::Of(database).Find(name);  // closing may have run other work
    if (stored != nullptr) window = frame_.ShowTemplate(database, *stored);
  }
  if (window != nullptr) window->Calculate();
}

void FrameScriptHost::ShowSubset(Subset& subset) { frame_.ShowSubset(subset.database(), &subset); }

void FrameScriptHost::ShowMessage(const std::string& title, const std::string& text, int seconds) {
  auto* box = new QMessageBox(QMessageBox::Information, FromEngine(title), FromEngine(text),
                              QMessageBox::Ok, &frame_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
  if (seconds > 0) QTimer::singleShot(seconds * 1000, box, &QWidget::close);
}

void FrameScriptHost::Beep() { QApplication::beep(); }

std::optional<std::string> FrameScriptHost::ChooseLogFile(const std::string& title,
                                                          const std::string& proposed) {
  const QString chosen =
      QFileDialog::getSaveFileName(&frame_, FromEngine(title), FromPath(proposed));
  if (chosen.isEmpty()) return std::nullopt;
  return ToPath(chosen);
}

bool FrameScriptHost::CloseWindow(Database& database, const std::string& title) {
  for (DatabaseWindow* window : frame_.Windows(&database)) {
    const auto* analysis = dynamic_cast<AnalysisWindow*>(window);
    const bool named = (analysis != nullptr && EqualsIgnoringCase(analysis->frame().name, title)) ||
                       EqualsIgnoringCase(ToEngine(window->Title()), title);
    if (!named) continue;
    // As the user closes it: a window with edits asks first.
    return window->parentWidget()->close();
  }
  return false;
}

bool FrameScriptHost::CloseCardWindows(Database& database, Date from, Date to) {
  std::vector<CardRef> shown;
  for (DatabaseWindow* window : frame_.Windows(&database)) {
    auto* card_window = dynamic_cast<CardWindow*>(window);
    if (card_window == nullptr) continue;
    const std::optional<CardRef> card = card_window->editor().card();
    if (!card) continue;
    const Date id = database.cards().CardId(*card);
    if (from <= id && id <= to) shown.push_back(*card);
  }
  return frame_.CloseCardWindows(database, shown);
}

PasswordPrompt* FrameScriptHost::password_prompt() { return frame_.password_prompt(); }

}  // namespace jov
