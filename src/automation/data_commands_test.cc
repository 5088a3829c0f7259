// The commands on data and definitions, run as scripts on a small database.
#include <gtest/gtest.h>

#include "analysis/card_template.h"
#include "automation/command_runner.h"
#include "automation/script_test_util.h"
#include "automation/section_kinds.h"
#include "automation/xml_command.h"
#include "files/analysis_template.h"
#include "files/database_file.h"
#include "io/import_setup.h"
#include "io/import_setup_section.h"
#include "io/plain_text_import.h"
#include "model/user_stamp.h"
#include "platform/file_io.h"
#include "select/subset_list.h"
#include "select/subset_section.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

using Strings = std::vector<std::string>;

// Accounts 1 > 10, 11 and 2 > 20; cards on 1 and 20 March and 2 April 2024, each with one line
// of account 10 (the March ones) or 20 (April).
class DataCommandsTest : public ScriptTest {
 protected:
  DataCommandsTest() {
    for (const char* code : {"1", "10", "11", "2", "20"}) db_.AddComponent(0, code, "", "");
    AddCard(PackDay(2024, 3, 1), "10", 1);
    AddCard(PackDay(2024, 3, 20), "10", 2);
    AddCard(PackDay(2024, 4, 2), "20", 4);
    db_.FlushChangeFlags();
    Process().preferences.signature = "T";
  }

  void AddCard(DayCode day, const char* account, double value) {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({day, 1});
    const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, db_.FindByCode(0, account)));
    cards.SetValues(line, std::vector<double>{value});
  }

  Strings CardDays() {
    Strings days;
    CardStore& cards = db_.cards();
    for (CardRef c = cards.FirstCard(); c != kCardSentinel; c = cards.NextCard(c)) {
      days.push_back(DayCodeText(cards.CardId(c).day));
    }
    return days;
  }

  Strings Codes() {
    Strings codes;
    const ComponentRef root = db_.dimension(0).root();
    for (ComponentRef c = db_.NextInPreorder(root); c != root; c = db_.NextInPreorder(c)) {
      codes.push_back(db_.component(c).code);
    }
    return codes;
  }

  void AddTemplate(const std::string& name, AnalysisKind kind = AnalysisKind::kLines) {
    AnalysisTemplate stored;
    stored.frame.name = name;
    stored.frame.kind = kind;
    stored.body = TemplateBodyKinds().NewBody(stored.frame.kind, db_);
    AnalysisTemplates::Of(db_).Store(std::move(stored));
  }

  Strings TemplateNames() {
    Strings names;
    for (const AnalysisTemplate& t : AnalysisTemplates::Of(db_).templates()) {
      names.push_back(t.frame.name);
    }
    return names;
  }
};

TEST_F(DataCommandsTest, DeleteCardsTakesWholePeriodsAndOpenEnds) {
  Run("deleteCards 2403 240319\n");  // from the start of March to the end of the 19th
  EXPECT_EQ(CardDays(), (Strings{"240320", "240402"}));
  EXPECT_TRUE(db_.modified());
  Run("deleteCards 2404\n");  // no upper limit
  EXPECT_EQ(CardDays(), Strings{"240320"});
  Run("deleteCards\n");  // everything
  EXPECT_TRUE(CardDays().empty());
}

TEST_F(DataCommandsTest, DeleteComponentStepsAndMessages) {
  // Unknown dimension and code, each silenced by -silent.
  Run("deleteComponent Nowhere 10\ndeleteComponent Nowhere -silent\n"
      "deleteComponent \"Dim 1\" 99\ndeleteComponent -silent \"Dim 1\" 99\n");
  EXPECT_EQ(Raised(), (std::vector<MessageId>{msg::kDimensionNotFound, msg::kCodeNotFound}));
  EXPECT_EQ(sink_.alerts()[1].ComposeText(), "Cannot find JOV-code \"99\" in dimension Dim 1.");

  // In use: refused, with its subtree.
  sink_.Clear();
  Run("deleteComponent \"Dim 1\" 1\n");
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kComponentInUse});
  EXPECT_EQ(Codes(), (Strings{"1", "10", "11", "2", "20"}));

  // Unused: 11 goes alone; then -unused over the whole dimension finds nothing more.
  Run("deleteComponent \"Dim 1\" 11\ndeleteComponent \"Dim 1\" -unused\n");
  EXPECT_EQ(Codes(), (Strings{"1", "10", "2", "20"}));

  // -unused under a component removes only what no line uses.
  db_.AddComponent(0, "21", "", "");
  db_.AddComponent(0, "211", "", "");
  db_.AddComponent(0, "3", "", "");
  db_.FlushChangeFlags();
  Run("deleteComponent -UNUSED \"Dim 1\"\n");
  EXPECT_EQ(Codes(), (Strings{"1", "10", "2", "20"}));
  Run("deleteCards\ndeleteComponent \"Dim 1\" -all\n");
  EXPECT_TRUE(Codes().empty());
  EXPECT_EQ(Raised().size(), 1u);
}

