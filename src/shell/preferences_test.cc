#include "shell/preferences.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/settings_store.h"
#include "platform/temp_dir_test_util.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

class PreferencesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
  std::string Path() const { return (dir_.path() / "Ledra" / "JOV" / "LR.conf").string(); }

  TempDir dir_;
};

TEST_F(PreferencesTest, ValuesRoundTripThroughTheStore) {
  Preferences written;
  written.language = 5;
  written.gui_style = 4;
  written.alert_yes_no = true;
  written.check_files = false;
  written.associate = false;
  written.copy_table = "T;H";
  written.signature = "\xC5KE";
  SettingsStore store(Path());
  WritePreferences(written, store);
  ASSERT_TRUE(store.Save());

  SettingsStore again(Path());
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.Get("Language"), "GER");
  EXPECT_EQ(again.Get("GUI"), "W3");
  Preferences read;
  ReadPreferences(again, read);
  EXPECT_EQ(read.language, 5);
  EXPECT_EQ(read.gui_style, 4);
  EXPECT_TRUE(read.alert_yes_no);
  EXPECT_FALSE(read.check_files);
  EXPECT_EQ(read.associate, false);
  EXPECT_EQ(read.copy_table, "T;H");
  EXPECT_EQ(read.signature, "\xC5KE");
}

TEST_F(PreferencesTest, UnknownOrAbsentValuesLeaveTheCurrentOnes) {
  SettingsStore store(Path());
  store.Set("Language", "XYZ");
  store.Set("AlertYesNo", "yes");
  Preferences preferences;
  preferences.language = 1;
  ReadPreferences(store, preferences);
  EXPECT_EQ(preferences.language, 1);
  EXPECT_FALSE(preferences.alert_yes_no);
  EXPECT_TRUE(preferences.check_files);  // absent: the default stays
  EXPECT_FALSE(preferences.associate.has_value());
}

// The file is parsed line by line; a value longer than the store keeps is cut as Set cuts it.
TEST_F(PreferencesTest, FileTextIsParsedAndLongValuesCut) {
  SettingsStore store(Path());
  store.Parse(
      "[Software\\Ledra\\JOV/LR]\r\n# note\n; note\n Signature = \xC3\x85KE \r\nnoequals\n"
      "CopyTable=" +
      std::string(1000, 'x'));
  EXPECT_EQ(store.Get("Signature"), "\xC5KE");
  EXPECT_EQ(store.Get("CopyTable"), std::string(SettingsStore::kMaxValueBytes, 'x'));
  EXPECT_FALSE(store.Get("noequals").has_value());
  EXPECT_FALSE(store.Get("# note").has_value());
}

TEST_F(PreferencesTest, AnUnreadableStoreIsReportedOnceAndChangesNothing) {
  std::filesystem::create_directories(Path());  // a folder where the file should be
  RecordingSink sink;
  ScopedSink scoped(&sink);
  Process().preferences.alert_yes_no = true;
  SettingsStore store(Path());
  LoadProcessPreferences(store);
  LoadProcessPreferences(store);
  EXPECT_TRUE(Process().preferences.alert_yes_no);
  EXPECT_FALSE(SaveProcessPreferences(store));
  ASSERT_EQ(sink.alerts().size(), 1u);
  EXPECT_EQ(sink.Texts()[0], "Unable to open file '" + Path().substr(0, 37) + "..'");
}

}  // namespace
}  // namespace jov
