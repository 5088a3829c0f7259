#include "select/selection.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "files/line_sink.h"
#include "files/xml_reader.h"
#include "model/database.h"
#include "select/scan_split.h"
#include "select/selection_registry.h"
#include "select/selection_scan.h"
#include "select/selection_test_util.h"
#include "select/subset.h"
#include "select/subset_list.h"
#include "shell/process.h"
#include "shell/recording_sink.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

constexpr DayCode kJan5 = PackDay(2024, 1, 5);

// Accounts (dimension 1): 1 (10, 11), 2 (20), 3; cost centres (dimension 2): A (A1, A2), B;
// projects (dimension 3): P1, P2. Two value fields.
class SelectionTest : public ::testing::Test {
 protected:
  SelectionTest() {
    ResetProcess();
    for (const char* code : {"1", "10", "11", "2", "20", "3"}) db_.AddComponent(0, code, "", "");
    for (const char* code : {"A", "A1", "A2", "B"}) db_.AddComponent(1, code, "", "");
    for (const char* code : {"P1", "P2"}) db_.AddComponent(2, code, "", "");
    db_.SetValueFieldCount(2);
    db_.FlushChangeFlags();
  }

  ComponentRef Ref(int dimension, std::string_view code) { return db_.FindByCode(dimension, code); }

  // A card of `day` with one group of `account` holding one line per entry of `values` (value
  // 1), each line in cost centre `centre`.
  CardRef AddCard(DayCode day, std::string_view title, std::string_view account,
                  std::vector<double> values, std::string_view centre = "A1",
                  std::string_view text = "") {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({day, 0});
    cards.SetTitle(card, title);
    const GroupRef group = cards.FindOrAddGroup(card, Ref(0, account));
    for (double value : values) {
      const LineRef line = cards.CreateLine(group);
      const ComponentRef slots[] = {Ref(1, centre), Ref(2, "P1")};
      cards.SetComponents(line, slots);
      const double both[] = {value, 1.0};
      cards.SetValues(line, both);
      cards.SetLineText(line, text);
    }
    return card;
  }

  size_t Collected(Selection& selection) {
    LineSet lines;
    EXPECT_TRUE(selection.CollectLines(lines));
    return lines.Count();
  }

  Database db_;
};

TEST_F(SelectionTest, FreshSelectionTakesEveryLine) {
  for (int i = 0; i < 4; ++i) AddCard(kJan5 + i, i % 2 ? "" : "Sale", "10", {1, 2, 3});
  Selection selection(db_);
  EXPECT_TRUE(selection.IsEmpty());
  EXPECT_EQ(Collected(selection), 12u);
  selection.SetFrom("File");
  selection.SetValueCondition(1, "");  // an empty text is no criterion
  EXPECT_TRUE(selection.IsEmpty());
  selection.SetValueCondition(5, ">0");  // a field the database does not use
  EXPECT_TRUE(selection.IsEmpty());
  selection.SetFrom("File+1");
  EXPECT_FALSE(selection.IsEmpty());
}

TEST_F(SelectionTest, ToPointDayCoversEveryCardOfTheDayUnlessNumbered) {
  AddCard(kJan5 - 1, "", "10", {1});
  for (int i = 0; i < 5; ++i) AddCard(kJan5, "", "10", {1});
  AddCard(kJan5 + 1, "", "10", {1});
  Selection selection(db_);
  selection.SetFrom("240105");
  selection.SetTo("240105");
  EXPECT_EQ(Collected(selection), 5u);
  selection.SetTo("240105-3");
  EXPECT_EQ(Collected(selection), 3u);
  selection.SetFrom("240105-2");
  EXPECT_EQ(Collected(selection), 2u);
  selection.SetFrom("240106");
  EXPECT_EQ(Collected(selection), 0u);  // a range running backwards
}

TEST_F(SelectionTest, CardTitlePatternOnCardsWithoutTitle) {
  const CardRef untitled = AddCard(kJan5, "", "10", {1});
  const CardRef titled = AddCard(kJan5, "abc", "10", {1});
  Selection selection(db_);
  selection.SetCardTitle("\\");
  EXPECT_TRUE(selection.CardPasses(untitled));
  EXPECT_FALSE(selection.CardPasses(titled));
  EXPECT_EQ(Collected(selection), 1u);
  selection.SetCardTitle("abc");
  EXPECT_FALSE(selection.CardPasses(untitled));
  EXPECT_TRUE(selection.CardPasses(titled));
}

