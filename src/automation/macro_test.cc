#include "automation/macro.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "automation/macro_section.h"
#include "automation/script_test_util.h"
#include "automation/section_kinds.h"
#include "automation/startup_actions.h"
#include "files/database_file.h"
#include "platform/file_io.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

using Strings = std::vector<std::string>;

class MacroTest : public ScriptTest {
 protected:
  Macro& Add(std::string name, std::string steps, bool at_opening = false) {
    Macro macro;
    macro.name = std::move(name);
    macro.steps = std::move(steps);
    macro.execute_when_opening = at_opening;
    return MacroList::Of(db_).Store(std::move(macro));
  }
  Strings Names() {
    Strings names;
    for (const auto& macro : MacroList::Of(db_).macros()) names.push_back(macro->name);
    return names;
  }
  // Writes a text database file into the folder and opens it for a user.
  std::unique_ptr<Database> OpenText(const std::string& body) {
    const std::string path = folder_.File("Opened.jox");
    EXPECT_TRUE(WriteFileAtomically(path, "##JOV-Text\t001219\r\n" + body + "##End\r\n"));
    auto opened = std::make_unique<Database>();
    EXPECT_TRUE(ReadDatabaseFile(*opened, path, UserOpenOptions(host_), nullptr,
                                 FullSectionRegistry(host_)));
    return opened;
  }
};

TEST_F(MacroTest, ListIsSortedIgnoringCaseAndFoundWithoutTrailingBlanks) {
  Add("beta", "");
  Add("Alpha", "");
  Add("report", "");
  Add("ALPHA", "beep");  // replaces
  Add("Report:Monthly", "");
  EXPECT_EQ(Names(), (Strings{"ALPHA", "beta", "report", "Report:Monthly"}));
  MacroList& list = MacroList::Of(db_);
  EXPECT_EQ(list.Find("REPORT   "), list.macros()[2].get());
  EXPECT_EQ(list.Find(""), nullptr);
  EXPECT_EQ(list.Find("   "), nullptr);
}

TEST_F(MacroTest, EditedStepsRunAsTheirMacroWithoutStoringThem) {
  Add("Report", "message stored");
  MacroList& list = MacroList::Of(db_);
  // The edited steps run under the macro's name; the stored macro runs meanwhile, so steps that
  // execute it are refused once and the run goes on.
  EXPECT_EQ(list.ExecuteSteps("report", "message edited\rexecute Report\rmessage after", host_), 0);
  EXPECT_EQ(host_.messages, (Strings{"report|edited|0", "report|after|0"}));
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kMacroCalledRecursively});
  EXPECT_FALSE(list.Find("Report")->running);
  EXPECT_EQ(list.Find("Report")->steps, "message stored");
  // A new macro's steps run before it is stored.
  EXPECT_EQ(list.ExecuteSteps("New", "message new", host_), 0);
  EXPECT_EQ(host_.messages.back(), "New|new|0");
  EXPECT_EQ(list.UniqueName("Macro"), "Macro");
  Add("Macro", "");
  Add("macro 1", "");
  EXPECT_EQ(list.UniqueName("Macro"), "Macro 2");
}

TEST_F(MacroTest, DeleteMacroByNameChildrenAllAndPattern) {
  for (const char* name : {"Report", "Report:Monthly", "Reports", "Daily", "Weekly"}) Add(name, "");
  EXPECT_EQ(Run("deleteMacro report\n"), 0);
  EXPECT_EQ(Names(), (Strings{"Daily", "Reports", "Weekly"}));
  // "-filter" may be written out; a name that deletes nothing is an error.
  EXPECT_EQ(Run("deleteMacro -filtered LY Nothing\n"), 1);
  EXPECT_EQ(Names(), Strings{"Reports"});
  EXPECT_EQ(sink_.alerts()[0].arguments[0], "Nothing");
  Run("deleteMacro -all\n");
  EXPECT_TRUE(Names().empty());
}

