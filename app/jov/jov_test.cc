// End-to-end tests of the `jov` program: the binary itself is run on files made here.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "automation/section_kinds.h"
#include "files/binary_file.h"
#include "files/database_file.h"
#include "model/packed_date.h"
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
  for (const char* command :
       {"info", "convert", "check", "templates", "subsets", "import", "export", "components",
        "lines", "cards", "periods", "compfunctions", "aggregate", "transform", "run", "demo"}) {
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
  EXPECT_NE(info.out.find("  Accounts\t22\t"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("First\t211231-001"), std::string::npos) << info.out;
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
  EXPECT_NE(without.out.find("is protected by a password. Give it with --password"),
            std::string::npos)
      << without.out;
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
  // A text file opens without its password, but saving it as text again asks for it.
  ASSERT_TRUE(WriteFileAtomically(Path("shown.jox"),
                                  "##JOV-Text\t001219\r\n##Protection\tsecret\r\n##End\r\n"));
  const JovRun resave = Jov("convert " + Path("shown.jox") + " " + Path("again.jox"));
  EXPECT_EQ(resave.status, 1);
  EXPECT_NE(resave.out.find("is protected by a password. Give it with --password"),
            std::string::npos)
      << resave.out;
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
                                  "##JOV-Text\t001219\r\n##Templates\r\n#S\tFurther\r\nxo\r\n"
                                  "ZC\tkept\r\n#L\tLines\r\n#K\tCard\r\n##End\r\n"));
  const JovRun info = Jov("info " + Path("t.jox"));
  EXPECT_EQ(info.status, 0) << info.out;
  EXPECT_NE(info.out.find("Analysis Templates\t2"), std::string::npos) << info.out;
  ASSERT_EQ(Jov("convert " + Path("t.jox") + " " + Path("t.jov")).status, 0);
  ASSERT_EQ(Jov("convert " + Path("t.jov") + " " + Path("u.jox")).status, 0);
  EXPECT_NE(ReadWholeFile(Path("u.jox"))
                ->find("##Templates\r\n#S\tFurther\r\nxo\r\nZC\tkept\r\n"
                       "#L\tLines\r\nQA\r\nD2\r\n"),
            std::string::npos);
}

// The subsets of the demo company, and their count lines once calculated.
TEST_F(JovProgramTest, SubsetsAreListedAndCounted) {
  ASSERT_EQ(Jov("demo " + Path("demo.jox")).status, 0);
  const JovRun listed = Jov("subsets " + Path("demo.jox"));
  EXPECT_EQ(listed.status, 0) << listed.out;
  EXPECT_EQ(listed.out.substr(0, listed.out.find('\n', listed.out.find('\n') + 1)),
            "Large web sales\tcards Web\n\tWeb\tAccount: I3020; Amount: <-5000")
      << listed.out;
  const JovRun counted = Jov("subsets --calculate " + Path("demo.jox"));
  EXPECT_EQ(counted.status, 0) << counted.out;
  EXPECT_NE(counted.out.find("Large web sales\tcards Web\t2136 lines in 712 cards\n"),
            std::string::npos)
      << counted.out;
  // A subset whose selection names the subset itself is refused, and the run fails.
  ASSERT_TRUE(WriteFileAtomically(Path("loop.jox"),
                                  "##JOV-Text\t001219\r\n##Subset\tLoop\r\nVN\tA\r\nVS\tLoop\r\n"
                                  "F\tA\r\n##End\r\n"));
  const JovRun loop = Jov("subsets --calculate " + Path("loop.jox"));
  EXPECT_EQ(loop.status, 1);
  EXPECT_NE(loop.out.find("Loop\tA\tSubset not calculated"), std::string::npos) << loop.out;
  EXPECT_NE(loop.out.find("Subset \"Loop\" refers to itself"), std::string::npos) << loop.out;
  EXPECT_EQ(Jov("subsets").status, 2);
  EXPECT_EQ(Jov("subsets " + Path("missing.jox")).status, 1);
}

// The list of templates as a table: text on the terminal (UTF-8), HTML and XML into files
// (Windows-1252, declared), and XML on the terminal, each readable by what reads that format.
TEST_F(JovProgramTest, TemplatesAreListedAsATableInEachFormat) {
  ASSERT_TRUE(WriteFileAtomically(Path("t.jox"),
                                  "##JOV-Text\t001219\r\n##Templates\r\n#P\tSales & <more>\r\n"
                                  "xo\r\nxew\r\n#L\tL\xF6ner\r\n##End\r\n"));
  const JovRun text = Jov("templates " + Path("t.jox"));
  EXPECT_EQ(text.status, 0) << text.out;
  EXPECT_EQ(
      text.out,
      "Analysis Templates\nName\tAnalysis\tOpen Directly\tCalculate Directly\tZoom Directly"
      "\tFormat\nSales & <more>\tComponents\tYes\t\t\tHTML\nL\xC3\xB6ner\tLines\t\t\t\tText\n");
  ASSERT_EQ(Jov("templates --output " + Path("t.htm") + " " + Path("t.jox")).status, 0);
  EXPECT_NE(ReadWholeFile(Path("t.htm"))->find("<td align=\"left\"> L&ouml;ner </td>\r\n"),
            std::string::npos);
  ASSERT_EQ(Jov("templates --format=xml --output " + Path("t.txt") + " " + Path("t.jox")).status,
            0);
  EXPECT_TRUE(ReadWholeFile(Path("t.txt"))->starts_with("<?xml"));
  if (std::system("xmllint --version >/dev/null 2>&1") != 0) return;
  EXPECT_EQ(RunShell("xmllint --noout " + Path("t.txt")).status, 0);
  EXPECT_EQ(RunShell("(" + std::string(JOV_BINARY) + " templates --format xml " + Path("t.jox") +
                     " | xmllint --noout -)")
                .status,
            0);
  EXPECT_EQ(Jov("templates --format pdf " + Path("t.jox")).status, 2);
  EXPECT_EQ(Jov("templates --output " + Path("no/such/t.txt") + " " + Path("t.jox")).status, 1);
}

