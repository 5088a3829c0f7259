#include "io/dim_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/line_sink.h"
#include "files/line_source.h"
#include "files/section_reader.h"
#include "files/section_registry.h"
#include "files/section_writer.h"
#include "io/dim_import_section.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

class DimImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
  }
  void TearDown() override { PopSink(); }

  // Imports `rows` (LF ends, tab-separated code, text, host, level or parent) into dimension 1
  // and writes them.
  void Import(const std::string& rows, const DimImport& setup) {
    DimImport lf = setup;
    lf.file.row_terminator = '\n';
    MemoryImportInput input(rows);
    DimensionEdit edit(db_, 1);
    ImportDimensionRows(edit, input, lf);
    EXPECT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kWritten);
  }

  // "code<parent code" for every component in tree order.
  std::vector<std::string> Codes() const {
    std::vector<std::string> tree;
    const ComponentRef root = db_.dimension(1).root();
    for (ComponentRef ref = db_.NextInPreorder(root); ref != root; ref = db_.NextInPreorder(ref)) {
      const Component& c = db_.component(ref);
      tree.push_back(c.code + "<" + (IsRoot(c.parent) ? "" : db_.component(c.parent).code));
    }
    return tree;
  }

  static DimImport Setup(HierarchyMethod method) {
    DimImport setup = DefaultDimImport();
    setup.method = method;
    return setup;
  }

  RecordingSink sink_;
  Database db_;
};

using Tree = std::vector<std::string>;

TEST_F(DimImportTest, IndentedRowsNestUnderTheRowAbove) {
  Import("A\tFirst\n B\n  C\n", Setup(HierarchyMethod::kIndented));
  EXPECT_EQ(Codes(), (Tree{"A<", "AB<A", "ABC<AB"}));
  EXPECT_EQ(db_.component(db_.FindByCode(1, "A")).text, "First");
  // X starts a new branch at level 0. The second " B" under X is XB again: it becomes the row of
  // its level and adds nothing, so "  E" goes under it.
  Import("X\n B\n  C\n B\n  E\n", Setup(HierarchyMethod::kIndented));
  EXPECT_EQ(Codes(), (Tree{"A<", "AB<A", "ABC<AB", "X<", "XB<X", "XBC<XB", "XBE<XB"}));
}

TEST_F(DimImportTest, LevelNumbers) {
  // Level 1, 2, 2, 1 with codes 1, 0, 1, 2; levels that do not round into 1..63 skip the row.
  Import("1\t\t\t1\n0\t\t\t2\n1\t\t\t2.4\n9\t\t\t0\n9\t\t\t64\n9\t\t\tx\n2\t\t\t1\n",
         Setup(HierarchyMethod::kLevelNumbers));
  EXPECT_EQ(Codes(), (Tree{"1<", "10<1", "11<1", "2<"}));
}

TEST_F(DimImportTest, ParentLinksByEachKindOfSearch) {
  db_.AddComponent(1, "P", "Parent", "900");
  struct Case {
    ParentSearch search;
    const char* link;
  };
  for (const Case& c : {Case{ParentSearch::kCode, "P "}, Case{ParentSearch::kText, "Parent  "},
                        Case{ParentSearch::kHost, "900"}}) {
    DimImport setup = Setup(HierarchyMethod::kParentLinks);
    setup.search = c.search;
    const std::string code = "c" + std::to_string(static_cast<int>(c.search));
    Import(code + "\t\t\t" + c.link + "\n", setup);
    EXPECT_NE(db_.FindByCode(1, "P" + code), kNoComponent) << c.link;
  }
  // An unknown parent host code skips the row; an empty parent is the top.
  DimImport by_host = Setup(HierarchyMethod::kParentLinks);
  by_host.search = ParentSearch::kHost;
  Import("Q\t\t\t901\nT\t\t\t\n", by_host);
  EXPECT_EQ(db_.FindByCode(1, "PQ"), kNoComponent);
  EXPECT_EQ(db_.FindByCode(1, "Q"), kNoComponent);
  EXPECT_NE(db_.FindByCode(1, "T"), kNoComponent);
}

TEST_F(DimImportTest, CodePathCreatesParentsUpToTheLevel) {
  db_.AddComponent(1, "1", "", "");
  DimImport setup = Setup(HierarchyMethod::kCodePath);
  setup.create_parents_level = 3;
  Import("1234\tShop\t42\n1 2 3 4\tAgain\n", setup);  // blanks are removed: the second is taken
  EXPECT_EQ(Codes(), (Tree{"1<", "12<1", "123<12", "1234<123"}));
  const Component& made = db_.component(db_.FindByCode(1, "12"));
  EXPECT_TRUE(made.text.empty() && made.host.empty());
  EXPECT_EQ(db_.component(db_.FindByCode(1, "1234")).text, "Shop");

  setup.create_parents_level = 0;
  Import("1567\n", setup);
  EXPECT_EQ(db_.component(db_.FindByCode(1, "1567")).parent, db_.FindByCode(1, "1"));
  EXPECT_EQ(db_.FindByCode(1, "15"), kNoComponent);
}

