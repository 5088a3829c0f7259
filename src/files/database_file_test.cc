#include "files/database_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>

#include "files/binary_file.h"
#include "files/binary_format.h"
#include "files/binary_stream.h"
#include "files/line_sink.h"
#include "files/scripted_prompt_test_util.h"
#include "files/section_writer.h"
#include "files/text_format.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/message_ids.h"
#include "shell/process.h"
#include "shell/progress.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

class DatabaseFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
  }
  void TearDown() override { ResetProcess(); }
  std::string Path(const char* name) const { return dir_.File(name); }

  // A small company: accounts in a hierarchy, cost centres, cards with values and texts.
  static void Fill(Database& db, int cards = 30) {
    db.SetValueFieldCount(2);
    db.dimension(0).SetSingularName("Account");
    for (const char* code : {"1", "19", "1910", "1930", "3", "30", "3010"}) {
      db.AddComponent(0, code, std::string("Konto ") + code, "");
    }
    db.AddComponent(1, "CC1", "Butik", "H1");
    for (int i = 0; i < cards; ++i) {
      CardStore& store = db.cards();
      const CardRef card = store.CreateCard({PackDay(2024, 1 + i % 12, 1 + i % 28), 0});
      store.SetTitle(card, "Faktura " + std::to_string(i));
      const GroupRef group = store.FindOrAddGroup(card, db.FindByCode(0, i % 2 ? "1910" : "3010"));
      const LineRef line = store.CreateLine(group);
      const double values[] = {i * 10.25, -i * 1.0};
      store.SetValues(line, values);
      const ComponentRef slot[] = {db.FindByCode(1, "CC1")};
      store.SetComponents(line, slot);
      store.SetLineText(line, "rad " + std::to_string(i));
    }
  }
  // The text stream of everything a database holds, to compare databases.
  static std::string Stream(Database& db) {
    StringByteSink sink;
    WriteSections(db, sink, SaveSetup(), DefaultSectionRegistry());
    return sink.text();
  }
  static SaveSetup Setup(bool compressed = true, bool protection = true) {
    SaveSetup setup;
    setup.compressed = compressed;
    setup.sections[static_cast<size_t>(SaveSection::kProtection)] = protection;
    return setup;
  }

  RecordingSink sink_;
  TempDir dir_;
  const SectionRegistry registry_ = DefaultSectionRegistry();
  OpenDatabases open_;
  ScriptedPrompt prompt_;
};

TEST_F(DatabaseFileTest, BinaryAndTextFilesRoundTripEverything) {
  Database& original = open_.Create();
  Fill(original);
  const std::string expected = Stream(original);
  for (const auto& [name, format, compressed] :
       {std::tuple{"a.jov", DatabaseFormat::kBinary, true},
        std::tuple{"b.jov", DatabaseFormat::kBinary, false},
        std::tuple{"c.jox", DatabaseFormat::kText, true}}) {
    ASSERT_TRUE(
        SaveDatabaseFile(original, Path(name), format, Setup(compressed), registry_, nullptr));
    EXPECT_EQ(original.file_name(), Path(name));
    EXPECT_FALSE(original.modified());
    OpenDatabases other;
    Database* read = OpenDatabaseFile(other, Path(name), {}, nullptr, registry_);
    ASSERT_NE(read, nullptr) << name;
    EXPECT_EQ(Stream(*read), expected) << name;
    EXPECT_FALSE(read->modified());
    EXPECT_EQ(FormatForFileName(name), format);
  }
  EXPECT_TRUE(sink_.alerts().empty());
}