// The value of `column` (0 from the left) in the row of the text table that starts with
// `first`; nothing when there is no such row.
std::optional<std::string> Cell(const std::string& table, const std::string& first, int column) {
  const size_t row = table.find("\n" + first + "\t");
  if (row == std::string::npos) return std::nullopt;
  size_t start = row + 1;
  for (int i = 0; i < column; ++i) start = table.find('\t', start) + 1;
  return table.substr(start, table.find_first_of("\t\n", start) - start);
}

int64_t Count(const JovRun& run, const std::string& first) {
  const std::optional<std::string> cell = Cell(run.out, first, 2);
  return cell ? std::stoll(*cell) : -1;
}

// The account tree of the demo company from the command line: the root row sums its subtree,
// expressions and dates narrow the lines, and the tables read as their formats.
TEST_F(JovProgramTest, ComponentsShowTheAccountTreeFromTheCommandLine) {
  ASSERT_EQ(Jov("demo " + Path("demo.jox")).status, 0);
  const std::string db = " " + Path("demo.jox");
  const JovRun year = Jov("components --dim account --from 2024 --to 2024-12-31 --columns C" + db);
  ASSERT_EQ(year.status, 0) << year.out;
  EXPECT_NE(year.out.find("From\t240101\nTo\t241231\n"), std::string::npos) << year.out;
  int64_t classes = 0;
  for (const char* code : {"K", "I", "T", "S"}) classes += Count(year, code);
  EXPECT_GT(classes, 0);
  EXPECT_EQ(Count(year, "Accounts"), classes) << year.out;

  // One account by its code; the first quarter by the time scale's period names.
  const JovRun web = Jov("components --dim 2 --columns C --depth 0 --where 2=3020" + db);
  EXPECT_EQ(web.status, 0) << web.out;
  const JovRun flat = Jov("components --dim Accounts --columns C --flat --filter inuse" + db);
  EXPECT_EQ(Count(web, "Accounts"), Count(flat, "I3020")) << web.out << flat.out;
  EXPECT_EQ(Cell(flat.out, "I", 2), std::nullopt) << "a group without lines of its own";
  const JovRun quarter =
      Jov("components --dim 2 --from \"2024 Q1\" --to \"2024 Q1\" --columns C --depth 0" + db);
  const JovRun months = Jov("components --dim 2 --from 2024-01 --to 2024-03 --columns C" + db);
  EXPECT_EQ(Count(quarter, "Accounts"), Count(months, "Accounts"));
  EXPECT_GT(Count(year, "Accounts"), Count(quarter, "Accounts"));

  if (std::system("xmllint --version >/dev/null 2>&1") == 0) {
    EXPECT_EQ(RunShell("(" + std::string(JOV_BINARY) + " components --dim 1 --format xml" + db +
                       " | xmllint --noout -)")
                  .status,
              0);
  }
  EXPECT_EQ(Jov("components --dim 1 --output " + Path("tree.htm") + db).status, 0);
  EXPECT_NE(ReadWholeFile(Path("tree.htm"))->find("<table"), std::string::npos);

  for (const char* wrong :
       {"", "--dim 9", "--dim Projects", "--dim 1 --from someday", "--dim 2 --where 2=9999",
        "--dim 1 --where Nowhere=1", "--dim 1 --columns BXZ", "--dim 1 --sort upward",
        "--dim 1 --depth x", "--dim 1 --value Weight", "--dim 1 --format pdf"}) {
    EXPECT_EQ(Jov(std::string("components ") + wrong + db).status, 2) << wrong;
  }
  EXPECT_EQ(Jov("components --dim 1 " + Path("missing.jox")).status, 1);
}

// The demo company's stored analyses: its vouchers balance, so the year's movement of the
// balance sheet accounts is the year's result with the sign turned.
TEST_F(JovProgramTest, TheDemoCompanysBalanceSheetAndResultAgree) {
  ASSERT_EQ(Jov("demo " + Path("demo.jox")).status, 0);
  const JovRun balance =
      Jov("export --format text " + Path("demo.jox") + " \"Balance sheet 2024\"");
  const JovRun result =
      Jov("export --format text " + Path("demo.jox") + " \"Profit and loss 2024\"");
  ASSERT_EQ(balance.status, 0) << balance.out;
  ASSERT_EQ(result.status, 0) << result.out;
  const double movement = std::stod(Cell(balance.out, "Accounts", 3).value_or("0"));
  EXPECT_GT(std::abs(movement), 1000);
  EXPECT_NEAR(movement, -std::stod(Cell(result.out, "Accounts", 4).value_or("0")), 0.005);
  ASSERT_EQ(Jov("export " + Path("demo.jox") + " \"balance sheet 2024\" " + Path("b.htm")).status,
            0);
  EXPECT_TRUE(ReadWholeFile(Path("b.htm"))->starts_with("<html>"));
}

// The demo company's customer ledger ends where the account's balance does, and the ledger
// can be asked for from the command line in each format.
TEST_F(JovProgramTest, TheCustomerLedgerEndsAtTheAccountsBalance) {
  const std::string db = " " + Path("demo.jox");
  ASSERT_EQ(Jov("demo" + db).status, 0);
  const JovRun ledger = Jov("export --format text" + db + " \"Customer ledger 2024\"");
  ASSERT_EQ(ledger.status, 0) << ledger.out;
  const JovRun balance =
      Jov("components --dim 2 --from 2024 --to 2024 --columns E --flat --where 2=T1510" + db);
  ASSERT_EQ(balance.status, 0) << balance.out;
  const std::optional<std::string> closing = Cell(ledger.out, "Period:", 5);
  ASSERT_TRUE(closing && !closing->empty()) << ledger.out;
  EXPECT_NEAR(std::stod(*closing), std::stod(Cell(balance.out, "T1510", 2).value_or("0")), 0.005);

  const JovRun xml =
      Jov("lines --from 2024-03 --to 2024-03 --where Account=T1510 --summary '#C'"
          " --interest ,8 --compound --format xml" +
          db);
  ASSERT_EQ(xml.status, 0) << xml.out;
  size_t lines = 0;
  for (size_t at = xml.out.find("<line>"); at != std::string::npos;
       at = xml.out.find("<line>", at + 1)) {
    ++lines;
  }
  EXPECT_GT(lines, 0u);
  EXPECT_NE(xml.out.find("<linecount>" + std::to_string(lines) + "</linecount>"), std::string::npos)
      << xml.out;
  EXPECT_NE(xml.out.find("<neginterest>"), std::string::npos);
  EXPECT_EQ(xml.out.find("<posinterest>"), std::string::npos);
  for (const char* wrong :
       {"--summary BZ", "--interest x", "--interest 3,y", "--balance 9", "--where Nothing=1"}) {
    EXPECT_EQ(Jov(std::string("lines ") + wrong + db).status, 2) << wrong;
  }
}

