// What scripts run from the desktop ask of it: the macros executed from the Execute menu and at
// opening show templates and subsets in the frame's windows, close windows by title, show their
// messages in message boxes and ask for log files and passwords in dialogs.
#pragma once

#include "automation/script_host.h"

namespace jov {

class Frame;

class FrameScriptHost : public ScriptHost {
 public:
  explicit FrameScriptHost(Frame& frame) : frame_(frame) {}

  // The template's window of the frame, calculated; the table the script made is not needed
  // for it. A window of the template that is open comes to the front and is used with
  // kOpenCurrent, replaced with kOpenReopen, and else replaced when the user chooses to revert it
  // to the stored settings.
  void ShowTable(Database& database, const std::string& name, std::unique_ptr<Table> table,
                 unsigned flags) override;
  void ShowSubset(Subset& subset) override;
  // A box that does not wait for an answer, so that the script goes on; closed after `seconds`
  // when that is above 0.
  void ShowMessage(const std::string& title, const std::string& text, int seconds) override;
  void Beep() override;
  std::optional<std::string> ChooseLogFile(const std::string& title,
                                           const std::string& proposed) override;
  // An analysis window by its template's name, any window by its title.
  bool CloseWindow(Database& database, const std::string& title) override;
  bool CloseCardWindows(Database& database, Date from, Date to) override;
  PasswordPrompt* password_prompt() override;

 private:
  Frame& frame_;
};

}  // namespace jov