// A save goes to the file a buffer at a time and codes its blocks on several threads: a
// database of some megabytes (many buffers, many more blocks than are coded at once) is saved
// exactly as its section stream, byte for byte.
TEST_F(DatabaseFileTest, LargeSavesWriteExactlyTheSectionStream) {
  Database& db = open_.Create();
  Fill(db, 40000);
  const SaveSetup setup = Setup(true, false);
  WriteOptions text_options;
  text_options.write_creator = false;
  StringByteSink text;
  ASSERT_TRUE(WriteTextDatabase(db, text, setup, registry_, text_options));
  WriteOptions binary_options;
  binary_options.line_end = text_format::kBinaryLineEnd;
  StringByteSink stream;
  ASSERT_TRUE(WriteSections(db, stream, setup, registry_, binary_options));
  ASSERT_GT(text.text().size(), 2'000'000u);

  ASSERT_TRUE(SaveDatabaseFile(db, Path("big.jox"), DatabaseFormat::kText, setup, registry_,
                               nullptr, /*adopt=*/false));
  // Not EXPECT_EQ: the texts are too long to print.
  EXPECT_TRUE(*ReadWholeFile(Path("big.jox")) == text.text());
  ASSERT_TRUE(SaveDatabaseFile(db, Path("big.jov"), DatabaseFormat::kBinary, setup, registry_,
                               nullptr, /*adopt=*/false));
  const BinaryReadResult read = DecodeBinaryFile(*ReadWholeFile(Path("big.jov")), std::nullopt);
  EXPECT_EQ(read.status, BinaryReadStatus::kOk);
  EXPECT_TRUE(read.section_text == stream.text());
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(DatabaseFileTest, PasswordsKeyBinaryFilesAndAreCheckedOnOpening) {
  Database& db = open_.Create();
  Fill(db, 3);
  db.Attached<DatabasePassword>().password.SetPassword("Hemlig");
  ASSERT_TRUE(
      SaveDatabaseFile(db, Path("p.jov"), DatabaseFormat::kBinary, Setup(), registry_, nullptr));
  OpenDatabases other;
  ReadOptions wrong;
  wrong.password = "fel";
  EXPECT_EQ(OpenDatabaseFile(other, Path("p.jov"), wrong, nullptr, registry_), nullptr);
  EXPECT_TRUE(other.all().empty());  // no half-opened database
  EXPECT_EQ(sink_.Texts(), std::vector<std::string>{"Incorrect password"});

  prompt_.answers = {std::nullopt, "HEMLIG"};
  EXPECT_EQ(OpenDatabaseFile(other, Path("p.jov"), {}, &prompt_, registry_), nullptr);
  EXPECT_EQ(sink_.alerts().size(), 1u);  // a cancelled prompt says nothing
  Database* read = OpenDatabaseFile(other, Path("p.jov"), {}, &prompt_, registry_);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(prompt_.titles[0], "Protection for \"p.jov\"");
  EXPECT_TRUE(read->Attached<DatabasePassword>().password.HasPassword());

  // Without the Protection section the file is written without the password.
  ASSERT_TRUE(SaveDatabaseFile(db, Path("open.jov"), DatabaseFormat::kBinary, Setup(true, false),
                               registry_, nullptr));
  Database* unlocked = OpenDatabaseFile(other, Path("open.jov"), {}, nullptr, registry_);
  ASSERT_NE(unlocked, nullptr);
  EXPECT_FALSE(unlocked->Attached<DatabasePassword>().password.HasPassword());
}

// The password given for reading keys the keystream and nothing else: the database's password
// comes from the file's "##Protection" section, which must name the password the binary file
// was read with.
TEST_F(DatabaseFileTest, ThePasswordOfAReadIsNotTheDatabases) {
  Database& plain = open_.Create();
  Fill(plain, 2);
  ASSERT_TRUE(SaveDatabaseFile(plain, Path("plain.jox"), DatabaseFormat::kText, Setup(), registry_,
                               nullptr));
  ReadOptions with_password;
  with_password.password = "abc";
  OpenDatabases other;
  Database* read = OpenDatabaseFile(other, Path("plain.jox"), with_password, nullptr, registry_);
  ASSERT_NE(read, nullptr);
  EXPECT_FALSE(read->Attached<DatabasePassword>().password.HasPassword());
  ASSERT_TRUE(SaveDatabaseFile(*read, Path("out.jov"), DatabaseFormat::kBinary, Setup(), registry_,
                               nullptr));
  EXPECT_EQ((*ReadWholeFile(Path("out.jov")))[binary_format::kPasswordMarkOffset], 'o');
  EXPECT_NE(OpenDatabaseFile(other, Path("out.jov"), {}, nullptr, registry_), nullptr);

  // A file keyed without a password whose section names one opens with neither.
  const std::string section_text = "##Protection\tsecret\r##Cards\rC240101-1\rG\rL1\r##End\r";
  ASSERT_TRUE(WriteFileAtomically(Path("foreign.jov"), EncodeBinaryFile(section_text, {})));
  sink_.Clear();
  EXPECT_EQ(OpenDatabaseFile(other, Path("foreign.jov"), {}, nullptr, registry_), nullptr);
  EXPECT_EQ(sink_.Texts(), std::vector<std::string>{"Incorrect password"});
  ReadOptions secret;
  secret.password = "secret";
  EXPECT_EQ(OpenDatabaseFile(other, Path("foreign.jov"), secret, nullptr, registry_), nullptr);
  EXPECT_EQ(sink_.alerts().size(), 2u);
  // Keyed with the section's password, it opens and keeps it.
  BinaryWriteOptions keyed;
  keyed.password = "secret";
  ASSERT_TRUE(WriteFileAtomically(Path("keyed.jov"), EncodeBinaryFile(section_text, keyed)));
  read = OpenDatabaseFile(other, Path("keyed.jov"), secret, nullptr, registry_);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Attached<DatabasePassword>().password.GetPassword(), "secret");
}

