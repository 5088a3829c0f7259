// An alert sink that keeps every alert it is given and answers with a fixed button index: the
// sink of tests, and of callers that collect errors to show them together later.
#pragma once

#include <string>
#include <vector>

#include "shell/alert.h"

namespace jov {

class RecordingSink : public AlertSink {
 public:
  explicit RecordingSink(int answer = 0) : answer_(answer) {}

  int Report(AlertRecord& alert) override {
    alert.result = answer_;
    alerts_.push_back(alert);
    return answer_;
  }

  const std::vector<AlertRecord>& alerts() const { return alerts_; }
  // The composed texts of the alerts, in the order they came.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const AlertRecord& alert : alerts_) texts.push_back(alert.ComposeText());
    return texts;
  }
  void Clear() { alerts_.clear(); }
  void set_answer(int answer) { answer_ = answer; }

 private:
  int answer_;
  std::vector<AlertRecord> alerts_;
};

}  // namespace jov