TEST_F(DimImportTest, ZeroFillingAndSkippedRows) {
  DimImport setup = Setup(HierarchyMethod::kCodePath);
  setup.zero_filling = 6;
  setup.file.rows_to_skip = 1;
  Import("Code\tName\tHost\nA\tAlpha\t42\n\tNo code\t7\nB\tBeta\t1234567\nC\tGamma\t\n", setup);
  EXPECT_EQ(Codes(), (Tree{"A<", "B<", "C<"}));
  EXPECT_EQ(db_.component(db_.FindByCode(1, "A")).host, "000042");
  EXPECT_EQ(db_.component(db_.FindByCode(1, "B")).host, "1234567");
  EXPECT_EQ(db_.component(db_.FindByCode(1, "C")).host, "");
}

TEST_F(DimImportTest, AHostCodeDefinedTwiceWritesNothing) {
  TempDir dir;
  const std::string path = dir.File("chart.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "A\tAlpha\t1\r\nB\tBeta\t1\r\n"));
  const DimImportResult result =
      ImportDimensionFile(db_, 1, path, Setup(HierarchyMethod::kCodePath));
  EXPECT_EQ(result.outcome, DimImportOutcome::kDuplicate);
  EXPECT_FALSE(db_.HasComponents(1));
  ASSERT_EQ(sink_.alerts().size(), 1u);
  EXPECT_EQ(sink_.alerts()[0].message, msg::kHostDefinedTwice);

  ASSERT_TRUE(WriteFileAtomically(path, "A\tAlpha\t1\r\nB\tBeta\t2\r\n"));
  const DimImportResult good = ImportDimensionFile(db_, 1, path, Setup(HierarchyMethod::kCodePath));
  EXPECT_EQ(good.outcome, DimImportOutcome::kDone);
  EXPECT_EQ(good.added, 2);
  EXPECT_TRUE(db_.modified());
}

// The dimension window reads a file into its own copy: after the rows edited there, under
// them where the codes say so, and nothing reaches the database until the copy is written.
TEST_F(DimImportTest, AFileReadIntoACopyKeepsItsEditsAndWritesNothing) {
  TempDir dir;
  const std::string path = dir.File("chart.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "1\tOne again\n10\tTen\n20\tTwenty\n"));
  ASSERT_NE(db_.AddComponent(1, "1", "One", ""), kNoComponent);
  DimensionEdit edit(db_, 1);
  const DimensionEdit::Row two = edit.Add(DimensionEdit::kTop, "2", "Two", "");
  ASSERT_TRUE(edit.Rename(edit.children(DimensionEdit::kTop)[0], "3"));
  const DimImportResult result = ReadDimensionFile(edit, path, Setup(HierarchyMethod::kCodePath));
  EXPECT_EQ(result.outcome, DimImportOutcome::kDone);
  EXPECT_EQ(result.rows, 3u);
  EXPECT_EQ(result.added, 3) << "1 is no longer in the copy, so it is added again";
  EXPECT_EQ(edit.code(edit.children(two)[0]), "20");
  EXPECT_EQ(Codes(), (Tree{"1<"}));
  EXPECT_EQ(edit.Apply(), DimensionEdit::ApplyOutcome::kWritten);
  EXPECT_EQ(Codes(), (Tree{"3<", "2<", "20<2", "1<", "10<1"}));
  EXPECT_EQ(db_.component(db_.FindByCode(1, "3")).text, "One");
}

TEST_F(DimImportTest, ADatabaseFileIsRefusedWithThePendingError) {
  TempDir dir;
  const std::string path = dir.File("other.jox");
  ASSERT_TRUE(WriteFileAtomically(path, "##JOV-Text 001219\r\n##End\r\n"));
  const DimImportResult result = ImportDimensionFile(db_, 1, path, DefaultDimImport());
  EXPECT_EQ(result.outcome, DimImportOutcome::kFailed);
  EXPECT_TRUE(StopRequested());
  FlushPendingError();
  ASSERT_EQ(sink_.alerts().size(), 1u);
  EXPECT_EQ(sink_.alerts()[0].message, msg::kDatabaseFileNotImported);
  EXPECT_FALSE(db_.HasComponents(1));
}

TEST_F(DimImportTest, ThePreviewListsWhatTheImportAddsAndChangesNothing) {
  db_.AddComponent(1, "1", "One", "");
  db_.ClearModified();
  DimImport setup = Setup(HierarchyMethod::kCodePath);
  setup.file.row_terminator = '\n';
  setup.create_parents_level = 2;
  setup.zero_filling = 4;
  // The first row exists already and adds nothing; the second makes its parent 12 first.
  const std::string rows = "1\tOne\n123\tShop\t7\n2\tTwo\n3\tThree\n";
  MemoryImportInput input(rows);
  const FixedTable table = PreviewDimImport(db_, 1, input, setup, 3);
  std::vector<std::string> shown;
  std::vector<TableCell> cells;
  for (int row = 0; row < table.RowCount(); ++row) {
    table.FillRow(row, cells);
    shown.push_back(cells[0].text + "|" + cells[1].text + "|" + cells[2].text + "|" +
                    cells[3].text);
  }
  // Three rows read: the fourth is not.
  EXPECT_EQ(shown, (Tree{"12|||1", "123|Shop|0007|12", "2|Two||"}));
  EXPECT_EQ(table.ColumnCount(), 4);
  EXPECT_EQ(Codes(), (Tree{"1<"}));
  EXPECT_FALSE(db_.modified());
}

// --- The "##DimImport" body

std::string Write(const DimImport& setup) {
  StringByteSink bytes;
  LineSink sink(bytes, "\n");
  WriteDimImportBody(sink, setup);
  sink.Finish();
  return bytes.text();
}

TEST(DimImportSectionTest, EveryKeyReadsBackAsWritten) {
  constexpr std::string_view kEveryKey =
      "FX\nAP\nPI\nT\t10\nS\t59\nRX\t2\nRP\t3\nRF\t6\nCF\tab\nCT\tcd\nCS\t$\nMP\nNH\n"
      "LC\tF1\tB2\nLT\tF2\nLH\tF3\t+45\tF4\nLP\tF5\n\n";
  const std::optional<DimImport> setup = ReadDimImportFile(kEveryKey);
  ASSERT_TRUE(setup);
  EXPECT_EQ(setup->method, HierarchyMethod::kParentLinks);
  EXPECT_EQ(setup->search, ParentSearch::kHost);
  EXPECT_EQ(setup->create_parents_level, 3);
  EXPECT_EQ(setup->zero_filling, 6);
  EXPECT_EQ(setup->file.character_set, CharacterSet::kOem);
  EXPECT_EQ(setup->file.rows_to_skip, 2);
  EXPECT_EQ(setup->host.parts.size(), 2u);
  EXPECT_EQ(Write(*setup), kEveryKey);

  // The defaults write only what is always written; values out of range keep the defaults.
  EXPECT_EQ(Write(DimImport()), "AW\nPX\nMC\nNC\n\n");
  const std::optional<DimImport> odd =
      ReadDimImportFile("##DimImport\t1\nRP\t7\nRF\t1\nMZ\nLC\tF2\n");
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->create_parents_level, 0);
  EXPECT_EQ(odd->zero_filling, 0);
  EXPECT_EQ(odd->method, HierarchyMethod::kCodePath);
  EXPECT_FALSE(ReadDimImportFile("nothing here\n"));
}

TEST(DimImportSectionTest, SectionsBelongToTheirDimensionAndFollowItsNumber) {
  ResetProcess();
  SectionRegistry registry = DefaultSectionRegistry();
  RegisterDimImportSection(registry);
  Database db;
  const std::string stream =
      "##Dimension\t3\r\nP1\r\n##DimImport\t3\r\nMI\r\nLC\tF2\r\n\r\n"
      "##DimImport\t17\r\nMP\r\n##End\r\n";
  MemoryByteSource bytes(stream);
  LineSource lines(bytes);
  ASSERT_TRUE(ReadSections(db, lines, registry).ok);
  ASSERT_TRUE(DimImports::Of(db).of(2));
  EXPECT_EQ(DimImports::Of(db).of(2)->method, HierarchyMethod::kIndented);
  for (int d = 0; d < kDimensionCount; ++d) EXPECT_EQ(DimImports::Of(db).of(d).has_value(), d == 2);

  SaveSetup renumbered;
  renumbered.new_numbers[2] = 2;
  StringByteSink out;
  WriteSections(db, out, renumbered, registry, WriteOptions{});
  EXPECT_NE(out.text().find("##DimImport\t2\r\nAW\r\nPX\r\nMI\r\nNC\r\nLC\tF2\r\n\r\n"),
            std::string::npos)
      << out.text();
}

}  // namespace
}  // namespace jov
