#include "shell/alert.h"

#include <algorithm>

#include "platform/message_box.h"
#include "shell/process.h"
#include "shell/text_string.h"

namespace jov {

AlertRecord::AlertRecord(MessageId message_id, int alert_kind)
    : message(message_id), kind(alert_kind) {}

AlertRecord& AlertRecord::Arg(std::string_view text) {
  if (argument_count >= kMaxArguments) return *this;
  std::string& slot = arguments[argument_count++];
  if (text.size() >= kArgumentSlot) {
    slot.assign(text.substr(0, kArgumentKept)).append("..");
  } else {
    slot.assign(text);
  }
  return *this;
}

AlertRecord& AlertRecord::Arg(long long number) { return Arg(std::to_string(number)); }

AlertRecord& AlertRecord::ArgMessage(MessageId id) { return Arg(MessageText(id)); }

AlertRecord& AlertRecord::Button(MessageId caption) {
  if (button_count < kMaxButtons) buttons[button_count++] = caption;
  return *this;
}

AlertRecord& AlertRecord::ConfirmButton(MessageId verb, MessageId yes_no) {
  return Button(Process().preferences.alert_yes_no ? yes_no : verb);
}

std::string AlertRecord::ComposeText() const {
  TextString text(MessageText(message));
  for (int i = argument_count - 1; i >= 0; --i) {
    const char placeholder[] = {'@', static_cast<char>('0' + i), '\0'};
    text.ReplaceAll(placeholder, arguments[i]);
  }
  return text.str();
}

void PushSink(AlertSink* sink) { Process().sinks.push_back(sink); }

void PopSink() {
  if (!Process().sinks.empty()) Process().sinks.pop_back();
}

void RemoveSink(AlertSink* sink) {
  std::vector<AlertSink*>& sinks = Process().sinks;
  const auto found = std::find(sinks.rbegin(), sinks.rend(), sink);
  if (found != sinks.rend()) sinks.erase(std::next(found).base());
}

namespace {

// Reports through the sinks before `end`: the last of them, or the system's box when none.
int ReportThrough(std::vector<AlertSink*>::const_iterator begin,
                  std::vector<AlertSink*>::const_iterator end, AlertRecord& alert) {
  if (begin == end) {
    ShowSystemMessageBox("Runtime Error", "Error Number: " + std::to_string(alert.message));
    return alert.result;
  }
  alert.result = (*std::prev(end))->Report(alert);
  return alert.result;
}

}  // namespace

int ReportAlert(AlertRecord& alert) {
  const std::vector<AlertSink*>& sinks = Process().sinks;
  return ReportThrough(sinks.begin(), sinks.end(), alert);
}

int ReportAlertBelow(const AlertSink* sink, AlertRecord& alert) {
  const std::vector<AlertSink*>& sinks = Process().sinks;
  const auto found = std::find(sinks.rbegin(), sinks.rend(), sink);
  return ReportThrough(sinks.begin(), found == sinks.rend() ? sinks.end() : std::next(found).base(),
                       alert);
}

}  // namespace jov
