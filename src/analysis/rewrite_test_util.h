// A small database for the tests of the operations that rewrite data: companies in dimension 1,
// accounts in dimension 2, cost centres in dimension 3, two value fields, and a user signature
// so that the user's stamp can be had.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "model/database.h"
#include "model/user_stamp.h"
#include "shell/process.h"

namespace jov {

struct TestLine {
  std::string company;
  std::string account;
  double value = 0;
  std::string centre = "A";
  double value2 = 0;
};

class RewriteTest : public ::testing::Test {
 protected:
  RewriteTest() {
    ResetProcess();
    SetUserSignature("TST");
    for (const char* code : {"N", "S"}) db_.AddComponent(0, code, "", "");
    for (const char* code : {"1", "10", "2", "3"}) db_.AddComponent(1, code, "", "");
    for (const char* code : {"A", "B"}) db_.AddComponent(2, code, "", "");
    db_.SetValueFieldCount(2);
    db_.FlushChangeFlags();
  }

  CardRef AddCard(DayCode day, const std::vector<TestLine>& lines, std::string_view title = "") {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({day, 0});
    cards.SetTitle(card, title);
    for (const TestLine& spec : lines) AddLineTo(card, spec);
    return card;
  }

  LineRef AddLineTo(CardRef card, const TestLine& spec) {
    CardStore& cards = db_.cards();
    const GroupRef group = cards.FindOrAddGroup(card, db_.FindByCode(0, spec.company));
    const ComponentRef slots[] = {db_.FindByCode(1, spec.account), db_.FindByCode(2, spec.centre)};
    const double values[] = {spec.value, spec.value2};
    return cards.AddLine(group, values, slots);
  }

  // The cards in order as "YYMMDD-n title".
  std::vector<std::string> CardList() const {
    std::vector<std::string> list;
    const CardStore& cards = db_.cards();
    for (CardRef c = cards.FirstCard(); c != kCardSentinel; c = cards.NextCard(c)) {
      list.push_back(CardIdText(cards.CardId(c)) + " " + std::string(cards.Title(c)));
    }
    return list;
  }

  // A card's lines as "company/account/centre=value1,value2", in group and line order.
  std::vector<std::string> LinesOf(CardRef card) const {
    std::vector<std::string> list;
    const CardStore& cards = db_.cards();
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
        std::string text = db_.component(cards.group(g).component).code;
        for (int slot = 1; slot <= 2; ++slot) {
          text += "/" + db_.component(cards.GetComponent(l, slot)).code;
        }
        char values[64];
        std::snprintf(values, sizeof values, "=%g,%g", cards.GetValue(l, 0), cards.GetValue(l, 1));
        list.push_back(text + values +
                       (cards.LineText(l).empty() ? "" : " " + std::string(cards.LineText(l))));
      }
    }
    return list;
  }

  CardRef CardAt(size_t index) const {
    CardRef card = db_.cards().FirstCard();
    while (index-- > 0) card = db_.cards().NextCard(card);
    return card;
  }

  Database db_;
};

}  // namespace jov