// The demo company's unapproved vouchers of December, from the stored template and ad hoc.
TEST_F(JovProgramTest, TheUnapprovedVouchersReadAsACardsSection) {
  const std::string db = " " + Path("demo.jox");
  ASSERT_EQ(Jov("demo" + db).status, 0);
  const JovRun stored = Jov("export" + db + " \"unapproved vouchers 2024-12\"");
  ASSERT_EQ(stored.status, 0) << stored.out;
  EXPECT_TRUE(stored.out.starts_with("##Cards\tUnapproved vouchers 2024-12\n241215-001\t"))
      << stored.out.substr(0, 200);
  const JovRun all = Jov("cards --from 2024-12-15 --to 2024-12 --groups none" + db);
  ASSERT_EQ(all.status, 0) << all.out;
  // Every card from the 15th on waits for approval, so both list the same cards.
  const auto cards = [](const std::string& out) {
    size_t count = 0;
    for (size_t at = out.find("\n2412"); at != std::string::npos; at = out.find("\n2412", at + 1)) {
      ++count;
    }
    return count;
  };
  EXPECT_GT(cards(all.out), 10u);
  EXPECT_EQ(cards(stored.out), cards(all.out));
  const JovRun xml = Jov("cards --from 2024-12-31 --to 2024-12-31 --lines all --format xml" + db);
  ASSERT_EQ(xml.status, 0) << xml.out;
  EXPECT_NE(xml.out.find("<JOV-Cards title=\"Cards\">"), std::string::npos) << xml.out;
  EXPECT_NE(xml.out.find("</line>\n</group>\n</card>"), std::string::npos) << xml.out;
  EXPECT_EQ(Jov("cards --groups some" + db).status, 2);
}

// A stored template calculated and written as its export settings say; a warning met while
// reading the file is printed, and fails the command only with --strict.
TEST_F(JovProgramTest, ExportWritesAStoredTemplateAndWarningsFailOnlyWhenStrict) {
  ASSERT_EQ(Jov("demo " + Path("demo.jox")).status, 0);
  std::string text = *ReadWholeFile(Path("demo.jox"));
  text.replace(text.rfind("##End"), 5,
               "##Templates\r\n#P\tBalance\r\nP2\r\nQC\tVbrs\t0\t2\r\n##Stray\r\n##End");
  ASSERT_TRUE(WriteFileAtomically(Path("t.jox"), text));

  const JovRun run = Jov("export " + Path("t.jox") + " balance");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("Unknown section \"Stray\"."), std::string::npos) << run.out;
  const JovRun all = Jov("components --dim 2 --columns C --depth 0 " + Path("demo.jox"));
  // The root is expanded and has no lines of its own; the classes are collapsed.
  EXPECT_EQ(Cell(run.out, "Accounts", 6), "0") << run.out;
  int64_t classes = 0;
  for (const char* code : {"K", "I", "T", "S"}) {
    classes += std::stoll(Cell(run.out, code, 6).value_or("0"));
  }
  EXPECT_EQ(classes, Count(all, "Accounts")) << run.out;

  EXPECT_EQ(Jov("export --strict " + Path("t.jox") + " Balance").status, 1);
  EXPECT_EQ(Jov("export --format xml " + Path("t.jox") + " Balance " + Path("b.xml")).status, 0);
  EXPECT_TRUE(ReadWholeFile(Path("b.xml"))->starts_with("<?xml"));
  EXPECT_EQ(Jov("export " + Path("t.jox") + " Nothing").status, 1);
  EXPECT_EQ(Jov("export " + Path("t.jox")).status, 2);

  // A conversion that would drop the unknown section writes nothing; told to write anyway, it
  // has done its work, unless warnings are to fail it.
  EXPECT_EQ(Jov("convert " + Path("t.jox") + " " + Path("t.jov")).status, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("t.jov")));
  EXPECT_EQ(Jov("convert --force " + Path("t.jox") + " " + Path("t.jov")).status, 0);
  EXPECT_TRUE(std::filesystem::exists(Path("t.jov")));
  EXPECT_EQ(Jov("convert --force --strict " + Path("t.jox") + " " + Path("u.jov")).status, 1);
}

// The figure in `column` of the row starting with `first`, as a number (grouping and blanks
// left out); NaN when there is no such row.
double Figure(const std::string& table, const std::string& first, int column) {
  const std::optional<std::string> cell = Cell(table, first, column);
  if (!cell) return std::nan("");
  std::string digits;
  for (const char c : *cell) {
    if ((c >= '0' && c <= '9') || c == '-' || c == '.') digits += c;
  }
  return digits.empty() ? std::nan("") : std::stod(digits);
}

