#include "shell/pending_error.h"

#include "shell/message_ids.h"
#include "shell/process.h"

namespace jov {

bool StopRequested() { return StopFlag().load(); }

void RequestStop() { StopFlag().store(true); }

void PostPendingError(MessageId id, int kind) {
  PendingError& pending = Process().pending_error;
  pending.record = AlertRecord(id, kind);
  pending.pending = true;
  RequestStop();
}

void PostPendingError(MessageId id, std::string_view argument, int kind) {
  PostPendingError(id, kind);
  Process().pending_error.record.Arg(argument);
}

void PostOutOfMemory() { PostPendingError(msg::kOutOfMemory, 0); }

void PostMissingResource() { PostPendingError(msg::kResourceError, 1); }

void PostSilentError() {
  PendingError& pending = Process().pending_error;
  pending.record = AlertRecord(kNoMessage);
  pending.pending = false;
  RequestStop();
}

void FlushPendingError() {
  PendingError& pending = Process().pending_error;
  if (StopFlag().load() && pending.pending && pending.record.message > 0 && !pending.reporting) {
    AlertRecord copy = pending.record;
    pending.record = AlertRecord();
    pending.pending = false;
    pending.reporting = true;
    ReportAlert(copy);
    pending.reporting = false;
  }
  StopFlag().store(false);
}

}  // namespace jov
