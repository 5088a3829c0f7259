#include "files/cards_section.h"

#include <gtest/gtest.h>

#include "files/stream_test_util.h"
#include "shell/process.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

using testing::ReadStream;
using testing::WriteStream;

class CardsSectionTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }

  ReadResult Read(std::string_view text) { return ReadStream(database_, text); }
  LineRef FirstLine() const {
    const CardStore& cards = database_.cards();
    return cards.group(cards.card(cards.FirstCard()).first_group).first_line;
  }

  Database database_;
};

TEST_F(CardsSectionTest, ValuesTakeTheLastValueCountAndAnEmptyFieldIsZero) {
  ASSERT_TRUE(Read("##BaseOptions\nLN\t30\n##BaseOptions\nLN\t3\n"
                   "##Cards\nC240101-1\nG1000\nL1,5\t2\t\tabc\n##End\n")
                  .ok);
  EXPECT_EQ(database_.value_field_count(), 3);
  const CardStore& cards = database_.cards();
  const LineRef line = FirstLine();
  EXPECT_EQ(cards.GetValue(line, 0), 1.5);
  EXPECT_EQ(cards.GetValue(line, 1), 2.0);
  EXPECT_EQ(cards.GetValue(line, 2), 0.0);
  EXPECT_EQ(cards.LineText(line), "abc");
}

TEST_F(CardsSectionTest, MissingAndInfiniteValuesRoundTrip) {
  ASSERT_TRUE(Read("##BaseOptions\nLN\t4\n##Cards\nC240101-1\nG1\nL\\\t+ inf\t- inf\t0.25\n").ok);
  const std::string written = WriteStream(database_);
  EXPECT_NE(written.find("\r\nL\\\t+ inf\t- inf\t0.25\r\n"), std::string::npos);
  Database again;
  ASSERT_TRUE(ReadStream(again, written).ok);
  const LineRef line =
      again.cards().group(again.cards().card(again.cards().FirstCard()).first_group).first_line;
  EXPECT_TRUE(IsMissing(again.cards().GetValue(line, 0)));
  EXPECT_EQ(again.cards().GetValue(line, 1), kPlusInfinity);
  EXPECT_EQ(again.cards().GetValue(line, 2), kMinusInfinity);
}

TEST_F(CardsSectionTest, AnApprovalWithoutACreatedStampIsKept) {
  ASSERT_TRUE(Read("##Cards\nC240101-1\nG1\nL5\nC240102-1\nG1\nL6\n").ok);
  CardStore& cards = database_.cards();
  cards.Approve(cards.LastCard(), ReadStamp("2401031200EK"));
  const std::string written = WriteStream(database_);
  EXPECT_NE(written.find("C240102-001\r\nS\t\t\t2401031200EK\r\n"), std::string::npos) << written;
  EXPECT_EQ(written.find("C240101-001\r\nS"), std::string::npos);
  Database again;
  ASSERT_TRUE(ReadStream(again, written).ok);
  EXPECT_EQ(StampText(again.cards().card(again.cards().LastCard()).approved), "2401031200EK");
}

TEST_F(CardsSectionTest, UnknownTextsCreateNumberedComponents) {
  const ReadResult result =
      Read("##Cards\n-DT\t3\nC240101-1\nG1000\nL1\t\t\tNorth\nL2\t\t\tSouth\nL3\t\t\tNorth\n");
  ASSERT_TRUE(result.ok);
  const ComponentRef parent = database_.FindByCode(2, "#");
  ASSERT_NE(parent, kNoComponent);
  EXPECT_EQ(database_.component(parent).text, "New components");
  EXPECT_EQ(database_.component(database_.FindByCode(2, "#00001")).text, "North");
  EXPECT_EQ(database_.component(database_.FindByCode(2, "#00002")).text, "South");
  EXPECT_EQ(database_.FindByCode(2, "#00003"), kNoComponent);
  EXPECT_EQ(testing::ErrorTexts(result),
            (std::vector<std::string>{"Cannot find JOV-code \"1000\" in dimension Dim 1.",
                                      "Cannot find text \"North\" in dimension Dim 3.",
                                      "Cannot find text \"South\" in dimension Dim 3."}));
  EXPECT_EQ(database_.Attached<SaveSetups>().in_effect().identifiers[2], IdentifierKind::kText);
}

