// The pending error: low-level code that cannot show a report posts one here; it is reported once
// when control returns (FlushPendingError). Posting sets StopRequested, the flag that every long
// loop tests to end early.
#pragma once

#include <string_view>

#include "shell/messages.h"

namespace jov {

// The flag every long loop tests to end early. RequestStop may be called from any thread and
// from a signal handler (Ctrl-C); everything else here belongs to the engine's thread.
bool StopRequested();
void RequestStop();

// Overwrites the pending record with `id` (kind 1) and sets StopRequested.
void PostPendingError(MessageId id, int kind = 1);
// The same with one argument, the "@0" of the message (a file name, say).
void PostPendingError(MessageId id, std::string_view argument, int kind = 1);
void PostOutOfMemory();      // msg::kOutOfMemory, kind 0
void PostMissingResource();  // msg::kResourceError, kind 1
// Stops the running operation without a report.
void PostSilentError();

// Reports the pending error through the top sink when one is pending and no report is running;
// always clears StopRequested.
void FlushPendingError();

}  // namespace jov
