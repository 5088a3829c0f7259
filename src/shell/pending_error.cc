#include "shell/pending_error.h"

#include "shell/process.h"

namespace jov {

bool StopRequested() { return Process().stop_requested; }

void RequestStop() { Process().stop_requested = true; }

void PostPendingError(MessageId id, int kind) {
  PendingError& pending = Process().pending_error;
  pending.record = AlertRecord(id, kind);
  pending.pending = true;
  RequestStop();
}

void PostOutOfMemory() { PostPendingError(kMsgOutOfMemory, 0); }

void PostMissingResource() { PostPendingError(kMsgResourceError, 1); }

void PostSilentError() {
  PendingError& pending = Process().pending_error;
  pending.record = AlertRecord(kNoMessage);
  pending.pending = false;
  RequestStop();
}

void FlushPendingError() {
  ProcessState& process = Process();
  PendingError& pending = process.pending_error;
  if (process.stop_requested && pending.pending && pending.record.message > 0 &&
      !pending.reporting) {
    AlertRecord copy = pending.record;
    pending.record = AlertRecord();
    pending.pending = false;
    pending.reporting = true;
    ReportAlert(copy);
    pending.reporting = false;
  }
  process.stop_requested = false;
}

}  // namespace jov
