#include "shell/error_log_sink.h"

#include <utility>

#include "shell/date_time.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {

ErrorLogSink::ErrorLogSink(std::string file_name, bool append)
    : file_name_(std::move(file_name)), append_(append) {}

ErrorLogSink::~ErrorLogSink() {
  if (file_ != nullptr) std::fclose(file_);  // flushes the buffer
}

int ErrorLogSink::Report(AlertRecord& alert) {
  if (!EnsureOpen()) return alert.result;
  WriteLine(alert.ComposeText());
  std::fflush(file_);
  return alert.result;
}

bool ErrorLogSink::EnsureOpen() {
  if (open_tried_) return file_ != nullptr;
  open_tried_ = true;
  if (file_name_.empty() || file_name_.size() > kMaxFileName) return false;
  file_ = std::fopen(file_name_.c_str(), append_ ? "ab" : "wb");
  if (file_ == nullptr) return false;
  buffer_ = std::make_unique<char[]>(kBufferSize);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
  WriteHeader();
  return true;
}

void ErrorLogSink::WriteHeader() {
  if (append_) WriteLine({});
  WriteLine(MessageText(msg::kErrorLogCreatedAt) + " " + FormatReadable(DateTime::Now()));
}

void ErrorLogSink::WriteLine(std::string_view text) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), file_);
  std::fwrite(kLineEnd.data(), 1, kLineEnd.size(), file_);
}

}  // namespace jov
