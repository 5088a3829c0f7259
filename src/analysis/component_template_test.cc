#include "analysis/component_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analysis_kinds.h"
#include "analysis/component_analysis.h"
#include "files/database_file.h"
#include "files/line_source.h"
#include "files/save_setup.h"
#include "files/section_reader.h"
#include "files/section_writer.h"
#include "files/templates_section.h"
#include "model/database.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

using Column = ComponentColumn;
using Lines = std::vector<std::string>;

class ComponentTemplateTest : public ::testing::Test {
 protected:
  ComponentTemplateTest() {
    ResetProcess();
    for (const char* code : {"1", "10", "2"}) db_.AddComponent(1, code, "", "");
    db_.AddComponent(3, "K1", "", "");
    db_.SetValueFieldCount(3);
    db_.FlushChangeFlags();
  }

  // Reads `lines` into fresh options and a fresh selection.
  ComponentAnalysisOptions Read(const Lines& lines, Selection& selection, bool older = false) {
    ComponentAnalysisOptions options = ComponentAnalysisOptions::Standard(2);
    for (const std::string& line : lines) {
      EXPECT_TRUE(
          ReadComponentTemplateLine(line, db_.value_field_count(), older, options, selection))
          << line;
    }
    return options;
  }

  Database db_;
};

TEST_F(ComponentTemplateTest, StandardSettingsWriteOnlyTheLinesWrittenAlways) {
  Selection selection(db_);
  EXPECT_EQ(ComponentTemplateLines(ComponentAnalysisOptions::Standard(2), selection),
            (Lines{"FA", "D2", "RS", "%I", "ZD", "ZX", "QB\tVbrs\t0\t2", "QN\tVbrs\t0\t2",
                   "QP\tVbrs\t0\t2", "QR\tVBrs\t0\t2", "QC\tvbrs\t0\t2", "QE\tVbrs\t0\t2",
                   "QA\tvbrs\t0\t2", "QT\tvbrs\t0\t2"}));
}

TEST_F(ComponentTemplateTest, EverySettingWritesAndReadsBack) {
  Selection selection(db_);
  selection.SetFrom("240101");
  selection.SetTo("241231");
  selection.SetComponentExpression(3, "K1");
  ComponentAnalysisOptions options = ComponentAnalysisOptions::Standard(2);
  options.view_dimension = 3;
  options.value_field = 2;
  options.flat = true;
  options.filter = RowFilter::kNonZero;
  options.sort = ComponentSort::kCombinedDescending;
  options.sort_column = Column::kAtEnd;
  options.indentation = 2;
  options.chart_decimals = kMillions;
  options.chart_column = Column::kTotal;
  options.global_sublevels = true;
  options.option_zn = true;
  options.option_zc = false;
  options.chart_scale_width = 40;
  options.pie_values = 2;
  options.expansion = "\\1\\";
  options.column(Column::kCount) = {.visible = true,
                                    .bold = true,
                                    .red_green = true,
                                    .sublevels = true,
                                    .decimals = kThousands,
                                    .width = 120};
  options.column(Column::kBefore).width = 12;  // too narrow to be stored
  const Lines lines = ComponentTemplateLines(options, selection);
  EXPECT_EQ(lines, (Lines{"BC\t240101\t241231",
                          "BD4\tK1",
                          "FC",
                          "DM",
                          "P4",
                          "S\tEE",
                          "K\tFZ",
                          "RD",
                          "VPT",
                          "%D",
                          "ZC",
                          "ZS",
                          "ZX\\1\\",
                          "ZN",
                          "wD40",
                          "QB\tVbrs\t0\t2",
                          "QN\tVbrs\t0\t2",
                          "QP\tVbrs\t0\t2",
                          "QR\tVBrs\t0\t2",
                          "QC\tVBRS\t120\tT",
                          "QE\tVbrs\t0\t2",
                          "QA\tvbrs\t0\t2",
                          "QT\tvbrs\t0\t2"}));
  Selection read_selection(db_);
  ComponentAnalysisOptions read = Read(lines, read_selection);
  options.column(Column::kBefore).width = 0;
  EXPECT_EQ(read, options);
  EXPECT_EQ(ComponentTemplateLines(read, read_selection), lines);
}