// Peak memory of the process so far, in KiB.
long PeakKilobytes() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Opening refuses what is no regular file without waiting or claiming memory, and tells a
// file's kind from its first bytes before it reads the rest.
TEST_F(DatabaseFileTest, OnlyRegularFilesOpenAndTheirKindIsToldFromTheHead) {
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  OpenDatabases other;
  for (const std::string& path : {Path("fifo"), dir_.path().string()}) {
    sink_.Clear();
    EXPECT_EQ(OpenDatabaseFile(other, path, {}, nullptr, registry_), nullptr);
    ASSERT_EQ(sink_.alerts().size(), 1u);
    EXPECT_EQ(sink_.alerts()[0].message, msg::kNotRegularFile);
  }
  // A gigabyte that is no database is refused after its first bytes.
  { std::ofstream(Path("big.txt")) << "not a database\n"; }
  std::filesystem::resize_file(Path("big.txt"), size_t{1} << 30);
  const long before = PeakKilobytes();
  sink_.Clear();
  EXPECT_EQ(OpenDatabaseFile(other, Path("big.txt"), {}, nullptr, registry_), nullptr);
  EXPECT_EQ(sink_.alerts().at(0).message, msg::kNotDatabase);
  EXPECT_LT(PeakKilobytes() - before, 256 * 1024);
  EXPECT_TRUE(other.all().empty());
}

// A read that had to drop data (an over-long line, an unknown section) is marked, so that
// nobody saves the loss over the file unawares.
TEST_F(DatabaseFileTest, AReadThatLostDataIsMarked) {
  const std::string long_line(text_format::kMaxLineBytes + 1, 'x');
  const struct {
    const char* name;
    std::string text;
    bool lost;
  } cases[] = {
      {"whole.jox", "##JOV-Text 001219\r\n##Cards\r\nC240101-1\r\nG1\r\nL1\r\n##End\r\n", false},
      {"long.jox",
       "##JOV-Text 001219\r\n##Cards\r\nC240101-1\r\nG1\r\nL1\t" + long_line + "\r\n##End\r\n",
       true},
      {"unknown.jox", "##JOV-Text 001219\r\n##Gadgets\r\nbody\r\n##End\r\n", true},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteFileAtomically(Path(c.name), c.text));
    OpenDatabases other;
    Database* read = OpenDatabaseFile(other, Path(c.name), {}, nullptr, registry_);
    ASSERT_NE(read, nullptr) << c.name;
    EXPECT_EQ(read->Attached<DatabaseFileState>().read_lost_data, c.lost) << c.name;
  }
}

