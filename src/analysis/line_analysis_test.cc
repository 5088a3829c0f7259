#include "analysis/line_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/component_options.h"
#include "analysis/line_template.h"
#include "analysis/line_xml.h"
#include "files/xml_channel_test_util.h"
#include "files/xml_check_test_util.h"
#include "model/database.h"
#include "model/user_stamp.h"
#include "shell/message_ids.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

// Accounts (dimension 1): 1910, 1930. Two value fields. Each line is on a card of its own
// unless a card is given.
class LineAnalysisTest : public ::testing::Test {
 protected:
  LineAnalysisTest() {
    ResetProcess();
    db_.AddComponent(0, "1910", "Cash", "");
    db_.AddComponent(0, "1930", "Bank", "");
    db_.SetValueFieldCount(2);
    db_.FlushChangeFlags();
  }

  CardRef AddLine(DayCode day, double value, std::string_view account = "1910",
                  CardRef card = kNoRecord) {
    CardStore& cards = db_.cards();
    if (card == kNoRecord) card = cards.CreateCard({day, 0});
    const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, db_.FindByCode(0, account)));
    const double values[] = {value, 1};
    cards.SetValues(line, values);
    return card;
  }

  // An analysis of [from, to] with the summary rows of `letters`.
  std::unique_ptr<LineAnalysis> Analysis(std::string_view from, std::string_view to,
                                         std::string_view letters) {
    auto analysis = std::make_unique<LineAnalysis>(db_);
    analysis->selection().SetFrom(from);
    analysis->selection().SetTo(to);
    analysis->options().SetSummaryLetters(letters);
    return analysis;
  }

  // The text of a row's cell in the column of `kind` (and value field).
  static std::string Cell(const LineAnalysis& analysis, int row, LineColumnKind kind,
                          int index = 0) {
    const auto& columns = analysis.columns();
    for (size_t c = 0; c < columns.size(); ++c) {
      if (columns[c].kind == kind &&
          (kind != LineColumnKind::kValue || columns[c].index == index)) {
        return analysis.CellText(row, static_cast<int>(c));
      }
    }
    return "(no column)";
  }

  static int RowOf(const LineAnalysis& analysis, LineSummary summary) {
    const auto& rows = analysis.summary_rows();
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i] == summary) return static_cast<int>(i);
    }
    return -1;
  }

  Database db_;
};

TEST_F(LineAnalysisTest, MedianOfNoneOneTwoAndMoreValues) {
  const struct {
    std::vector<double> values;
    double median;
  } cases[] = {
      {{1, 2, 3, 4}, 2.5}, {{7}, 7}, {{4, 1}, 2.5}, {{5, -1, 3}, 3}, {{9, 9, 1, 1, 5, 2}, 3.5}};
  for (auto c : cases) EXPECT_EQ(MedianOf(c.values), c.median);
  std::vector<double> none;
  EXPECT_TRUE(std::isnan(MedianOf(none)));
}

TEST_F(LineAnalysisTest, OneLineOnTheFirstDayOfTenDays) {
  AddLine(PackDay(2024, 1, 1), 100);
  const auto analysis = Analysis("240101", "240110", "PA#TR");
  ASSERT_TRUE(analysis->Calculate());
  const FieldMeasures& field = analysis->result().fields[0];
  EXPECT_EQ(analysis->result().days, 10);
  EXPECT_DOUBLE_EQ(field.positive_days, 1000);
  EXPECT_DOUBLE_EQ(field.average_balance, 100);
  EXPECT_DOUBLE_EQ(field.turnover_time, 20);
  EXPECT_DOUBLE_EQ(field.turnover_rate, 18.25);
  const auto& a = *analysis;
  EXPECT_EQ(Cell(a, RowOf(a, LineSummary::kAverage), LineColumnKind::kAccumulated), "100.00");
  EXPECT_EQ(Cell(a, RowOf(a, LineSummary::kAverage), LineColumnKind::kValue), "100.00");
  EXPECT_EQ(Cell(a, RowOf(a, LineSummary::kTurnoverRate), LineColumnKind::kValue), "18.25");
  EXPECT_EQ(Cell(a, RowOf(a, LineSummary::kTurnoverTime), LineColumnKind::kValue), "20.00");
  // Without Sum Before the accumulated column shows no period balance.
  EXPECT_EQ(Cell(a, RowOf(a, LineSummary::kPeriod), LineColumnKind::kAccumulated), "");
}