TEST_F(SelectionTest, MissingValueFailsComparisonsAndPassesTheMissingTest) {
  AddCard(kJan5, "", "10", {kMissingNumber, 5, -5});
  Selection selection(db_);
  const std::vector<std::pair<std::string, size_t>> cases = {{">0", 1}, {"<0", 1}, {"\\", 1}};
  for (const auto& [condition, count] : cases) {
    selection.SetValueCondition(0, condition);
    EXPECT_EQ(Collected(selection), count) << condition;
  }
  selection.SetValueCondition(0, "\\|>0");
  EXPECT_EQ(Collected(selection), 2u);
}

TEST_F(SelectionTest, ExpressionSelectingNothingLeavesOtherDimensionsAlone) {
  AddCard(kJan5, "", "10", {1, 2}, "A1");
  AddCard(kJan5, "", "20", {3}, "B");
  Selection selection(db_);
  selection.SetComponentExpression(1, "\\\\");
  EXPECT_TRUE(selection.RestrictsDimension(1));
  EXPECT_EQ(Collected(selection), 0u);
  for (const char* code : {"1", "10", "20", "3"}) {
    EXPECT_TRUE(selection.components().Test(Ref(0, code))) << code;
  }
  EXPECT_TRUE(selection.components().Test(Ref(2, "P2")));
  EXPECT_FALSE(selection.components().Test(Ref(1, "B")));
  // The first dimension lives on groups.
  selection.SetComponentExpression(1, "");
  selection.SetComponentExpression(0, "2");
  EXPECT_EQ(Collected(selection), 1u);
  // A dimension beyond the lines' slots holds only roots: "\" takes them, "\\" does not.
  selection.SetComponentExpression(0, "");
  selection.SetComponentExpression(9, "\\");
  EXPECT_EQ(Collected(selection), 3u);
  selection.SetComponentExpression(9, "\\\\");
  EXPECT_EQ(Collected(selection), 0u);
}

TEST_F(SelectionTest, ComponentChangesReachTheSetAndTheText) {
  AddCard(kJan5, "", "10", {1}, "A2");
  Selection selection(db_);
  selection.SetComponentExpression(1, "A1 | a2");
  EXPECT_EQ(selection.component_expression(1), "A1|A2");
  EXPECT_EQ(selection.DisplayedExpression(1), "A1 | A2");
  // A new child of a selected subtree is taken once the database announces it.
  selection.SetComponentExpression(1, "A");
  const ComponentRef added = db_.AddComponent(1, "A3", "", "");
  db_.FlushChangeFlags();
  EXPECT_TRUE(selection.components().Test(added));
  // A removed component selects nothing, and the text says so.
  selection.SetComponentExpression(1, "A2|B");
  const ComponentRef gone[] = {Ref(1, "A2")};
  db_.DeleteComponents(1, gone);
  EXPECT_EQ(selection.component_expression(1), "\\\\|B");
  // A code that is missing keeps its text and does not restrict until it arrives.
  selection.SetComponentExpression(1, "C7");
  EXPECT_EQ(selection.component_expression(1), "C7");
  EXPECT_FALSE(selection.RestrictsDimension(1));
  db_.AddComponent(1, "C7", "", "");
  db_.FlushChangeFlags();
  EXPECT_TRUE(selection.RestrictsDimension(1));
}

// What a selection writes through a line sink, lines ended by "\n".
template <typename Write>
std::string Written(Write&& write) {
  StringByteSink bytes;
  LineSink sink(bytes, "\n");
  write(sink);
  sink.Finish();
  return bytes.text();
}

// A selection with every kind of criterion, in texts that need escaping in XML.
void FillEveryCriterion(Selection& selection) {
  selection.SetFrom("240105-2");
  selection.SetTo("Month+1");
  selection.SetComponentExpression(0,
                                   "1\xAC"
                                   "11");
  selection.SetComponentExpression(2, "P1");
  selection.SetCardTitle("Sale&<Co>");
  selection.SetLineText("\\a*");
  selection.SetValueCondition(0, "<0|>=100");
  selection.SetValueCondition(1, "1..5");
  selection.SetValueCondition(23, "=7");
}

