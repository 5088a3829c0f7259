#include "io/import_preview.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "io/text_import.h"
#include "shell/number_text.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

FieldSpec F(int field, std::string default_text = "", unsigned char insert = 0) {
  return FieldSpec{{FieldPart{field, 0, 0, std::move(default_text), insert}}};
}

// Card rows "H;date;title", line rows "L;account;amount;cost centre", a row of neither kind, a
// line row of zeros, an unreadable amount and a new account.
constexpr std::string_view kFile =
    "skip me\rH;240105;Rent\rL;4010;1.500,00;7\rL;1930;-1.500,00\rnote\r"
    "H;240106;Sales\rL;3010;0\rL;9999;abc\rL;1930;12,5\r";

ImportSetup LedgerSetup() {
  ImportSetup setup;
  setup.field_separator = ';';
  setup.decimal_separator = ',';
  setup.rows_to_skip = 1;
  setup.card_indicator = F(1, "H");
  setup.line_indicator = F(1, "L");
  setup.card_date = F(2);
  setup.card_title = F(3);
  LineDefinition& line = setup.line_definitions[0];
  line.components[0] = F(2);
  line.components[1] = F(4);
  line.zero_filling[1] = 3;
  line.values[0] = F(3);
  return setup;
}

class ImportPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
    for (const char* account : {"4010", "1930", "3010"}) db_.AddComponent(0, account, "", account);
    db_.AddComponent(1, "007", "", "007");
  }
  void TearDown() override { ResetProcess(); }

  RecordingSink sink_;
  Database db_;
};

TEST_F(ImportPreviewTest, RowsReadAsTheImportReadsThemAndNothingChanges) {
  MemoryImportInput input(kFile);
  const std::vector<PreviewRow> rows = PreviewImport(db_, input, LedgerSetup(), 100);
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_TRUE(rows[0].skipped);
  EXPECT_EQ(rows[0].text, "skip me");
  EXPECT_TRUE(rows[1].card && !rows[1].line);
  EXPECT_EQ(DayCodeText(rows[1].date), "240105");
  EXPECT_EQ(rows[1].title, "Rent");
  EXPECT_FALSE(rows[4].card || rows[4].line) << "a row of neither kind";
  ASSERT_EQ(rows[2].lines.size(), 1u);
  const PreviewLine& rent = rows[2].lines[0];
  EXPECT_EQ(rent.codes[0], "4010");
  EXPECT_EQ(rent.codes[1], "007") << "zero filling";
  EXPECT_FALSE(rent.new_codes[0] || rent.new_codes[1]);
  EXPECT_EQ(rent.values, std::vector<double>{1500});
  EXPECT_TRUE(rows[6].lines[0].excluded) << "all values zero";
  const PreviewLine& unknown = rows[7].lines[0];
  EXPECT_TRUE(unknown.new_codes[0]);
  EXPECT_EQ(unknown.unreadable, std::vector<bool>{true});
  EXPECT_EQ(rows[7].unreadable, std::vector<std::string>{"abc"});
  EXPECT_EQ(rows[8].number, 9u);

  // The preview reads without changing the database or reporting.
  EXPECT_EQ(db_.cards().FirstCard(), kCardSentinel);
  EXPECT_EQ(db_.FindByHost(0, "9999"), kNoComponent);
  EXPECT_TRUE(sink_.alerts().empty());

  // A limit keeps the preview to the first rows.
  MemoryImportInput again(kFile);
  EXPECT_EQ(PreviewImport(db_, again, LedgerSetup(), 3).size(), 3u);
}

// The lines the preview shows are the lines the import makes, value for value.
TEST_F(ImportPreviewTest, ThePreviewShowsWhatTheImportMakes) {
  MemoryImportInput input(kFile);
  const std::vector<PreviewRow> rows = PreviewImport(db_, input, LedgerSetup(), 100);
  std::vector<std::string> previewed;
  for (const PreviewRow& row : rows) {
    if (row.card) previewed.push_back(DayCodeText(row.date) + " " + row.title);
    for (const PreviewLine& line : row.lines) {
      if (!line.excluded)
        previewed.push_back(line.codes[0] + " " + FormatNumber(line.values[0], 2));
    }
  }
  MemoryImportInput file(kFile);
  ImportText(db_, file, "rows.txt", LedgerSetup());
  std::vector<std::string> imported;
  const CardStore& cards = db_.cards();
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    imported.push_back(DayCodeText(cards.CardId(card).day) + " " + std::string(cards.Title(card)));
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
        imported.push_back(db_.component(db_.LineComponent(g, l, 0)).host + " " +
                           FormatNumber(cards.GetValue(l, 0), 2));
      }
    }
  }
  // The import groups lines by account within a card; the preview keeps file order.
  std::sort(previewed.begin(), previewed.end());
  std::sort(imported.begin(), imported.end());
  EXPECT_EQ(previewed, imported);
}

TEST_F(ImportPreviewTest, TheTableMarksNewCodesUnreadableValuesAndLeftOutLines) {
  db_.dimension(0).SetSingularName("Account");
  db_.dimension(1).SetSingularName("Cost Centre");
  MemoryImportInput input(kFile);
  const ImportSetup setup = LedgerSetup();
  const FixedTable table = PreviewTable(db_, setup, PreviewImport(db_, input, setup, 100));
  ASSERT_EQ(table.ColumnCount(), 7);
  EXPECT_EQ(table.Column(4).title, "Account");
  EXPECT_EQ(table.Column(5).title, "Cost Centre");
  std::vector<TableCell> cells;
  table.FillRow(0, cells);
  EXPECT_EQ(cells[1].text, "Skipped");
  EXPECT_EQ(cells[3].text, "skip me");
  table.FillRow(2, cells);
  EXPECT_EQ(cells[1].text, "Line");
  EXPECT_EQ(cells[5].text, "007");
  EXPECT_EQ(cells[6].text, "1500");
  table.FillRow(6, cells);
  EXPECT_EQ(cells[6].colour, CellColour::kRed);
  table.FillRow(7, cells);
  EXPECT_EQ(cells[4].text, "9999 *");
  EXPECT_EQ(cells[6].text, "?");
}

}  // namespace
}  // namespace jov
