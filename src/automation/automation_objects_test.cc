#include "automation/automation_objects.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "automation/macro.h"
#include "automation/script_test_util.h"
#include "automation/section_kinds.h"
#include "files/database_file.h"
#include "files/password.h"
#include "model/open_databases.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/message_ids.h"
#include "shell/process.h"

namespace jov {
namespace {

namespace fs = std::filesystem;

// Dimension 1 has six components; the one card's lines use 1930 and 3, so 1 and 19 lie above
// a used one and 1910 and 2999 are unused. The bank's rows go to the accounts with host codes
// 1930 and 2999.
constexpr std::string_view kBooks =
    "##JOV-Text\t001219\r\n"
    "##ImportSetup\tBank\r\n"
    "S\t59\r\nD\t44\r\nRX\t1\r\nM\tY/M/D\r\nLI\tF1\r\nLT\tF4\r\nL1\tT1930\r\nLZ\tF3\r\n"
    "LVA\tF5\r\nZN1\tH\r\n-\r\nL1\tT2999\r\nLVA\tF5\r\nV\t-1\r\nZN1\tH\r\n"
    "##Dimension\t1\r\n"
    "-N\tAccount\tAccounts\r\n"
    "1\tAssets\r\n19\tCash\r\n1910\tCash box\r\n1930\tBank\t1930\r\n3\tIncome\r\n"
    "2999\tSuspense\t2999\r\n"
    "##Macro\tGood\r\nM\tbeep\r\n\r\n"
    "##Macro\tBad\r\nM\tnoSuchCommand\r\n\r\n"
    "##Cards\r\n"
    "C240101-001\tSale\r\nG1930\r\nL100\r\nG3\r\nL-100\r\n"
    "##End\r\n";

constexpr std::string_view kBankRows =
    "Booking date;Value date;Reference;Text;Amount;Balance\r\n"
    "2024-01-02;2024-01-02;5484381424;Coffee;-45,00;12.355,00\r\n"
    "2024-01-03;2024-01-03;5484381425;Salary January;25.000,00;37.355,00\r\n";

class TestHost : public AutomationHost {
 public:
  OpenDatabases& databases() override { return open; }
  const SectionRegistry& registry() override { return registry_; }
  ScriptHost& script_host() override { return script; }
  void Opened(Database& database) override { opened.push_back(&database); }
  bool visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  WindowState window_state() const override { return state_; }
  void SetWindowState(WindowState state) override {
    state_ = state;
    visible_ = state != wsMinimize;
  }
  void Quit() override { ++quits; }

  OpenDatabases open;
  RecordingHost script;
  std::vector<Database*> opened;
  int quits = 0;

 private:
  const SectionRegistry registry_ = FullSectionRegistry(script);
  bool visible_ = true;
  WindowState state_ = wsNormal;
};

class AutomationTest : public ::testing::Test {
 protected:
  AutomationTest() {
    ResetProcess();
    PushSink(&sink_);
    EXPECT_TRUE(WriteFileAtomically(folder_.File("Books.jox"), kBooks));
    EXPECT_TRUE(WriteFileAtomically(folder_.File("bank.csv"), kBankRows));
  }
  ~AutomationTest() override { ResetProcess(); }

  std::unique_ptr<DatabaseObject> OpenBooks() {
    ApplicationObject::Opened opened = application_.OpenFile(folder_.File("Books.jox"), "");
    EXPECT_EQ(opened.error, errNone);
    return std::move(opened.database);
  }
  static uint64_t Lines(const DatabaseObject& object) {
    return object.database()->cards().line_count();
  }

