#include "analysis/card_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <limits>

#include "model/database.h"
#include "model/user_stamp.h"
#include "shell/message_ids.h"
#include "shell/process.h"

namespace jov {
namespace {

// Answers the questions in turn (the first button once the answers run out) and keeps them.
class AnsweringSink : public AlertSink {
 public:
  int Report(AlertRecord& alert) override {
    alert.result = answers.empty() ? 0 : answers.front();
    if (!answers.empty()) answers.pop_front();
    asked.push_back(alert.message);
    return alert.result;
  }
  std::deque<int> answers;
  std::vector<MessageId> asked;
};

class CardsListener : public DatabaseListener {
 public:
  void OnDatabaseChange(Database&, ChangeCode code, int, int) override {
    if (code == ChangeCode::kCards) ++cards;
  }
  int cards = 0;
};

// Companies (first dimension): N, B. Accounts (second): 1910, 3010. Two value fields, two
// decimals. The card 240102-1 holds N: 1910 12.344 "cash", 3010 -12.344; B: 1910 NaN.
class CardEditorTest : public ::testing::Test {
 protected:
  static constexpr DayCode kDay = PackDay(2024, 1, 2);

  CardEditorTest() {
    ResetProcess();
    PushSink(&sink_);
    SetUserSignature("EK");
    db_.SetValueFieldCount(2);
    db_.AddComponent(0, "N", "Nordic", "");
    db_.AddComponent(0, "B", "Baltic", "");
    db_.AddComponent(1, "1910", "Cash", "");
    db_.AddComponent(1, "3010", "Sales", "");
    db_.FlushChangeFlags();
    CardStore& cards = db_.cards();
    card_ = cards.CreateCard({kDay, 1});
    cards.SetTitle(card_, "Sale");
    cards.mutable_card(card_).created = Stamped(100, "OLD");
    cards.Examine(card_, Stamped(200, "EX"));
    AddLine(card_, "N", "1910", {12.344, 1}, "cash");
    AddLine(card_, "N", "3010", {-12.344, 0}, "");
    AddLine(card_, "B", "1910", {std::nan(""), 0}, "");
    db_.FlushChangeFlags();
    db_.AddListener(&listener_);
  }
  ~CardEditorTest() override {
    db_.RemoveListener(&listener_);
    PopSink();
    ResetProcess();
  }

  static Stamp Stamped(StampTime time, const char* signature) {
    Stamp stamp;
    stamp.time = time;
    stamp.SetSignature(signature);
    return stamp;
  }
  void AddLine(CardRef card, const char* company, const char* account, std::vector<double> values,
               const char* text) {
    CardStore& cards = db_.cards();
    const GroupRef group =
        cards.FindOrAddGroup(card, company ? db_.FindByCode(0, company) : ComponentRef{0});
    const ComponentRef slots[] = {db_.FindByCode(1, account)};
    const LineRef line = cards.AddLine(group, values, slots);
    cards.SetLineText(line, text);
  }
  // The card's lines as "company/account=value1 text", in order.
  std::vector<std::string> Lines(CardRef card) const {
    const CardStore& cards = db_.cards();
    std::vector<std::string> lines;
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
        lines.push_back(db_.component(cards.group(g).component).code + "/" +
                        db_.component(cards.GetComponent(l, 1)).code + "=" +
                        std::to_string(cards.GetValue(l, 0)) + " " +
                        std::string(cards.LineText(l)));
      }
    }
    return lines;
  }
  CardRef OnlyCardAfter(CardRef old) const {
    EXPECT_EQ(db_.cards().card_count(), 1u);
    const CardRef card = db_.cards().FirstCard();
    EXPECT_NE(card, old) << "the card was replaced by a new record";
    return card;
  }

  Database db_;
  AnsweringSink sink_;
  CardsListener listener_;
  CardRef card_ = kNoRecord;
};

TEST_F(CardEditorTest, ValuesThatAgreeToTheShownDecimalsAreUnchanged) {
  struct Case {
    double value;
    bool changed;
  };
  for (const Case& c :
       {Case{12.344, false}, Case{12.343, false}, Case{12.34, false}, Case{12.3490, false},
        Case{12.35, true}, Case{12.338, true}, Case{std::nan(""), true}}) {
    CardEditor editor(db_, card_);
    EXPECT_FALSE(editor.Changed());
    ASSERT_EQ(editor.draft().rows.size(), 5u);
    editor.draft().rows[1].values[0] = c.value;
    EXPECT_EQ(editor.Changed(), c.changed) << c.value;
  }
  // The missing value of the last line equals itself but no number.
  CardEditor editor(db_, card_);
  editor.draft().rows[4].values[0] = 0;
  EXPECT_TRUE(editor.Changed());
  // Closing without edits asks nothing and writes nothing.
  CardEditor untouched(db_, card_);
  EXPECT_EQ(untouched.Close(), CardEditor::Outcome::kClose);
  EXPECT_TRUE(sink_.asked.empty());
  EXPECT_EQ(listener_.cards, 0);
}

