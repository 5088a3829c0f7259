// The user's preferences: their values with the defaults, and their stored form in the settings
// store (text values: language codes, "+"/"-" for switches). The engine consults the values
// through the process state; the programs read and write them.
#pragma once

#include <optional>
#include <string>

namespace jov {

class SettingsStore;

struct Preferences {
  int language = 0;               // "Language": message-table language index (messages.h)
  int gui_style = 0;              // "GUI": 0 default, 2..5 the framework's looks
  std::string copy_table;         // "CopyTable": table-copy options, kept as stored
  bool center_drag = false;       // "CenterDrag"
  bool alert_yes_no = false;      // "AlertYesNo": confirmations offer Yes/No instead of verbs
  bool check_files = true;        // "CheckFiles": notice open files changed on disk
  bool sans_serif = false;        // "SansSerif"
  std::optional<bool> associate;  // "Associate": file types registered (+) or declined (-)
  std::string signature;          // "Signature": the user's initials for stamps (1252)
};

// Codes of "Language" in index order; "ESP" and "ITA" follow with no message tables.
inline constexpr const char* kLanguageCodes[] = {"US",  "SWE", "NOR", "DEN", "FIN", "GER",
                                                 "NET", "FRA", "SLO", "ESP", "ITA"};

// Reads every value present; an absent or unrecognised value leaves the current one.
void ReadPreferences(const SettingsStore& store, Preferences& preferences);
void WritePreferences(const Preferences& preferences, SettingsStore& store);

// Loads the store and reads the preferences into the process state. A store that cannot be read
// leaves the values as they are and is reported once per run (msg::kUnableToOpen).
void LoadProcessPreferences(SettingsStore& store);
// Writes the process preferences and saves the store; a failure is reported once
// (msg::kErrorWriting).
bool SaveProcessPreferences(SettingsStore& store);

}  // namespace jov