TEST_F(DatabaseFileTest, NothingIsSavedWhereNoFileCanBe) {
  Database& db = open_.Create();
  Fill(db, 1);
  EXPECT_FALSE(SaveDatabaseFile(db, dir_.path().string(), DatabaseFormat::kBinary, Setup(),
                                registry_, nullptr));
  EXPECT_EQ(sink_.alerts().back().message, msg::kNotAFileToSave);
  EXPECT_TRUE(std::filesystem::is_directory(dir_.path()));
}

// Listeners learn of every save (5) and of a change of the file format (6).
TEST_F(DatabaseFileTest, SavesAndFormatChangesAreAnnounced) {
  struct Codes : DatabaseListener {
    void OnDatabaseChange(Database&, ChangeCode code, int, int) override {
      seen.push_back(static_cast<int>(code));
    }
    std::vector<int> seen;
  } codes;
  Database& db = open_.Create();
  Fill(db, 1);
  db.AddListener(&codes);
  const auto save = [&](const char* name, DatabaseFormat format, bool adopt) {
    codes.seen.clear();
    EXPECT_TRUE(SaveDatabaseFile(db, Path(name), format, Setup(), registry_, &prompt_, adopt));
    return codes.seen;
  };
  EXPECT_EQ(save("f.jov", DatabaseFormat::kBinary, true), (std::vector<int>{2, 6, 5}));
  EXPECT_EQ(save("f.jov", DatabaseFormat::kBinary, true), std::vector<int>{5});
  EXPECT_EQ(save("copy.jox", DatabaseFormat::kText, false), std::vector<int>{5});
  EXPECT_EQ(save("f.jox", DatabaseFormat::kText, true), (std::vector<int>{2, 6, 5}));
  codes.seen.clear();
  ASSERT_TRUE(SaveTemplatesFile(db, registry_));
  EXPECT_EQ(codes.seen, std::vector<int>{5});
  db.RemoveListener(&codes);

  OpenDatabases other;
  Database& reread = other.Create();
  reread.AddListener(&codes);
  codes.seen.clear();
  ASSERT_TRUE(ReadDatabaseFile(reread, Path("f.jov"), {}, nullptr, registry_));
  EXPECT_NE(std::find(codes.seen.begin(), codes.seen.end(), 6), codes.seen.end());
  reread.RemoveListener(&codes);
}

TEST_F(DatabaseFileTest, TextSavesOfProtectedDatabasesAskFirst) {
  Database& db = open_.Create();
  Fill(db, 2);
  db.Attached<DatabasePassword>().password.SetPassword("abc");
  EXPECT_FALSE(
      SaveDatabaseFile(db, Path("t.jox"), DatabaseFormat::kText, Setup(), registry_, nullptr));
  prompt_.answers = {"abc"};
  ASSERT_TRUE(SaveDatabaseFile(db, Path("t.jox"), DatabaseFormat::kText, Setup(true, false),
                               registry_, &prompt_));
  EXPECT_TRUE(sink_.alerts().empty());  // Protection off: no question
  EXPECT_EQ(ReadWholeFile(Path("t.jox"))->find("##Protection"), std::string::npos);
  // A text file's protected windows open without a prompt.
  Database* read = OpenDatabaseFile(open_, Path("t.jox"), {}, nullptr, registry_);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(VerifyForWindow(*read, prompt_));
}