TEST_F(CardEditorTest, RowsDifferInOrderKindComponentsAndTexts) {
  const auto changed = [&](auto edit) {
    CardEditor editor(db_, card_);
    edit(editor.draft());
    return editor.Changed();
  };
  EXPECT_TRUE(changed([](CardDraft& d) { d.rows.pop_back(); }));
  EXPECT_TRUE(changed([](CardDraft& d) { d.rows.push_back(CardEditRow::Group(1)); }));
  EXPECT_TRUE(changed([](CardDraft& d) { std::swap(d.rows[1], d.rows[2]); }));
  EXPECT_TRUE(changed([](CardDraft& d) { d.rows[1].text = "Cash"; }));
  EXPECT_TRUE(changed([&](CardDraft& d) { d.rows[3].components[0] = db_.FindByCode(0, "N"); }));
  EXPECT_TRUE(changed([&](CardDraft& d) { d.rows[1].components[1] = 1; }));
  EXPECT_TRUE(changed([](CardDraft& d) { d.id.sequence = 2; }));
  EXPECT_TRUE(changed([](CardDraft& d) { d.notes = "n"; }));
  EXPECT_TRUE(changed([](CardDraft& d) { d.approved = Stamped(300, "AP"); }));
  EXPECT_FALSE(changed([](CardDraft& d) { d.modified = Stamped(300, "X"); }))
      << "the window does not set the modified stamp; it is not compared";
}

TEST_F(CardEditorTest, ChangingOnlyTheNotesKeepsTheCardRecord) {
  CardEditor editor(db_, card_);
  editor.draft().notes = "Checked\nagainst the bank";
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  EXPECT_EQ(sink_.asked, (std::vector<MessageId>{msg::kConfirmChangeCard}));
  ASSERT_TRUE(db_.cards().IsCard(card_));
  const Card& card = db_.cards().card(card_);
  EXPECT_EQ(db_.cards().Notes(card_), "Checked\nagainst the bank");
  EXPECT_EQ(card.notes_stamp.Signature(), "EK");
  EXPECT_NE(card.notes_stamp.time, 0u);
  EXPECT_TRUE(card.modified.empty());
  EXPECT_EQ(card.examined, Stamped(200, "EX")) << "a notes change keeps the marks";
  EXPECT_EQ(Lines(card_).size(), 3u);
  EXPECT_EQ(listener_.cards, 1);
  EXPECT_TRUE(db_.modified());
  // Emptying the notes clears their stamp.
  CardEditor again(db_, card_);
  again.draft().notes.clear();
  EXPECT_EQ(again.Close(), CardEditor::Outcome::kClose);
  EXPECT_TRUE(db_.cards().card(card_).notes_stamp.empty());
}

TEST_F(CardEditorTest, ChangingTheTitleReplacesTheCardWithAModifiedStamp) {
  const std::vector<std::string> lines = Lines(card_);
  // A later card of the day, so that the replacement has a number to skip.
  db_.cards().CreateCard({kDay, 2});
  AddLine(db_.cards().FindCard({kDay, 2}), "N", "1910", {1, 1}, "");
  CardEditor editor(db_, card_);
  editor.draft().title = "Sale to Oslo";
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  const CardRef card = db_.cards().FindCard({kDay, 1});
  ASSERT_NE(card, card_);
  EXPECT_EQ(db_.cards().CardId(card), (Date{kDay, 1})) << "the replacement keeps the number";
  EXPECT_EQ(db_.cards().card_count(), 2u);
  EXPECT_EQ(db_.cards().Title(card), "Sale to Oslo");
  EXPECT_EQ(Lines(card), lines);
  const Card& record = db_.cards().card(card);
  EXPECT_EQ(record.created, Stamped(100, "OLD"));
  EXPECT_EQ(record.modified.Signature(), "EK");
  EXPECT_TRUE(record.examined.empty()) << "a mark not set in the window does not survive";
  EXPECT_EQ(editor.card(), card);
  EXPECT_FALSE(editor.Changed());
}

TEST_F(CardEditorTest, MarksSetInTheWindowSurviveAChange) {
  CardEditor editor(db_, card_);
  editor.draft().approved = Stamped(500, "AP");
  editor.draft().rows[1].values[1] = 7;
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  const Card& record = db_.cards().card(db_.cards().FirstCard());
  EXPECT_EQ(record.approved, Stamped(500, "AP"));
  EXPECT_TRUE(record.examined.empty());
}

