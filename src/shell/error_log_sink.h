// An alert sink that writes every alert to a log file instead of showing it: the sink of command
// scripts and automation clients that asked for an error log. The file is opened at the first
// report and headed by "Error log created at" with the local date and time.
//
// Lines end in CR LF: the log is meant for people, who open it on several desktop platforms, and
// the text database files it sits beside are read with either line end. Texts are written as
// the engine holds them, Windows-1252 bytes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "shell/alert.h"

namespace jov {

class ErrorLogSink : public AlertSink {
 public:
  static constexpr size_t kMaxFileName = 255;
  static constexpr size_t kBufferSize = 10240;
  static constexpr std::string_view kLineEnd = "\r\n";

  // A file name longer than kMaxFileName characters cannot be opened (the sink then writes
  // nothing). With `append` the log goes after an empty line at the end of an existing file;
  // without, it replaces the file.
  ErrorLogSink(std::string file_name, bool append);
  ~ErrorLogSink() override;  // flushes and closes
  ErrorLogSink(const ErrorLogSink&) = delete;
  ErrorLogSink& operator=(const ErrorLogSink&) = delete;

  // Writes the composed alert text and flushes; returns alert.result unchanged. When the file
  // cannot be opened (tried once, at the first report) every report does nothing.
  int Report(AlertRecord& alert) override;

  const std::string& file_name() const { return file_name_; }
  bool append() const { return append_; }

 private:
  bool EnsureOpen();
  void WriteHeader();
  void WriteLine(std::string_view text);

  std::string file_name_;
  bool append_;
  bool open_tried_ = false;
  std::unique_ptr<char[]> buffer_;
  std::FILE* file_ = nullptr;
};

}  // namespace jov
