#include "shell/preferences.h"

#include <array>
#include <string_view>

#include "platform/settings_store.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/messages.h"
#include "shell/process.h"

namespace jov {
namespace {

// "GUI" codes for the styles 2..5; "x" stores the default style.
constexpr std::array<std::string_view, 4> kStyleCodes = {"M7", "M8", "W3", "W4"};
constexpr int kFirstStyle = 2;

// "+" is on, "-" off; anything else is no value.
std::optional<bool> SwitchValue(const SettingsStore& store, std::string_view name) {
  const std::optional<std::string> text = store.Get(name);
  if (text == "+") return true;
  if (text == "-") return false;
  return std::nullopt;
}

void ReadSwitch(const SettingsStore& store, std::string_view name, bool& value) {
  value = SwitchValue(store, name).value_or(value);
}

void ReadLanguage(const SettingsStore& store, Preferences& preferences) {
  const std::optional<std::string> code = store.Get("Language");
  if (!code) return;
  for (int i = 0; i < kLanguageCount; ++i) {
    if (*code == kLanguageCodes[i]) preferences.language = i;
  }
}

void ReadStyle(const SettingsStore& store, Preferences& preferences) {
  const std::optional<std::string> code = store.Get("GUI");
  if (!code) return;
  if (*code == "x") preferences.gui_style = 0;
  for (size_t i = 0; i < kStyleCodes.size(); ++i) {
    if (*code == kStyleCodes[i]) preferences.gui_style = kFirstStyle + static_cast<int>(i);
  }
}

const char* SwitchText(bool on) { return on ? "+" : "-"; }

void ReportOnce(bool& reported, MessageId message, const std::string& path) {
  if (reported) return;
  reported = true;
  AlertRecord alert(message);
  alert.Arg(path);
  ReportAlert(alert);
}

}  // namespace

void ReadPreferences(const SettingsStore& store, Preferences& preferences) {
  ReadLanguage(store, preferences);
  ReadStyle(store, preferences);
  if (std::optional<std::string> copy = store.Get("CopyTable")) preferences.copy_table = *copy;
  ReadSwitch(store, "CenterDrag", preferences.center_drag);
  ReadSwitch(store, "AlertYesNo", preferences.alert_yes_no);
  ReadSwitch(store, "CheckFiles", preferences.check_files);
  ReadSwitch(store, "SansSerif", preferences.sans_serif);
  if (const std::optional<bool> associate = SwitchValue(store, "Associate")) {
    preferences.associate = associate;
  }
  if (std::optional<std::string> signature = store.Get("Signature")) {
    preferences.signature = *signature;
  }
}

void WritePreferences(const Preferences& preferences, SettingsStore& store) {
  if (preferences.language >= 0 && preferences.language < kLanguageCount) {
    store.Set("Language", kLanguageCodes[preferences.language]);
  }
  const int style = preferences.gui_style - kFirstStyle;
  store.Set("GUI", style >= 0 && style < static_cast<int>(kStyleCodes.size())
                       ? kStyleCodes[static_cast<size_t>(style)]
                       : "x");
  store.Set("CopyTable", preferences.copy_table);
  store.Set("CenterDrag", SwitchText(preferences.center_drag));
  store.Set("AlertYesNo", SwitchText(preferences.alert_yes_no));
  store.Set("CheckFiles", SwitchText(preferences.check_files));
  store.Set("SansSerif", SwitchText(preferences.sans_serif));
  if (preferences.associate) store.Set("Associate", SwitchText(*preferences.associate));
  store.Set("Signature", preferences.signature);
}

void LoadProcessPreferences(SettingsStore& store) {
  ProcessState& process = Process();
  if (!store.Load()) {
    ReportOnce(process.preferences_reported, msg::kUnableToOpen, store.path());
    return;
  }
  ReadPreferences(store, process.preferences);
}

bool SaveProcessPreferences(SettingsStore& store) {
  ProcessState& process = Process();
  WritePreferences(process.preferences, store);
  if (store.Save()) return true;
  ReportOnce(process.preferences_reported, msg::kErrorWriting, store.path());
  return false;
}

}  // namespace jov
