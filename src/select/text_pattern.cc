#include "select/text_pattern.h"

#include <utility>

#include "select/criterion_text.h"

namespace jov {
namespace {

// The characters that end a plain literal.
bool EndsLiteral(char c) {
  return c == kCloseChar || IsBinaryOperatorChar(c) || c == kComplementChar;
}

// True when the folded `literal` occurs in the text, comparing folded characters.
bool ContainsFolded(const char* chars, size_t length, std::string_view literal) {
  if (literal.size() > length) return false;
  const unsigned char* fold = UpperCaseTable();
  const auto first = static_cast<unsigned char>(literal[0]);
  const size_t last_start = length - literal.size();
  for (size_t i = 0; i <= last_start; ++i) {
    if (FoldWith(fold, chars[i]) != first) continue;
    size_t k = 1;
    while (k < literal.size() &&
           FoldWith(fold, chars[i + k]) == static_cast<unsigned char>(literal[k])) {
      ++k;
    }
    if (k == literal.size()) return true;
  }
  return false;
}

class TextAtomReader : public AtomReader {
 public:
  TextAtomReader(BooleanProgramBuilder<TextTest>& builder, std::vector<AdvancedPattern>& advanced)
      : builder_(builder), advanced_(advanced) {}

  bool ReadAtom(std::string_view text, size_t* pos, std::string* out) override {
    const char c = text[*pos];
    if (c == kCloseChar) return false;
    if (IsBinaryOperatorChar(c)) {
      // An empty literal before an operator stands for the empty text.
      AddEmptyTest(out);
      return true;
    }
    if (c == kBackslashChar) return ReadBackslash(text, pos, out);
    const size_t start = *pos;
    while (*pos < text.size() && !EndsLiteral(text[*pos])) ++*pos;
    const std::string_view literal = text.substr(start, *pos - start);
    out->append(literal);
    TextTest test{TextTest::kContains, std::string(literal)};
    for (char& ch : test.folded) ch = static_cast<char>(Fold(ch));
    builder_.AddTest(std::move(test));
    return true;
  }

 private:
  void AddEmptyTest(std::string* out) {
    out->push_back(kBackslashChar);
    builder_.AddTest({TextTest::kEmpty, {}});
  }

  bool ReadBackslash(std::string_view text, size_t* pos, std::string* out) {
    ++*pos;
    if (*pos >= text.size() || EndsLiteral(text[*pos]) || text[*pos] == '}') {
      AddEmptyTest(out);
      return true;
    }
    out->push_back(kBackslashChar);
    advanced_.push_back(AdvancedPattern::Read(text, pos, out));
    builder_.AddTest({TextTest::kAdvanced, {}, static_cast<uint32_t>(advanced_.size() - 1)});
    return true;
  }

  BooleanProgramBuilder<TextTest>& builder_;
  std::vector<AdvancedPattern>& advanced_;
};

}  // namespace

TextPattern::TextPattern(BooleanProgram<TextTest> program, std::vector<AdvancedPattern> advanced)
    : program_(std::move(program)), advanced_(std::move(advanced)) {
  empty_text_result_ = Matches("", 0);
}

std::optional<TextPattern> TextPattern::Compile(std::string& text) {
  return CompileCriterion(text, [](std::string& cut) -> std::optional<TextPattern> {
    // As in value conditions, a run of dots stands for "_" (in advanced patterns the range
    // mark), so texts typed or stored with dots read alike everywhere.
    ReplaceDotRuns(cut);
    BooleanProgramBuilder<TextTest> builder;
    std::vector<AdvancedPattern> advanced;
    TextAtomReader reader(builder, advanced);
    std::optional<BooleanProgram<TextTest>> program =
        CompileBooleanProgram(cut, reader, builder, /*skip_blanks=*/false);
    if (!program) return std::nullopt;
    return TextPattern(std::move(*program), std::move(advanced));
  });
}

bool TextPattern::Matches(const char* chars, size_t length) const {
  return program_.Run([&](const TextTest& test) {
    switch (test.kind) {
      case TextTest::kContains:
        return ContainsFolded(chars, length, test.folded);
      case TextTest::kEmpty:
        return length == 0;
      case TextTest::kAdvanced:
        return advanced_[test.advanced].Matches(chars, length);
    }
    return false;
  });
}

}  // namespace jov