// The demo company's stored monthly report, and the same figures asked for ad hoc: months run
// up to the last with data, quarters add up their months, and mistakes are refused.
TEST_F(JovProgramTest, PeriodsMeasureVariablesPerPeriodFromTheCommandLine) {
  ASSERT_EQ(Jov("demo " + Path("demo.jox")).status, 0);
  const std::string db = " " + Path("demo.jox");
  const JovRun stored = Jov("export" + db + " \"Monthly sales and margin\"");
  ASSERT_EQ(stored.status, 0) << stored.out;
  const JovRun months =
      Jov("periods --from 2024 --to 2024 --var sales=-sum::Accounts=I --var cost=sum:1:2=K4010"
          " --formula \"margin=sales - cost\"" +
          db);
  ASSERT_EQ(months.status, 0) << months.out;
  double year_sales = 0;
  for (int month = 1; month <= 12; ++month) {
    const std::string label = "24" + std::string(month < 10 ? "0" : "") + std::to_string(month);
    const double sales = Figure(months.out, label, 1);
    EXPECT_GT(sales, 0) << label << months.out;
    EXPECT_NEAR(Figure(stored.out, label, 1), sales, 0.5) << label << stored.out;
    EXPECT_NEAR(Figure(stored.out, label, 3), Figure(months.out, label, 3), 1) << label;
    EXPECT_NEAR(Figure(months.out, label, 3), sales - Figure(months.out, label, 2), 0.01);
    year_sales += sales;
  }
  EXPECT_EQ(Cell(months.out, "2501", 1), std::nullopt) << "no rows after the range";

  const JovRun quarters = Jov("periods --by quarters --from 2024 --to 2024 --var s=-sum::2=I" + db);
  ASSERT_EQ(quarters.status, 0) << quarters.out;
  double quarter_sales = 0;
  for (const char* quarter : {"2401-2403", "2404-2406", "2407-2409", "2410-2412"}) {
    quarter_sales += Figure(quarters.out, quarter, 1);
  }
  EXPECT_NEAR(quarter_sales, year_sales, 0.05) << quarters.out;
  const JovRun running =
      Jov("periods --by years --cumulative --var n=count:: --from 2023 --to 2024" + db);
  ASSERT_EQ(running.status, 0) << running.out;
  EXPECT_LT(Figure(running.out, "2023", 1), Figure(running.out, "2024", 1)) << running.out;

  EXPECT_EQ(Jov("periods --from 2024 --to 2023 --var s=sum" + db).status, 1);
  EXPECT_EQ(Jov("periods --var s=sum --formula f=f+1" + db).status, 1);
  for (const char* wrong :
       {"", "--var s", "--var =sum", "--var s=total", "--var s=sum:9", "--var s=sum::9999",
        "--var s=sum --var s=count", "--var s=sum --formula =s", "--var s=sum --by fortnights",
        "--var s=sum --from someday", "--var s=sum --format pdf"}) {
    EXPECT_EQ(Jov(std::string("periods ") + wrong + db).status, 2) << wrong;
  }
}

// Margins per cost centre, stored in the demo company and asked for ad hoc: the root's margin
// is the year's result, which the profit and loss account shows with the sign turned, and the
// centres' own lines add up to it as the sum of the lower levels.
TEST_F(JovProgramTest, CompFunctionsMeasureVariablesPerComponentFromTheCommandLine) {
  ASSERT_EQ(Jov("demo " + Path("demo.jox")).status, 0);
  const std::string db = " " + Path("demo.jox");
  const JovRun result = Jov("export --format text" + db + " \"Profit and loss 2024\"");
  ASSERT_EQ(result.status, 0) << result.out;
  const double year_result = -Figure(result.out, "Accounts", 4);
  const JovRun stored = Jov("export --format text" + db + " \"Margins by cost centre 2024\"");
  ASSERT_EQ(stored.status, 0) << stored.out;
  EXPECT_NEAR(Figure(stored.out, "Cost centres", 4), year_result, 1) << stored.out;

  const JovRun margins =
      Jov("compfunctions --dim \"cost centre\" --from 2024 --to 2024 --var sales=-sum:1::I"
          " --var costs=sum:::K --var lines=count --formula \"margin=sales - costs\""
          " --formula \"per_line=margin / lines\" --sum-lower per_line --sort desc:margin --own" +
          db);
  ASSERT_EQ(margins.status, 0) << margins.out;
  // Expanded, every row shows its own lines only: the root those booked to no centre.
  const auto own_total = [&](int column) {
    double total = 0;
    for (const char* row : {"Cost centres", "SHOP", "WEB", "WH", "ADM"}) {
      total += Figure(margins.out, row, column);
    }
    return total;
  };
  EXPECT_NEAR(own_total(5), year_result, 0.05) << margins.out;
  EXPECT_NEAR(own_total(3), Figure(stored.out, "Cost centres", 3), 0.5);
  // The best margin first.
  EXPECT_LT(margins.out.find("\nSHOP\t"), margins.out.find("\nWEB\t")) << margins.out;
  EXPECT_LT(margins.out.find("\nWEB\t"), margins.out.find("\nADM\t")) << margins.out;
  const JovRun tree = Jov("compfunctions --dim 3 --var n=count --sum-lower n" + db);
  EXPECT_EQ(tree.status, 2) << "a variable is not a formula";
  const JovRun medians =
      Jov("compfunctions --dim account --var m=median:::I --depth 1 --filter inuse" + db);
  ASSERT_EQ(medians.status, 0) << medians.out;
  EXPECT_LT(Figure(medians.out, "I", 2), 0) << medians.out;
  EXPECT_EQ(Cell(medians.out, "K", 2), std::nullopt) << "no income lines on costs";

  EXPECT_EQ(Jov("compfunctions --dim 3 --var s=sum --formula f=f+1" + db).status, 1);
  for (const char* wrong :
       {"", "--var s=sum", "--dim 3", "--dim 9 --var s=sum", "--dim 3 --var s=first",
        "--dim 3 --var s=last", "--dim 3 --var s=sum --sort desc:nothing",
        "--dim 3 --var s=sum --sort sideways", "--dim 3 --var s=sum --filter some",
        "--dim 3 --var s=sum --from someday", "--dim 3 --var s=sum --sum-lower nothing"}) {
    EXPECT_EQ(Jov(std::string("compfunctions ") + wrong + db).status, 2) << wrong;
  }
}

// The bytes a running process has read so far; 0 when the system does not tell.
uint64_t BytesRead(pid_t pid) {
  std::ifstream io("/proc/" + std::to_string(pid) + "/io");
  std::string key;
  uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return 0;
}