TEST_F(CardEditorTest, AddOnAnExistingCardLeavesTwoCards) {
  const std::vector<std::string> lines = Lines(card_);
  CardEditor editor(db_, card_);
  editor.draft().title = "Copy";
  editor.draft().notes = "n";
  sink_.answers = {3};  // "Add"
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  ASSERT_EQ(db_.cards().card_count(), 2u);
  EXPECT_EQ(db_.cards().Title(card_), "Sale");
  EXPECT_TRUE(db_.cards().Notes(card_).empty());
  EXPECT_EQ(db_.cards().card(card_).examined, Stamped(200, "EX"));
  const CardRef added = db_.cards().NextCard(card_);
  EXPECT_EQ(db_.cards().CardId(added), (Date{kDay, 2}));
  EXPECT_EQ(db_.cards().Title(added), "Copy");
  EXPECT_EQ(Lines(added), lines);
  const Card& record = db_.cards().card(added);
  EXPECT_EQ(record.created.Signature(), "EK");
  EXPECT_TRUE(record.modified.empty());
  EXPECT_TRUE(record.examined.empty());
  EXPECT_EQ(record.notes_stamp.Signature(), "EK");
  // The Add button does the same without a change, after its own question.
  CardEditor copy(db_, card_);
  EXPECT_EQ(copy.Add(), CardEditor::Outcome::kClose);
  EXPECT_EQ(db_.cards().card_count(), 3u);
}

TEST_F(CardEditorTest, ANewCardIsAddedWithTheUsersCreatedStamp) {
  CardEditor editor(db_, std::nullopt);
  EXPECT_TRUE(editor.is_new());
  EXPECT_FALSE(editor.Changed());
  editor.draft().id = {kDay, 1};
  editor.draft().title = "Rent";
  editor.draft().rows.push_back(CardEditRow::Line(db_));  // before any group row
  editor.draft().rows.back().values = {-900, 0};
  editor.draft().rows.push_back(CardEditRow::Group(db_.FindByCode(0, "B")));
  editor.draft().rows.push_back(CardEditRow::Line(db_));
  editor.draft().rows.back().components[1] = db_.FindByCode(1, "3010");
  editor.draft().rows.back().values = {900, 0};
  EXPECT_EQ(editor.QuestionText(), "240102-001 Rent");
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  EXPECT_EQ(sink_.asked, (std::vector<MessageId>{msg::kConfirmAddCard}));
  const CardRef card = db_.cards().FindCard({kDay, 2});
  ASSERT_NE(card, kCardSentinel);
  EXPECT_EQ(Lines(card), (std::vector<std::string>{"/=-900.000000 ", "B/3010=900.000000 "}))
      << "a line row first goes to a group without a first-dimension component";
  EXPECT_EQ(db_.cards().card(card).created.Signature(), "EK");
  // Opened again, that group needs no group row, and nothing counts as changed.
  CardEditor reopened(db_, card);
  ASSERT_EQ(reopened.draft().rows.size(), 3u);
  EXPECT_EQ(reopened.draft().rows[0].kind, CardEditRow::Kind::kLine);
  EXPECT_FALSE(reopened.Changed());
}

TEST_F(CardEditorTest, ContentWithoutLinesIsNotEntered) {
  CardEditor editor(db_, std::nullopt);
  editor.draft().title = "Nothing";
  editor.draft().rows.push_back(CardEditRow::Group(db_.FindByCode(0, "N")));
  sink_.answers = {0, 1};  // "Add", then "Cancel" on 3510: stay
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kStay);
  sink_.answers = {0, 0};  // "Add", then "Close"
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  EXPECT_EQ(sink_.asked, (std::vector<MessageId>{msg::kConfirmAddCard, msg::kCardWithoutLines,
                                                 msg::kConfirmAddCard, msg::kCardWithoutLines}));
  EXPECT_EQ(db_.cards().card_count(), 1u);
  // An existing card whose rows were all removed stays as it was.
  CardEditor emptied(db_, card_);
  emptied.draft().rows.clear();
  sink_.answers = {0, 0};
  EXPECT_EQ(emptied.Close(), CardEditor::Outcome::kClose);
  EXPECT_EQ(Lines(card_).size(), 3u);
  EXPECT_EQ(listener_.cards, 0);
}

TEST_F(CardEditorTest, AnswersToTheQuestionsAndAMissingSignature) {
  CardEditor editor(db_, card_);
  editor.draft().title = "Other";
  sink_.answers = {1};  // Cancel
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kStay);
  sink_.answers = {2};  // Don't Change
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  EXPECT_EQ(db_.cards().Title(card_), "Sale");
  Process().preferences.signature.clear();
  sink_.answers = {0};  // Change, but no signature to sign it with
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kStay);
  EXPECT_EQ(sink_.asked.back(), msg::kNoSignature);
  EXPECT_EQ(db_.cards().Title(card_), "Sale");
  EXPECT_EQ(listener_.cards, 0);
}