TEST_F(CardsSectionTest, NotesOf9000BytesGoOutInPiecesAndComeBackUnchanged) {
  std::string notes;
  for (int i = 0; notes.size() < 9000; ++i) notes += i % 7 == 0 ? "\t" : i % 11 == 0 ? "\r" : "x";
  const ComponentRef account = database_.AddComponent(0, "1", "", "");
  CardStore& cards = database_.cards();
  const CardRef card = cards.CreateCard({PackDay(2024, 5, 1), 1});
  cards.SetNotes(card, notes, Stamp());
  cards.CreateLine(cards.FindOrAddGroup(card, account));
  const std::string written = WriteStream(database_);

  const size_t start = written.find("\r\nN\t") + 4;
  const size_t first_end = written.find("\r\n", start);
  const size_t second_end = written.find("\r\n", first_end + 2);
  const size_t rest_end = written.find("\r\n", second_end + 2);
  EXPECT_EQ(first_end - start, 4200u + 3);
  EXPECT_EQ(written.substr(first_end - 3, 3), "/==");
  EXPECT_EQ(second_end - first_end - 2, 4200u + 3);
  EXPECT_EQ(rest_end - second_end - 2, 600u);

  Database again;
  ASSERT_TRUE(ReadStream(again, written).ok);
  EXPECT_EQ(again.cards().Notes(again.cards().FirstCard()), notes);
}

// A text whose coded form ends like a continuation must not swallow the next line.
TEST_F(CardsSectionTest, NotesEndingInTheContinuationMarkerReadBack) {
  const ComponentRef account = database_.AddComponent(0, "1", "", "");
  CardStore& cards = database_.cards();
  for (const std::string_view notes : {"see /==", "trailing blanks  "}) {
    const CardRef card = cards.CreateCard({PackDay(2024, 5, 1), 0});
    cards.SetNotes(card, notes, Stamp());
    cards.CreateLine(cards.FindOrAddGroup(card, account));
  }
  Database again;
  ASSERT_TRUE(ReadStream(again, WriteStream(database_)).ok);
  const CardRef first = again.cards().FirstCard();
  EXPECT_EQ(again.cards().Notes(first), "see /==");
  EXPECT_EQ(again.cards().Notes(again.cards().NextCard(first)), "trailing blanks  ");
}

TEST_F(CardsSectionTest, DamagedCardLinesAreSkipped) {
  const ReadResult result = Read(
      "##Cards\n"
      "G1000\nL1\n"             // a group without a card
      "C240101-1\tno groups\n"  // a card without lines goes
      "C240102-1\nL2\nG1000\n"  // a line before any group
      "S\nN\nGx\nL3\t4\n"       // empty stamps, notes without a field
      "C\nG1000\nL5\n"          // a card without a date
      "Cxx-1\nG1000\nL6\n"
      "C271231-99999999999999\tlarge\nG2\nL1e999\t1e-999\n"
      "L");  // truncated
  ASSERT_TRUE(result.ok);
  const CardStore& cards = database_.cards();
  EXPECT_EQ(cards.card_count(), 2u);
  EXPECT_EQ(cards.line_count(), 3u);
  const CardRef first = cards.FirstCard();
  EXPECT_EQ(CardIdText(cards.CardId(first)), "240102-1");
  EXPECT_EQ(cards.GetValue(cards.group(cards.card(first).first_group).first_line, 0), 3.0);
  const CardRef last = cards.LastCard();
  EXPECT_GE(cards.card(last).sequence, kEndOfDay - 1);
  const LineRef huge = cards.group(cards.card(last).first_group).first_line;
  EXPECT_EQ(cards.GetValue(huge, 0), kPlusInfinity);
  EXPECT_EQ(database_.card_digits(), 6);
  // Whatever was read writes again and reads back the same.
  const std::string written = WriteStream(database_);
  Database again;
  ASSERT_TRUE(ReadStream(again, written).ok);
  EXPECT_EQ(WriteStream(again), written);
}

TEST_F(CardsSectionTest, CardNumbersKeepTheirDigitsAndTakenNumbersMoveUp) {
  ASSERT_TRUE(Read("##BaseOptions\nCN\t1\n##Cards\n"
                   "C240101-150\nG1\nL1\nC240101-150\nG1\nL2\n##End\n")
                  .ok);
  EXPECT_EQ(database_.card_digits(), 3);
  const CardStore& cards = database_.cards();
  EXPECT_EQ(cards.card(cards.LastCard()).sequence, 151);
  database_.SetCardDigits(1);
  EXPECT_NE(WriteStream(database_).find("C240101-151\r\n"), std::string::npos);
}

}  // namespace
}  // namespace jov
