#include "automation/command_runner.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "automation/script_test_util.h"
#include "platform/file_io.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

using Strings = std::vector<std::string>;

class CommandRunnerTest : public ScriptTest {};

TEST_F(CommandRunnerTest, CommandWordsInAnyCaseCommentsAndSectionMarks) {
  EXPECT_EQ(Run("MESSAGE one // not shown\r\n"
                "/* a comment that spans lines\n"
                "message two\n"
                "*/ and this line too\n"
                "mEsSaGe three\n"
                "  // a comment line\n"
                "#Next section\n"
                "message four\n"),
            0);
  EXPECT_EQ(host_.messages, (Strings{"|one|0", "|three|0"}));
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(CommandRunnerTest, UnknownCommandContinuesOrStopsByTheAnswer) {
  EXPECT_EQ(Run("frobnicate x\nbeep\n"), 1);
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kUnknownCommand});
  EXPECT_EQ(sink_.alerts()[0].arguments[0], "frobnicate");
  EXPECT_EQ(sink_.alerts()[0].button_count, 4);
  EXPECT_EQ(host_.beeps, 1);

  sink_.Clear();
  sink_.set_answer(2);  // Stop
  Run("frobnicate\nbeep\n");
  EXPECT_EQ(host_.beeps, 1);
  EXPECT_TRUE(StopRequested());
  EXPECT_FALSE(CommandState::Of(db_).cancelled);

  FlushPendingError();
  sink_.set_answer(1);  // Cancel also keeps a later save from adopting its file
  Run("frobnicate\nbeep\n");
  EXPECT_EQ(host_.beeps, 1);
  EXPECT_TRUE(CommandState::Of(db_).cancelled);
}

TEST_F(CommandRunnerTest, LogToFileStartsALogThatTakesTheErrorAndTheRest) {
  host_.log_choice = folder_.File("log.txt");
  sink_.set_answer(3);
  Run("first\nsecond\n");
  EXPECT_EQ(host_.proposed_log, folder_.File("Errors.txt"));
  EXPECT_EQ(sink_.alerts().size(), 1u);  // the rest went to the log
  EXPECT_FALSE(StopRequested());
  const std::optional<std::string> log = ReadWholeFile(folder_.File("log.txt"));
  ASSERT_TRUE(log);
  EXPECT_NE(log->find("Unknown command \"first\"."), std::string::npos);
  EXPECT_NE(log->find("Unknown command \"second\"."), std::string::npos);
  EXPECT_EQ(CommandState::Of(db_).log_file_name, folder_.File("log.txt"));
  EXPECT_FALSE(CommandState::Of(db_).has_log_sink());  // closed with the run
}

TEST_F(CommandRunnerTest, ErrorFileOptions) {
  // -nofile: errors are neither shown nor logged, and the script goes on.
  EXPECT_EQ(Run("errorFile -NOFILE\nnonsense\nbeep\n"), 1);
  EXPECT_TRUE(sink_.alerts().empty());
  EXPECT_EQ(host_.beeps, 1);

  // An option is the whole token: "-appendix" is unknown.
  Run("errorFile -appendix\n");
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kUnknownOption});

  // A log file in the database's folder, appended to on request.
  sink_.Clear();
  Run("errorFile log.txt\nwrong1\n");
  Run("errorFile -append \"log.txt\"\nwrong2\n");
  EXPECT_TRUE(sink_.alerts().empty());
  const std::string log = ReadWholeFile(folder_.File("log.txt")).value_or("");
  EXPECT_NE(log.find("wrong1"), std::string::npos);
  EXPECT_NE(log.find("wrong2"), std::string::npos);
}

TEST_F(CommandRunnerTest, MessagesJoinWordsAndBreakLines) {
  Run("message -title Note -seconds 5 first line//second \"line with  blanks\"\n"
      "message -SECONDSLONG x y\n"
      "message -sec words\n");
  EXPECT_EQ(host_.messages,
            (Strings{"Note|first line\nsecond line with  blanks|5", "|y|0", "|words|0"}));
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kUnknownOption});
}