TEST_F(MacroTest, RecursionIsReportedOnceAndTheOuterRunContinues) {
  Add("Loop", "beep\rexecute loop\rbeep");
  Add("Outer", "execute Loop\rmessage done");
  EXPECT_EQ(Run("execute outer\nexecute missing\n"), 1);
  EXPECT_EQ(host_.beeps, 2);
  EXPECT_EQ(host_.messages, Strings{"Outer|done|0"});  // the macro's name titles its messages
  EXPECT_FALSE(StopRequested());
  EXPECT_EQ(Raised(), (std::vector<MessageId>{msg::kMacroCalledRecursively, msg::kUnknownOption}));
  EXPECT_EQ(sink_.alerts()[0].ComposeText(), "Macro \"Loop\" called recursively.");
  EXPECT_FALSE(MacroList::Of(db_).Find("Loop")->running);
}

TEST_F(MacroTest, MacroSectionsReadAndWriteTheirFlags) {
  const std::unique_ptr<Database> opened = OpenText(
      "##Macro\tNightly\r\nM\tbeep\x03message \"a\x04"
      "b\"\r\nA+\r\nS-\r\nP*\r\nX+\r\n\r\n"
      "##Macro\t\r\nA*\r\n\r\n");
  MacroList& list = MacroList::Of(*opened);
  ASSERT_EQ(list.macros().size(), 2u);
  const Macro& unnamed = *list.macros()[0];
  EXPECT_EQ(unnamed.name, "Macro 1");
  EXPECT_FALSE(unnamed.show_in_menu);  // "A*" leaves the flag as it was
  const Macro& nightly = *list.Find("nightly");
  EXPECT_EQ(nightly.steps, "beep\rmessage \"a\tb\"");
  EXPECT_TRUE(nightly.show_in_menu);
  EXPECT_FALSE(nightly.password_required);
  EXPECT_EQ(host_.beeps, 0);  // not marked to run at opening
}

TEST_F(MacroTest, OpeningRunsMarkedMacrosUnlessTheFileHasCommands) {
  const std::string macros =
      "##Macro\tFirst\r\nM\tbeep\x03save started.jox\r\nS+\r\n\r\n"
      "##Macro\tSecond\r\nM\tmessage hi\r\nS+\r\n\r\n";
  OpenText(macros);
  EXPECT_EQ(host_.beeps, 1);
  // In the folder of the file opened.
  EXPECT_TRUE(std::filesystem::exists(folder_.File("started.jox")));
  EXPECT_EQ(host_.messages, Strings{"Second|hi|0"});

  // A "##Commands" section runs while the file is read, in place of the start-up actions; its
  // script ends at the next section line, which is read as a section.
  host_.messages.clear();
  const std::unique_ptr<Database> opened =
      OpenText(macros + "##Commands\r\nmessage from file\r\n##Macro\tThird\r\nM\tbeep\r\n\r\n");
  EXPECT_EQ(host_.beeps, 1);
  EXPECT_EQ(host_.messages, Strings{"|from file|0"});
  EXPECT_NE(MacroList::Of(*opened).Find("Third"), nullptr);
}

TEST_F(MacroTest, SavingFromARunningMacroWritesItNotToRunAtOpening) {
  Add("Save", "save copy.jox", /*at_opening=*/true);
  Run("execute save\n");
  const std::string saved = ReadWholeFile(folder_.File("copy.jox")).value_or("");
  EXPECT_NE(saved.find("##Macro\tSave\r\nM\tsave copy.jox\r\nA-\r\nS-\r\nP-\r\n"),
            std::string::npos)
      << saved;
  // Once it has run, it is written as marked again.
  Run("save again.jox\n");
  EXPECT_NE(ReadWholeFile(folder_.File("again.jox")).value_or("").find("S+"), std::string::npos);
}

}  // namespace
}  // namespace jov