TEST_F(DataCommandsTest, DeleteDataOfTheBaseAndOfASubset) {
  Subset& april = SubsetList::Of(db_).Create("April");
  april.AddSelection("Sel").selection().SetValueCondition(0, ">3");
  april.SetCombination("Sel");
  Run("deleteData april\n");
  EXPECT_EQ(CardDays(), (Strings{"240301", "240320"}));
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kConfirmDelete});

  // Without a signature nothing is deleted.
  Process().preferences.signature.clear();
  Run("deleteData BASE\n");
  EXPECT_EQ(CardDays().size(), 2u);
  Process().preferences.signature = "T";
  Run("deleteData base\ndeleteData nothing\n");
  EXPECT_TRUE(CardDays().empty());
  EXPECT_EQ(Raised().back(), msg::kTemplateNotFound);
}

TEST_F(DataCommandsTest, DeleteAndModifyDefinitions) {
  for (const char* name : {"Sales", "Sales:Monthly", "Sales:Monthly:East", "Salesmen", "Costs"}) {
    AddTemplate(name);
  }
  SubsetList::Of(db_).Create("G1");
  SubsetList::Of(db_).Create("Big");
  SubsetList::Of(db_).Create("Bigger");

  // A folder goes with its children; a name that is no template is reported.
  Run("deleteTemplate sales nothing\n");
  EXPECT_EQ(TemplateNames(), (Strings{"Salesmen", "Costs"}));
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kTemplateNotFound});
  Run("deleteTemplate -filter men\n");
  EXPECT_EQ(TemplateNames(), Strings{"Costs"});

  Run("deleteSubset -FILTER big\n");
  ASSERT_EQ(SubsetList::Of(db_).subsets().size(), 1u);
  // The definition of a subset made in code, given as tokens.
  Subset& model = SubsetList::Of(db_).Create("Model");
  model.AddSelection("First").selection().SetValueCondition(0, ">3");
  model.SetCombination("First");
  std::string modify = "modify G1";
  for (const std::string& line : SubsetBodyLines(model, nullptr)) modify += " \"" + line + "\"";
  SubsetList::Of(db_).Erase(model, /*confirm=*/false);
  Run(modify + "\n");
  Subset& g1 = *SubsetList::Of(db_).Find("G1");
  ASSERT_TRUE(g1.Calculate());
  EXPECT_EQ(g1.Count(), 1);
  Run("modify costs \"xN\tNew notes\" xo\n");
  const AnalysisTemplate& costs = *AnalysisTemplates::Of(db_).Find("Costs");
  EXPECT_TRUE(costs.frame.open_directly);
  Run("deleteSubset -all\n");
  EXPECT_TRUE(SubsetList::Of(db_).subsets().empty());
}

TEST_F(DataCommandsTest, TransformAndAggregateTheLinesOfAWindow) {
  Subset& april = SubsetList::Of(db_).Create("April");
  april.AddSelection("Sel").selection().SetValueCondition(0, ">3");
  april.SetCombination("Sel");
  // The subset's card moves a month on with its value doubled; the rejected token is reported
  // and the rest still applies.
  EXPECT_EQ(Run("transform april CF=240502 \"V=Value * 2\" Q=1\n"), 1);
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kUnknownOption});
  EXPECT_EQ(CardDays(), (Strings{"240301", "240320", "240502"}));
  EXPECT_EQ(
      db_.cards().GetValue(
          db_.cards().group(db_.cards().card(db_.cards().LastCard()).first_group).first_line, 0),
      8);

  EXPECT_EQ(Run("aggregate base -months -title Sum\n"), 0);
  EXPECT_EQ(CardDays(), (Strings{"240301", "240501"}));
  EXPECT_EQ(db_.cards().Title(db_.cards().FirstCard()), "Sum 2403");

  // A template window aggregates the lines its selection takes; an unknown time scale is
  // reported, and nothing is condensed by another period in its place.
  AddTemplate("All", AnalysisKind::kComponents);
  EXPECT_EQ(Run("aggregate all -timescale nothing\n"), 1);
  EXPECT_EQ(CardDays().size(), 2u);
  EXPECT_EQ(Run("aggregate all -years -noperiodnames\ntransform nothing\n"), 1);
  EXPECT_EQ(CardDays(), Strings{"240101"});
  EXPECT_EQ(Raised().back(), msg::kTemplateNotFound);

  // Without a signature nothing changes.
  Process().preferences.signature.clear();
  EXPECT_EQ(Run("transform base CF=250101\n"), 0);
  EXPECT_EQ(CardDays(), Strings{"240101"});
}

