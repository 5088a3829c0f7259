#include "select/component_expression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/database.h"

namespace jov {
namespace {

// Dimension 1 in tree order: 1 (10 (100, 101), 11), 2 (20), 3, and a code with token characters.
class ComponentExpressionTest : public ::testing::Test {
 protected:
  ComponentExpressionTest() {
    for (const char* code : {"1", "10", "100", "101", "11", "2", "20"}) {
      db_.AddComponent(0, code, "", "");
    }
    db_.AddComponent(0, "3", "Three", "H3");
    db_.AddComponent(0, "A!B", "", "");
    db_.AddComponent(1, "1", "", "");  // another dimension's "1"
  }

  ComponentRef Ref(std::string_view code) const { return db_.FindByCode(0, code); }

  std::optional<ComponentExpression> Compile(std::string_view text,
                                             const ComponentChooser& choose = {}) const {
    return ComponentExpression::Compile(db_, 0, text, choose);
  }

  // The codes of dimension 1 that the expression selects ("\" for the root).
  std::set<std::string> Codes(const ComponentExpression& expression) const {
    const ComponentSet set = expression.Evaluate(db_);
    std::set<std::string> codes;
    if (set.Test(0)) codes.insert("\\");
    for (ComponentRef ref = db_.NextInPreorder(0); ref != 0; ref = db_.NextInPreorder(ref)) {
      if (set.Test(ref)) codes.insert(db_.component(ref).code);
    }
    return codes;
  }