TEST_F(SelectionTest, StoredFormReadsBackWithTheSameCriteria) {
  Selection selection(db_);
  FillEveryCriterion(selection);
  const std::vector<std::string> lines = selection.BlockLines('V');
  EXPECT_EQ(lines, (std::vector<std::string>{"VC\t240105-2\tMonth+1",
                                             "VD1\t1\xAC"
                                             "11",
                                             "VD3\tP1", "VY\tSale&<Co>", "VL\t\\a*",
                                             "VVA\t<0|>=100", "VVB\t1_5", "VVX\t=7"}));
  Selection read(db_);
  for (const std::string& line : lines) read.ReadBlockLine(line);
  EXPECT_EQ(CriterionTexts(read), CriterionTexts(selection));
  EXPECT_EQ(read.BlockLines('B')[0], "BC\t240105-2\tMonth+1");
  // Dimensions saved under other numbers, or not at all.
  std::array<int, kDimensionCount> numbers{};
  numbers[2] = 5;
  EXPECT_EQ(selection.BlockLines('V', &numbers)[1], "VD5\tP1");
}

TEST_F(SelectionTest, StoredLinesReadTheirFieldsAsDocumented) {
  Selection selection(db_);
  const std::vector<std::pair<std::string, int>> value_lines = {
      {"VVZ\t>1", 0}, {"VV9\t>9", 8}, {"VVB\t>2", 1}, {"VV\t>0", 0}, {"VV#\t>3", 0}};
  for (const auto& [line, field] : value_lines) {
    selection.Clear();
    selection.ReadBlockLine(line);
    EXPECT_EQ(selection.value_condition(field), line.substr(line.find('\t') + 1)) << line;
  }
  selection.Clear();
  for (const char* line : {"VD17\tA", "VD0\tA", "VDx\tA", "VQ\tunknown", "V"}) {
    selection.ReadBlockLine(line);
  }
  EXPECT_TRUE(selection.IsEmpty());
  selection.ReadBlockLine("VC\t\t240131");
  EXPECT_TRUE(selection.from().IsOpen());
  EXPECT_EQ(selection.to().date(), (Date{PackDay(2024, 1, 31), kEndOfDay}));
}

TEST_F(SelectionTest, XmlFormReadsBackAndReportsWhatItDoesNotKnow) {
  Selection selection(db_);
  FillEveryCriterion(selection);
  const std::string xml = Written([&](LineSink& out) { selection.WriteXml(out); });
  EXPECT_NE(xml.find("<cardtitle>Sale&amp;&lt;Co&gt;</cardtitle>\n"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<dim num=\"1\" name=\"Dim 1\">1 \xAC 11</dim>\n"), std::string::npos);
  EXPECT_NE(xml.find("<value24>=7</value24>\n"), std::string::npos);

  RecordingSink sink;
  ScopedSink scoped(&sink);
  XmlReader reader(xml);
  ASSERT_EQ(reader.Next(), XmlReader::Event::kStart);
  Selection read(db_);
  ASSERT_TRUE(read.ReadXml(reader));
  // The XML form sets only the conditions of the value fields that the database uses.
  EXPECT_EQ(read.value_condition(23), "");
  selection.SetValueCondition(23, "");
  EXPECT_EQ(CriterionTexts(read), CriterionTexts(selection));
  EXPECT_TRUE(sink.alerts().empty());

  const std::string odd =
      "<selection><from>240101</from><colour>red</colour>"
      "<dim name=\"dim 3\" width=\"9\">P2</dim><value3>&gt;0</value3><to x=\"1\">File</to>"
      "</selection><after/>";
  XmlReader odd_reader(odd);
  ASSERT_EQ(odd_reader.Next(), XmlReader::Event::kStart);
  Selection partial(db_);
  ASSERT_TRUE(partial.ReadXml(odd_reader));
  EXPECT_EQ(sink.Texts(),
            (std::vector<std::string>{"Unknown tag \"colour\".", "Unknown attribute \"width\".",
                                      "Unknown attribute \"x\"."}));
  EXPECT_EQ(partial.from().date().day, PackDay(2024, 1, 1));
  EXPECT_EQ(partial.component_expression(2), "P2");
  EXPECT_EQ(partial.value_condition(2), "");               // past the database's two value fields
  EXPECT_EQ(odd_reader.Next(), XmlReader::Event::kStart);  // reading stopped at its end tag
}

