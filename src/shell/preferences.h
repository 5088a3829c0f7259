// The user's preferences as the engine reads them. The `jov` program and the desktop application
// load and store them; the engine only consults the values.
#pragma once

#include <string>

namespace jov {

struct Preferences {
  int language = 0;           // "Language": message-table language index (messages.h)
  bool alert_yes_no = false;  // "AlertYesNo": confirmations offer Yes/No instead of verbs
  std::string signature;      // "Signature": the user's initials for stamps (1252)
};

}  // namespace jov