TEST_F(LineAnalysisTest, WithoutSumBeforeEverythingStartsFromZero) {
  AddLine(PackDay(2023, 12, 1), 1000);  // before the period
  AddLine(PackDay(2024, 1, 1), 100);
  AddLine(PackDay(2024, 1, 6), -40);
  const auto without = Analysis("240101", "240110", "PMmA");
  without->options().positive_rate = 5;
  ASSERT_TRUE(without->Calculate());
  const FieldMeasures& from_zero = without->result().fields[0];
  EXPECT_DOUBLE_EQ(from_zero.positive_days, 100 * 5 + 60 * 5);
  EXPECT_DOUBLE_EQ(from_zero.min_balance, 0);
  EXPECT_DOUBLE_EQ(from_zero.max_balance, 100);
  EXPECT_EQ(Cell(*without, without->FirstLineRow() + 1, LineColumnKind::kAccumulated), "60.00");

  const auto with = Analysis("240101", "240110", "BPMmA");
  ASSERT_TRUE(with->Calculate());
  const FieldMeasures& opening = with->result().fields[0];
  EXPECT_DOUBLE_EQ(opening.before, 1000);
  EXPECT_DOUBLE_EQ(opening.min_balance, 1000);
  EXPECT_DOUBLE_EQ(opening.max_balance, 1100);
  EXPECT_DOUBLE_EQ(opening.average_balance, (1100 * 5 + 1060 * 5) / 10.0);
  EXPECT_EQ(Cell(*with, with->FirstLineRow() + 1, LineColumnKind::kAccumulated), "1060.00");
  EXPECT_EQ(Cell(*with, RowOf(*with, LineSummary::kPeriod), LineColumnKind::kAccumulated),
            "1060.00");
}

TEST_F(LineAnalysisTest, LinearInterestOnABalanceHeldForTenDays) {
  AddLine(PackDay(2024, 1, 1), 36500);
  AddLine(PackDay(2024, 1, 3), -73000, "1930");
  const auto analysis = Analysis("240101", "240110", "");
  analysis->options().positive_rate = 5;
  analysis->options().negative_rate = 10;
  ASSERT_TRUE(analysis->Calculate());
  const FieldMeasures& field = analysis->result().fields[0];
  // 36,500 for two days, then -36,500 for eight.
  EXPECT_NEAR(field.positive_interest, 36500 * 2 * 5 / 36500.0, 1e-9);
  EXPECT_NEAR(field.negative_interest, -36500 * 8 * 10 / 36500.0, 1e-9);

  const auto held = Analysis("240101", "240110", "");
  db_.cards().DeleteCard(db_.cards().LastCard());
  held->options().positive_rate = 5;
  ASSERT_TRUE(held->Calculate());
  EXPECT_NEAR(held->result().fields[0].positive_interest, 50, 1e-9);
}

TEST_F(LineAnalysisTest, ExponentialInterestCompoundsToTheDayAfterThePeriod) {
  AddLine(PackDay(2024, 1, 1), 1000);
  AddLine(PackDay(2024, 2, 15), 500);
  AddLine(PackDay(2024, 5, 1), -2000);
  const auto analysis = Analysis("240101", "241231", "");
  analysis->options().positive_rate = 8;
  analysis->options().negative_rate = 12;
  analysis->options().calculation = InterestCalculation::kExponential;
  ASSERT_TRUE(analysis->Calculate());
  // Each balance earns from its day to the next change: what it would grow to by the end
  // minus what the rest of the period would make of it.
  const double end = DayNumber(PackDay(2024, 12, 31)) + 1;
  const double t1 = DayNumber(PackDay(2024, 1, 1));
  const double t2 = DayNumber(PackDay(2024, 2, 15));
  const double t3 = DayNumber(PackDay(2024, 5, 1));
  const auto grown = [&](double rate, double from) {
    return std::pow(1 + rate / 100, (end - from) / 365);
  };
  const double positive =
      1000 * (grown(8, t1) - grown(8, t2)) + 1500 * (grown(8, t2) - grown(8, t3));
  const double negative = -500 * (grown(12, t3) - 1);
  const FieldMeasures& field = analysis->result().fields[0];
  EXPECT_NEAR(field.positive_interest, positive, 1e-9);
  EXPECT_NEAR(field.negative_interest, negative, 1e-9);
}