TEST_F(ComponentTemplateTest, ValuesOutOfRangeAreIgnoredAndOtherLinesLeftToTheFrame) {
  Selection selection(db_);
  const ComponentAnalysisOptions standard = ComponentAnalysisOptions::Standard(2);
  const ComponentAnalysisOptions read = Read({"FD", "F9", "P0", "P17", "Dx", "S\tQZ", "K\tXY", "R?",
                                              "%x", "VPx", "QX\tVBRS", "wDx", "QB\tV?x", "QR"},
                                             selection);
  EXPECT_EQ(read, standard);
  ComponentAnalysisOptions options = standard;
  for (const char* line : {"xo", "sN\tName", "Vx", "wL\t20", "ZQ", "YY"}) {
    EXPECT_FALSE(
        ReadComponentTemplateLine(line, db_.value_field_count(), false, options, selection))
        << line;
  }
  EXPECT_EQ(options, standard);
  // A value given by number counts from 1; a tab after a key is taken as well.
  EXPECT_EQ(Read({"F\t2", "P\t3"}, selection).value_field, 1);
  EXPECT_EQ(Read({"F\t2", "P\t3"}, selection).view_dimension, 2);
}

TEST_F(ComponentTemplateTest, OlderFilesSetEveryColumnFromTheGlobalLines) {
  Selection selection(db_);
  const ComponentAnalysisOptions older = Read({"ZS", "D5"}, selection, /*older=*/true);
  const ComponentAnalysisOptions current = Read({"ZS", "D5"}, selection, /*older=*/false);
  for (int kind = 0; kind < kComponentColumns; ++kind) {
    EXPECT_TRUE(older.columns[kind].sublevels);
    EXPECT_EQ(older.columns[kind].decimals, 5);
    EXPECT_FALSE(current.columns[kind].sublevels);
    EXPECT_EQ(current.columns[kind].decimals, 2);
  }
  EXPECT_TRUE(current.global_sublevels);
  EXPECT_EQ(current.chart_decimals, 5);

  ComponentTemplateBody body(db_);
  body.BeginReading(20001218);
  EXPECT_TRUE(body.ReadLine("ZD"));
  EXPECT_FALSE(body.options().column(Column::kCount).sublevels);
  body.BeginReading(kPerColumnOptionsDate);
  body.options().column(Column::kCount).sublevels = true;
  EXPECT_TRUE(body.ReadLine("ZD"));
  EXPECT_TRUE(body.options().column(Column::kCount).sublevels);
}

// The rules of older files follow the format date that the file's first line records.
TEST_F(ComponentTemplateTest, TheFileSaysWhetherItsTemplatesAreOlder) {
  SectionRegistry registry = DefaultSectionRegistry();
  UseTemplateKinds(registry, std::make_shared<const TemplateKinds>(AnalysisTemplateKinds()));
  const TempDir dir;
  for (const char* date : {"001218", "001219"}) {
    const std::string path = dir.File(std::string(date) + ".jox");
    ASSERT_TRUE(
        WriteFileAtomically(path, "##JOV-Text\t" + std::string(date) +
                                      "\r\n##Templates\r\n#P\tOld\r\nZS\r\nD4\r\n##End\r\n"));
    Database db;
    ASSERT_TRUE(ReadDatabaseFile(db, path, {}, nullptr, registry));
    const auto* body = dynamic_cast<const ComponentTemplateBody*>(
        AnalysisTemplates::Of(db).Find("Old")->body.get());
    ASSERT_NE(body, nullptr);
    const bool older = std::string(date) == "001218";
    EXPECT_EQ(body->options().column(Column::kCount).sublevels, older) << date;
    EXPECT_EQ(body->options().column(Column::kCount).decimals, older ? 4 : 2) << date;
  }
}

