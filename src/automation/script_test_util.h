// For tests of command scripts: a database whose file lies in a fresh folder, a host that
// records what scripts show, and a recording sink that answers alerts.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/command_runner.h"
#include "automation/command_state.h"
#include "automation/script_host.h"
#include "model/database.h"
#include "platform/temp_dir_test_util.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {

class RecordingHost : public ScriptHost {
 public:
  void ShowMessage(const std::string& title, const std::string& text, int seconds) override {
    messages.push_back(title + "|" + text + "|" + std::to_string(seconds));
  }
  void Beep() override { ++beeps; }
  std::optional<std::string> ChooseLogFile(const std::string&,
                                           const std::string& proposed) override {
    proposed_log = proposed;
    return log_choice;
  }
  void ShowTable(Database&, const std::string& name, std::unique_ptr<Table>, unsigned) override {
    shown.push_back(name);
  }

  std::vector<std::string> messages;
  std::vector<std::string> shown;
  int beeps = 0;
  std::string proposed_log;
  std::optional<std::string> log_choice;
};

class ScriptTest : public ::testing::Test {
 protected:
  ScriptTest() {
    ResetProcess();
    PushSink(&sink_);
    db_.SetFileName(folder_.File("Books.jov"));
    db_.ClearModified();
  }
  ~ScriptTest() override {
    CommandState::Of(db_).DestroyLogSink();
    ResetProcess();
  }

  // Runs the script; returns the number of command errors.
  int Run(std::string_view script, ScriptOrigin origin = ScriptOrigin::kOnPurpose) {
    TextScriptLines lines(script);
    CommandRunner runner(db_, lines, host_, origin);
    runner.Run();
    CommandState::Of(db_).DestroyLogSink();
    return runner.error_count();
  }

  // The messages of the alerts raised, in order.
  std::vector<MessageId> Raised() const {
    std::vector<MessageId> ids;
    for (const AlertRecord& alert : sink_.alerts()) ids.push_back(alert.message);
    return ids;
  }

  TempDir folder_;
  Database db_;
  RecordingHost host_;
  RecordingSink sink_;
};

}  // namespace jov