TEST_F(LineAnalysisTest, SummaryRowsComeInOrderWithTheInterestRowsOnlyForRatesSet) {
  const CardRef card = AddLine(PackDay(2024, 1, 2), 10);
  AddLine(PackDay(2024, 1, 2), 30, "1930", card);
  AddLine(PackDay(2024, 1, 4), -5);
  const auto analysis = Analysis("240101", "240131", "#C+E");
  analysis->options().negative_rate = 3;
  analysis->options().positive_rate = 0;
  analysis->options().columns.values[1] = true;
  ASSERT_TRUE(analysis->Calculate());
  EXPECT_EQ(analysis->summary_rows(),
            (std::vector<LineSummary>{LineSummary::kPositive, LineSummary::kMedian,
                                      LineSummary::kLineCount, LineSummary::kCardCount,
                                      LineSummary::kNegativeInterest}));
  // Five summary rows, the separator, three line rows.
  EXPECT_EQ(analysis->FirstLineRow(), 6);
  EXPECT_EQ(analysis->RowCount(), 9);
  std::vector<TableCell> cells;
  analysis->FillRow(5, cells);
  for (const TableCell& cell : cells) EXPECT_EQ(cell.text, "");
  analysis->FillRow(0, cells);
  EXPECT_EQ(cells[0].text, "Positive:");
  analysis->FillRow(4, cells);
  EXPECT_EQ(cells[0].text, "Interest (-):");
  EXPECT_EQ(Cell(*analysis, 4, LineColumnKind::kLineText), "3.00 %");
  // The counts stand in the first value column, with no decimals.
  EXPECT_EQ(Cell(*analysis, 2, LineColumnKind::kValue), "3");
  EXPECT_EQ(Cell(*analysis, 3, LineColumnKind::kValue), "2");
  EXPECT_EQ(Cell(*analysis, 2, LineColumnKind::kValue, 1), "");
  EXPECT_EQ(Cell(*analysis, 1, LineColumnKind::kValue), "10.00");
  // Line rows: the card's identifier on each line, the running balance.
  EXPECT_EQ(Cell(*analysis, 7, LineColumnKind::kCardId), "240102-001");
  EXPECT_EQ(Cell(*analysis, 7, LineColumnKind::kDimension), "1930 Bank");
  EXPECT_EQ(Cell(*analysis, 8, LineColumnKind::kAccumulated), "35.00");
  analysis->options().card_info_every_line = false;
  EXPECT_EQ(Cell(*analysis, 7, LineColumnKind::kCardId), "");
  EXPECT_EQ(Cell(*analysis, 8, LineColumnKind::kCardId), "240104-001");
}

TEST_F(LineAnalysisTest, MeasuresOfAnEmptyPeriodLeaveTheirCellsEmpty) {
  AddLine(PackDay(2024, 3, 1), 10);
  const auto analysis = Analysis("240101", "240131", "AETR#");
  ASSERT_TRUE(analysis->Calculate());
  for (const LineSummary summary : {LineSummary::kAverage, LineSummary::kMedian,
                                    LineSummary::kTurnoverTime, LineSummary::kTurnoverRate}) {
    EXPECT_EQ(Cell(*analysis, RowOf(*analysis, summary), LineColumnKind::kValue), "");
  }
  EXPECT_EQ(Cell(*analysis, RowOf(*analysis, LineSummary::kLineCount), LineColumnKind::kValue),
            "0");
}

TEST_F(LineAnalysisTest, OperationsOnTheListedLinesNeedTheUsersStamp) {
  const CardRef kept = AddLine(PackDay(2024, 1, 2), 10);
  AddLine(PackDay(2024, 1, 2), 30, "1930", kept);
  AddLine(PackDay(2024, 1, 4), -5);
  const auto analysis = Analysis("240101", "240131", "");
  analysis->selection().SetComponentExpression(0, "1910");
  ASSERT_TRUE(analysis->Calculate());
  RecordingSink sink;  // answers every question with its first button
  ScopedSink scoped(&sink);
  EXPECT_FALSE(analysis->DeleteData());  // no signature: nothing is deleted, and the user is told
  EXPECT_EQ(db_.cards().line_count(), 3u);
  EXPECT_EQ(sink.alerts().back().message, msg::kNoSignature);

  ASSERT_TRUE(SetUserSignature("ABC"));
  ASSERT_TRUE(analysis->MarkApproved());
  EXPECT_EQ(sink.alerts().back().ComposeText(), "Are you sure you want to mark 2 cards approved?");
  EXPECT_EQ(db_.cards().card(kept).approved.Signature(), "ABC");
  EXPECT_FALSE(analysis->calculated());  // the change dropped the rows
  ASSERT_TRUE(analysis->Calculate());
  ASSERT_TRUE(analysis->DeleteData());
  EXPECT_EQ(sink.alerts().back().ComposeText(), "Are you sure you want to delete\n\"2 lines\"?");
  // The second card lost its only line and went; the first keeps its other line and is
  // stamped as changed, which clears its approval.
  EXPECT_EQ(db_.cards().card_count(), 1u);
  EXPECT_EQ(db_.cards().line_count(), 1u);
  EXPECT_EQ(db_.cards().card(kept).created.Signature(), "ABC");
  EXPECT_TRUE(db_.cards().card(kept).approved.empty());
}