// A text database of `cards` cards with two lines each, large enough that converting it takes
// a while.
void WriteLargeDatabase(const std::string& path, int cards) {
  Database db;
  const ComponentRef account = db.AddComponent(0, "1910", "Kassa", "");
  CardStore& store = db.cards();
  for (int i = 0; i < cards; ++i) {
    const CardRef card = store.CreateCard({PackDay(2020 + i % 5, 1 + i % 12, 1 + i % 28), 0});
    const GroupRef group = store.FindOrAddGroup(card, account);
    for (int k = 0; k < 2; ++k) {
      const double values[] = {i * 1.25 + k};
      store.SetValues(store.CreateLine(group), values);
    }
  }
  ASSERT_TRUE(SaveDatabaseFile(db, path, DatabaseFormat::kText, SaveSetup(), FullSectionRegistry(),
                               nullptr));
}

// Runs jov with `arguments` (no input, no output, stderr into `stderr_path`), interrupts it with
// Ctrl-C once it has read `bytes` bytes (or after ten seconds), and returns its wait status.
int InterruptWhenRead(const std::vector<std::string>& arguments, const std::string& stderr_path,
                      uint64_t bytes) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDERR_FILENO, stderr_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv = {const_cast<char*>(JOV_BINARY)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, JOV_BINARY, &files, nullptr, argv.data(), environ) != 0) return -1;
  posix_spawn_file_actions_destroy(&files);
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (BytesRead(pid) < bytes && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ::kill(pid, SIGINT);
  int status = 0;
  return ::waitpid(pid, &status, 0) == pid ? status : -1;
}

// Ctrl-C while a conversion runs stops it: the program says so and fails, and the file it was
// to replace stays as it was, with no temporary file left beside it.
TEST_F(JovProgramTest, CtrlCStopsAConversionAndLeavesTheOldFileWhole) {
  ResetProcess();
  WriteLargeDatabase(Path("large.jox"), 150000);
  const uint64_t input_size = *FileSize(Path("large.jox"));
  ASSERT_TRUE(WriteFileAtomically(Path("old.jov"), "the old file"));

  // Once the input is read the program is reading sections (and then saving): interrupt it.
  const int status = InterruptWhenRead({"convert", Path("large.jox"), Path("old.jov")},
                                       Path("stderr.txt"), input_size);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal instead of stopping";
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(ReadWholeFile(Path("stderr.txt")), "jov convert: stopped\n");
  EXPECT_EQ(ReadWholeFile(Path("old.jov")), "the old file");
  int files_left = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    ++files_left;
  }
  EXPECT_EQ(files_left, 3) << "large.jox, old.jov and stderr.txt only";
}

// The header letter of a binary file: "x" when it is keyed by a password, "o" when not.
char HeaderLetter(const std::string& path) {
  return ReadWholeFile(path).value_or(std::string(12, '\0'))[11];
}

// The password given to open a file opens it and nothing more; protecting the copy is a choice
// of its own, and so is saving it without its password.
TEST_F(JovProgramTest, AReadingPasswordIsNotTheSavedDatabasesPassword) {
  ASSERT_EQ(Jov("demo " + Path("plain.jox")).status, 0);
  ASSERT_EQ(Jov("convert --password abc " + Path("plain.jox") + " " + Path("out.jov")).status, 0);
  EXPECT_EQ(HeaderLetter(Path("out.jov")), 'o');
  EXPECT_EQ(Jov("info " + Path("out.jov")).status, 0);

  ASSERT_EQ(Jov("convert --set-password Nytt " + Path("plain.jox") + " " + Path("x.jov")).status,
            0);
  EXPECT_EQ(HeaderLetter(Path("x.jov")), 'x');
  EXPECT_EQ(Jov("info " + Path("x.jov")).status, 1);
  EXPECT_EQ(Jov("info --password nytt " + Path("x.jov")).status, 0);
  ASSERT_EQ(Jov("convert --password Nytt " + Path("x.jov") + " " + Path("kept.jov")).status, 0);
  EXPECT_EQ(HeaderLetter(Path("kept.jov")), 'x');
  ASSERT_EQ(Jov("convert --password Nytt --remove-password " + Path("x.jov") + " " + Path("o.jov"))
                .status,
            0);
  EXPECT_EQ(HeaderLetter(Path("o.jov")), 'o');
  EXPECT_EQ(Jov("info " + Path("o.jov")).status, 0);
  EXPECT_EQ(
      Jov("convert --set-password a --remove-password " + Path("x.jov") + " " + Path("y")).status,
      2);
}

// A file keyed without a password cannot bring one in through its "##Protection" section; the
// entry list of that section travels with a database that has no password.
TEST_F(JovProgramTest, TheProtectionSectionIsCheckedAndItsEntriesKept) {
  ASSERT_TRUE(WriteFileAtomically(
      Path("foreign.jov"),
      EncodeBinaryFile("##Protection\tsecret\r##Cards\rC240101-1\rG\rL1\r##End\r", {})));
  const JovRun foreign = Jov("info " + Path("foreign.jov"));
  EXPECT_EQ(foreign.status, 1);
  EXPECT_NE(foreign.out.find("Incorrect password"), std::string::npos) << foreign.out;
  EXPECT_EQ(Jov("convert " + Path("foreign.jov") + " " + Path("taken.jov")).status, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("taken.jov")));

  ASSERT_TRUE(WriteFileAtomically(Path("entries.jox"),
                                  "##JOV-Text\t001219\r\n##Protection\r\nA1\tB1\r\nA2\tB2\r\n"
                                  "##Cards\r\nC240101-1\r\nG\r\nL1\r\n##End\r\n"));
  ASSERT_EQ(Jov("convert " + Path("entries.jox") + " " + Path("entries.jov")).status, 0);
  EXPECT_EQ(HeaderLetter(Path("entries.jov")), 'o');
  ASSERT_EQ(Jov("convert " + Path("entries.jov") + " " + Path("back.jox")).status, 0);
  EXPECT_NE(ReadWholeFile(Path("back.jox"))->find("##Protection\r\nA1\tB1\r\nA2\tB2\r\n"),
            std::string::npos);
}

