#include "analysis/card_analysis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/card_xml.h"
#include "files/xml_channel_test_util.h"
#include "files/xml_check_test_util.h"
#include "model/database.h"
#include "model/user_stamp.h"
#include "shell/message_ids.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

// Companies (dimension 1): N, B. Accounts (dimension 2): 1910, 3010. One value field.
// Card 1 (240102): N with 1910 100 and 3010 -100; B with 1910 7.
// Card 2 (240103): B with 3010 5 only.
// Card 3 (240104): N with 3010 -9.
class CardAnalysisTest : public ::testing::Test {
 protected:
  CardAnalysisTest() {
    ResetProcess();
    db_.AddComponent(0, "N", "Nordic", "");
    db_.AddComponent(0, "B", "Baltic", "");
    db_.AddComponent(1, "1910", "Cash", "");
    db_.AddComponent(1, "3010", "Sales", "");
    db_.FlushChangeFlags();
    first_ =
        AddCard(PackDay(2024, 1, 2), {{"N", "1910", 100}, {"N", "3010", -100}, {"B", "1910", 7}});
    second_ = AddCard(PackDay(2024, 1, 3), {{"B", "3010", 5}});
    third_ = AddCard(PackDay(2024, 1, 4), {{"N", "3010", -9}});
  }

  struct Line {
    const char* company;
    const char* account;
    double value;
  };
  CardRef AddCard(DayCode day, std::vector<Line> lines) {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({day, 0});
    cards.SetTitle(card, "Card " + std::to_string(day & 31));
    for (const Line& line : lines) {
      const LineRef ref =
          cards.CreateLine(cards.FindOrAddGroup(card, db_.FindByCode(0, line.company)));
      const ComponentRef slots[] = {db_.FindByCode(1, line.account)};
      cards.SetComponents(ref, slots);
      const double values[] = {line.value};
      cards.SetValues(ref, values);
    }
    return card;
  }

  // The rows as letters and the first non-empty cell: "C240102-001", "GN Nordic", "L1910 Cash".
  static std::vector<std::string> Rows(const CardAnalysis& analysis) {
    std::vector<std::string> rows;
    std::vector<TableCell> cells;
    for (int row = 0; row < analysis.RowCount(); ++row) {
      analysis.FillRow(row, cells);
      std::string shown(1, "CGL"[static_cast<int>(analysis.rows()[row].level)]);
      for (const TableCell& cell : cells) {
        if (!cell.text.empty()) {
          shown += cell.text;
          break;
        }
      }
      rows.push_back(shown);
    }
    return rows;
  }

  std::unique_ptr<CardAnalysis> Analysis(DataContents groups, DataContents lines) {
    auto analysis = std::make_unique<CardAnalysis>(db_);
    analysis->options().groups = groups;
    analysis->options().lines = lines;
    analysis->options().columns.card_title = false;
    return analysis;
  }

  Database db_;
  CardRef first_, second_, third_;
};

TEST_F(CardAnalysisTest, DataContentsChooseTheRowsAndTheMarkedLevel) {
  const struct {
    DataContents groups, lines;
    std::vector<std::string> rows;
    CardLevel level;
    int64_t marked, covered;
  } cases[] = {
      // Groups None lists cards only, whatever Lines says.
      {DataContents::kNone,
       DataContents::kAll,
       {"C240102-001", "C240104-001"},
       CardLevel::kCards,
       2,
       4},
      {DataContents::kSelected,
       DataContents::kSelected,
       {"C240102-001", "GN Nordic", "L3010 Sales", "C240104-001", "GN Nordic", "L3010 Sales"},
       CardLevel::kLines,
       2,
       2},
      // Groups All, Lines Selected: every group of a listed card, each with its passing lines.
      {DataContents::kAll,
       DataContents::kSelected,
       {"C240102-001", "GN Nordic", "L3010 Sales", "GB Baltic", "C240104-001", "GN Nordic",
        "L3010 Sales"},
       CardLevel::kLines,
       2,
       2},
      {DataContents::kSelected,
       DataContents::kAll,
       {"C240102-001", "GN Nordic", "L1910 Cash", "L3010 Sales", "C240104-001", "GN Nordic",
        "L3010 Sales"},
       CardLevel::kGroups,
       2,
       3},
      {DataContents::kAll,
       DataContents::kNone,
       {"C240102-001", "GN Nordic", "GB Baltic", "C240104-001", "GN Nordic"},
       CardLevel::kCards,
       2,
       4},
  };
  for (const auto& c : cases) {
    const auto analysis = Analysis(c.groups, c.lines);
    // Sales of the Nordic company: card 2's only sales line is in the Baltic group.
    analysis->selection().SetComponentExpression(0, "N");
    analysis->selection().SetComponentExpression(1, "3010");
    ASSERT_TRUE(analysis->Calculate());
    EXPECT_EQ(Rows(*analysis), c.rows);
    EXPECT_EQ(analysis->options().MarkedLevel(), c.level);
    EXPECT_EQ(analysis->MarkedCount(), c.marked);
    EXPECT_EQ(analysis->LinesCovered(), c.covered);
  }
}

