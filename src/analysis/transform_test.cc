#include "analysis/transform.h"

#include <gtest/gtest.h>

#include "analysis/rewrite_test_util.h"

namespace jov {
namespace {

TEST(TextRuleTest, EveryRule) {
  struct Case {
    const char* pattern;
    const char* replacement;
    const char* text;
    const char* edited;
  };
  const Case cases[] = {
      {"", "New", "Old", "New"},             // no pattern: the text becomes R
      {"<", "Pre ", "Old", "Pre Old"},       // Before
      {">", " post", "Old", "Old post"},     // After
      {"\\", "Was empty", "", "Was empty"},  // Empty: only empty texts
      {"\\", "Was empty", "Old", "Old"},
      {"\xAC\\", "Any", "Old", "Any"},  // Non-empty
      {"ab", "X", "abcabab", "XcXX"},   // every occurrence
      {"ab", "\\", "abcab", "c"},       // Clear: R is the empty text
      {"", "\\", "Old", ""},
      {"zz", "X", "abc", "abc"},
      {"ab", "", "abc", "abc"},  // no replacement: the rule is off
      {"", "", "abc", "abc"},
  };
  for (const Case& c : cases) {
    const TextRule rule{c.pattern, c.replacement};
    EXPECT_EQ(rule.Apply(c.text), c.edited) << c.pattern << " / " << c.replacement;
  }
}

TEST(DateMappingTest, ShiftsAndStretches) {
  const DayCode b = PackDay(2001, 1, 1), e = PackDay(2001, 1, 11);
  struct Case {
    DayCode target_begin;
    DayCode target_end;
    DayCode day;
    DayCode mapped;
  };
  const Case cases[] = {
      {kNoDay, kNoDay, PackDay(2001, 1, 5), PackDay(2001, 1, 5)},
      {PackDay(2002, 1, 1), kNoDay, PackDay(2001, 1, 5), PackDay(2002, 1, 5)},
      {kNoDay, PackDay(2001, 1, 1), PackDay(2001, 1, 5), PackDay(2000, 12, 26)},
      // [1, 11] onto [1, 21]: twice as far apart.
      {b, PackDay(2001, 1, 21), PackDay(2001, 1, 5), PackDay(2001, 1, 9)},
      // [1, 11] onto [1, 6]: day 4 goes to 2.5, a half goes up.
      {b, PackDay(2001, 1, 6), PackDay(2001, 1, 4), PackDay(2001, 1, 3)},
      {b, e, PackDay(2001, 1, 4), PackDay(2001, 1, 4)},
      // Far outside the calendar a day stays at its end.
      {PackDay(1900, 1, 1), kNoDay, PackDay(2000, 1, 1), PackDay(1900, 1, 1) + 0},
  };
  for (const Case& c : cases) {
    const DateMapping mapping(c.day == PackDay(2000, 1, 1) ? PackDay(2100, 1, 1) : b,
                              c.day == PackDay(2000, 1, 1) ? PackDay(2100, 1, 1) : e,
                              c.target_begin, c.target_end);
    EXPECT_EQ(DayCodeText(mapping.Map(c.day)), DayCodeText(c.mapped)) << DayCodeText(c.day);
  }
  EXPECT_FALSE(DateMapping(b, e, b, e).moves());
  EXPECT_DOUBLE_EQ(DateMapping(b, e, kNoDay, kNoDay).Position(PackDay(2001, 1, 6)), 0.5);
  // A range of one day moves by the begin's shift.
  EXPECT_EQ(DateMapping(b, b, PackDay(2001, 2, 1), PackDay(2001, 3, 1)).Map(b),
            PackDay(2001, 2, 1));
  EXPECT_EQ(ReadTransformDate("01. 02.03", DateBound::kStart), PackDay(2001, 2, 3));
  EXPECT_EQ(ReadTransformDate("0102", DateBound::kEnd), PackDay(2001, 2, 28));
  EXPECT_FALSE(ReadTransformDate("none", DateBound::kStart));
}

class TransformTest : public RewriteTest {
 protected:
  TransformSettings Options(const std::vector<std::string>& tokens) {
    TransformSettings settings;
    EXPECT_TRUE(ApplyTransformOptions(settings, db_, tokens).empty());
    return settings;
  }
  bool Run(const std::vector<std::string>& tokens, CardLevel level = CardLevel::kLines,
           const LineSet* lines = nullptr) {
    return Transform(db_, {lines, level}, Options(tokens), &result_);
  }
  TransformResult result_;
};

TEST_F(TransformTest, OptionTokens) {
  TransformSettings settings;
  const std::vector<std::string> tokens = {
      "a",     "cb=01.01.01", "ce=0102",  "CF=020101", "CT=",  "D2=10",  "d3=\\",
      "TF=<",  "TT=Moved ",   "NT=\\",    "LF=x",      "LT=y", "V=V1*2", "VB=T",
      "D17=1", "D2=99",       "CB=never", "VC=1",      "Q=1",  "A=1"};
  EXPECT_EQ(ApplyTransformOptions(settings, db_, tokens),
            (std::vector<std::string>{"D17=1", "D2=99", "CB=never", "VC=1", "Q=1", "A=1"}));
  EXPECT_TRUE(settings.keep_source);
  EXPECT_EQ(settings.source_begin, "010101");
  EXPECT_EQ(settings.source_end, "010228");
  EXPECT_EQ(settings.target_begin, "020101");
  EXPECT_EQ(settings.target_end, "");
  EXPECT_EQ(settings.replacement[1], "10");
  EXPECT_EQ(settings.replacement[2], "\\");
  EXPECT_EQ(settings.title.pattern, "<");
  EXPECT_EQ(settings.title.replacement, "Moved ");
  EXPECT_EQ(settings.notes.replacement, "\\");
  EXPECT_EQ(settings.line_text.pattern, "x");
  EXPECT_EQ(settings.formulas[0], "V1*2");
  EXPECT_EQ(settings.formulas[1], "T");
}

TEST_F(TransformTest, LinesChangedInPlace) {
  const CardRef first =
      AddCard(PackDay(2001, 1, 1), {{"N", "1", 5, "A", 1}, {"N", "2", 7, "A", 1}});
  const CardRef last = AddCard(PackDay(2001, 1, 11), {{"S", "1", 3, "B", 2}});
  db_.cards().SetLineText(db_.cards().group(db_.cards().card(first).first_group).first_line,
                          "  old text");
  db_.cards().Examine(first, StampNow("EXA"));
  // Formulas read the fields by their names. Field 2 gets the card's place in the range, 0 for the
  // first card and 1 for the last.
  ASSERT_TRUE(Run({"D3=B", "V1=Value * 2 + Value 2", "V2=T", "LF=old", "LT=new"}));
  EXPECT_EQ(LinesOf(first), (std::vector<std::string>{"N/1/B=11,0 new text", "N/2/B=15,0"}));
  EXPECT_EQ(LinesOf(last), (std::vector<std::string>{"S/1/B=8,1"}));
  EXPECT_EQ(CardList(), (std::vector<std::string>{"010101-1 ", "010111-1 "}));
  EXPECT_EQ(db_.cards().card(first).created.Signature(), "TST");
  EXPECT_TRUE(db_.cards().card(first).examined.empty());
  EXPECT_EQ(result_.lines, 3u);
}

TEST_F(TransformTest, LinesMoveToTheCardTheirCardBecomes) {
  const CardRef kept = AddCard(PackDay(2001, 1, 1), {{"N", "1", 5}, {"N", "2", 7}}, "Jan");
  AddCard(PackDay(2001, 1, 11), {{"S", "1", 3}}, "Late");
  LineSet window;
  window.Reset(db_.cards().lines().size());
  // The second line of the first card and the line of the second.
  window.Set(
      db_.cards().lines().next(db_.cards().group(db_.cards().card(kept).first_group).first_line));
  window.Set(
      db_.cards().group(db_.cards().card(db_.cards().NextCard(kept)).first_group).first_line);
  ASSERT_TRUE(Run({"CF=010201", "TF=>", "TT= moved", "D1=S"}, CardLevel::kLines, &window));
  EXPECT_EQ(CardList(), (std::vector<std::string>{"010101-1 Jan", "010201-1 Jan moved",
                                                  "010211-1 Late moved"}));
  EXPECT_EQ(LinesOf(kept), (std::vector<std::string>{"N/1/A=5,0"}));
  EXPECT_EQ(LinesOf(CardAt(1)), (std::vector<std::string>{"S/2/A=7,0"}));
  EXPECT_EQ(LinesOf(CardAt(2)), (std::vector<std::string>{"S/1/A=3,0"}));
  EXPECT_EQ(db_.cards().card(kept).created.Signature(), "TST");
  EXPECT_EQ(result_.cards_made, 2u);

  // With "A" the sources stay.
  ASSERT_TRUE(Run({"A", "CF=020101"}));
  EXPECT_EQ(CardList().size(), 6u);
}

TEST_F(TransformTest, CardsMoveInPlaceOrAsCopies) {
  const CardRef card =
      AddCard(PackDay(2001, 1, 5), {{"N", "1", 5}, {"S", "1", 2}, {"S", "2", 1}}, "Title");
  db_.cards().SetNotes(card, "note", StampNow("OLD"));
  ASSERT_TRUE(Run({"CF=010110", "TF=Title", "TT=  Renamed ", "NF=>", "NT= more", "D1=N"},
                  CardLevel::kCards));
  // The groups merged into the replacement's group.
  EXPECT_EQ(CardList(), (std::vector<std::string>{"010110-1 Renamed"}));
  EXPECT_EQ(LinesOf(card), (std::vector<std::string>{"N/1/A=5,0", "N/1/A=2,0", "N/2/A=1,0"}));
  EXPECT_EQ(db_.cards().Notes(card), "note more");
  EXPECT_EQ(db_.cards().card(card).notes_stamp.Signature(), "TST");

  ASSERT_TRUE(Run({"A", "CT=010120", "NT=\\", "V2=value+1"}, CardLevel::kCards));
  EXPECT_EQ(CardList(), (std::vector<std::string>{"010110-1 Renamed", "010120-1 Renamed"}));
  EXPECT_EQ(LinesOf(CardAt(1)), (std::vector<std::string>{"N/1/A=5,6", "N/1/A=2,3", "N/2/A=1,2"}));
  EXPECT_EQ(db_.cards().Notes(CardAt(1)), "");
  EXPECT_TRUE(db_.cards().card(CardAt(1)).notes_stamp.empty());
  EXPECT_EQ(LinesOf(card), (std::vector<std::string>{"N/1/A=5,0", "N/1/A=2,0", "N/2/A=1,0"}));
}

TEST_F(TransformTest, NothingHappensWithoutASignatureOrLines) {
  EXPECT_FALSE(Run({"V1=1"}));
  AddCard(PackDay(2001, 1, 3), {{"N", "1", 5}});
  ResetProcess();
  EXPECT_FALSE(Run({"V1=1"}));
  EXPECT_EQ(LinesOf(CardAt(0)), (std::vector<std::string>{"N/1/A=5,0"}));
}

}  // namespace
}  // namespace jov