// The XML form comes from outside (clipboard, command files): a cut or damaged element must
// end the reading with a report, never silently or out of bounds.
TEST_F(SelectionTest, DamagedXmlFormsEndWithAReport) {
  Selection selection(db_);
  FillEveryCriterion(selection);
  SubsetList::Of(db_).Create("G1");
  selection.SetSubset("\xACG1");
  const std::string xml = Written([&](LineSink& out) { selection.WriteXml(out); });
  const auto read = [&](std::string_view document) {
    RecordingSink sink;
    ScopedSink scoped(&sink);
    XmlReader reader(document);
    Selection damaged(db_);
    if (reader.Next() != XmlReader::Event::kStart) return;
    if (!damaged.ReadXml(reader)) {
      EXPECT_FALSE(sink.alerts().empty()) << document;
    }
  };
  for (size_t cut = 0; cut < xml.size(); ++cut) read(std::string_view(xml).substr(0, cut));
  for (size_t at = 0; at < xml.size(); ++at) {
    for (const char c : {'<', '>', '&', '/', '"', '\0', 'q'}) {
      std::string damaged = xml;
      damaged[at] = c;
      read(damaged);
    }
  }
}

TEST_F(SelectionTest, XmlFormIsWellFormedForARealParser) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xmllint";
  Selection selection(db_);
  FillEveryCriterion(selection);
  selection.SetSubset("G1&\"x\"");
  const std::string xml = Written([&](LineSink& out) { selection.WriteXml(out); });
  const std::string path = ::testing::TempDir() + "selection.xml";
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n", file);
  std::fwrite(xml.data(), 1, xml.size(), file);
  std::fclose(file);
  EXPECT_EQ(std::system(("xmllint --noout " + path).c_str()), 0) << xml;
}

TEST_F(SelectionTest, RenderingsListTheCriteriaWithTheirLabels) {
  db_.SetValueFieldName(0, "Amount");
  Selection selection(db_);
  selection.SetFrom("240101");
  selection.SetComponentExpression(1, "A|B");
  selection.SetValueCondition(0, ">0");
  const std::string plain =
      Written([&](LineSink& out) { selection.Render(out, Selection::Form::kPlain); });
  EXPECT_EQ(plain, "From\t240101\nTo\tFile\nDim 2\tA | B\nAmount\t>0\n\n");
  const std::string html =
      Written([&](LineSink& out) { selection.Render(out, Selection::Form::kHtml); });
  EXPECT_TRUE(
      html.starts_with("<H4>Definition</H4>\n<table border=0 cellspacing=0 cellpadding=1>\n"
                       "<tr><td>From</td><td>240101</td></tr>\n"))
      << html;
  EXPECT_TRUE(html.ends_with("</table>\n<br>\n"));
}

