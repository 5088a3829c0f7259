#include "automation/section_kinds.h"

#include <gtest/gtest.h>

#include "analysis/time_scale_list.h"
#include "files/database_file.h"
#include "files/line_sink.h"
#include "files/line_source.h"
#include "files/save_setup.h"
#include "files/section_reader.h"
#include "files/section_writer.h"
#include "io/import_setup.h"
#include "platform/temp_dir_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

// Time scales travel through a saved database with the other sections; an entry without a name
// keeps the tab after its date.
TEST(SectionKindsTest, TimeScalesAreReadAndWrittenByTheirOwner) {
  ResetProcess();
  const SectionRegistry registry = FullSectionRegistry();
  const std::string stream =
      "##TimeScale\tBudget\r\n240101-1\tFirst half\r\n240701-1\t\r\n\r\n##End\r\n";
  Database db;
  MemoryByteSource bytes(stream);
  LineSource lines(bytes);
  ASSERT_TRUE(ReadSections(db, lines, registry).ok);
  const TimeScaleList& scales = TimeScaleList::Of(db);
  ASSERT_EQ(scales.size(), 1u);
  EXPECT_EQ(scales.at(0).name(), "Budget");
  EXPECT_EQ(scales.at(0).entries().size(), 2u);

  StringByteSink sink;
  WriteSections(db, sink, SaveSetup(), registry, WriteOptions{});
  EXPECT_NE(sink.text().find(stream.substr(0, stream.size() - 7)), std::string::npos)
      << sink.text();
}

// A save setup's selection limits what a save writes, at the level the setup asks for.
TEST(SectionKindsTest, SavesWriteWhatTheSetupsSelectionTakes) {
  ResetProcess();
  TempDir dir;
  const SectionRegistry registry = FullSectionRegistry();
  Database db;
  db.AddComponent(0, "1", "", "");
  db.AddComponent(0, "2", "", "");
  db.FlushChangeFlags();
  CardStore& cards = db.cards();
  const auto add_line = [&](CardRef card, const char* account, double value) {
    const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, db.FindByCode(0, account)));
    cards.SetValues(line, std::vector<double>{value});
  };
  const CardRef january = cards.CreateCard({PackDay(2024, 1, 5), 1});
  add_line(january, "1", 5);
  add_line(january, "1", -5);
  add_line(january, "2", 7);
  add_line(cards.CreateCard({PackDay(2024, 2, 1), 1}), "2", 3);

  SaveSetup setup;
  setup.selection_lines = {"BC\t240101\t240131", "BD1\t1", "BVA\t>0"};
  const std::pair<char, size_t> levels[] = {{'C', 3}, {'G', 2}, {'L', 1}};
  for (const auto& [level, lines] : levels) {
    setup.level = level;
    const std::string path = dir.File(std::string("extract") + level + ".jox");
    ASSERT_TRUE(SaveDatabaseFile(db, path, DatabaseFormat::kText, setup, registry, nullptr,
                                 /*adopt=*/false));
    Database read;
    ASSERT_TRUE(ReadDatabaseFile(read, path, ReadOptions(), nullptr, registry));
    EXPECT_EQ(read.cards().card_count(), 1u) << level;
    EXPECT_EQ(read.cards().line_count(), lines) << level;
  }
  // A setup without a selection saves everything.
  setup.selection_lines.clear();
  const std::string path = dir.File("all.jox");
  ASSERT_TRUE(SaveDatabaseFile(db, path, DatabaseFormat::kText, setup, registry, nullptr, false));
  Database read;
  ASSERT_TRUE(ReadDatabaseFile(read, path, ReadOptions(), nullptr, registry));
  EXPECT_EQ(read.cards().line_count(), 4u);
}

// Import setups are read by their owner, and plain text files go to the text import.
TEST(SectionKindsTest, ImportSetupsAndPlainTextFilesHaveTheirReaders) {
  ResetProcess();
  const SectionRegistry registry = FullSectionRegistry();
  Database db;
  MemoryByteSource bytes("##ImportSetup\tBank\r\nS\t59\r\n##End\r\n");
  LineSource lines(bytes);
  ASSERT_TRUE(ReadSections(db, lines, registry).ok);
  ASSERT_EQ(ImportSetups::Of(db).named().size(), 1u);
  EXPECT_EQ(ImportSetups::Of(db).named()[0].field_separator, ';');
  EXPECT_TRUE(registry.plain_text_reader());
}

}  // namespace
}  // namespace jov
