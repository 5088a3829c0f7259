#include "io/plain_text_import.h"

#include <gtest/gtest.h>

#include "files/database_file.h"
#include "files/section_registry.h"
#include "io/import_setup_section.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/command_error.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

// The model's sections, the import setups' and the text import for plain text files.
SectionRegistry Registry() {
  SectionRegistry registry = DefaultSectionRegistry();
  RegisterImportSetupSection(registry);
  RegisterPlainTextImport(registry);
  return registry;
}

// Rows of date, account and amount.
ImportSetup Rows() {
  return *ReadImportSetupFile("S\t59\nLI\tF1\nL1\tF2\nLVA\tF3\nZN1\tH\n", "Rows");
}

class PlainTextImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
    ASSERT_TRUE(WriteFileAtomically(text_, "240101;4010;1\r240102;4020;2\r"));
  }
  void TearDown() override { ResetProcess(); }

  bool Import(Database& database, const std::string& path) {
    ReadOptions options;
    options.import = true;
    return ReadDatabaseFile(database, path, options, nullptr, registry_);
  }

  TempDir dir_;
  const std::string text_ = dir_.File("rows.csv");
  const SectionRegistry registry_ = Registry();
  RecordingSink sink_;
};

TEST_F(PlainTextImportTest, WithoutASetupAPlainTextFileCannotBeRead) {
  OpenDatabases open;
  EXPECT_EQ(OpenDatabaseFile(open, text_, ReadOptions{}, nullptr, registry_), nullptr);
  EXPECT_TRUE(open.all().empty());
  ASSERT_EQ(sink_.alerts().size(), 1u);
  EXPECT_EQ(sink_.alerts()[0].message, msg::kNeedsImportSetup);

  // Two setups in the database: none of them is chosen.
  Database db;
  ImportSetups::Of(db).named() = {Rows(), Rows()};
  EXPECT_FALSE(Import(db, text_));
  EXPECT_EQ(db.cards().card_count(), 0u);
}

// Opened as a database, a text file gives a new database that keeps no file name: saving it
// can never write over the text file.
TEST_F(PlainTextImportTest, OpeningReadsThroughTheCurrentSetup) {
  const ImportSetup setup = Rows();
  OpenDatabases open;
  Database* db;
  {
    ScopedImportSetup current(&setup);
    db = OpenDatabaseFile(open, text_, ReadOptions{}, nullptr, registry_);
  }
  EXPECT_EQ(CurrentImportSetup(), nullptr);
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(db->cards().card_count(), 2u);
  EXPECT_TRUE(db->file_name().empty());
  EXPECT_TRUE(db->modified());
  EXPECT_FALSE(SaveDatabase(*db, registry_, nullptr));
  EXPECT_EQ(*ReadWholeFile(text_), "240101;4010;1\r240102;4020;2\r");
}

TEST_F(PlainTextImportTest, ImportingUsesTheDatabasesOnlySetupOrTheCurrentOne) {
  Database db;
  ImportSetups::Of(db).named().push_back(Rows());
  ASSERT_TRUE(Import(db, text_));
  EXPECT_EQ(db.cards().card_count(), 2u);

  // The current setup wins over the database's: here it reads the amount as the account.
  ImportSetup other = Rows();
  other.line_definitions[0].components[0] = other.line_definitions[0].values[0];
  ScopedImportSetup current(&other);
  ASSERT_TRUE(Import(db, text_));
  EXPECT_NE(db.FindByHost(0, "2"), kNoComponent);
  {
    ScopedImportSetup inner(nullptr);
    EXPECT_EQ(CurrentImportSetup(), nullptr);
  }
  EXPECT_EQ(CurrentImportSetup(), &other);
}

// Database files still go to the database reader when they are imported.
TEST_F(PlainTextImportTest, DatabaseFilesAreMergedAsBefore) {
  Database source;
  source.AddComponent(0, "9999", "", "");
  const std::string jox = dir_.File("db.jox");
  ASSERT_TRUE(
      SaveDatabaseFile(source, jox, DatabaseFormat::kText, SaveSetup(), registry_, nullptr));
  Database db;
  ASSERT_TRUE(Import(db, jox));
  EXPECT_NE(db.FindByCode(0, "9999"), kNoComponent);
}

// A stopped import fails the read, and keeps the cards it made.
TEST_F(PlainTextImportTest, AStoppedImportFailsAndKeepsItsCards) {
  ASSERT_TRUE(WriteFileAtomically(text_, "240101;4010;1\r240102;4020;x\r240103;4010;3\r"));
  sink_.set_answer(static_cast<int>(CommandErrorAnswer::kStop));
  Database db;
  ImportSetups::Of(db).named().push_back(Rows());
  db.AddComponent(0, "4010", "", "4010");
  db.AddComponent(0, "4020", "", "4020");
  EXPECT_FALSE(Import(db, text_));
  EXPECT_TRUE(StopRequested());
  EXPECT_EQ(db.cards().card_count(), 1u);
}

}  // namespace
}  // namespace jov