// A read that lost data does not write its loss over anything unless told to.
TEST_F(JovProgramTest, ConvertWritesNothingAfterALossyReadUnlessForced) {
  const std::string text =
      "##JOV-Text\t001219\r\n##Cards\r\nC240101-1\tkept\r\nG\r\nL1\r\n"
      "C240102-1\tlost\r\nG\r\nL2\t" +
      std::string(9 << 20, 'x') + "\r\n##End\r\n";
  ASSERT_TRUE(WriteFileAtomically(Path("long.jox"), text));
  const JovRun refused = Jov("convert " + Path("long.jox") + " " + Path("long.jox"));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("Too long rows"), std::string::npos) << refused.out;
  EXPECT_NE(refused.out.find("Nothing was written"), std::string::npos) << refused.out;
  EXPECT_EQ(ReadWholeFile(Path("long.jox")), text);
  // Told to write anyway, the work is done: the loss is still reported, and fails the command
  // only with --strict.
  const JovRun forced = Jov("convert --force " + Path("long.jox") + " " + Path("short.jox"));
  EXPECT_EQ(forced.status, 0);
  EXPECT_NE(forced.out.find("Too long rows"), std::string::npos) << forced.out;
  EXPECT_TRUE(std::filesystem::exists(Path("short.jox")));
  EXPECT_EQ(Jov("convert --force --strict " + Path("long.jox") + " " + Path("s.jox")).status, 1);
}

// Passwords are Windows-1252 texts: one with characters outside it is refused, not folded.
TEST_F(JovProgramTest, PasswordsOutsideTheCharacterSetAreRefused) {
  ASSERT_EQ(Jov("demo " + Path("d.jox")).status, 0);
  ASSERT_EQ(Jov("convert --set-password '?"
                "?' " +
                Path("d.jox") + " " + Path("q.jov"))
                .status,
            0);
  for (const char* password : {"\xE5\xAF\x86\xE7\xA0\x81", "\xCE\xA9\xCE\xBC"}) {
    const JovRun run = Jov(std::string("info --password '") + password + "' " + Path("q.jov"));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("Windows Latin-1"), std::string::npos) << run.out;
  }
  EXPECT_EQ(Jov("info --password '?"
                "?' " +
                Path("q.jov"))
                .status,
            0);
  EXPECT_EQ(Jov("convert --set-password '\xCE\xA9' " + Path("d.jox") + " " + Path("w.jov")).status,
            2);
  EXPECT_FALSE(std::filesystem::exists(Path("w.jov")));
}

// Folders and FIFOs are refused at once; saving follows a link, and "-" or a pipe is written
// straight into.
TEST_F(JovProgramTest, WhatIsNoPlainFileIsHandledWithoutHarm) {
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  for (const std::string& odd : {dir_.path().string(), Path("fifo")}) {
    const JovRun run = Jov("check " + odd);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("not a file that can be opened"), std::string::npos) << run.out;
  }
  ASSERT_EQ(Jov("demo " + Path("d.jox")).status, 0);
  std::filesystem::create_symlink("d.jov", Path("link.jov"));
  ASSERT_EQ(Jov("convert " + Path("d.jox") + " " + Path("link.jov")).status, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.jov")));
  EXPECT_EQ(Jov("check " + Path("d.jov")).status, 0);
  for (const char* out : {"-", "/dev/stdout"}) {
    const JovRun piped = RunShell("(" + std::string(JOV_BINARY) + " convert --text " +
                                  Path("d.jov") + " " + out + " | cmp - " + Path("d.jox") + ")");
    EXPECT_EQ(piped.status, 0) << out << piped.out;
  }
  EXPECT_EQ(Jov("convert " + Path("d.jox") + " " + dir_.path().string()).status, 1);
}

// The examples of the user guide, imported as the guide shows: into a new database, then into
// the saved one, and with a database file among the files.
TEST_F(JovProgramTest, ImportReadsTheGuidesExamplesIntoADatabase) {
  const std::string examples = std::string(JOV_TESTDATA) + "/import/";
  const std::string db = Path("co.jox");
  const JovRun bank =
      Jov("import " + db + " " + examples + "bank.csv --setup-file " + examples + "bank.setup");
  EXPECT_EQ(bank.status, 0) << bank.out;
  EXPECT_NE(bank.out.find("bank.csv: 4 cards, 8 lines\n"), std::string::npos) << bank.out;
  EXPECT_NE(bank.out.find("Cannot find host code \"1930\" in dimension"), std::string::npos);

  // Several files at once, one of them UTF-8 whose names come out in UTF-8.
  const JovRun more = Jov("import --setup-file=" + examples + "ledger.setup " + db + " " +
                          examples + "ledger.txt -o " + Path("more.jox"));
  EXPECT_EQ(more.status, 0) << more.out;
  EXPECT_NE(more.out.find("ledger.txt: 3 cards, 6 lines\n"), std::string::npos) << more.out;
  const JovRun utf8 = Jov("import " + Path("more.jox") + " " + examples +
                          "export.csv --setup-file " + examples + "export.setup");
  EXPECT_EQ(utf8.status, 0) << utf8.out;
  EXPECT_NE(utf8.out.find("export.csv: 2 cards, 5 lines\n"), std::string::npos) << utf8.out;
  const std::optional<std::string> saved = ReadWholeFile(Path("more.jox"));
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find("L-960\tF\xF6rs\xE4ljning varor\tSALES"), std::string::npos);
  EXPECT_NE(Jov("info " + Path("more.jox")).out.find("Cards\t9\n"), std::string::npos);
  EXPECT_NE(Jov("info " + db).out.find("Cards\t4\n"), std::string::npos) << "-o left DB alone";

  // A database file is added as it is, without a setup.
  const JovRun merged = Jov("import " + db + " " + Path("more.jox"));
  EXPECT_EQ(merged.status, 0) << merged.out;
  EXPECT_NE(merged.out.find("more.jox: 9 cards, 19 lines\n"), std::string::npos) << merged.out;
}