TEST_F(CommandRunnerTest, FileCommandsOfAnOpenedFileStayInItsFolder) {
  // A sibling of the database's folder, whose name begins like it.
  const std::string outside = folder_.path().string() + "_outside";
  std::filesystem::create_directories(outside);
  struct Cleanup {
    std::string path;
    ~Cleanup() { std::filesystem::remove_all(path); }
  } cleanup{outside};
  const std::string script = "save inside.jox\nsave ../" +
                             std::filesystem::path(folder_.path()).filename().string() +
                             "/sub/../also.jox\nsave " + outside + "/out.jox\n";
  const std::string out = outside + "/out.jox";
  std::filesystem::create_directories(folder_.File("sub"));

  // Run on purpose: everything is written, nothing asked.
  EXPECT_EQ(Run(script), 0);
  EXPECT_TRUE(std::filesystem::exists(out));
  EXPECT_TRUE(std::filesystem::exists(folder_.File("inside.jox")));
  std::filesystem::remove(out);
  db_.SetFileName(folder_.File("Books.jov"));  // each whole save adopted its file

  // From a file's "##Commands" (whose first button refuses): inside runs, outside is refused.
  Run("save " + outside + "/../../outer.jox\nsave inside2.jox\nsave " + out + "\n",
      ScriptOrigin::kFileSection);
  EXPECT_TRUE(std::filesystem::exists(folder_.File("inside2.jox")));
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_FALSE(std::filesystem::exists(folder_.path().parent_path() / "outer.jox"));
  EXPECT_EQ(Raised(), (std::vector<MessageId>{msg::kAllowFileCommand, msg::kFileCommandRefused,
                                              msg::kAllowFileCommand, msg::kFileCommandRefused}));

  // Answered "Continue", it runs (a save of a part keeps the database's own file).
  sink_.Clear();
  sink_.set_answer(1);
  Run("save " + out + " SC-\nerrorFile " + outside + "/log.txt\nsave " + outside + "/2.jox\n",
      ScriptOrigin::kFileSection);
  EXPECT_TRUE(std::filesystem::exists(out));
  EXPECT_EQ(Raised(), (std::vector<MessageId>{msg::kAllowFileCommand, msg::kAllowFileCommand}));
  // Under an error log nobody answers: the question takes its first button and refuses.
  EXPECT_FALSE(std::filesystem::exists(outside + "/2.jox"));
  EXPECT_NE(ReadWholeFile(outside + "/log.txt").value_or("").find("was not run"),
            std::string::npos);
}

TEST_F(CommandRunnerTest, SaveOptionsAndTheCancelledFlag) {
  EXPECT_EQ(Run("save copy.jox SC- nonsense\n"), 1);
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kUnknownOption});
  EXPECT_TRUE(std::filesystem::exists(folder_.File("copy.jox")));
  // Saving only part of the database keeps the database's own file.
  EXPECT_EQ(db_.file_name(), folder_.File("Books.jov"));

  Run("save whole.jox\n");
  EXPECT_EQ(db_.file_name(), folder_.File("whole.jox"));

  CommandState::Of(db_).cancelled = true;
  Run("save again.jox\n");
  EXPECT_TRUE(std::filesystem::exists(folder_.File("again.jox")));
  EXPECT_EQ(db_.file_name(), folder_.File("whole.jox"));
}

TEST_F(CommandRunnerTest, SessionCommands) {
  Run("signature \"  AB  \"\npassword secret\nbeep\nclose\nquit\n");
  EXPECT_EQ(Process().preferences.signature, "AB");
  EXPECT_EQ(CommandState::Of(db_).password, "secret");
  EXPECT_EQ(host_.beeps, 1);
  EXPECT_TRUE(CommandState::Of(db_).close_requested);
  EXPECT_TRUE(CommandState::Of(db_).quit_requested);

  // A long signature asks: "OK" keeps three characters, "Cancel" keeps the old one.
  Run("signature ABCDE\n");
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kTruncatedAfter});
  EXPECT_EQ(sink_.alerts()[0].ComposeText(), "\"ABC...\" is truncated after 3 chars.");
  EXPECT_EQ(Process().preferences.signature, "ABC");
  sink_.set_answer(1);
  Run("signature XYZW\n");
  EXPECT_EQ(Process().preferences.signature, "ABC");
}

TEST_F(CommandRunnerTest, ImportRefusesTheFileBeingRead) {
  Run("import Books.jov\n");
  EXPECT_EQ(Raised(), std::vector<MessageId>{msg::kUnableToOpen});  // no such file yet
}

}  // namespace
}  // namespace jov