// A database's templates through the text format: read by the body of their kind, written back
// byte for byte, and opened as analyses.
TEST_F(ComponentTemplateTest, TemplatesReadAsAnalysesAndWriteBackUnchanged) {
  SectionRegistry registry = DefaultSectionRegistry();
  UseTemplateKinds(registry, std::make_shared<const TemplateKinds>(AnalysisTemplateKinds()));
  const std::string stored =
      "##JOV-Text\t001219\r\n"
      "##Templates\r\n"
      "#P\tBy cost centre\r\n"
      "xc\r\n"
      "xN\tFor the board\r\n"
      "BD2\t1\r\n"
      "FB\r\n"
      "D2\r\n"
      "K\tFU\r\n"
      "RS\r\n"
      "%I\r\n"
      "ZD\r\n"
      "ZX\\\r\n"
      "QB\tvbrs\t0\t2\r\n"
      "QN\tvbrs\t0\t2\r\n"
      "QP\tvbrs\t0\t2\r\n"
      "QR\tVBrS\t0\t0\r\n"
      "QC\tVbrs\t0\t2\r\n"
      "QE\tvbrs\t0\t2\r\n"
      "QA\tvbrs\t0\t2\r\n"
      "QT\tvbrs\t0\t2\r\n"
      "##End\r\n";
  Database& db = db_;
  {
    MemoryByteSource bytes(stored);
    LineSource lines(bytes);
    ASSERT_TRUE(ReadSections(db, lines, registry).ok);
  }
  AnalysisTemplate* found = AnalysisTemplates::Of(db).Find("by cost centre");
  ASSERT_NE(found, nullptr);
  const auto* body = dynamic_cast<const ComponentTemplateBody*>(found->body.get());
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->options().value_field, 1);
  EXPECT_TRUE(body->options().flat);
  EXPECT_EQ(body->options().filter, RowFilter::kInUse);
  EXPECT_TRUE(body->options().column(Column::kPeriod).sublevels);
  EXPECT_EQ(body->options().column(Column::kPeriod).decimals, 0);
  EXPECT_EQ(body->selection().component_expression(1), "1");
  EXPECT_EQ(found->frame.notes, "For the board");

  StringByteSink written;
  ASSERT_TRUE(WriteSections(db, written, SaveSetup(), registry, {}));
  const size_t templates = written.text().find("##Templates");
  ASSERT_NE(templates, std::string::npos);
  EXPECT_EQ(written.text().substr(templates), stored.substr(stored.find("##Templates")));

  const std::unique_ptr<Table> table = OpenTemplate(db, *found);
  ASSERT_NE(table, nullptr);
  auto* analysis = dynamic_cast<ComponentAnalysis*>(table.get());
  ASSERT_NE(analysis, nullptr);
  EXPECT_EQ(analysis->Title(), "By cost centre");
  EXPECT_EQ(analysis->Notes(), "For the board");
  CardStore& cards = db.cards();
  const LineRef line =
      cards.CreateLine(cards.FindOrAddGroup(cards.CreateCard({PackDay(2024, 1, 2), 0}), 0));
  const ComponentRef slots[] = {db.FindByCode(1, "1")};
  cards.SetComponents(line, slots);
  ASSERT_TRUE(analysis->Calculate());
  EXPECT_EQ(analysis->displayed().size(), 2u);  // the root and 1, in use
  // Stored again from the analysis, the template is what it was.
  const AnalysisTemplate again = analysis->ToTemplate("By cost centre");
  const auto* again_body = dynamic_cast<const ComponentTemplateBody*>(again.body.get());
  ASSERT_NE(again_body, nullptr);
  EXPECT_EQ(again_body->options(), body->options());
  EXPECT_EQ(again.frame, found->frame);
}

}  // namespace
}  // namespace jov
