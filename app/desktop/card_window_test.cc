// The card window on the offscreen platform: a card of the demo company edited in its cells and
// saved, a new card entered from the Database menu, and the questions on the way.
#include "card_window.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>

#include "desktop_test_util.h"
#include "model/user_stamp.h"
#include "qt_text.h"
#include "shell/number_text.h"

namespace jov {
namespace {

class CardWindowTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    SetUserSignature("EK");
    db_ = frame_->OpenFile(Demo());
    ASSERT_NE(db_, nullptr);
  }

  // The cell's text in the row and the column headed `header`.
  static QString CellText(CardWindow* window, int row, const QString& header) {
    return window->table()->item(row, Column(window, header))->text();
  }
  static void Type(CardWindow* window, int row, const QString& header, const QString& text) {
    window->table()->item(row, Column(window, header))->setText(text);
  }
  static int Column(CardWindow* window, const QString& header) {
    QTableWidget* table = window->table();
    for (int c = 0; c < table->columnCount(); ++c) {
      if (table->horizontalHeaderItem(c)->text() == header) return c;
    }
    ADD_FAILURE() << "no column " << header.toStdString();
    return 0;
  }
  QAction* MenuAction(MessageId id) const {
    for (QAction* menu : frame_->menuBar()->actions()) {
      for (QAction* action : menu->menu()->actions()) {
        if (action->text() == Text(id)) return action;
      }
    }
    return nullptr;
  }

  Database* db_ = nullptr;
};

TEST_F(CardWindowTest, ACardIsEditedInItsCellsAndSaved) {
  CardStore& cards = db_->cards();
  const Date id = ReadCardId("220101-1");
  const CardRef card = cards.FindCard(id);
  CardWindow* window = OpenCardWindow(*db_, card, frame_.get());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(OpenCardWindow(*db_, card, frame_.get()), window) << "an open card comes forward";
  EXPECT_EQ(window->Title().toStdString(), "demo_company.jox: 220101-001 Rent 1/2022");
  // One group row (Nordic), then its three lines.
  ASSERT_EQ(window->table()->rowCount(), 4);
  EXPECT_EQ(CellText(window, 0, "Company").toStdString(), "N");
  EXPECT_EQ(CellText(window, 1, "Account").toStdString(), "K5010");
  EXPECT_EQ(CellText(window, 1, "Cost centre").toStdString(), "SHOP");
  EXPECT_EQ(CellText(window, 1, "Amount").toStdString(), "18000.00");
  EXPECT_FALSE(window->table()->item(1, 0)->flags() & Qt::ItemIsEditable);
  Screenshot(frame_->area()->activeSubWindow(), "card.png");

  // A value within the shown decimals is no change: closing asks nothing.
  Type(window, 1, "Amount", "18000.004");
  frame_->area()->activeSubWindow()->close();
  Settle();
  EXPECT_EQ(frame_->Windows(db_).size(), 1u);
  EXPECT_TRUE(sink_.alerts.empty());

  window = OpenCardWindow(*db_, card, frame_.get());
  Type(window, 1, "Amount", "17 000,50");
  Type(window, 2, "Account", "k6110");  // codes are found ignoring case
  Type(window, 3, "Account", "K9999");  // no such component: the cell keeps its code
  EXPECT_EQ(sink_.Messages(), (std::vector<MessageId>{msg::kComponentNotFound}));
  EXPECT_EQ(CellText(window, 3, "Account").toStdString(), "T1930");
  Type(window, 3, "Amount", "-21500.5");
  sink_.answers = {0};  // "Change"
  window->Save();
  Settle();
  EXPECT_EQ(sink_.Messages().back(), msg::kConfirmChangeCard);
  EXPECT_EQ(frame_->Windows(db_).size(), 1u) << "the window closed";
  const CardRef changed = cards.FindCard(id);
  ASSERT_EQ(cards.CardId(changed), id) << "the replacement keeps the number";
  EXPECT_EQ(cards.Title(changed), "Rent 1/2022");
  EXPECT_EQ(cards.card(changed).modified.Signature(), "EK");
  const Group& group = cards.group(cards.card(changed).first_group);
  EXPECT_EQ(db_->component(group.component).code, "N");
  std::vector<std::string> lines;
  for (LineRef l = group.first_line; l != kNoLine; l = cards.lines().next(l)) {
    lines.push_back(db_->component(cards.GetComponent(l, 1)).code + " " +
                    FormatNumber(cards.GetValue(l, 0), 2));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"K5010 17000.5", "K6110 4500", "T1930 -21500.5"}));
  EXPECT_TRUE(db_->modified());
}