TEST_F(DatabaseFileTest, QuestionsBeforeReading) {
  Database& db = open_.Create();
  Fill(db, 2);
  ASSERT_TRUE(
      SaveDatabaseFile(db, Path("q.jov"), DatabaseFormat::kBinary, Setup(), registry_, nullptr));
  sink_.set_answer(1);  // "Cancel": the open database is shown, no copy is made
  EXPECT_EQ(OpenDatabaseFile(open_, Path("q.jov"), {}, nullptr, registry_), &db);
  EXPECT_EQ(open_.all().size(), 1u);
  EXPECT_EQ(sink_.alerts().back().message, msg::kAlreadyOpen);
  sink_.set_answer(0);  // "Open": a copy
  EXPECT_NE(OpenDatabaseFile(open_, Path("q.jov"), {}, nullptr, registry_), &db);
  EXPECT_EQ(open_.all().size(), 2u);

  std::ofstream(Path("later.jox")) << "##JOV-Text\t010315\r\n##End\r\n";
  sink_.Clear();
  sink_.set_answer(0);  // "Cancel"
  EXPECT_EQ(OpenDatabaseFile(open_, Path("later.jox"), {}, nullptr, registry_), nullptr);
  EXPECT_EQ(sink_.alerts().at(0).message, msg::kLaterVersion);
  sink_.set_answer(1);  // "Continue"
  EXPECT_NE(OpenDatabaseFile(open_, Path("later.jox"), {}, nullptr, registry_), nullptr);

  std::ofstream(Path("old.jox")) << "##JOV-Text\t960101\r\n";
  sink_.Clear();
  EXPECT_EQ(OpenDatabaseFile(open_, Path("old.jox"), {}, nullptr, registry_), nullptr);
  EXPECT_EQ(sink_.alerts().at(0).message, msg::kPreRelease);
  EXPECT_EQ(OpenDatabaseFile(open_, Path("missing.jov"), {}, nullptr, registry_), nullptr);
  EXPECT_EQ(sink_.alerts().back().message, msg::kUnableToOpen);
}

TEST_F(DatabaseFileTest, DamagedFilesOpenNothingAndImportsLeaveTheDatabaseAlone) {
  Database& source = open_.Create();
  Fill(source, 200);
  ASSERT_TRUE(SaveDatabaseFile(source, Path("s.jov"), DatabaseFormat::kBinary, Setup(), registry_,
                               nullptr));
  std::string bytes = *ReadWholeFile(Path("s.jov"));
  bytes.resize(bytes.size() - 10);
  ASSERT_TRUE(WriteFileAtomically(Path("cut.jov"), bytes));

  OpenDatabases other;
  EXPECT_EQ(OpenDatabaseFile(other, Path("cut.jov"), {}, nullptr, registry_), nullptr);
  EXPECT_TRUE(other.all().empty());
  EXPECT_EQ(sink_.alerts().back().message, msg::kCorrupted);

  Database& target = other.Create();
  target.AddComponent(0, "9", "Eget", "");
  target.SetCardDigits(5);
  const std::string before = Stream(target);
  ReadOptions import;
  import.import = true;
  EXPECT_FALSE(ReadDatabaseFile(target, Path("cut.jov"), import, nullptr, registry_));
  EXPECT_EQ(Stream(target), before);

  ASSERT_TRUE(ReadDatabaseFile(target, Path("s.jov"), import, nullptr, registry_));
  EXPECT_EQ(target.card_digits(), 5);  // its own settings stay
  EXPECT_EQ(target.GetName(1), "Dim 1");
  EXPECT_EQ(target.cards().card_count(), 200u);
  EXPECT_NE(target.FindByCode(0, "1910"), kNoComponent);
  EXPECT_NE(target.FindByCode(0, "9"), kNoComponent);
  EXPECT_TRUE(target.file_name().empty());
}

TEST_F(DatabaseFileTest, AnInterruptedSaveKeepsTheOldFile) {
  Database& db = open_.Create();
  Fill(db, 2);
  ASSERT_TRUE(SaveDatabaseFile(db, Path("keep.jov"), DatabaseFormat::kBinary, Setup(false),
                               registry_, nullptr));
  const std::string old_bytes = *ReadWholeFile(Path("keep.jov"));
  Fill(db, 3000);
  db.MarkModified();
  struct rlimit old_limit {};
  ::getrlimit(RLIMIT_FSIZE, &old_limit);
  const auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old_limit;
  small.rlim_cur = 8192;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const bool saved = SaveDatabase(db, registry_, nullptr);
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  ::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(saved);
  EXPECT_TRUE(db.modified());
  EXPECT_EQ(ReadWholeFile(Path("keep.jov")), old_bytes);
  EXPECT_EQ(sink_.alerts().back().message, msg::kErrorWriting);
}