TEST_F(CardAnalysisTest, CountsReadAsTheStatusShowsThem) {
  const auto analysis = Analysis(DataContents::kSelected, DataContents::kAll);
  ASSERT_TRUE(analysis->Calculate());
  EXPECT_EQ(analysis->CountText(), "4 groups");
  analysis->options().groups = DataContents::kNone;
  EXPECT_EQ(analysis->CountText(), "3 cards");
}

TEST_F(CardAnalysisTest, DeletingAtEachLevelTakesTheListedDataOnly) {
  RecordingSink sink;
  ScopedSink scoped(&sink);
  ASSERT_TRUE(SetUserSignature("CD"));
  {  // Lines: the passing lines go; emptied groups and cards with them.
    const auto analysis = Analysis(DataContents::kSelected, DataContents::kSelected);
    analysis->selection().SetComponentExpression(1, "3010");
    ASSERT_TRUE(analysis->Calculate());
    ASSERT_TRUE(analysis->DeleteData());
    EXPECT_EQ(sink.alerts().back().ComposeText(), "Are you sure you want to delete\n\"3 lines\"?");
    EXPECT_EQ(db_.cards().card_count(), 1u);
    EXPECT_EQ(db_.cards().line_count(), 2u);
    EXPECT_EQ(db_.cards().card(first_).created.Signature(), "CD");
    EXPECT_EQ(analysis->RowCount(), 0);  // the change dropped the rows
  }
  second_ = AddCard(PackDay(2024, 1, 3), {{"B", "3010", 5}, {"N", "3010", 1}});
  {  // Groups: the Baltic groups go, with the card left without a group.
    const auto analysis = Analysis(DataContents::kSelected, DataContents::kAll);
    analysis->selection().SetComponentExpression(0, "B");
    ASSERT_TRUE(analysis->Calculate());
    ASSERT_TRUE(analysis->DeleteData());
    EXPECT_EQ(sink.alerts().back().ComposeText(), "Are you sure you want to delete\n\"2 groups\"?");
    EXPECT_EQ(db_.cards().group_count(), 2u);
    EXPECT_EQ(db_.cards().line_count(), 2u);
  }
  {  // Cards.
    const auto analysis = Analysis(DataContents::kNone, DataContents::kNone);
    analysis->selection().SetTo("240102");
    ASSERT_TRUE(analysis->Calculate());
    sink.set_answer(1);  // "Cancel": nothing happens
    EXPECT_FALSE(analysis->DeleteData());
    EXPECT_EQ(db_.cards().card_count(), 2u);
    sink.set_answer(0);
    ASSERT_TRUE(analysis->DeleteData());
    EXPECT_EQ(sink.alerts().back().ComposeText(), "Are you sure you want to delete\n\"1 cards\"?");
    EXPECT_EQ(db_.cards().card_count(), 1u);
  }
}

TEST_F(CardAnalysisTest, MarkingStampsTheListedCardsOnlyWithASignature) {
  RecordingSink sink;
  ScopedSink scoped(&sink);
  const auto analysis = Analysis(DataContents::kSelected, DataContents::kSelected);
  analysis->selection().SetComponentExpression(0, "B");
  ASSERT_TRUE(analysis->Calculate());
  EXPECT_FALSE(analysis->MarkExamined());
  EXPECT_TRUE(db_.cards().card(first_).examined.empty());
  EXPECT_EQ(sink.alerts().back().message, msg::kNoSignature);
  ASSERT_TRUE(SetUserSignature("EF"));
  ASSERT_TRUE(analysis->MarkExamined());
  EXPECT_EQ(sink.alerts().back().ComposeText(), "Are you sure you want to mark 2 cards examined?");
  EXPECT_EQ(db_.cards().card(first_).examined.Signature(), "EF");
  EXPECT_EQ(db_.cards().card(second_).examined.Signature(), "EF");
  EXPECT_TRUE(db_.cards().card(third_).examined.empty());
}

TEST_F(CardAnalysisTest, TemplateLinesReadBackAsWritten) {
  CardAnalysisOptions options = CardAnalysisOptions::Standard(3);
  options.groups = DataContents::kAll;
  options.lines = DataContents::kNone;
  options.columns.values[3] = true;
  options.columns.dimensions[12] = true;
  options.columns.line_text = false;
  options.width_lines = {"wC\t80\t120", "wV\t0\t64"};
  Selection selection(db_);
  selection.SetComponentExpression(0, "N");
  const std::vector<std::string> lines = CardTemplateLines(options, selection);
  CardAnalysisOptions read = CardAnalysisOptions::Standard(2);
  Selection read_selection(db_);
  for (const std::string& line : lines) {
    EXPECT_TRUE(ReadCardTemplateLine(line, read, read_selection)) << line;
  }
  EXPECT_EQ(read, options);
  EXPECT_EQ(CardTemplateLines(read, read_selection), lines);
  CardAnalysis analysis(db_);
  analysis.options().decimals = 4;
  EXPECT_EQ(analysis.SelectionBlock(), (std::vector<std::string>{"VZ\tD4"}));
  // Both Selected is the default and writes no "S" line.
  options.groups = options.lines = DataContents::kSelected;
  for (const std::string& line : CardTemplateLines(options, selection)) EXPECT_NE(line[0], 'S');
}

