// The title of the alerts and message boxes of the script that runs: the macro's name, "VB" for
// a script passed in by an automation client. Kept for the process while a script runs.
#pragma once

#include <string>
#include <string_view>

namespace jov {

// The title of the running script; empty outside scripts.
const std::string& ScriptTitle();

// Sets the title for the lifetime of the object, then restores the previous one.
class ScopedScriptTitle {
 public:
  explicit ScopedScriptTitle(std::string_view title);
  ~ScopedScriptTitle();
  ScopedScriptTitle(const ScopedScriptTitle&) = delete;
  ScopedScriptTitle& operator=(const ScopedScriptTitle&) = delete;

 private:
  std::string previous_;
};

}  // namespace jov
