#include "select/subset_section.h"

#include <gtest/gtest.h>

#include <string>

#include "files/line_sink.h"
#include "files/line_source.h"
#include "files/section_reader.h"
#include "files/section_writer.h"
#include "select/subset.h"
#include "select/subset_list.h"
#include "shell/process.h"

namespace jov {
namespace {

SectionRegistry Registry() {
  SectionRegistry registry = DefaultSectionRegistry();
  RegisterSubsetSection(registry);
  return registry;
}

SaveSetup SubsetsOnly() {
  SaveSetup setup;
  setup.sections.fill(false);
  setup.sections[static_cast<size_t>(SaveSection::kSubsets)] = true;
  return setup;
}

std::string Written(Database& db) {
  StringByteSink bytes;
  WriteSections(db, bytes, SubsetsOnly(), Registry());
  return bytes.text();
}

ReadResult Read(Database& db, std::string_view text) {
  MemoryByteSource bytes(text);
  LineSource lines(bytes);
  return ReadSections(db, lines, Registry());
}

// Two dimensions with components, so that expressions compile when read.
void AddComponents(Database& db) {
  db.AddComponent(0, "10", "", "");
  db.AddComponent(1, "P1", "", "");
  db.FlushChangeFlags();
}

constexpr std::string_view kStored =
    "##Subset\tLarge sales\r\n"
    "VN\tA\r\n"
    "VC\t240101\tMonth-1\r\n"
    "VD1\t10\r\n"
    "VD2\tP1\r\n"
    "VY\tInvoice\r\n"
    "VVA\t>1000\r\n"
    "Vk\t2401_2406\r\n"
    "VA\t\\\r\n"
    "Vc\t2024\tAB\r\n"
    "Va\t\t\xAC\\\r\n"
    "VN\tB\r\n"
    "VL\trent\r\n"
    "F\tA\xAC"
    "B\r\n"
    "xo\r\n"
    "xp\t10\t20\r\n"
    "N\tfirst line\x03second\x04line\r\n"
    "##Subset\tG1\r\n"
    "F\tunbalanced\r\n"
    "##End\r\n";

TEST(SubsetSectionTest, SubsetsReadAndWriteBackTheSameLines) {
  ResetProcess();
  Database db;
  AddComponents(db);
  const ReadResult result = Read(db, kStored);
  ASSERT_TRUE(result.ok);
  EXPECT_TRUE(result.errors.empty());
  const SubsetList& subsets = SubsetList::Of(db);
  ASSERT_EQ(subsets.subsets().size(), 2u);
  const Subset& large = *subsets.subsets()[0];
  EXPECT_EQ(large.name(), "Large sales");
  EXPECT_EQ(large.combination_text(true), "A \xAC B");
  EXPECT_TRUE(large.open_directly());
  EXPECT_EQ(large.position(), (std::pair<int, int>{10, 20}));
  EXPECT_EQ(large.notes(), "first line\rsecond\tline");
  const NamedSelection& a = *large.FindSelection("a");
  EXPECT_EQ(a.selection().value_condition(0), ">1000");
  EXPECT_EQ(a.stamp_signature(StampKind::kCreated), "AB");
  EXPECT_EQ(a.stamp_signature(StampKind::kNotes), "\xAC\\");
  EXPECT_TRUE(a.has_stamp_criteria());
  EXPECT_EQ(Written(db), kStored);
}

TEST(SubsetSectionTest, BodiesAreReadAsTheirTagsSay) {
  ResetProcess();
  Database db;
  AddComponents(db);
  const ReadResult result = Read(db,
                                 "##Subset\tS\r\n"
                                 "VV1\t>5\r\n"  // before any "VN": a selection of its own
                                 "VN\tA\r\nVY\tx\r\n"
                                 "VN\tB\r\nV-\r\n"     // B is made and deleted again
                                 "VN\ta\r\nVL\ty\r\n"  // "a" is A again
                                 "Zq\tunknown\r\n"
                                 "F\tA|Selection\r\n"
                                 "#\r\n"  // the body ends here
                                 "VN\tC\r\n"
                                 "##Subset\tS\r\n"  // a name taken is counted up
                                 "##Subset\r\n"     // no name: the default name
                                 "##End\r\n");
  ASSERT_TRUE(result.ok);
  const SubsetList& subsets = SubsetList::Of(db);
  ASSERT_EQ(subsets.subsets().size(), 3u);
  const Subset& s = *subsets.subsets()[0];
  ASSERT_EQ(s.selections().size(), 2u);
  EXPECT_EQ(s.selections()[0]->name(), "Selection");
  EXPECT_EQ(s.selections()[0]->selection().value_condition(0), ">5");
  EXPECT_EQ(s.selections()[1]->selection().card_title(), "x");
  EXPECT_EQ(s.selections()[1]->selection().line_text(), "y");
  EXPECT_EQ(s.combination_text(), "A|Selection");
  EXPECT_EQ(subsets.subsets()[1]->name(), "S1");
  EXPECT_EQ(subsets.subsets()[2]->name(), "G1");
}

TEST(SubsetSectionTest, SelectionBlocksCarryOneNamedSelection) {
  ResetProcess();
  Database db;
  AddComponents(db);
  Subset& subset = SubsetList::Of(db).Create();
  NamedSelection& selection = subset.AddSelection("Rent");
  selection.selection().SetLineText("rent");
  selection.SetCardId("2401");
  const std::string block = SelectionBlockText(selection, "\r\n");
  EXPECT_EQ(block, "## Selection\tRent\r\nVL\trent\r\nVk\t2401\r\n");
  Subset& other = SubsetList::Of(db).Create();
  const NamedSelection* read = ReadSelectionBlock(other, block);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->name(), "Rent");
  EXPECT_EQ(read->BlockLines(), selection.BlockLines());
  EXPECT_EQ(ReadSelectionBlock(other, "VL\trent\r\n"), nullptr);
}

}  // namespace
}  // namespace jov
