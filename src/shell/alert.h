// Alerts: a report to the user is an AlertRecord (a message, up to three arguments, up to four
// buttons) handed to the top of the alert-sink stack, which shows it, logs it or records it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/messages.h"

namespace jov {

struct AlertRecord {
  static constexpr int kMaxArguments = 3;
  static constexpr int kMaxButtons = 4;
  // An argument of kArgumentSlot or more characters is kept as its first kArgumentKept and "..".
  static constexpr size_t kArgumentSlot = 40;
  static constexpr size_t kArgumentKept = 37;

  explicit AlertRecord(MessageId message = kNoMessage, int kind = 0);

  // Builders; arguments and buttons past the limits are ignored.
  AlertRecord& Arg(std::string_view text);
  AlertRecord& Arg(long long number);
  AlertRecord& ArgMessage(MessageId id);
  AlertRecord& Button(MessageId caption);
  // Adds the yes/no button when the "AlertYesNo" preference is on, else the verb button.
  AlertRecord& ConfirmButton(MessageId verb, MessageId yes_no);

  // The message text with "@2", "@1", "@0" replaced (last argument first), each at every place.
  std::string ComposeText() const;

  MessageId message;
  int kind;
  int argument_count = 0;
  std::array<std::string, kMaxArguments> arguments;
  int button_count = 0;
  std::array<MessageId, kMaxButtons> buttons{};
  int result = 0;  // index of the chosen button, filled in by the sink
};

class AlertSink {
 public:
  virtual ~AlertSink() = default;
  // Shows or records the alert and returns the chosen button index (also stored in result).
  virtual int Report(AlertRecord& alert) = 0;
};

// The sink stack lives in the process state. Pushing remembers the previous top; popping
// restores it. The caller keeps ownership of the sink.
void PushSink(AlertSink* sink);
void PopSink();
// Takes `sink` off the stack wherever it stands (its topmost place), so that a sink kept for a
// while (a script's error log) goes without taking a sink pushed above it along.
void RemoveSink(AlertSink* sink);

// Reports through the top sink. With no sink the platform's message box shows
// "Error Number: <id>" under the title "Runtime Error".
int ReportAlert(AlertRecord& alert);
// Reports through the sink below `sink` in the stack (below its topmost place), as ReportAlert
// would with no sink when there is none below: for a sink that watches what passes and hands it
// on. With `sink` not on the stack, the same as ReportAlert.
int ReportAlertBelow(const AlertSink* sink, AlertRecord& alert);

// Pushes a sink for the lifetime of the object.
class ScopedSink {
 public:
  explicit ScopedSink(AlertSink* sink) { PushSink(sink); }
  ~ScopedSink() { PopSink(); }
  ScopedSink(const ScopedSink&) = delete;
  ScopedSink& operator=(const ScopedSink&) = delete;
};

}  // namespace jov