TEST_F(DataCommandsTest, ACardWindowIsTransformedAtItsMarkedLevel) {
  AnalysisTemplate stored;
  stored.frame.name = "March";
  stored.frame.kind = AnalysisKind::kCards;
  auto body = std::make_unique<CardTemplateBody>(db_);
  body->options().groups = DataContents::kNone;  // cards only: the marked level is cards
  body->selection().SetTo("240331");
  stored.body = std::move(body);
  AnalysisTemplates::Of(db_).Store(std::move(stored));
  const CardRef first = db_.cards().FirstCard();
  db_.cards().SetTitle(first, "First");
  EXPECT_EQ(Run("transform march CF=240401 TF=> \"TT= moved\"\n"), 0);
  // The March cards move a month on as they are, each keeping its identity.
  EXPECT_EQ(CardDays(), (Strings{"240401", "240402", "240420"}));
  EXPECT_EQ(db_.cards().Title(first), "First moved");
  EXPECT_EQ(db_.cards().CardId(first).day, PackDay(2024, 4, 1));
}

TEST_F(DataCommandsTest, ImportReadsAnotherFileAndNotTheOneBeingRead) {
  // A file that imports itself from its "##Commands" section.
  const std::string path = folder_.File("Self.jox");
  ASSERT_TRUE(WriteFileAtomically(path,
                                  "##JOV-Text\t001219\r\n##Commands\r\nimport ./sub/../Self.jox\r\n"
                                  "import \"Self.jox\"\r\n##End\r\n"));
  Database self;
  ASSERT_TRUE(ReadDatabaseFile(self, path, {}, nullptr, FullSectionRegistry(host_)));
  EXPECT_EQ(Raised(), (std::vector<MessageId>{msg::kAlreadyImported, msg::kAlreadyImported}));

  // Importing the saved file adds its cards.
  sink_.Clear();
  Run("save copy.jox\ndeleteCards\nimport copy.jox -pw x -bogus\n");
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kUnknownOption});
  EXPECT_EQ(CardDays().size(), 3u);
}

// An import names the setup of the database that reads its rows, or the dimension that takes
// its components; a name the database lacks is reported.
TEST_F(DataCommandsTest, ImportReadsRowsWithANamedSetupAndComponentsIntoANamedDimension) {
  std::optional<ImportSetup> setup = ReadImportSetupFile(
      "##ImportSetup\tSemicolons\r\nS\t59\r\nM\tY/M/D\r\nLI\tF1\r\nL1\tF2\r\n"
      "LVA\tF3\r\n\r\n",
      "");
  ASSERT_TRUE(setup);
  ImportSetups::Of(db_).named().push_back(*setup);
  ImportSetup other;
  other.name = "Other";
  ImportSetups::Of(db_).named().push_back(other);
  db_.AddComponent(0, "4", "Sales", "3010");
  ASSERT_TRUE(WriteFileAtomically(folder_.File("rows.txt"), "2024-05-06;3010;7\r\n"));
  Run("import rows.txt -s SEMICOLONS\n");
  EXPECT_EQ(Raised(), std::vector<MessageId>{});
  EXPECT_EQ(CardDays(), (Strings{"240301", "240320", "240402", "240506"}));
  EXPECT_EQ(CurrentImportSetup(), nullptr) << "the setup is in force for the import only";

  db_.dimension(0).SetPluralName("Accounts");
  ASSERT_TRUE(WriteFileAtomically(folder_.File("accounts.txt"), "12\tTwelve\r\n3\tThree\r\n"));
  sink_.Clear();
  Run("import accounts.txt -dim accounts\nimport accounts.txt -dim Regions\n");
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kDimensionNotFound});
  EXPECT_EQ(Codes(), (Strings{"1", "10", "11", "12", "2", "20", "4", "3"}));

  // Without the setup named, the file is read as without -s: here the database has two setups,
  // so none is chosen.
  sink_.Clear();
  Run("import rows.txt -s Missing\n");
  EXPECT_EQ(Raised(), (std::vector<MessageId>{msg::kImportSetupNotFound, msg::kNeedsImportSetup}));
}

TEST(XmlCommandTest, FixedReplies) {
  RecordingHost host;
  EXPECT_EQ(XmlCommand(nullptr, "<request/>"), "<error>no database</error>");
  EXPECT_EQ(MacroCommand(nullptr, "beep", host), kErrBaseInvalid);
  Database db;
  EXPECT_EQ(XmlCommand(&db, "<request/>"),
            "<?XML version=\"1.0\"?>\r\n\r\n"
            "<error>XML functions not implemented in this JOV version</error>\r\n");
  EXPECT_EQ(MacroCommand(&db, "beep\rbeep", host), 0);
  EXPECT_EQ(host.beeps, 2);
}

}  // namespace
}  // namespace jov