// The brute-force filter: every card, group and line tested with the criteria compiled anew.
// `in_subset`, when given, is the line test of the subset that the subset criterion names.
LineSet BruteForce(Database& db, const Selection& s,
                   const std::function<bool(LineRef)>& in_subset = {}) {
  LineSet expected;
  expected.Reset(db.cards().lines().size());
  std::string title_text = s.card_title(), line_text = s.line_text();
  const std::optional<TextPattern> title = TextPattern::Compile(title_text);
  const std::optional<TextPattern> text = TextPattern::Compile(line_text);
  std::vector<std::optional<ValueCondition>> values;
  for (int f = 0; f < db.value_field_count(); ++f) {
    std::string condition = s.value_condition(f);
    values.push_back(ValueCondition::Compile(condition));
  }
  std::vector<std::optional<ComponentSet>> sets(kDimensionCount);
  for (int d = 0; d < kDimensionCount; ++d) {
    // A text that names a missing code does not compile and does not restrict.
    std::optional<ComponentExpression> program =
        ComponentExpression::Compile(db, d, s.component_expression(d));
    if (program) sets[d] = program->Evaluate(db);
  }
  const auto passes_text = [](const std::optional<TextPattern>& p, std::string_view t) {
    return !p || (t.empty() ? p->empty_text_result() : p->Matches(t));
  };
  const CardStore& cards = db.cards();
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    const Date id = cards.CardId(card);
    if (!s.from().IsOpen() && id < s.from().date()) continue;
    if (!s.to().IsOpen() && id > s.to().date()) continue;
    if (!passes_text(title, cards.Title(card))) continue;
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      for (LineRef line = cards.group(g).first_line; line != kNoLine;
           line = cards.lines().next(line)) {
        bool pass = passes_text(text, cards.LineText(line));
        if (!s.subset().empty() && !in_subset(line)) pass = false;
        for (int d = 0; d < kDimensionCount; ++d) {
          if (sets[d] && !sets[d]->Test(db.LineComponent(g, line, d))) pass = false;
        }
        for (int f = 0; f < db.value_field_count(); ++f) {
          if (values[f] && !values[f]->Evaluate(cards.GetValue(line, f))) pass = false;
        }
        if (pass) expected.Set(line);
      }
    }
  }
  return expected;
}

TEST(SelectionScanTest, CollectLinesAgreesWithABruteForceFilter) {
  ResetProcess();
  std::mt19937 random(15);
  Database db;
  db.SetValueFieldCount(3);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 0; j < 4; ++j) db.AddComponent(0, std::to_string(i * 10 + j), "", "");
  }
  for (int d = 1; d <= 3; ++d) {
    for (const char* code : {"X", "X1", "X2", "Y", "Y1", "Z"}) db.AddComponent(d, code, "", "");
  }
  db.FlushChangeFlags();
  const char* kWords[] = {"rent", "Sale", "fee", "", "SALE rent"};
  CardStore& cards = db.cards();
  for (int c = 0; c < 600; ++c) {
    const CardRef card = cards.CreateCard({PackDay(2024, 1 + random() % 6, 1 + random() % 28), 0});
    cards.SetTitle(card, kWords[random() % 5]);
    for (int g = 0; g < 3; ++g) {
      const GroupRef group = cards.FindOrAddGroup(
          card, db.FindByCode(0, std::to_string((1 + random() % 4) * 10 + random() % 4)));
      for (int l = 0; l < 3; ++l) {
        const LineRef line = cards.CreateLine(group);
        std::vector<ComponentRef> slots;
        const char* kCodes[] = {"X1", "X2", "Y1", "Z", "X"};
        for (int d = 1; d <= 3; ++d) {
          slots.push_back(random() % 6 == 0 ? static_cast<ComponentRef>(d)
                                            : db.FindByCode(d, kCodes[random() % 5]));
        }
        cards.SetComponents(line, slots);
        const double values[] = {random() % 9 == 0 ? kMissingNumber : double(random() % 200) - 100,
                                 double(random() % 10), double(random() % 3)};
        cards.SetValues(line, values);
        cards.SetLineText(line, kWords[random() % 5]);
      }
    }
  }
  // Lines removed and added again take freed numbers, so that groups' lines are no longer
  // numbered one after another.
  for (int i = 0; i < 400; ++i) {
    CardRef card = cards.FirstCard();
    for (int steps = random() % 500; steps > 0 && cards.NextCard(card) != kCardSentinel; --steps) {
      card = cards.NextCard(card);
    }
    const GroupRef group = cards.card(card).first_group;
    if (i % 2 == 0 && cards.lines().next(cards.group(group).first_line) != kNoLine) {
      cards.DeleteLine(card, group, cards.group(group).first_line);
    } else {
      const LineRef line = cards.CreateLine(group);
      const double values[] = {double(i % 7) - 3, 1, 1};
      cards.SetValues(line, values);
    }
  }
  const std::vector<std::string> from = {"", "240201", "240301-2", "Year-3"};
  const std::vector<std::string> to = {"", "240430", "240315-1", "File"};
  const std::vector<std::string> expressions = {"", "X", "X1|Z", "\xACY", "X_Y!", "\\", "?"};
  const std::vector<std::string> accounts = {"", "10", "20|40",
                                             "\xAC"
                                             "31",
                                             "99"};
  const std::vector<std::string> patterns = {"", "rent", "\\", "\xAC\\", "\\s*"};
  const std::vector<std::string> conditions = {"", ">0", "\\", "-50_50", "<>0&<5"};
  // A subset of the lines whose second value is above 5, named as it is or complemented.
  Subset& high = SubsetList::Of(db).Create("High");
  high.AddSelection("A").selection().SetValueCondition(1, ">5");
  high.SetCombination("A");
  const std::vector<std::string> subsets = {"", "", "High", "\xACHigh"};
  Selection selection(db);
  for (int round = 0; round < 300; ++round) {
    const auto pick = [&](const std::vector<std::string>& texts) {
      return texts[random() % texts.size()];
    };
    selection.Clear();
    selection.SetFrom(pick(from));
    selection.SetTo(pick(to));
    selection.SetComponentExpression(0, pick(accounts));
    for (int d = 1; d <= 3; ++d) selection.SetComponentExpression(d, pick(expressions));
    selection.SetCardTitle(pick(patterns));
    selection.SetLineText(pick(patterns));
    for (int f = 0; f < 3; ++f) selection.SetValueCondition(f, pick(conditions));
    const std::string subset = pick(subsets);
    selection.SetSubset(subset);
    LineSet collected;
    ASSERT_TRUE(selection.CollectLines(collected));
    const LineSet expected = BruteForce(db, selection, [&](LineRef line) {
      return (cards.GetValue(line, 1) > 5) != subset.starts_with('\xAC');
    });
    if (!(collected == expected)) {
      std::string shown;
      for (const std::string& line : selection.BlockLines('V')) shown += line + "\n";
      FAIL() << "round " << round << "\n" << shown << collected.Count() << " " << expected.Count();
    }
    // The scan with a callback takes the same lines, in card order.
    LineSet called;
    called.Reset(cards.lines().size());
    Date last_card;
    ASSERT_TRUE(ScanSelection(selection, [&](CardRef card, GroupRef, LineRef line) {
      EXPECT_GE(cards.CardId(card), last_card);
      last_card = cards.CardId(card);
      called.Set(line);
    }));
    ASSERT_EQ(called, expected) << "round " << round;
    // The line test that callers use one line at a time agrees with the scan.
    for (LineRef line = 0; line < cards.lines().size(); ++line) {
      if (collected.Test(line)) {
        ASSERT_TRUE(selection.LinePasses(line));
      }
    }
  }
}

