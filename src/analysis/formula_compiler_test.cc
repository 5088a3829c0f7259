#include "analysis/formula_compiler.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "analysis/formula_test_util.h"

namespace jov {
namespace {

constexpr double kNaN = kMissingNumber;

struct TextCase {
  const char* text;
  double value;
  const char* corrected = nullptr;  // the text after compiling; nullptr: unchanged
};

void ExpectCases(std::initializer_list<TextCase> cases, const FormulaNameTable& names = {}) {
  for (const TextCase& c : cases) {
    std::string text = c.text;
    const std::optional<CompiledFormula> formula = CompileFormula(text, names);
    ASSERT_TRUE(formula) << c.text;
    const double value = formula->Evaluate(names.Values());
    EXPECT_TRUE(SameValue(value, c.value)) << c.text << " gave " << value;
    EXPECT_EQ(text, c.corrected ? c.corrected : c.text) << c.text;
  }
}

TEST(FormulaCompilerTest, PrioritiesAndAssociativity) {
  ExpectCases({
      {"2^3^2", 512},    {"2 ** 3 ** 2", 512}, {"-2^2", -4},      {"2^-1", 0.5},
      {"2^-1^2", 0.5},   {"(-2)^2", 4},        {"2 * 3 ^ 2", 18}, {"2 ^ 3 * 2", 16},
      {"10 - 4 - 3", 3}, {"64 / 4 / 2", 8},    {"17 : 5 : 2", 0}, {"1 + 2 * 3", 7},
      {"-3 * -3", 9},    {"+-+3", -3},         {"2 - -3", 5},     {"- - 3", 3},
      {"7 : 3", 1},      {"-7 : 3", -1},       {"7 : 0", 0},
  });
}

TEST(FormulaCompilerTest, FunctionsTakeTheNextUnary) {
  ExpectCases({
      {"sqrt 16 + 9", 13},
      {"sqrt(16 + 9)", 5},
      {"sqrt 2^4", 4},
      {"sqrt -4", kNaN},
      {"abs -3 * 2", 6},
      {"int -2.7", -2},
      {"round -2.5", -2},
      {"down -2.5", -3},
      {"up -2.5", -2},
      {"lg 8", 3},
      {"log2 8", 3},
      {"log 1000", 3},
      {"SQRT 4", 2, "sqrt 4"},
      {"Exp10 2", 100, "exp10 2"},
      {"sinx", kNaN, "sin"},  // "sin" of the unreadable "x"
  });
  EXPECT_NEAR(EvaluateText("frac -2.7"), -0.7, 1e-15);
}

TEST(FormulaCompilerTest, Operands) {
  ExpectCases({{"50%", 0.5},
               {"50 %", 0.5},
               {"1.5E3", 1500},
               {"0x1F", 31},
               {"#17", 15},
               {"1.234,5 * 2", 2469},
               {"2 * pi", 2 * std::numbers::pi},
               {"PI", std::numbers::pi, "pi"},
               {"pi%", std::numbers::pi * 0.01},
               {"%", kNaN},
               {"1/0", kPlusInfinity}});
}

TEST(FormulaCompilerTest, UnreadTextIsCutAndBracketsAreForgiving) {
  ExpectCases({
      {"3 +", kNaN},
      {"(1 + 2", 3},
      {"1 + 2) * 3", 3, "1 + 2"},
      {"1 + 2 garbage", 3, "1 + 2 "},
      {"[1 + 2} * 3", 9},
      {"{1 + 2; * 3", 9},
      {"(1 + 2 x * 3", 9},  // whatever ends the inner expression closes the bracket
      {"((2", 2},
      {"2 3", 23},  // blanks inside a number are read over
      {"0x", 0, "0"},
      {"0xg", 0, "0"},
      {"1 + 2 ** ", kNaN},
  });
}

TEST(FormulaCompilerTest, NothingReadCompilesToNothing) {
  for (const char* source : {"", "   ", ")", "  )x", "!", "\x80"}) {
    std::string text = source;
    EXPECT_FALSE(CompileFormula(text, {})) << source;
    EXPECT_EQ(text, "") << source;
  }
  EXPECT_TRUE(std::isnan(EvaluateFormulaText("")));
  EXPECT_TRUE(std::isnan(EvaluateFormulaText("abc")));
  EXPECT_EQ(EvaluateFormulaText("1,5 * 2"), 3);
  EXPECT_EQ(EvaluateFormulaText("2^10 - 24"), 1000);
}

TEST(FormulaCompilerTest, NameLookupOrder) {
  // The longest name of three or more characters wins over shorter names and keywords.
  ExpectCases({{"sales*2", 20}, {"SALES - s", 7, "sales - s"}, {"s", 3}},
              MakeNames({{"s", 3}, {"sales", 10}}));
  // Among short names the longest wins too.
  ExpectCases({{"sa", 2}, {"s", 1}, {"s+sa", 3}}, MakeNames({{"s", 1}, {"sa", 2}}));
  // A name "sin" hides the sine; a one-letter name does not hide "sqrt" or "sign".
  ExpectCases({{"sin", 5}, {"sin + 1", 6}, {"sqrt 16", 4}, {"s * 2", 4}, {"sign s", 1}},
              MakeNames({{"sin", 5}, {"s", 2}}));
  // Names with blanks and other characters, written back as the table has them.
  ExpectCases({{"net sales - NET", 60, "Net sales - Net"}, {"a-b - 1", 1}},
              MakeNames({{"Net", 40}, {"Net sales", 100}, {"a-b", 2}}));
  // Letters beyond ASCII fold by the 8-bit case table.
  ExpectCases({{"\xC5R * 2", 4, "\xE5r * 2"}, {"\xC4\xD7", 5, "\xE4\xD7"}},
              MakeNames({{"\xE5r", 2}, {"\xE4\xD7", 5}, {"\xE4\xF7", 6}}));
}

TEST(FormulaCompilerTest, NameTableHoldsAtMost4096Entries) {
  FormulaNameTable names;
  for (size_t i = 0; i < kMaxFormulaNames; ++i) ASSERT_TRUE(names.Add("n" + std::to_string(i)));
  EXPECT_FALSE(names.Add("one too many"));
  names.SetValue(4095, 7);
  std::string text = "n4095 * 2";
  const auto formula = CompileFormula(text, names);
  ASSERT_TRUE(formula);
  EXPECT_TRUE(formula->UsesName(4095));
  EXPECT_EQ(formula->Evaluate(names.Values()), 14);
}

struct CursorCase {
  const char* text;
  size_t cursor;
  const char* name;
};

TEST(FormulaCompilerTest, NameAtCursor) {
  const CursorCase cases[] = {
      {"sales + cost", 0, "sales"},
      {"sales + cost", 3, "sales"},
      {"sales + cost", 5, "sales"},
      {"sales + cost", 6, ""},
      {"sales + cost", 12, "cost"},
      {"sales + cost", 99, "cost"},
      {"(x)/y", 1, "x"},
      {"(x)/y", 5, "y"},
      {"a^b:c", 2, "a^b:c"},
      {"#17!", 2, "17"},
      {"", 0, ""},
  };
  for (const CursorCase& c : cases) {
    EXPECT_EQ(FormulaNameAtCursor(c.text, c.cursor), c.name) << c.text << " at " << c.cursor;
  }
}

// Texts no one would type: each compiles quickly to a formula that evaluates, or to nothing, and
// compiling the corrected text again changes nothing.
void ExpectSoundCompile(const std::string& source, const FormulaNameTable& names) {
  std::string text = source;
  const std::optional<CompiledFormula> formula = CompileFormula(text, names);
  EXPECT_LE(text.size(), kMaxFormulaTextLength);
  if (!formula) return;
  formula->Evaluate(names.Values());
  std::string again = text;
  const std::optional<CompiledFormula> recompiled = CompileFormula(again, names);
  ASSERT_TRUE(recompiled);
  EXPECT_EQ(again, text);
  EXPECT_TRUE(std::equal(formula->code().begin(), formula->code().end(), recompiled->code().begin(),
                         recompiled->code().end()));
}

std::string Repeat(std::string_view piece, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(FormulaCompilerTest, HostileTexts) {
  const FormulaNameTable names = MakeNames({{"a", 2}, {"\xE9t\xE9", 3}, {"x\x80y", 4}});
  const std::vector<std::string> texts = {
      Repeat("(", 100000) + "1" + Repeat(")", 100000),
      Repeat("-", 100000) + "1",
      Repeat("sqrt ", 20000) + "4",
      Repeat("2^", 50000) + "2",
      Repeat("1+", 50000) + "1",
      "a" + Repeat("/", 99999),
      Repeat("a/a+", 25000),
      std::string(100000, '1'),
      std::string(100000, '\0'),
      "1+" + std::string(1, '\0') + "+2",
      Repeat("\xE9T\xC9*", 25000),
  };
  for (const std::string& text : texts) ExpectSoundCompile(text, names);

  std::mt19937 random(11);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> sparse(0, 15);
  for (int round = 0; round < 40; ++round) {
    std::string bytes(100000, ' ');
    for (char& c : bytes)
      c = static_cast<char>(round % 2 ? byte(random) : "0+(*a^-.,e$#%)x "[sparse(random)]);
    ExpectSoundCompile(bytes, names);
  }
}

TEST(FormulaCompilerTest, NestingBeyondTheLimitIsCut) {
  std::string text = Repeat("(", 300) + "1" + Repeat(")", 300);
  const auto formula = CompileFormula(text, {});
  ASSERT_TRUE(formula);
  EXPECT_EQ(text, Repeat("(", kMaxFormulaNesting));
  EXPECT_TRUE(std::isnan(formula->Evaluate({})));

  std::string just_deep_enough = Repeat("(", kMaxFormulaNesting - 1) + "1";
  EXPECT_EQ(EvaluateText(just_deep_enough), 1);
}

// Generated formulas: random expression trees, printed as a user might type them (minimal
// brackets of any kind, blanks, any letter case, every notation of numbers), then compiled and
// compared with a direct recursive evaluation of the tree.
class FormulaTree {
 public:
  explicit FormulaTree(uint32_t seed) : random_(seed) {}

  // The names the trees use, with values that change per round.
  static constexpr std::array<const char*, 5> kNames = {"cost", "Revenue", "q", "xy", "T"};

  struct Printed {
    std::string text;
    double value;
  };

  Printed Generate(const std::array<double, kNames.size()>& values) {
    values_ = &values;
    return Node(4, kExpression);
  }

 private:
  // Grammar levels, loosest first: what a printed node needs to stand unbracketed.
  enum Level { kExpression, kTerm, kUnary, kPrimary };

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  std::string Blanks() { return std::string(Pick(3) == 0 ? 1 : 0, ' '); }

  std::string AnyCase(std::string_view word) {
    std::string text(word);
    for (char& c : text) {
      if (Pick(2) == 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
  }

  // Brackets `printed` when its level is looser than `needed` (or at random), with an opening
  // bracket of any kind and a closing character that cannot continue the expression.
  Printed Fit(Printed printed, Level level, Level needed) {
    if (level >= needed && Pick(8) != 0) return printed;
    const std::string_view openers = "([{";
    const std::string_view closers = ")]};!";
    printed.text = std::string(1, openers[Pick(3)]) + Blanks() + printed.text + Blanks() +
                   std::string(1, closers[Pick(5)]);
    return printed;
  }

  Printed Node(int depth, Level needed) {
    const int kind = depth == 0 ? Pick(2) : Pick(6);
    if (kind == 0) return Number();
    if (kind == 1) return Name();
    if (kind == 2) return Fit(Negation(depth), kUnary, needed);
    if (kind == 3) return Fit(Function(depth), kUnary, needed);
    return Binary(depth, needed);
  }

  Printed Number() {
    struct Notation {
      const char* text;
      double value;
    };
    static constexpr Notation kNotations[] = {
        {"17", 17},         {"2,5", 2.5},           {"1,234.5", 1234.5}, {"1.234,5", 1234.5},
        {"1 234", 1234},    {"1.5E3", 1500},        {"25e-1", 2.5},      {"0x1F", 31},
        {"$A.8", 10.5},     {"#7,4", 7.5},          {"0.1", 0.1},        {"0", 0},
        {"50%", 50 * 0.01}, {"12.5 %", 12.5 * 0.01}};
    if (Pick(10) == 0) return {AnyCase("pi"), std::numbers::pi};
    const Notation& n = kNotations[Pick(std::size(kNotations))];
    return {n.text, n.value};
  }

  Printed Name() {
    const int index = Pick(kNames.size());
    return {AnyCase(kNames[index]), (*values_)[index]};
  }

  Printed Negation(int depth) {
    const Printed operand = Node(depth - 1, kUnary);
    return {"-" + Blanks() + operand.text, -operand.value};
  }

  // Functions that no rule of the language joins with one another, so that evaluating the tree
  // node by node is the language's own result.
  Printed Function(int depth) {
    struct Function {
      const char* keyword;
      double (*apply)(double);
    };
    static constexpr Function kFunctions[] = {
        {"abs", [](double x) { return std::fabs(x); }},
        {"sign", [](double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }},
        {"sqrt", [](double x) { return std::sqrt(x); }},
        {"exp", [](double x) { return std::exp(x); }},
        {"exp10", [](double x) { return std::pow(10.0, std::trunc(x)); }},
        {"lg", [](double x) { return std::log(x) / std::log(2.0); }},
        {"sin", [](double x) { return std::sin(x); }},
        {"asin", [](double x) { return std::asin(x); }},
        {"frac", [](double x) { return x - std::trunc(x); }},
        {"round", [](double x) { return std::floor(x + 0.5); }},
    };
    const Function& f = kFunctions[Pick(std::size(kFunctions))];
    const Printed operand = Node(depth - 1, kUnary);
    return {AnyCase(f.keyword) + " " + operand.text, f.apply(operand.value)};
  }

  static double Remainder(double a, double b) {
    if (b == 0) return 0;
    if (std::isinf(b) || std::isnan(b)) return a;
    if (a == 0 || std::isinf(a) || std::isnan(a)) return 0;
    return std::fmod(a, b);
  }

  Printed Binary(int depth, Level needed) {
    struct Operator {
      const char* text;
      Level level;        // the level of the whole
      Level left, right;  // what its operands must be
      double (*apply)(double, double);
    };
    static constexpr Operator kOperators[] = {
        {"+", kExpression, kExpression, kTerm, [](double a, double b) { return a + b; }},
        {"-", kExpression, kExpression, kTerm, [](double a, double b) { return a - b; }},
        {"*", kTerm, kTerm, kUnary, [](double a, double b) { return a * b; }},
        {"/", kTerm, kTerm, kUnary, [](double a, double b) { return a / b; }},
        {":", kTerm, kTerm, kUnary, Remainder},
        {"^", kUnary, kPrimary, kUnary, [](double a, double b) { return std::pow(a, b); }},
        {"**", kUnary, kPrimary, kUnary, [](double a, double b) { return std::pow(a, b); }},
    };
    const Operator& op = kOperators[Pick(std::size(kOperators))];
    // A function swallows a power after it, so a function as a base is always bracketed.
    Printed left = Node(depth - 1, op.left);
    const Printed right = Node(depth - 1, op.right);
    left.text = left.text + Blanks() + op.text + Blanks() + right.text;
    left.value = op.apply(left.value, right.value);
    return Fit(left, op.level, needed);
  }

  std::mt19937 random_;
  const std::array<double, kNames.size()>* values_ = nullptr;
};

TEST(FormulaCompilerTest, GeneratedFormulasEvaluateAsTheirTrees) {
  FormulaNameTable names;
  for (const char* name : FormulaTree::kNames) names.Add(name);
  FormulaTree tree(2024);
  std::mt19937 random(99);
  const std::array<double, 8> samples = {0, 1, -1, 2.5, -0.75, 1e6, kNaN, kPlusInfinity};
  for (int round = 0; round < 5000; ++round) {
    std::array<double, FormulaTree::kNames.size()> values;
    for (size_t i = 0; i < values.size(); ++i) {
      values[i] = samples[random() % (round % 4 ? 6 : samples.size())];
      names.SetValue(i, values[i]);
    }
    const FormulaTree::Printed printed = tree.Generate(values);
    std::string text = printed.text;
    const auto formula = CompileFormula(text, names);
    ASSERT_TRUE(formula) << printed.text;
    const double value = formula->Evaluate(names.Values());
    ASSERT_TRUE(SameValue(value, printed.value))
        << printed.text << " gave " << value << ", the tree " << printed.value;
    ASSERT_EQ(text.size(), printed.text.size()) << printed.text << " became " << text;
  }
}

}  // namespace
}  // namespace jov
