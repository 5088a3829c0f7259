// What a database keeps for the command scripts that run on it: the error log that a script
// opened (pushed on the sink stack while the script runs), the remembered log file name, the
// cancelled flag that keeps a later save from adopting its file, the automatic open actions,
// the password a script supplied, and the close and quit requests that take effect after the
// script.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/database.h"
#include "shell/alert.h"

namespace jov {

class CommandState : public DatabaseAttachment {
 public:
  explicit CommandState(Database&) {}
  ~CommandState() override;
  static CommandState& Of(Database& database) { return database.Attached<CommandState>(); }

  // The error log sink (an ErrorLogSink or a SilentSink), pushed on the sink stack; the old one
  // is popped and destroyed first. The sink stays on top until it is replaced or destroyed.
  void ReplaceLogSink(std::unique_ptr<AlertSink> sink);
  // Pops and destroys the log sink, if any.
  void DestroyLogSink();
  bool has_log_sink() const { return log_sink_ != nullptr; }

  // The error log file last chosen (at most 255 characters); empty when none was.
  std::string log_file_name;
  // Set by "Cancel" in a command alert: a later save does not adopt its file.
  bool cancelled = false;
  // Opening the database for a user runs its start-up actions; a "##Commands" section, an
  // automation open and `quit` turn this off.
  bool automatic_open_actions = false;
  // The file being read held a "##Commands" section: its commands took the place of the
  // start-up actions.
  bool commands_read = false;
  // Given by the `password` command: the answer to the next password question.
  std::optional<std::string> password;
  // Asked for by `close` (without a window title) and `quit`; the application acts on them
  // after the script.
  bool close_requested = false;
  bool quit_requested = false;

 private:
  std::unique_ptr<AlertSink> log_sink_;
};

}  // namespace jov