// Records what a progress display is shown; with every report a step (the clock moves 50 ms a
// call), the units done are the positions reported. It can stop the operation at a step.
class RecordingDisplay : public ProgressDisplay {
 public:
  void Begin(const ProgressState& state) override {
    titles.push_back(state.Title());
    totals.push_back(state.total_units());
    done.clear();
  }
  void Update(const ProgressState& state, const ProgressStep& step) override {
    if (!step.stepped) {
      if (sections.empty() || sections.back() != state.section())
        sections.push_back(state.section());
      return;
    }
    done.push_back(state.done_units());
    if (stop_at_step > 0 && static_cast<int>(done.size()) == stop_at_step) PostSilentError();
  }
  void End(const ProgressState&) override { ++ended; }

  std::vector<std::string> titles, sections;
  std::vector<int64_t> totals, done;
  int ended = 0;
  int stop_at_step = 0;
};

class ProgressReportTest : public DatabaseFileTest {
 protected:
  void SetUp() override {
    DatabaseFileTest::SetUp();
    Process().progress_clock = [this] { return now_ += 50; };
    SetProgressDisplay(&display_);
  }
  bool ReportsClimbTo(int64_t total) const {
    return std::is_sorted(display_.done.begin(), display_.done.end()) && display_.done.size() > 2 &&
           display_.done.back() == total;
  }
  uint32_t now_ = 0;
  RecordingDisplay display_;
};

TEST_F(ProgressReportTest, OpeningImportingAndSavingReportTheirBytePositions) {
  Database& db = open_.Create();
  Fill(db, 6000);
  for (const char* name : {"p.jov", "p.jox"}) {
    const std::string path = Path(name);
    ASSERT_TRUE(SaveDatabaseFile(db, path, FormatForFileName(path), Setup(), registry_, nullptr,
                                 /*adopt=*/false));
    EXPECT_EQ(display_.titles.back(), std::string("Saving ") + name);
    EXPECT_EQ(display_.totals.back(), EstimatedSaveBytes(db) >> 6);
    EXPECT_TRUE(ReportsClimbTo(display_.totals.back())) << name;

    display_.sections.clear();
    ASSERT_NE(OpenDatabaseFile(open_, path, {}, &prompt_, registry_), nullptr);
    EXPECT_EQ(display_.titles.back(), std::string("Opening ") + name);
    EXPECT_EQ(display_.totals.back(), *FileSize(path) >> 6);
    EXPECT_TRUE(ReportsClimbTo(display_.totals.back())) << name;
    EXPECT_NE(std::find(display_.sections.begin(), display_.sections.end(), "Cards/Lines"),
              display_.sections.end());

    ReadOptions import;
    import.import = true;
    ASSERT_TRUE(ReadDatabaseFile(open_.Create(), path, import, &prompt_, registry_));
    EXPECT_EQ(display_.titles.back(), std::string("Importing ") + name);
  }
  EXPECT_EQ(display_.ended, static_cast<int>(display_.titles.size()));
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(ProgressReportTest, AStoppedOperationFailsQuietlyAndLeavesFilesAlone) {
  Database& db = open_.Create();
  Fill(db, 6000);
  const std::string path = Path("s.jov");
  ASSERT_TRUE(SaveDatabaseFile(db, path, DatabaseFormat::kBinary, Setup(), registry_, nullptr));
  const std::string saved = *ReadWholeFile(path);
  const size_t open_before = open_.all().size();
  display_.stop_at_step = 3;
  // A read stopped half-way is not a damaged file: nothing opens and nothing is reported.
  EXPECT_EQ(OpenDatabaseFile(open_, path, {}, &prompt_, registry_), nullptr);
  EXPECT_EQ(open_.all().size(), open_before);
  FlushPendingError();
  ASSERT_EQ(sink_.alerts().size(), 1u);
  EXPECT_EQ(sink_.alerts()[0].message, msg::kAlreadyOpen)
      << "only the question about the open copy";
  sink_.Clear();
  // A stopped save writes nothing.
  db.MarkModified();
  EXPECT_FALSE(SaveDatabase(db, registry_, nullptr));
  FlushPendingError();
  EXPECT_TRUE(db.modified());
  EXPECT_EQ(*ReadWholeFile(path), saved);
  EXPECT_TRUE(sink_.alerts().empty());
}

// The threads of this process, from the kernel's list.
size_t ThreadCount() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
    ++count;
  return count;
}