TEST_F(CardWindowTest, ANewCardIsEnteredFromTheDatabaseMenu) {
  QAction* new_card = MenuAction(msg::kNewCard);
  ASSERT_NE(new_card, nullptr);
  EXPECT_EQ(new_card->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+N")));
  new_card->trigger();
  auto* window = dynamic_cast<CardWindow*>(frame_->ActiveWindow());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->editor().is_new());
  // Keyboard first: Ctrl+G adds a group row, Insert a line row before the current one.
  frame_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
  QApplication::setActiveWindow(frame_.get());
  window->table()->setFocus();
  QTest::keyClick(window->table(), Qt::Key_G, Qt::ControlModifier);
  ASSERT_EQ(window->table()->rowCount(), 1);
  Type(window, 0, "Company", "B");
  window->table()->setCurrentCell(-1, -1);
  QTest::keyClick(window->table(), Qt::Key_Insert);
  QTest::keyClick(window->table(), Qt::Key_Insert);
  QTest::keyClick(window->table(), Qt::Key_Insert);
  ASSERT_EQ(window->table()->rowCount(), 4);
  window->table()->setCurrentCell(3, 1);
  QTest::keyClick(window->table(), Qt::Key_Delete);
  ASSERT_EQ(window->table()->rowCount(), 3);
  Type(window, 1, "Account", "I3020");
  Type(window, 1, "Cost centre", "WEB");
  Type(window, 1, "Amount", "-250");
  Type(window, 1, FromEngine(db_->GetName(name_id::kLineText)), "Web order 1");
  Type(window, 2, "Account", "T1930");
  Type(window, 2, "Amount", "250");
  auto* id = window->findChild<QLineEdit*>();
  id->setText("241231");
  Q_EMIT id->editingFinished();
  EXPECT_EQ(id->text().toStdString(), "241231-001");
  Screenshot(frame_->area()->activeSubWindow(), "new_card.png");
  const size_t before = db_->cards().card_count();
  sink_.answers = {0};  // "Add"
  window->Save();
  Settle();
  EXPECT_EQ(sink_.Messages(), (std::vector<MessageId>{msg::kConfirmAddCard}));
  ASSERT_EQ(db_->cards().card_count(), before + 1);
  // The day had cards: the new one follows them.
  CardRef card = db_->cards().FindCard(ReadCardId("241231"));
  while (db_->cards().NextCard(card) != kCardSentinel &&
         db_->cards().CardId(db_->cards().NextCard(card)).day == ReadCardId("241231").day) {
    card = db_->cards().NextCard(card);
  }
  const Card& record = db_->cards().card(card);
  EXPECT_EQ(record.created.Signature(), "EK");
  const Group& group = db_->cards().group(record.first_group);
  EXPECT_EQ(db_->component(group.component).code, "B");
  EXPECT_EQ(db_->cards().LineText(group.first_line), "Web order 1");
  EXPECT_EQ(db_->cards().GetValue(group.last_line, 0), 250);
}

TEST_F(CardWindowTest, ClosingAskAndCancelKeepsTheWindow) {
  const CardRef card = db_->cards().FindCard(ReadCardId("220101-2"));
  CardWindow* window = OpenCardWindow(*db_, card, frame_.get());
  auto* title = window->findChildren<QLineEdit*>().at(1);
  title->setFocus();
  QTest::keyClicks(title, " (paid)");
  sink_.answers = {1};  // "Cancel": stay
  frame_->area()->activeSubWindow()->close();
  Settle();
  EXPECT_EQ(frame_->Windows(db_).size(), 2u);
  sink_.answers = {2};  // "Don't Change"
  window->Cancel();
  Settle();
  EXPECT_EQ(frame_->Windows(db_).size(), 1u);
  EXPECT_EQ(db_->cards().Title(db_->cards().FindCard(ReadCardId("220101-2"))),
            "Invoice Pine Florist");
  EXPECT_FALSE(db_->modified());
}

}  // namespace
}  // namespace jov
