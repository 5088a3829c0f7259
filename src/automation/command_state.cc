#include "automation/command_state.h"

namespace jov {

CommandState::~CommandState() { DestroyLogSink(); }

void CommandState::ReplaceLogSink(std::unique_ptr<AlertSink> sink) {
  DestroyLogSink();
  log_sink_ = std::move(sink);
  if (log_sink_) PushSink(log_sink_.get());
}

void CommandState::DestroyLogSink() {
  if (!log_sink_) return;
  RemoveSink(log_sink_.get());
  log_sink_.reset();
}

}  // namespace jov