  TempDir folder_;
  RecordingSink sink_;  // must stay silent: automation shows nothing
  TestHost host_;
  AutomationServer server_{host_};
  ApplicationObject application_{server_};
};

TEST(ErrorCodeTest, LastMessageGivesTheCode) {
  const std::pair<MessageId, ErrorCodes> cases[] = {
      {kNoMessage, errNone},
      {msg::kOutOfMemory, errOutofMemory},
      {msg::kResourceError, errMissingResource},
      {msg::kUnableToOpen, errOpeningFile},
      {msg::kErrorReading, errReadingFile},
      {msg::kErrorWriting, errWritingFile},
      {msg::kIncorrectPassword, errWrongPassword},
      {msg::kImportSetupNotFound, errNoImportSetup},
      {msg::kAlreadyOpen, errGeneral},
  };
  for (const auto& [message, code] : cases) EXPECT_EQ(ErrorCodeFor(message), code) << message;
}

TEST_F(AutomationTest, QuitsWhenTheLastObjectAndLockGoWithTheFlagSet) {
  std::unique_ptr<DatabaseObject> books = OpenBooks();
  std::unique_ptr<DimensionObject> accounts = books->GetDim(1);
  EXPECT_EQ(server_.object_count(), 3);
  books.reset();
  accounts.reset();
  EXPECT_EQ(host_.quits, 0);  // the flag is not set
  EXPECT_EQ(application_.ExitOnRelease(), 0);

  application_.Quit();
  EXPECT_EQ(application_.ExitOnRelease(), 1);
  server_.Lock();
  { ApplicationObject second(server_); }
  EXPECT_EQ(host_.quits, 0);  // the application object and a lock remain
  server_.Unlock();
  server_.Unlock();  // one unlock too many changes nothing
  EXPECT_EQ(server_.lock_count(), 0);
  EXPECT_EQ(host_.quits, 0);  // application_ is still held
  {
    AutomationServer other(host_);
    other.SetExitOnRelease(true);
    { ApplicationObject only(other); }
    EXPECT_EQ(host_.quits, 1);
  }
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(AutomationTest, OpenFileReportsWhatWentWrongAndLogsTheReading) {
  ApplicationObject::Opened missing = application_.OpenFile(folder_.File("Missing.jox"), "");
  EXPECT_EQ(missing.error, errOpeningFile);
  EXPECT_EQ(missing.database, nullptr);
  EXPECT_TRUE(host_.open.all().empty());
  // The reading's error went to the log in the file's folder as well as into the code.
  const std::optional<std::string> log = ReadWholeFile(folder_.File("Errors.txt"));
  ASSERT_TRUE(log);
  EXPECT_NE(log->find("Unable to open file"), std::string::npos);

  // A character that Windows-1252 lacks is refused, not cut to its low byte.
  EXPECT_EQ(application_.OpenFile(folder_.File("B\xC5\x91oks.jox"), "").error, errInvalidParameter);
  EXPECT_EQ(application_.OpenFile("", "").error, errInvalidParameter);
  EXPECT_EQ(application_.OpenFile(std::string(600, 'a'), "").error, errInvalidParameter);
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(AutomationTest, AFileOpenAlreadyIsSharedWhenThePasswordFits) {
  std::unique_ptr<DatabaseObject> first = OpenBooks();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(host_.opened.size(), 1u);
  std::unique_ptr<DatabaseObject> second = OpenBooks();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->database(), first->database());
  EXPECT_EQ(host_.open.all().size(), 1u);

  EXPECT_EQ(first->SetPassword("Secret"), errNone);
  EXPECT_EQ(first->Password(), "Secret");
  EXPECT_EQ(application_.OpenFile(folder_.File("Books.jox"), "wrong").error, errWrongPassword);
  EXPECT_NE(application_.OpenFile(folder_.File("Books.jox"), "secret").database, nullptr);

  // Closing through one object leaves every object on that database without one.
  first->Close();
  EXPECT_TRUE(host_.open.all().empty());
  EXPECT_EQ(second->database(), nullptr);
  EXPECT_EQ(second->MacroCall("Good"), errBaseInvalid);
  EXPECT_EQ(second->Import(folder_.File("bank.csv"), ""), errBaseInvalid);
  EXPECT_EQ(second->Save(), errBaseInvalid);
  EXPECT_EQ(second->GetDim(1), nullptr);
  EXPECT_EQ(second->Name(), "");
}

TEST_F(AutomationTest, DimensionsAndTheirProperties) {
  std::unique_ptr<DatabaseObject> books = OpenBooks();
  EXPECT_EQ(books->GetDim(0), nullptr);
  EXPECT_EQ(books->GetDim(17), nullptr);
  std::unique_ptr<DimensionObject> accounts = books->GetDim(1);
  ASSERT_NE(accounts, nullptr);
  EXPECT_EQ(accounts->Number(), 1);
  EXPECT_EQ(accounts->Singular(), "Account");
  EXPECT_EQ(accounts->Plural(), "Accounts");
  EXPECT_EQ(accounts->TotalComponents(), 6);
  EXPECT_EQ(accounts->ComponentsInUse(), 2);
  EXPECT_EQ(accounts->ActiveComponents(), 4);

  EXPECT_EQ(accounts->DimString(), dcCodeText);
  EXPECT_EQ(accounts->SetDimString(dcCodeHost), errNone);
  EXPECT_EQ(accounts->DimString(), dcCodeHost);
  EXPECT_EQ(accounts->SetDimString(9), errNone);
  EXPECT_EQ(accounts->DimString(), dcCodeText);

  EXPECT_EQ(accounts->SetSingular("Konto \xC3\xA5r"), errNone);  // UTF-8 "å"
  EXPECT_EQ(accounts->Singular(), "Konto \xC3\xA5r");
  EXPECT_EQ(books->database()->dimension(0).singular_name(), "Konto \xE5r");
  EXPECT_EQ(accounts->SetPlural("\xE2\x82\xAC"), errNone);              // the euro sign is in 1252
  EXPECT_EQ(accounts->SetPlural("\xE2\x88\x9A"), errInvalidParameter);  // the root sign is not
  EXPECT_EQ(accounts->Plural(), "\xE2\x82\xAC");
  EXPECT_EQ(accounts->SetSingular(std::string(400, 'x')), errNone);
  EXPECT_EQ(accounts->Singular().size(), 299u);

  // A dimension without a name of its own shows the default one.
  std::unique_ptr<DimensionObject> sixteenth = books->GetDim(16);
  EXPECT_EQ(sixteenth->Number(), 16);
  EXPECT_FALSE(sixteenth->Singular().empty());
  EXPECT_EQ(sixteenth->TotalComponents(), 0);

  books->Close();
  EXPECT_EQ(accounts->DimString(), dcCodeText);
  EXPECT_EQ(accounts->SetDimString(1), errBaseInvalid);
  EXPECT_EQ(accounts->Import("x"), errBaseInvalid);
  EXPECT_EQ(accounts->Number(), 1);
}

TEST_F(AutomationTest, ImportsWithAndWithoutSetups) {
  std::unique_ptr<DatabaseObject> books = OpenBooks();
  const uint64_t before = Lines(*books);
  EXPECT_EQ(books->ImportWithSetup("bank.csv", "No such setup"), errNoImportSetup);
  EXPECT_EQ(books->ImportTrans(kBankRows, "No such setup"), errNoImportSetup);
  EXPECT_EQ(Lines(*books), before);
  EXPECT_EQ(books->Import("Missing.csv", ""), errOpeningFile);

  // Found ignoring case; the name is taken in the database's folder.
  EXPECT_EQ(books->ImportWithSetup("bank.csv", "BANK"), errNone);
  const uint64_t per_import = Lines(*books) - before;
  EXPECT_EQ(per_import, 4u);  // two rows of two lines each

  // Texts go through a temporary file in $TMPDIR, which is gone afterwards.
  TempDir scratch;
  const char* old_tmpdir = std::getenv("TMPDIR");
  const std::string saved_tmpdir = old_tmpdir != nullptr ? old_tmpdir : "";
  ::setenv("TMPDIR", scratch.path().c_str(), 1);
  EXPECT_EQ(books->ImportTrans(kBankRows, "Bank"), errNone);
  EXPECT_EQ(books->ImportText(""), errNone);
  EXPECT_EQ(books->ImportText("\xE2\x88\x9A"), errInvalidParameter);
  // The only setup of the database reads a plain text without being named.
  EXPECT_EQ(books->ImportText(kBankRows), errNone);
  if (old_tmpdir != nullptr) {
    ::setenv("TMPDIR", saved_tmpdir.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  EXPECT_EQ(Lines(*books), before + 3 * per_import);
  EXPECT_TRUE(fs::is_empty(scratch.path()));
  EXPECT_FALSE(fs::exists(folder_.File("Errors.txt")));
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(AutomationTest, SaveWritesTheFileAndSaveAsACopy) {
  std::unique_ptr<DatabaseObject> books = OpenBooks();
  std::unique_ptr<DimensionObject> accounts = books->GetDim(1);
  ASSERT_EQ(accounts->SetSingular("Ledger account"), errNone);
  EXPECT_EQ(books->Save(), errNone);
  EXPECT_FALSE(books->database()->modified());
  const std::optional<std::string> saved = ReadWholeFile(folder_.File("Books.jox"));
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find("Ledger account"), std::string::npos);

  // A copy without cards; the database keeps its own file.
  EXPECT_EQ(books->SaveAs("Copy.jox", "SC-"), errNone);
  const std::optional<std::string> copy = ReadWholeFile(folder_.File("Copy.jox"));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->find("##Cards"), std::string::npos);
  EXPECT_NE(copy->find("Ledger account"), std::string::npos);
  EXPECT_EQ(books->Name(), folder_.File("Books.jox"));
  EXPECT_EQ(books->SaveAs("Other.jox", "SC- NOPE"), errInvalidParameter);
  EXPECT_FALSE(fs::exists(folder_.File("Other.jox")));
  EXPECT_EQ(books->SaveAs(folder_.File("no/such/folder/x.jox"), ""), errWritingFile);

  // A database that never had a file has nowhere to be saved.
  Database& untitled = host_.open.Create();
  DatabaseObject object(server_, untitled);
  EXPECT_EQ(object.Save(), errWritingFile);
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(AutomationTest, MacrosAndScriptsReportTheirLastError) {
  std::unique_ptr<DatabaseObject> books = OpenBooks();
  EXPECT_EQ(books->MacroCall("Missing"), errNotFound);
  EXPECT_EQ(books->MacroCall("good"), errNone);
  EXPECT_EQ(host_.script.beeps, 1);
  EXPECT_EQ(books->MacroCall("Bad"), errGeneral);
  EXPECT_EQ(books->MacroCommand("beep\nbeep"), errNone);
  EXPECT_EQ(host_.script.beeps, 3);

  // The script's import knows the database's import setups.
  const uint64_t before = Lines(*books);
  EXPECT_EQ(books->MacroCommand("import bank.csv -s Bank"), errNone);
  EXPECT_EQ(Lines(*books), before + 4);
  EXPECT_EQ(books->MacroCommand("import bank.csv -s Nothing"), errNoImportSetup);

  EXPECT_EQ(books->XmlCommand("<request/>").substr(0, 5), "<?XML");
  // `close` in a script closes the database once the script is over.
  EXPECT_EQ(books->MacroCommand("close"), errNone);
  EXPECT_EQ(books->database(), nullptr);
  EXPECT_EQ(books->XmlCommand("<request/>"), "<error>no database</error>");
  EXPECT_EQ(books->MacroCommand("beep"), errBaseInvalid);
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(AutomationTest, DimensionImportAndExport) {
  std::unique_ptr<DatabaseObject> books = OpenBooks();
  std::unique_ptr<DimensionObject> centres = books->GetDim(2);
  EXPECT_EQ(centres->ImportText("SHOP\tShop\nWEB\tWeb shop\n"), errNone);
  EXPECT_EQ(centres->TotalComponents(), 2);
  EXPECT_EQ(centres->Import("Missing.txt"), errOpeningFile);
  // A host code defined twice refuses the whole import.
  EXPECT_EQ(centres->ImportText("HQ\tOffice\tH1\nHR\tPeople\tH1\n"), errGeneral);
  EXPECT_EQ(centres->TotalComponents(), 2);

  const std::string text = centres->ExportText();
  EXPECT_EQ(text, "##Dimension\t2\r\nSHOP\tShop\r\nWEB\tWeb shop\r\n");
  EXPECT_EQ(centres->Export("centres.txt"), errNone);
  EXPECT_EQ(ReadWholeFile(folder_.File("centres.txt")), text);
  EXPECT_EQ(centres->Export(folder_.File("no/such/folder/c.txt")), errWritingFile);

  // What one dimension exports, another database reads back as that dimension.
  std::unique_ptr<DimensionObject> accounts = books->GetDim(1);
  ASSERT_EQ(accounts->Export("accounts.jox"), errNone);
  const std::string exported = *ReadWholeFile(folder_.File("accounts.jox"));
  ASSERT_TRUE(WriteFileAtomically(folder_.File("Read.jox"),
                                  "##JOV-Text\t001219\r\n" + exported + "##End\r\n"));
  ApplicationObject::Opened read = application_.OpenFile(folder_.File("Read.jox"), "");
  ASSERT_NE(read.database, nullptr);
  EXPECT_EQ(read.database->GetDim(1)->ExportText(), accounts->ExportText());
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(AutomationTest, ApplicationPropertiesReachTheHost) {
  application_.SetWindowState(wsMaximize);
  EXPECT_EQ(application_.GetWindowState(), wsMaximize);
  application_.SetWindowState(7);
  EXPECT_EQ(application_.GetWindowState(), wsNormal);
  application_.SetWindowState(wsMinimize);
  EXPECT_EQ(application_.Visible(), 0);
  application_.SetVisible(5);
  EXPECT_EQ(application_.Visible(), 1);

  EXPECT_EQ(application_.SetSignature("\xC3\x85keX"), errNone);  // "ÅkeX"
  EXPECT_EQ(application_.Signature(), "\xC3\x85ke");
  EXPECT_EQ(application_.SetSignature("\xE2\x88\x9A"), errInvalidParameter);
  EXPECT_EQ(application_.Signature(), "\xC3\x85ke");
}

}  // namespace
}  // namespace jov