  Database db_;
};

struct ExpressionCase {
  std::string typed;
  std::string stored;
  std::set<std::string> codes;
};

TEST_F(ComponentExpressionTest, TokensSelectTheirComponentsAndPrintNormalised) {
  const std::vector<ExpressionCase> cases = {
      {"1", "1", {"1", "10", "100", "101", "11"}},
      {"1!", "1!", {"1"}},
      {"! 1", "1!", {"1"}},
      {"100^", "100^", {"1", "10", "100"}},
      {"^100", "100^", {"1", "10", "100"}},
      {"1?", "1?", {"10"}},
      {"?1", "1?", {"10"}},
      {"1\xB6", "1\xB6", {"100", "101", "11"}},
      {"\xB6"
       "1",
       "1\xB6",
       {"100", "101", "11"}},
      {"?", "?", {"1", "10", "2"}},
      {"\xB6", "\xB6", {"100", "101", "11", "20", "3", "A!B"}},
      {"\\", "\\", {"\\"}},
      {"\\\\", "\\\\", {}},
      {"10_2", "10_2", {"10", "100", "101", "11", "2", "20"}},
      {"10_2!", "10_2!", {"10", "100", "101", "11", "2"}},
      {"10...2", "10_2", {"10", "100", "101", "11", "2", "20"}},
      {"2_10", "2_10", {"10", "100", "101", "11", "2", "20"}},  // either order
      {"1_1", "1", {"1", "10", "100", "101", "11"}},
      {"1_1!", "1!", {"1"}},
      {"'A!B'", "'A!B'", {"A!B"}},
      {"\"A!B\"!", "'A!B'!", {"A!B"}},
      {"H3", "3", {"3"}},     // found by host code
      {"three", "3", {"3"}},  // found by text
      {"1 & \xAC 10",
       "1\xAC"
       "10",
       {"1", "11"}},
      {"1\xAC\xAC"
       "10",
       "1&10",
       {"10", "100", "101"}},
      {"1&(\xAC"
       "10)",
       "1\xAC"
       "10",
       {"1", "11"}},
      {"\xAC\xAC"
       "1",
       "1",
       {"1", "10", "100", "101", "11"}},
      {"\xAC(\xAC"
       "1)",
       "1",
       {"1", "10", "100", "101", "11"}},
      {"1|2&20", "1|2&20", {"1", "10", "100", "101", "11", "20"}},
      {"(1|2)&20", "(1|2)&20", {"20"}},
      {"1\xAC(10\xAC"
       "100)",
       "1\xAC(10\xAC"
       "100)",
       {"1", "11", "100"}},
      {"1\xAC"
       "10\xAC"
       "100",
       "1\xAC"
       "10\xAC"
       "100",
       {"1", "11"}},
      // Brackets go where the set does not depend on them, and stay where it does.
      {"1|(2|3)", "1|2|3", {"1", "10", "100", "101", "11", "2", "20", "3"}},
      {"1&(10&(100|2))", "1&10&(100|2)", {"100"}},
      {"1\xB1(10\xB1(100))",
       "1\xB1"
       "10\xB1"
       "100",
       {"1", "11", "100"}},
      {"1|(2\xB1"
       "20)",
       "1|(2\xB1"
       "20)",
       {"1", "10", "100", "101", "11", "2"}},
      {"1&(10\xAC"
       "100)",
       "1&(10\xAC"
       "100)",
       {"10", "101"}},
      {"1 \xB1 10",
       "1\xB1"
       "10",
       {"1", "11"}},
      {"\xAC"
       "1&2",
       "\xAC"
       "1&2",
       {"2", "20"}},
      {"\xAC(1|2)", "\xAC(1|2)", {"\\", "3", "A!B"}},
      // Junk between operands is skipped; missing brackets do not matter.
      {"1 !!", "1!", {"1"}},
      {")1|2", "1|2", {"1", "10", "100", "101", "11", "2", "20"}},
      {"((1|2", "1|2", {"1", "10", "100", "101", "11", "2", "20"}},
      {"1^2", "1^", {"1"}},
  };
  for (const ExpressionCase& c : cases) {
    SCOPED_TRACE("typed: " + c.typed);
    std::optional<ComponentExpression> expression = Compile(c.typed);
    ASSERT_TRUE(expression.has_value());
    EXPECT_EQ(expression->Print(db_, false), c.stored);
    EXPECT_EQ(Codes(*expression), c.codes);
  }
}

TEST_F(ComponentExpressionTest, DisplayedFormHasBlanksAndShowsASingleCodeAsTheDimensionDoes) {
  db_.dimension(0).SetDisplay(DisplayFields::kT);
  EXPECT_EQ(Compile("1|3&\xAC"
                    "20")
                ->Print(db_, true),
            "1 | 3 \xAC 20");
  EXPECT_EQ(Compile("3")->Print(db_, true), "Three");
  EXPECT_EQ(Compile("3")->Print(db_, false), "3");
  EXPECT_EQ(Compile("1")->Print(db_, true), "1");  // no text: the code
  db_.dimension(0).SetDisplay(DisplayFields::kHT);
  EXPECT_EQ(Compile("3")->Print(db_, true), "H3");
}

TEST_F(ComponentExpressionTest, MissingCodesAskTheChooser) {
  EXPECT_FALSE(Compile("1|9").has_value());
  std::vector<std::string> asked;
  const ComponentChooser choose_2 = [&](const Database&, int dimension, std::string_view code) {
    EXPECT_EQ(dimension, 0);
    asked.emplace_back(code);
    return Ref("2");
  };
  std::optional<ComponentExpression> expression = Compile("1|9", choose_2);
  ASSERT_TRUE(expression.has_value());
  EXPECT_EQ(asked, std::vector<std::string>{"9"});
  EXPECT_EQ(expression->Print(db_, false), "1|2");
  const ComponentChooser none = [](const Database&, int, std::string_view) { return kNoComponent; };
  EXPECT_FALSE(Compile("9", none).has_value());
  // A root, or a component of another dimension, is no choice.
  const ComponentChooser root = [](const Database&, int, std::string_view) {
    return ComponentRef{0};
  };
  EXPECT_FALSE(Compile("9", root).has_value());
  const ComponentChooser other = [this](const Database&, int, std::string_view) {
    return db_.FindByCode(1, "1");
  };
  EXPECT_FALSE(Compile("9", other).has_value());
  EXPECT_FALSE(ComponentExpression::Compile(db_, 16, "1").has_value());
  EXPECT_FALSE(Compile("").has_value());
  EXPECT_FALSE(Compile("| &").has_value());
}

// Follows ChangeCode::kComponents as a selection will.
class RemovalFollower : public DatabaseListener {
 public:
  explicit RemovalFollower(ComponentExpression& expression) : expression_(expression) {}
  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int) override {
    if (code == ChangeCode::kComponents && argument == expression_.dimension()) {
      expression_.FollowRemovals(database);
    }
  }