TEST_F(LineAnalysisTest, TemplateLinesReadBackAsWritten) {
  LineAnalysisOptions options;
  options.accumulated_field = 1;
  options.decimals = kThousands;
  options.columns.dimensions[5] = true;
  options.columns.values[1] = true;
  options.columns.card_title = false;
  options.SetSummaryLetters("B-#R");
  options.positive_rate = 2.75;
  options.negative_rate = -1.5;
  options.calculation = InterestCalculation::kExponential;
  options.card_info_every_line = false;
  options.widths.line[2] = 120;
  options.chart_caption = "Cash";
  options.option_zn = true;
  Selection selection(db_);
  selection.SetFrom("240101");
  const std::vector<std::string> lines = LineTemplateLines(options, selection);
  LineAnalysisOptions read;
  Selection read_selection(db_);
  for (const std::string& line : lines) {
    EXPECT_TRUE(ReadLineTemplateLine(line, read, read_selection)) << line;
  }
  EXPECT_EQ(read, options);
  EXPECT_EQ(read_selection.from().Text(), "240101");
  EXPECT_EQ(LineTemplateLines(read, read_selection), lines);
  EXPECT_FALSE(ReadLineTemplateLine("xo", read, read_selection));  // a frame line
  // A width no window has is damage: the column keeps its default.
  EXPECT_TRUE(ReadLineTemplateLine("wD\t999999999\t-5\t24", read, read_selection));
  EXPECT_EQ(read.widths.dimensions[0], 0);
  EXPECT_EQ(read.widths.dimensions[1], 0);
  EXPECT_EQ(read.widths.dimensions[2], 24);
}

TEST_F(LineAnalysisTest, TheCopiedSelectionBlockCarriesTheFieldAndTheDecimals) {
  LineAnalysis analysis(db_);
  analysis.selection().SetFrom("240101");
  analysis.options().accumulated_field = 1;
  analysis.options().decimals = kMillions;
  const std::vector<std::string> block = analysis.SelectionBlock();
  ASSERT_GE(block.size(), 3u);
  EXPECT_TRUE(block[0].starts_with("VC\t240101")) << block[0];
  EXPECT_EQ(block[block.size() - 2], "VF\tB");
  EXPECT_EQ(block.back(), "VZ\tDM");
}

TEST_F(LineAnalysisTest, TheXmlResultIsWellFormedAndNumbersFieldsOfSeveralValueFields) {
  JOV_REQUIRE_XML_PARSER();
  AddLine(PackDay(2024, 1, 2), 10);
  db_.cards().SetTitle(db_.cards().FirstCard(), "Fish & <chips>");
  const auto analysis = Analysis("240101", "240131", "P#A");
  analysis->set_title("Cash \"book\"");
  ExportSettings& settings = analysis->export_settings();
  settings.include_title = settings.include_definition = true;
  ASSERT_TRUE(analysis->Calculate());
  StringByteSink bytes;
  LineSink out(bytes, "\n");
  WriteLinesXml(*analysis, out);
  out.Finish();
  const std::string& xml = bytes.text();
  EXPECT_TRUE(testing::WellFormedXml(xml)) << xml;
  EXPECT_TRUE(xml.starts_with("<JOV-Lines title=\"Cash &quot;book&quot;\">\n\n")) << xml;
  for (const char* part :
       {"<period-value>10.00</period-value>\n<period-accum></period-accum>",
        "<linecount>1</linecount>",
        "<line>\n<card-id>240102-001</card-id>\n<cardtitle>Fish &amp; &lt;chips&gt;</cardtitle>",
        "<value num=\"1\">10.00</value>\n<accum "
        "num=\"1\">10.00</accum>\n</line>\n\n</JOV-Lines>"}) {
    EXPECT_NE(xml.find(part), std::string::npos) << part << "\n" << xml;
  }
}

TEST_F(LineAnalysisTest, XmlOptionsSetColumnsHeadersAndDecimalsAndReportTheUnknown) {
  const std::string document =
      "<template><columns card-id=\"off\" dim2=\"on\" accum=\"maybe\" colour=\"on\"/>"
      "<headers median=\"on\" before=\"on\" interest=\"on\"/><values decimals=\"0\"/>"
      "<selection><from>240101</from></selection><chart/></template>";
  LineAnalysis analysis(db_);
  testing::CollectingChannel errors;
  XmlReader reader(document, &errors);
  ASSERT_EQ(reader.Next(), XmlReader::Event::kStart);
  ASSERT_TRUE(ReadLineXmlOptions(reader, analysis));
  const LineAnalysisOptions& options = analysis.options();
  EXPECT_FALSE(options.columns.card_id);
  EXPECT_TRUE(options.columns.dimensions[1]);
  EXPECT_TRUE(options.columns.accumulated);  // an unknown value changes nothing
  EXPECT_EQ(options.SummaryLetters(), "BE");
  EXPECT_EQ(options.decimals, 0);
  EXPECT_EQ(analysis.selection().from().Text(), "240101");
  EXPECT_EQ(errors.reports.size(), 4u);  // maybe, colour, interest, chart
}

}  // namespace
}  // namespace jov