// A binary file's blocks are decoded on a second thread ahead of the sections: an open stopped
// half way through opens nothing and leaves no thread behind, and one read to the end neither.
TEST_F(ProgressReportTest, AStoppedTwoThreadOpenLeavesNoDatabaseAndNoThread) {
  Database& db = open_.Create();
  Fill(db, 20000);
  const std::string path = Path("t.jov");
  ASSERT_TRUE(SaveDatabaseFile(db, path, DatabaseFormat::kBinary, Setup(), registry_, nullptr,
                               /*adopt=*/false));
  const size_t threads = ThreadCount();
  display_.stop_at_step = 2;
  const size_t open_before = open_.all().size();
  EXPECT_EQ(OpenDatabaseFile(open_, path, {}, &prompt_, registry_), nullptr);
  EXPECT_EQ(open_.all().size(), open_before);
  EXPECT_LE(display_.done.size(), 3u) << "stopped at the second of many steps";
  EXPECT_EQ(ThreadCount(), threads);
  FlushPendingError();

  ReadOptions import;
  import.import = true;
  Database& target = open_.Create();
  EXPECT_FALSE(ReadDatabaseFile(target, path, import, &prompt_, registry_));
  EXPECT_EQ(target.cards().card_count(), 0u) << "an import stopped half way adds nothing";
  EXPECT_EQ(ThreadCount(), threads);
  FlushPendingError();
  EXPECT_TRUE(sink_.alerts().empty());

  display_.stop_at_step = 0;
  Database& whole = open_.Create();
  ASSERT_TRUE(ReadDatabaseFile(whole, path, {}, &prompt_, registry_));
  EXPECT_EQ(Stream(whole), Stream(db));
  EXPECT_EQ(ThreadCount(), threads);
}

TEST_F(DatabaseFileTest, StartupActionsRunForOpensAndTheSaveTotalIsEstimated) {
  Database& db = open_.Create();
  Fill(db, 4);
  // A card with one line and no texts adds 72 + 40 bytes to the estimate.
  const int64_t before = EstimatedSaveBytes(db);
  const CardRef card = db.cards().CreateCard({PackDay(2024, 6, 1), 0});
  db.cards().CreateLine(db.cards().FindOrAddGroup(card, 0));
  EXPECT_EQ(EstimatedSaveBytes(db) - before, 112);
  ASSERT_TRUE(
      SaveDatabaseFile(db, Path("s.jov"), DatabaseFormat::kBinary, Setup(), registry_, nullptr));
  int runs = 0;
  ReadOptions options;
  options.startup = [&runs](Database& opened) {
    ++runs;
    opened.MarkModified();  // what the actions change is not a change of the file
  };
  OpenDatabases other;
  Database* read = OpenDatabaseFile(other, Path("s.jov"), options, nullptr, registry_);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(read->modified());
  options.import = true;
  ASSERT_TRUE(ReadDatabaseFile(*read, Path("s.jov"), options, nullptr, registry_));
  EXPECT_EQ(runs, 1);
}

TEST_F(DatabaseFileTest, TemplatesFileAndChangesOnDisk) {
  Database& db = open_.Create();
  Fill(db, 5);
  ASSERT_TRUE(
      SaveDatabaseFile(db, Path("m.jov"), DatabaseFormat::kBinary, Setup(), registry_, nullptr));
  EXPECT_FALSE(ModifiedOnDisk(db));
  ASSERT_TRUE(SaveTemplatesFile(db, registry_));
  OpenDatabases other;
  Database* templates = OpenDatabaseFile(other, Path("Templates.jov"), {}, nullptr, registry_);
  ASSERT_NE(templates, nullptr);
  EXPECT_EQ(templates->cards().card_count(), 0u);
  EXPECT_FALSE(templates->HasComponents(0));
  EXPECT_EQ(db.file_name(), Path("m.jov"));

  ::usleep(10000);
  ASSERT_TRUE(WriteFileAtomically(Path("m.jov"), *ReadWholeFile(Path("m.jov"))));
  EXPECT_TRUE(ModifiedOnDisk(db));
}

}  // namespace
}  // namespace jov