 private:
  ComponentExpression& expression_;
};

TEST_F(ComponentExpressionTest, RemovedComponentsSelectNothingEvenWhenTheirNumbersAreReused) {
  std::optional<ComponentExpression> expression = Compile("10|2|100_3");
  ASSERT_TRUE(expression.has_value());
  RemovalFollower follower(*expression);
  db_.AddListener(&follower);
  const ComponentRef removed = Ref("10");
  db_.DeleteComponents(0, std::vector<ComponentRef>{removed});
  db_.RemoveListener(&follower);
  EXPECT_EQ(expression->Print(db_, false), "\\\\|2|\\\\");
  const ComponentRef reused = db_.AddComponent(0, "55", "", "");
  EXPECT_TRUE(reused == removed || db_.components().IsLive(reused));
  EXPECT_EQ(Codes(*expression), (std::set<std::string>{"2", "20"}));
}

TEST_F(ComponentExpressionTest, EvaluationIgnoresComponentsRemovedWithoutNotice) {
  std::optional<ComponentExpression> expression = Compile("1|2");
  ASSERT_TRUE(expression.has_value());
  db_.DeleteComponents(0, std::vector<ComponentRef>{Ref("1")});
  EXPECT_EQ(Codes(*expression), (std::set<std::string>{"2", "20"}));
  EXPECT_EQ(expression->Print(db_, false), "\\\\|2");
}

// Builds random expressions over the dimension's tokens.
class ExpressionGenerator {
 public:
  explicit ExpressionGenerator(uint32_t seed) : random_(seed) {}

  std::string Expression(int depth) {
    std::string text = Factor(depth);
    const int count = Pick(3);
    for (int i = 0; i < count; ++i) {
      static const char* const kOperators[] = {"|",   "&",     "\xB1",    "\xAC",
                                               " | ", "&\xAC", "\xAC\xAC"};
      text += kOperators[Pick(7)];
      text += Factor(depth);
    }
    return text;
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }

  std::string Factor(int depth) {
    std::string prefix = Pick(4) == 0 ? "\xAC" : "";
    if (depth > 0 && Pick(3) == 0) return prefix + "(" + Expression(depth - 1) + ")";
    return prefix + Atom();
  }

  std::string Atom() {
    static const char* const kCodes[] = {"1", "10", "100", "101", "11", "2", "20", "3", "'A!B'"};
    const std::string code = kCodes[Pick(9)];
    switch (Pick(10)) {
      case 0:
        return code + "!";
      case 1:
        return "^" + code;
      case 2:
        return code + "?";
      case 3:
        return code + "\xB6";
      case 4:
        return Pick(2) ? "?" : "\xB6";
      case 5:
        return Pick(2) ? "\\" : "\\\\";
      case 6:
        return code + (Pick(2) ? "_" : "..") + kCodes[Pick(9)] + (Pick(2) ? "!" : "");
      default:
        return code;
    }
  }

  std::mt19937 random_;
};

// The printed form selects the same set and prints the same again (it may compile to another
// program: A|(B|C) prints as A|B|C, which groups from the left).
TEST_F(ComponentExpressionTest, PrintedFormsSelectTheSameSet) {
  ExpressionGenerator generator(12345);
  for (int i = 0; i < 3000; ++i) {
    const std::string typed = generator.Expression(3);
    SCOPED_TRACE("typed: " + typed);
    std::optional<ComponentExpression> expression = Compile(typed);
    ASSERT_TRUE(expression.has_value());
    for (bool with_blanks : {false, true}) {
      const std::string printed = expression->Print(db_, with_blanks);
      std::optional<ComponentExpression> again = Compile(printed);
      ASSERT_TRUE(again.has_value()) << printed;
      EXPECT_EQ(Codes(*again), Codes(*expression)) << printed;
      EXPECT_EQ(again->Print(db_, with_blanks), printed);
    }
  }
}

TEST_F(ComponentExpressionTest, HostileTextsCompileSoundly) {
  std::string chain;
  for (int i = 0; i < 10000; ++i) chain += i % 2 ? "1|" : "\xAC(2&";
  std::optional<ComponentExpression> expression = Compile(chain);
  ASSERT_TRUE(expression.has_value());
  Codes(*expression);
  std::string flat;
  for (int i = 0; i < 10000; ++i) flat += "10|";
  expression = Compile(flat);
  ASSERT_TRUE(expression.has_value());
  EXPECT_EQ(Codes(*expression), (std::set<std::string>{"10", "100", "101"}));
  EXPECT_EQ(Compile(expression->Print(db_, false))->ops(), expression->ops());

  std::string bytes;
  for (int c = 0x80; c <= 0xFF; ++c) bytes += static_cast<char>(c);
  const ComponentChooser choose_3 = [this](const Database&, int, std::string_view) {
    return Ref("3");
  };
  expression = Compile("1|" + bytes, choose_3);
  ASSERT_TRUE(expression.has_value());
  for (const char* text :
       {"'", "\"", "''", "_", "..", "!", "^", "1_", "1..", "((((", "))))", "\\\\\\"}) {
    SCOPED_TRACE(text);
    std::optional<ComponentExpression> odd = Compile(text, choose_3);
    if (odd) {
      EXPECT_EQ(Compile(odd->Print(db_, false), choose_3)->ops(), odd->ops());
    }
  }
}

}  // namespace
}  // namespace jov
