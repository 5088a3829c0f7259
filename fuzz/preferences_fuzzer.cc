// The preferences file's text. What must hold: every value read back is a text the engine can
// hold (at most the store's length), and the preferences take the store's values.
#include "fuzz_support.h"
#include "fuzz_target.h"
#include "platform/settings_store.h"
#include "shell/preferences.h"

JOV_FUZZ_TARGET(preferences) {
  jov::fuzz::QuietRun run;
  jov::SettingsStore store("");
  store.Parse(jov::fuzz::AsText(data, size));
  for (const char* name : {"Language", "CheckFiles", "Associate", "Signature"}) {
    if (const std::optional<std::string> value = store.Get(name)) {
      JOV_FUZZ_CHECK(value->size() <= jov::SettingsStore::kMaxValueBytes);
    }
  }
  jov::Preferences preferences;
  jov::ReadPreferences(store, preferences);
}