// SIE files open as databases without a setup, read in the code page they declare, and add
// their cards to an open database; a dimension's components come from a list.
TEST_F(JovProgramTest, SieFilesAndComponentListsComeIn) {
  const std::string sie = Path("year.se");
  std::string chart_of_accounts;  // beyond the bytes that tell the kind of the file
  for (int account = 4000; account < 4040; ++account) {
    chart_of_accounts += "#KONTO " + std::to_string(account) + " Cost\r\n";
  }
  ASSERT_TRUE(WriteFileAtomically(
      sie,
      "#FLAGGA 0\r\n#FORMAT PC8\r\n#SIETYP 4\r\n#FNAMN \"Sm\x86 AB\"\r\n"
      "#RAR 0 20230101 20231231\r\n" +
          chart_of_accounts +
          "#KONTO 1910 Kassa\r\n#KTYP 1910 T\r\n"
          "#KONTO 3010 F\x94rs\x84ljning\r\n#KTYP 3010 I\r\n#IB 0 1910 100\r\n"
          "#VER A 1 20230105 Sale\r\n{\r\n#TRANS 1910 {} 50\r\n#TRANS 3010 {} -50\r\n}\r\n"));
  const std::string db = Path("year.jox");
  const JovRun convert = Jov("convert " + sie + " " + db);
  EXPECT_EQ(convert.status, 0) << convert.out;
  std::optional<std::string> saved = ReadWholeFile(db);
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find("\r\nS\tSm\xE5 AB\r\n"), std::string::npos) << *saved;
  EXPECT_NE(saved->find("\r\nI3010\tF\xF6rs\xE4ljning\t3010\r\n"), std::string::npos);
  EXPECT_NE(saved->find("\r\nC221231-001\tIB\r\n"), std::string::npos);
  const JovRun again = Jov("import " + db + " " + sie);
  EXPECT_EQ(again.status, 0) << again.out;
  EXPECT_NE(again.out.find("year.se: 2 cards, 3 lines\n"), std::string::npos) << again.out;

  const std::string chart = Path("chart.txt");
  const std::string setup = Path("chart.setup");
  ASSERT_TRUE(
      WriteFileAtomically(chart, "Code\tName\r\nP\tProjects\r\n A\tAlpha\t7\r\n B\tBeta\r\n"));
  ASSERT_TRUE(WriteFileAtomically(
      setup, "##DimImport\r\nMI\r\nRX\t1\r\nRF\t3\r\nLC\tF1\r\nLT\tF2\r\nLH\tF3\r\n"));
  const JovRun list = Jov("import --dim 5 --dim-setup " + setup + " " + db + " " + chart);
  EXPECT_EQ(list.status, 0) << list.out;
  EXPECT_NE(list.out.find("chart.txt: 3 components\n"), std::string::npos) << list.out;
  saved = ReadWholeFile(db);
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find("\r\nPA\tAlpha\t007\r\nPB\tBeta\r\n##DimImport\t"), std::string::npos)
      << *saved;
  // The dimension keeps its setup: the same list again adds nothing.
  EXPECT_NE(Jov("import --dim 5 " + db + " " + chart).out.find("chart.txt: 0 components\n"),
            std::string::npos);
  // A database file is no list of components.
  const JovRun refused = Jov("import --dim 5 " + db + " " + db);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("A JOV-file can not be imported"), std::string::npos) << refused.out;
}

// A file that cannot be read, a setup that cannot be had, or a stop saves nothing: the database
// file stays as it was.
TEST_F(JovProgramTest, AFailedOrStoppedImportLeavesTheDatabaseFileAsItWas) {
  const std::string examples = std::string(JOV_TESTDATA) + "/import/";
  const std::string db = Path("co.jox");
  const std::string setup = " --setup-file " + examples + "bank.setup";
  ASSERT_EQ(Jov("import " + db + " " + examples + "bank.csv" + setup).status, 0);
  const std::optional<std::string> before = ReadWholeFile(db);

  const JovRun missing =
      Jov("import " + db + " " + examples + "bank.csv " + Path("missing.csv") + setup);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.out.find("Unable to open"), std::string::npos) << missing.out;
  EXPECT_NE(missing.out.find("nothing saved"), std::string::npos) << missing.out;
  // The database holds no setup of its own to read a text file with.
  const JovRun no_setup = Jov("import " + db + " " + examples + "bank.csv");
  EXPECT_EQ(no_setup.status, 1);
  EXPECT_NE(no_setup.out.find("without an import setup"), std::string::npos) << no_setup.out;
  const JovRun unknown = Jov("import --setup Bank " + db + " " + examples + "bank.csv");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.out.find("Import Setup \"Bank\" not found."), std::string::npos);
  const JovRun not_setup =
      Jov("import --setup-file " + examples + "bank.csv " + db + " " + examples + "bank.csv");
  EXPECT_EQ(not_setup.status, 1);
  EXPECT_EQ(Jov("import " + db).status, 2);
  EXPECT_EQ(Jov("import --setup A --setup-file B " + db + " x.csv").status, 2);
  EXPECT_EQ(ReadWholeFile(db), before);

  // Ctrl-C half way through a large file.
  std::string rows;
  for (int i = 0; i < 300000; ++i)
    rows += "2024-01-02;2024-01-02;1;A text of some length;-45,00;0\r\n";
  ASSERT_TRUE(WriteFileAtomically(Path("large.csv"), rows));
  const int status =
      InterruptWhenRead({"import", db, Path("large.csv"), "--setup-file", examples + "bank.setup"},
                        Path("stderr.txt"), rows.size() / 2);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal instead of stopping";
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(ReadWholeFile(Path("stderr.txt"))->find("jov import: stopped\n"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(db), before);
}