TEST_F(CardEditorTest, MustBeFilledInDimensionsArePointedAt) {
  db_.dimension(1).SetMustFill(true);
  db_.dimension(5).SetMustFill(true);  // no components: cannot hold up a card
  CardEditor editor(db_, card_);
  editor.draft().rows.push_back(CardEditRow::Line(db_));
  EXPECT_EQ(editor.FirstUnfilled()->row, 5u);
  EXPECT_EQ(editor.FirstUnfilled()->dimension, 1);
  sink_.answers = {0, 0};  // Change, then OK: stay at the cell
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kStay);
  ASSERT_TRUE(editor.focus());
  EXPECT_EQ(editor.focus()->row, 5u);
  sink_.answers = {0, 2};  // Change, then Don't Change: close without writing
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  EXPECT_EQ(db_.cards().card_count(), 1u);
  EXPECT_EQ(Lines(card_).size(), 3u);
  EXPECT_EQ(sink_.asked[1], msg::kMustBeFilledIn);
  // The first dimension of a line row is its group's.
  db_.dimension(0).SetMustFill(true);
  CardEditor fresh(db_, std::nullopt);
  fresh.draft().rows.push_back(CardEditRow::Line(db_));
  fresh.draft().rows.back().components[1] = db_.FindByCode(1, "1910");
  EXPECT_EQ(fresh.FirstUnfilled()->dimension, 0);
}

// A card that cannot be built must not cost the card it replaces: the new one is built first,
// and the old one goes only once it stands.
TEST_F(CardEditorTest, AReplacementThatCannotBeBuiltLeavesTheOldCard) {
  CardEditor editor(db_, card_);
  editor.draft().title = "Lost?";
  editor.draft().id = {kNoDay, 1};  // no day to create the card on
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kStay);
  ASSERT_TRUE(db_.cards().IsCard(card_));
  EXPECT_EQ(db_.cards().card_count(), 1u);
  EXPECT_EQ(db_.cards().Title(card_), "Sale");
  EXPECT_EQ(Lines(card_).size(), 3u);
  EXPECT_TRUE(db_.cards().card(card_).modified.empty());
  EXPECT_FALSE(db_.cards().TakeCardsChanged());
  EXPECT_EQ(listener_.cards, 0);
  // A taken number with none free above it takes another free number of that day.
  const DayCode full = PackDay(2024, 1, 3);
  const Sequence last = std::numeric_limits<Sequence>::max() - 1;
  AddLine(db_.cards().CreateCard({full, last}), "N", "1910", {1, 0}, "");
  editor.draft().id = {full, last};
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  EXPECT_FALSE(db_.cards().IsCard(card_));
  const CardRef moved = db_.cards().FindCard({full, 1});
  EXPECT_EQ(db_.cards().CardId(moved), (Date{full, 1}));
  EXPECT_EQ(Lines(moved).size(), 3u);
}

TEST_F(CardEditorTest, AReplacementOnItsOwnNumberKeepsIt) {
  // The largest number of a day is taken by the card itself until it goes.
  const Sequence last = std::numeric_limits<Sequence>::max() - 1;
  ASSERT_TRUE(db_.cards().MoveCard(card_, {kDay, last}));
  CardEditor editor(db_, card_);
  editor.draft().title = "Renamed";
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  const CardRef card = OnlyCardAfter(card_);
  EXPECT_EQ(db_.cards().CardId(card), (Date{kDay, last}));
  EXPECT_EQ(Lines(card).size(), 3u);
}

TEST_F(CardEditorTest, ACardDeletedElsewhereIsAddedAsNew) {
  CardEditor editor(db_, card_);
  editor.draft().title = "Kept";
  db_.cards().DeleteCard(card_);
  db_.cards().CreateCard({PackDay(2024, 5, 5), 1});  // may take the freed record
  EXPECT_TRUE(editor.is_new());
  EXPECT_EQ(editor.Close(), CardEditor::Outcome::kClose);
  EXPECT_EQ(sink_.asked, (std::vector<MessageId>{msg::kConfirmAddCard}));
  const CardRef card = db_.cards().FindCard({kDay, 1});
  EXPECT_EQ(db_.cards().Title(card), "Kept");
  EXPECT_EQ(Lines(card).size(), 3u);
}

TEST_F(CardEditorTest, DeleteRemovesTheCardAfterAsking) {
  CardEditor editor(db_, card_);
  sink_.answers = {1};
  EXPECT_EQ(editor.Delete(), CardEditor::Outcome::kStay);
  EXPECT_EQ(db_.cards().card_count(), 1u);
  EXPECT_EQ(editor.Delete(), CardEditor::Outcome::kClose);
  EXPECT_EQ(db_.cards().card_count(), 0u);
  EXPECT_EQ(listener_.cards, 1);
}

}  // namespace
}  // namespace jov
