// What command scripts need from the front end that runs them: the message box, the beep, the
// file dialog of "Log To File..", the password prompt, and the windows of a database (closing
// one by its title). The desktop answers with dialogs and windows; the `jov` program with the
// terminal; the default answers for a run without either.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "analysis/table.h"
#include "model/packed_date.h"

namespace jov {

class Database;
class PasswordPrompt;
class Subset;

class ScriptHost {
 public:
  // How `openTemplate` opens a template whose window is open already: bring it to the front
  // (current), close it and open anew (reopen), or ask; and whether an empty result shows.
  enum OpenFlags : unsigned { kOpenCurrent = 1, kOpenReopen = 2, kOpenSkipEmpty = 4 };

  virtual ~ScriptHost() = default;

  // Shows the calculated analysis of the template `name` in a window, honouring `flags`; a host
  // without windows lets it go.
  virtual void ShowTable(Database& /*database*/, const std::string& /*name*/,
                         std::unique_ptr<Table> /*table*/, unsigned /*flags*/) {}
  // Shows the calculated subset in its window.
  virtual void ShowSubset(Subset& /*subset*/) {}

  // `message`: shows `text` (lines separated by LF) under `title`; with `seconds` > 0 the box
  // closes by itself after that long. Texts are Windows-1252.
  virtual void ShowMessage(const std::string& /*title*/, const std::string& /*text*/,
                           int /*seconds*/) {}
  virtual void Beep() {}
  // The file-save dialog of "Log To File..": the chosen file, or nothing when cancelled.
  virtual std::optional<std::string> ChooseLogFile(const std::string& /*title*/,
                                                   const std::string& /*proposed*/) {
    return std::nullopt;
  }
  // Closes the first window of the database titled `title` (ignoring case); false when none.
  virtual bool CloseWindow(Database& /*database*/, const std::string& /*title*/) { return false; }
  // Closes the card windows of the database that show a card dated in [from, to]; false when
  // one refuses to close.
  virtual bool CloseCardWindows(Database& /*database*/, Date /*from*/, Date /*to*/) { return true; }
  // The prompt for passwords that a script did not supply; nullptr: none is asked.
  virtual PasswordPrompt* password_prompt() { return nullptr; }
};

}  // namespace jov