// A script run on the demo company: commands in any case, comments, an error that the run goes
// on after (it has no terminal), file names in the database's folder.
TEST_F(JovProgramTest, RunsAScriptAndTellsWhetherACommandFailed) {
  ASSERT_EQ(Jov("demo " + Path("demo.jox")).status, 0);
  ASSERT_TRUE(WriteFileAtomically(Path("nightly.txt"),
                                  "/* a nightly job\r\n"
                                  "   written by hand\r\n"
                                  "*/\r\n"
                                  "MESSAGE -title Start \"Deleting//old cards\" // says so\r\n"
                                  "frobnicate\r\n"
                                  "deleteCards 000101 231231\r\n"
                                  "save \"after delete.jox\"\r\n"));
  const JovRun run = Jov("run " + Path("demo.jox") + " " + Path("nightly.txt"));
  EXPECT_EQ(run.status, 1) << run.out;
  EXPECT_NE(run.out.find("Start: Deleting\nold cards"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Unknown command \"frobnicate\"."), std::string::npos);
  const std::string saved = ReadWholeFile(Path("after delete.jox")).value_or("");
  EXPECT_EQ(saved.find("\r\nC22"), std::string::npos);
  EXPECT_NE(saved.find("\r\nC24"), std::string::npos);

  // A clean script exits with 0; --log takes the errors instead of the terminal.
  EXPECT_EQ(Jov("run " + Path("demo.jox") + " -c 'save copy.jox SC-'").status, 0);
  const JovRun logged = Jov("run --log " + Path("log.txt") + " " + Path("demo.jox") + " -c x");
  EXPECT_EQ(logged.status, 1);
  EXPECT_EQ(logged.out.find("Unknown command"), std::string::npos);
  EXPECT_NE(ReadWholeFile(Path("log.txt")).value_or("").find("Unknown command \"x\"."),
            std::string::npos);

  EXPECT_EQ(Jov("run " + Path("demo.jox")).status, 2);
  EXPECT_EQ(Jov("run " + Path("demo.jox") + " a.txt -c beep").status, 2);
  EXPECT_EQ(Jov("run --signature ' ' " + Path("demo.jox") + " -c beep").status, 2);
}

// Opening a file runs its "##Commands" section and not its start-up macros; what the section
// would write outside the file's folder is refused and reported, what stays inside is done.
TEST_F(JovProgramTest, AFilesOwnCommandsStayInItsFolder) {
  std::filesystem::create_directories(Path("in"));
  const std::string outside = Path("outside.jox");
  ASSERT_TRUE(WriteFileAtomically(Path("in/given.jox"),
                                  "##JOV-Text\t001219\r\n"
                                  "##Macro\tAtOpening\r\nM\tsave by-macro.jox\r\nS+\r\n\r\n"
                                  "##Commands\r\nsave inside.jox\r\nsave " +
                                      outside +
                                      "\r\nsave ../outside2.jox\r\n"
                                      "##Cards\r\nC240101-1\r\nG\r\nL1\r\n##End\r\n"));
  const JovRun run = Jov("run " + Path("in/given.jox") + " -c 'save by-script.jox'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("was not run"), std::string::npos) << run.out;
  EXPECT_TRUE(std::filesystem::exists(Path("in/inside.jox")));
  EXPECT_TRUE(std::filesystem::exists(Path("in/by-script.jox")));
  EXPECT_FALSE(std::filesystem::exists(outside));
  EXPECT_FALSE(std::filesystem::exists(Path("outside2.jox")));
  EXPECT_FALSE(std::filesystem::exists(Path("in/by-macro.jox")));

  // Run on purpose, the same script writes where it is told; without "##Commands" the
  // macros marked to run at opening run.
  ASSERT_TRUE(WriteFileAtomically(Path("in/plain.jox"),
                                  "##JOV-Text\t001219\r\n"
                                  "##Macro\tAtOpening\r\nM\tsave by-macro.jox\r\nS+\r\n\r\n"
                                  "##End\r\n"));
  EXPECT_EQ(Jov("run " + Path("in/plain.jox") + " -c 'save " + outside + "'").status, 0);
  EXPECT_TRUE(std::filesystem::exists(outside));
  EXPECT_TRUE(std::filesystem::exists(Path("in/by-macro.jox")));
}

}  // namespace
}  // namespace jov

namespace jov {
namespace {

// Each row's code and net sum ("Period") of a component table printed as text.
std::vector<std::string> NetSums(const std::string& table) {
  std::vector<std::string> rows;
  std::istringstream lines(table);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() >= 7) rows.push_back(fields[0] + " " + fields[5]);
  }
  return rows;
}

TEST_F(JovProgramTest, AggregateAndTransformSaveANewDatabaseAndKeepTheTotals) {
  ASSERT_EQ(Jov("demo " + Path("demo.jox")).status, 0);
  const std::optional<std::string> before = ReadWholeFile(Path("demo.jox"));
  JovRun run = Jov("aggregate --by quarters --title Q --signature T --out " + Path("q.jox") + " " +
                   Path("demo.jox"));
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("aggregated 16421 lines"), std::string::npos) << run.out;
  EXPECT_EQ(ReadWholeFile(Path("demo.jox")), before);
  const JovRun source = Jov("components --dim 2 " + Path("demo.jox"));
  const JovRun summary = Jov("components --dim 2 " + Path("q.jox"));
  ASSERT_EQ(summary.status, 0) << summary.out;
  EXPECT_EQ(NetSums(summary.out), NetSums(source.out));
  EXPECT_GT(NetSums(source.out).size(), 10u);

  // A transform moves 2024 a year on in a copy of its own; the sums stay.
  run =
      Jov("transform --settings \"CF=250101 'TT=Moved'\" --from 2024 --to 2024 --signature T "
          "--out " +
          Path("moved.jox") + " " + Path("demo.jox"));
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(NetSums(Jov("components --dim 2 " + Path("moved.jox")).out), NetSums(source.out));
  for (const std::string& row :
       NetSums(Jov("components --dim 2 --from 2024 --to 2024 " + Path("moved.jox")).out)) {
    EXPECT_TRUE(row.starts_with("JOV-Code") || row.ends_with(" 0.00")) << row;
  }

  // The input is never the output without --save; mistakes change nothing.
  EXPECT_EQ(Jov("aggregate --by months --out " + Path("demo.jox") + " " + Path("demo.jox")).status,
            2);
  EXPECT_EQ(Jov("aggregate --by fortnights --save " + Path("demo.jox")).status, 2);
  EXPECT_EQ(Jov("transform --settings D2=nothing --save " + Path("demo.jox")).status, 2);
  EXPECT_EQ(Jov("aggregate --by days --subset nothing --save " + Path("demo.jox")).status, 1);
  EXPECT_EQ(ReadWholeFile(Path("demo.jox")), before);
  run = Jov("aggregate --by years --signature T --save " + Path("demo.jox"));
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(NetSums(Jov("components --dim 2 " + Path("demo.jox")).out), NetSums(source.out));
}

}  // namespace
}  // namespace jov
