// End-to-end tests of the `jov` program: the binary itself is run on files made here.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "automation/section_kinds.h"
#include "files/database_file.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

struct JovRun {
  int status;
  std::string out;  // stdout and stderr together
};

// Runs a shell command with stdout and stderr together and no input.
JovRun RunShell(const std::string& shell_command) {
  const std::string command = shell_command + " 2>&1 </dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  JovRun run{-1, ""};
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer;
  size_t got;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.out.append(buffer.data(), got);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

JovRun Jov(const std::string& arguments) {
  return RunShell(std::string(JOV_BINARY) + " " + arguments);
}

class JovProgramTest : public ::testing::Test {
 protected:
  // Preferences of the test runs stay in the test folder.
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1); }
  std::string Path(const char* name) const { return dir_.File(name); }

  TempDir dir_;
};

TEST_F(JovProgramTest, CommandLineMistakesExitWithTwo) {
  EXPECT_EQ(Jov("--help").status, 0);
  EXPECT_EQ(Jov("--version").status, 0);
  EXPECT_EQ(Jov("").status, 2);
  EXPECT_EQ(Jov("frobnicate").status, 2);
  EXPECT_EQ(Jov("convert onlyone").status, 2);
  EXPECT_EQ(Jov("info --nonsense x").status, 2);
  for (const char* command : {"info", "convert", "check", "demo"}) {
    const JovRun help = Jov(std::string(command) + " --help");
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_NE(help.out.find("Usage: jov " + std::string(command)), std::string::npos);
  }
}

TEST_F(JovProgramTest, ConversionsRoundTripTheDemoCompany) {
  ASSERT_EQ(Jov("demo " + Path("demo.jox")).status, 0);
  ASSERT_EQ(Jov("convert " + Path("demo.jox") + " " + Path("demo.jov")).status, 0);
  ASSERT_EQ(Jov("convert --store " + Path("demo.jov") + " " + Path("stored.jov")).status, 0);
  ASSERT_EQ(Jov("convert --text " + Path("stored.jov") + " " + Path("back.txt")).status, 0);
  EXPECT_EQ(ReadWholeFile(Path("demo.jox")), ReadWholeFile(Path("back.txt")));
  EXPECT_LT(*FileSize(Path("demo.jov")), *FileSize(Path("stored.jov")));

  const JovRun info = Jov("info " + Path("demo.jov"));
  EXPECT_EQ(info.status, 0) << info.out;
  EXPECT_NE(info.out.find("  Accounts\t32\t"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("First\t220101-001"), std::string::npos) << info.out;
}

TEST_F(JovProgramTest, CheckNamesKindsAndFailsOnFilesThatDoNotOpen) {
  ASSERT_EQ(Jov("demo " + Path("d.jov")).status, 0);
  ASSERT_TRUE(WriteFileAtomically(Path("notes.txt"), "just text\n"));
  std::string damaged = *ReadWholeFile(Path("d.jov"));
  damaged[damaged.size() / 2] ^= 0x55;
  ASSERT_TRUE(WriteFileAtomically(Path("bad.jov"), damaged));
  EXPECT_EQ(Jov("check " + Path("d.jov")).status, 0);
  const JovRun run =
      Jov("check " + Path("d.jov") + " " + Path("notes.txt") + " " + Path("bad.jov"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("d.jov: binary database, opens"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("notes.txt: not a database file, does not open"), std::string::npos);
  EXPECT_NE(run.out.find("is corrupted."), std::string::npos);
}

TEST_F(JovProgramTest, PasswordsComeFromTheCommandLineWithoutATerminal) {
  ResetProcess();
  Database db;
  db.AddComponent(0, "1910", "Kassa", "");
  db.Attached<DatabasePassword>().password.SetPassword("Hemligt");
  SaveSetup setup;
  ASSERT_TRUE(SaveDatabaseFile(db, Path("locked.jov"), DatabaseFormat::kBinary, setup,
                               FullSectionRegistry(), nullptr));
  const JovRun without = Jov("info " + Path("locked.jov"));
  EXPECT_EQ(without.status, 1);  // no terminal: the prompt cancels, nothing hangs
  EXPECT_EQ(Jov("info --password hemligt " + Path("locked.jov")).status, 0);
  const JovRun wrong = Jov("info --password fel " + Path("locked.jov"));
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.out.find("Incorrect password"), std::string::npos);
  // A binary copy keeps the password; a text copy needs a yes on a terminal, so none is made.
  ASSERT_EQ(Jov("convert --password Hemligt " + Path("locked.jov") + " " + Path("copy.jov")).status,
            0);
  EXPECT_EQ(Jov("info " + Path("copy.jov")).status, 1);
  EXPECT_EQ(Jov("convert --password Hemligt " + Path("locked.jov") + " " + Path("open.jox")).status,
            1);
  EXPECT_FALSE(std::filesystem::exists(Path("open.jox")));
}

TEST_F(JovProgramTest, ProgressIsABarOnATerminalAndNothingElsewhere) {
  ASSERT_EQ(Jov("demo " + Path("p.jox")).status, 0);
  const JovRun piped = Jov("convert " + Path("p.jox") + " " + Path("p.jov"));
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out, "");
  // `script` runs the program on a terminal of its own and copies what it shows.
  const std::string command = "convert " + Path("p.jov") + " " + Path("q.jox");
  const JovRun shown =
      RunShell("script -qec '" + std::string(JOV_BINARY) + " " + command + "' /dev/null");
  EXPECT_EQ(shown.status, 0);
  EXPECT_NE(shown.out.find("\rOpening p.jov ["), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("\rSaving q.jox [########################]"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(Path("p.jox")), ReadWholeFile(Path("q.jox")));
}

// The report counts the stored templates, which a text database keeps through a conversion.
TEST_F(JovProgramTest, InfoCountsTheStoredAnalysisTemplates) {
  ASSERT_TRUE(WriteFileAtomically(Path("t.jox"),
                                  "##JOV-Text\t001219\r\n##Templates\r\n#P\tBy account\r\nxo\r\n"
                                  "ZC\tkept\r\n#L\tLines\r\n#K\tCard\r\n##End\r\n"));
  const JovRun info = Jov("info " + Path("t.jox"));
  EXPECT_EQ(info.status, 0) << info.out;
  EXPECT_NE(info.out.find("Analysis Templates\t2"), std::string::npos) << info.out;
  ASSERT_EQ(Jov("convert " + Path("t.jox") + " " + Path("t.jov")).status, 0);
  ASSERT_EQ(Jov("convert " + Path("t.jov") + " " + Path("u.jox")).status, 0);
  EXPECT_NE(ReadWholeFile(Path("u.jox"))
                ->find("##Templates\r\n#P\tBy account\r\nxo\r\nZC\tkept\r\n"
                       "#L\tLines\r\n##End"),
            std::string::npos);
}

}  // namespace
}  // namespace jov
