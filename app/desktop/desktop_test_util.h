// For the desktop tests: a frame with its preferences in a test folder, answers to its questions
// from a script, the demo company, and screenshots of windows.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <deque>
#include <memory>

#include "files/scripted_prompt_test_util.h"
#include "frame.h"
#include "platform/temp_dir_test_util.h"
#include "shell/process.h"

namespace jov {

// Answers alerts from a queue (the first button when it is empty) and keeps what was asked.
class ScriptedSink : public AlertSink {
 public:
  int Report(AlertRecord& alert) override {
    alert.result = answers.empty() ? 0 : answers.front();
    if (!answers.empty()) answers.pop_front();
    alerts.push_back(alert);
    return alert.result;
  }
  std::vector<MessageId> Messages() const {
    std::vector<MessageId> ids;
    for (const AlertRecord& alert : alerts) ids.push_back(alert.message);
    return ids;
  }

  std::deque<int> answers;
  std::vector<AlertRecord> alerts;
};

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
    frame_ = std::make_unique<Frame>(dir_.File("LR.conf"));
    frame_->SetPasswordPrompt(&prompt_);
    frame_->resize(900, 620);
    frame_->show();
    PushSink(&sink_);
  }
  void TearDown() override {
    PopSink();
    frame_.reset();
    ResetProcess();
  }

  std::string Path(const char* name) const { return dir_.File(name); }
  static QString Demo() { return QStringLiteral(JOV_EXAMPLES "/demo_company.jox"); }
  // Lets queued work (refreshes, closing after a close box) run.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  // Keeps a picture of the widget under the build's screenshots folder.
  static void Screenshot(QWidget* widget, const char* name) {
    Settle();
    QDir().mkpath(QStringLiteral(JOV_SCREENSHOTS));
    widget->grab().save(QStringLiteral(JOV_SCREENSHOTS "/") + QString::fromLatin1(name));
  }

  TempDir dir_;
  ScriptedSink sink_;
  ScriptedPrompt prompt_;
  std::unique_ptr<Frame> frame_;
};

}  // namespace jov