// A range long enough to be collected on two threads: cards made in random date order, so that
// the lines of both halves share words of the set, give the lines a one-thread scan takes.
TEST(SelectionScanTest, ALongRangeCollectedOnTwoThreadsTakesTheSameLines) {
  ResetProcess();
  std::mt19937 random(7);
  Database db;
  for (const char* code : {"1", "2", "3"}) db.AddComponent(0, code, "", "");
  db.FlushChangeFlags();
  CardStore& cards = db.cards();
  const int card_count = 2 * static_cast<int>(kCardsWorthAThread) + 1000;
  for (int c = 0; c < card_count; ++c) {
    const CardRef card = cards.CreateCard({PackDay(2024, 1 + random() % 12, 1 + random() % 28), 0});
    const GroupRef group =
        cards.FindOrAddGroup(card, db.FindByCode(0, "123"[c % 3] + std::string()));
    for (int l = 0; l < 2; ++l) {
      const double value[] = {double(random() % 100) - 50};
      cards.SetValues(cards.CreateLine(group), value);
    }
  }
  Selection selection(db);
  for (const char* from : {"", "240315"}) {
    selection.SetFrom(from);
    selection.SetComponentExpression(0, "1|3");
    selection.SetValueCondition(0, ">0");
    ASSERT_TRUE(selection.Prepare());
    ASSERT_NE(MiddleCard(cards, selection.plan().first, selection.plan().end), kNoRecord);
    LineSet collected;
    ASSERT_TRUE(selection.CollectLines(collected));
    LineSet called;
    called.Reset(cards.lines().size());
    ASSERT_TRUE(
        ScanSelection(selection, [&](CardRef, GroupRef, LineRef line) { called.Set(line); }));
    EXPECT_GT(called.Count(), 10000u);
    EXPECT_EQ(collected, called) << from;
  }
}

