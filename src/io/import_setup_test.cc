#include "io/import_setup.h"

#include <gtest/gtest.h>

#include "shell/process.h"

namespace jov {
namespace {

class CountingListener : public DatabaseListener {
 public:
  void OnDatabaseChange(Database&, ChangeCode code, int, int) override {
    if (code == ChangeCode::kImportSetups) ++changes;
  }
  int changes = 0;
};

std::vector<std::string> Names(const ImportSetups& setups) {
  std::vector<std::string> names;
  for (const ImportSetup& setup : setups.named()) names.push_back(setup.name);
  return names;
}

// Edited copies are stored under unique names: new ones at the end, renamed ones in their place.
TEST(ImportSetupsTest, StoringRenamingAndRemovingEditedCopies) {
  ResetProcess();
  Database db;
  CountingListener listener;
  db.AddListener(&listener);
  ImportSetups& setups = ImportSetups::Of(db);
  ImportSetup edit;
  setups.Store(edit, "");
  setups.Store(edit, "");
  edit.name = "bank";
  edit.field_separator = ';';
  setups.Store(edit, "");
  EXPECT_EQ(Names(setups), (std::vector<std::string>{"Import Setup", "Import Setup 1", "bank"}));
  EXPECT_TRUE(db.modified());

  // Renaming to a name taken by another setup counts up; to its own name in other letters not.
  edit = *setups.Find("Import Setup 1");
  edit.name = "BANK";
  EXPECT_EQ(setups.Store(edit, "Import Setup 1").name, "BANK 1");
  edit = *setups.Find("bank");
  edit.name = "Bank";
  EXPECT_EQ(setups.Store(edit, "bank").name, "Bank");
  EXPECT_EQ(setups.Find("Bank")->field_separator, ';');
  EXPECT_EQ(Names(setups), (std::vector<std::string>{"Import Setup", "BANK 1", "Bank"}));
  // A name is kept on one line, as the stored form needs it.
  edit.name = "Salary\rfile";
  EXPECT_EQ(setups.Store(edit, "Bank").name, "Salary file");

  EXPECT_TRUE(setups.Remove("import setup"));
  EXPECT_FALSE(setups.Remove("import setup"));
  EXPECT_EQ(Names(setups), (std::vector<std::string>{"BANK 1", "Salary file"}));
  EXPECT_EQ(listener.changes, 7);
  db.RemoveListener(&listener);
}

}  // namespace
}  // namespace jov