TEST_F(CardAnalysisTest, XmlNestsCardsGroupsAndLinesAndNumbersOnlySeveralFields) {
  JOV_REQUIRE_XML_PARSER();
  const auto analysis = Analysis(DataContents::kSelected, DataContents::kSelected);
  analysis->selection().SetTo("240103");
  ASSERT_TRUE(analysis->Calculate());
  const auto xml = [&] {
    StringByteSink bytes;
    LineSink out(bytes, "\n");
    WriteCardsXml(*analysis, out);
    out.Finish();
    return bytes.text();
  };
  const std::string one_field = xml();
  EXPECT_TRUE(testing::WellFormedXml(one_field)) << one_field;
  // Empty cells (the line texts) are left out.
  EXPECT_TRUE(one_field.starts_with(
      "<JOV-Cards>\n\n<card>\n\t<id>240102-001</id>\n<group>\n\t<dim num=\"1\">N Nordic</dim>\n"
      "<line>\n\t<dim num=\"2\">1910 Cash</dim>\n\t<value>100.00</value>\n</line>"))
      << one_field;
  EXPECT_NE(one_field.find("\t<value>100.00</value>\n</line>\n<line>"), std::string::npos);
  EXPECT_NE(one_field.find("</line>\n</group>\n<group>"), std::string::npos);
  EXPECT_NE(one_field.find("</group>\n</card>\n\n<card>"), std::string::npos);
  EXPECT_TRUE(one_field.ends_with("</line>\n</group>\n</card>\n\n</JOV-Cards>\n")) << one_field;
  db_.SetValueFieldCount(2);
  analysis->options().columns.values[1] = true;
  ASSERT_TRUE(analysis->Calculate());
  EXPECT_NE(xml().find("<value num=\"1\">100.00</value>\n\t<value num=\"2\">0.00</value>"),
            std::string::npos);
}

TEST_F(CardAnalysisTest, ATabSeparatedExportOfEveryLevelReadsAsACardsSection) {
  CardAnalysisOptions options;
  ExportSettings settings;
  settings.include_title = true;
  EXPECT_TRUE(ExportsAsCardsSection(settings, options));
  const auto breaks = [&](auto change) {
    CardAnalysisOptions o = options;
    ExportSettings s = settings;
    change(o, s);
    return !ExportsAsCardsSection(s, o);
  };
  EXPECT_TRUE(breaks([](auto& o, auto&) { o.groups = DataContents::kNone; }));
  EXPECT_TRUE(breaks([](auto& o, auto&) { o.lines = DataContents::kNone; }));
  EXPECT_TRUE(breaks([](auto&, auto& s) { s.include_title = false; }));
  EXPECT_TRUE(breaks([](auto&, auto& s) { s.include_data_rows = false; }));
  EXPECT_TRUE(breaks([](auto&, auto& s) { s.between_fields = ';'; }));
  EXPECT_TRUE(breaks([](auto&, auto& s) { s.around_fields = '"'; }));
  EXPECT_TRUE(breaks([](auto&, auto& s) { s.format = ExportFormat::kHtml; }));
  CardAnalysis analysis(db_);
  analysis.set_title("Vouchers");
  analysis.export_settings() = settings;
  analysis.PrepareExport();
  EXPECT_EQ(analysis.Title(), "##Cards\tVouchers");
  analysis.FinishExport();
  EXPECT_EQ(analysis.Title(), "Vouchers");
}

TEST_F(CardAnalysisTest, XmlOptionsSetColumnsContentsAndDecimals) {
  const std::string document =
      "<template><columns value=\"off\" value3=\"on\" dim14=\"on\" value25=\"on\"/>"
      "<contents groups=\"\" lines=\"all\"/><contents lines=\"some\"/>"
      "<values decimals=\"T\"/></template>";
  CardAnalysis analysis(db_);
  testing::CollectingChannel errors;
  XmlReader reader(document, &errors);
  ASSERT_EQ(reader.Next(), XmlReader::Event::kStart);
  ASSERT_TRUE(ReadCardXmlOptions(reader, analysis));
  const CardAnalysisOptions& options = analysis.options();
  EXPECT_FALSE(options.columns.values[0]);
  EXPECT_TRUE(options.columns.values[2]);
  EXPECT_TRUE(options.columns.dimensions[13]);
  EXPECT_EQ(options.groups, DataContents::kNone);
  EXPECT_EQ(options.lines, DataContents::kAll);
  EXPECT_EQ(options.decimals, -1);
  EXPECT_EQ(errors.reports.size(), 2u);  // value25, some
}

}  // namespace
}  // namespace jov