// A group whose lines run over the end of a chunk of line records.
TEST(SelectionScanTest, GroupsRunAcrossChunksOfLineRecords) {
  Database db;
  db.AddComponent(0, "1", "", "");
  db.FlushChangeFlags();
  CardStore& cards = db.cards();
  const CardRef card = cards.CreateCard({kJan5, 1});
  const GroupRef group = cards.FindOrAddGroup(card, db.FindByCode(0, "1"));
  const size_t count = (size_t{1} << LineStore::kChunkBits) + 100;
  for (size_t i = 0; i < count; ++i) {
    const double value[] = {i % 3 == 0 ? 1.0 : -1.0};
    cards.SetValues(cards.CreateLine(group), value);
  }
  Selection selection(db);
  selection.SetValueCondition(0, ">0");
  LineSet lines;
  ASSERT_TRUE(selection.CollectLines(lines));
  EXPECT_EQ(lines.Count(), (count + 2) / 3);
  for (LineRef line : {65534u, 65535u, 65536u, 65537u, 65538u}) {
    EXPECT_EQ(lines.Test(line), line % 3 == 0) << line;
  }
  // A callback sees the same lines in the group's order, however many pass in one group.
  std::vector<LineRef> called;
  ASSERT_TRUE(ScanSelection(selection, [&](CardRef, GroupRef in, LineRef line) {
    EXPECT_EQ(in, group);
    called.push_back(line);
  }));
  ASSERT_EQ(called.size(), lines.Count());
  for (size_t i = 0; i < called.size(); ++i) ASSERT_EQ(called[i], 3 * i);
}

// Past 65530 components every line's slots are three bytes wide; the scan reads them as the
// store does. Codes "X0", "X1", ... make a deep tree ("X655" is the parent of "X6550"), so an
// expression on a low component takes components numbered past 65535.
TEST(SelectionScanTest, WideComponentSlotsAreReadWhole) {
  ResetProcess();
  Database db;
  db.AddComponent(0, "1", "", "");
  std::vector<ComponentRef> refs;
  for (int i = 0; db.components().size() < 65600; ++i) {
    refs.push_back(db.AddComponent(1, "X" + std::to_string(i), "", ""));
  }
  db.AddComponent(2, "P", "", "");
  db.FlushChangeFlags();
  ASSERT_EQ(db.line_layout().slot_width, 3);
  std::mt19937 random(3);
  CardStore& cards = db.cards();
  for (int c = 0; c < 200; ++c) {
    const CardRef card = cards.CreateCard({kJan5, 0});
    const GroupRef group = cards.FindOrAddGroup(card, db.FindByCode(0, "1"));
    for (int l = 0; l < 5; ++l) {
      const LineRef line = cards.CreateLine(group);
      // Half of the lines carry one of the highest-numbered components.
      const size_t pick = l % 2 == 0 ? refs.size() - 1 - random() % 200 : random() % refs.size();
      const ComponentRef slots[] = {refs[pick], db.FindByCode(2, "P")};
      cards.SetComponents(line, slots);
      cards.SetLineText(line, l % 3 == 0 ? "rent" : "");
    }
  }
  ASSERT_GT(refs.back(), 65535u);
  Selection selection(db);
  for (const char* expression : {"X655", "\xACX655", "X65599!|X6552", "X1_X2"}) {
    for (const char* text : {"", "rent"}) {
      selection.SetComponentExpression(1, expression);
      selection.SetLineText(text);
      LineSet collected;
      ASSERT_TRUE(selection.CollectLines(collected));
      EXPECT_GT(collected.Count(), 0u) << expression;
      EXPECT_EQ(collected, BruteForce(db, selection)) << expression << " " << text;
    }
  }
}

TEST(SelectionRegistryTest, SelectionsRegisterForTheirLifetime) {
  Database db;
  const auto& registered = SelectionRegistry::Of(db).selections();
  {
    Selection first(db);
    Selection second(db);
    EXPECT_EQ(registered, (std::vector<Selection*>{&first, &second}));
  }
  EXPECT_TRUE(registered.empty());
}

}  // namespace
}  // namespace jov
