// The sink that shows and writes nothing: every alert is answered with its preset result (the
// first button) and only its message id is kept, for the caller that wants the last error as a
// code (scripts after "errorFile -nofile", automation clients).
#pragma once

#include <vector>

#include "shell/alert.h"

namespace jov {

class SilentSink : public AlertSink {
 public:
  int Report(AlertRecord& alert) override {
    ids_.push_back(alert.message);
    return alert.result;
  }
  // The message ids of the alerts, in the order they came.
  const std::vector<MessageId>& ids() const { return ids_; }

 private:
  std::vector<MessageId> ids_;
};

}  // namespace jov
