#include "io/import_fields.h"

#include <gtest/gtest.h>

namespace jov {
namespace {

FieldPart P(int field, int first = 0, int last = 0, std::string default_text = "",
            unsigned char insert = 0) {
  return FieldPart{field, first, last, std::move(default_text), insert};
}

TEST(ImportFieldsTest, PartsOfVariableAndFixedRows) {
  struct Case {
    FieldLayout layout;
    bool exclude_controls;
    std::string row;
    FieldPart part;
    std::string text;
  };
  const std::string fixed = "\nH  0701 4010 Office rent   1.234,50";
  const Case cases[] = {
      {FieldLayout::kVariable, true, "a\tbb\tccc", P(2), "bb"},
      {FieldLayout::kVariable, true, "a\tbb\tccc", P(3, 2), "cc"},
      {FieldLayout::kVariable, true, "a\tbb\tccc", P(3, 2, 2), "c"},
      {FieldLayout::kVariable, true, "a\tbb\tccc", P(3, 5, 9), ""},
      {FieldLayout::kVariable, true, "a\tbb\tccc", P(4), ""},  // past the last field
      {FieldLayout::kVariable, true, "a\tbb\tccc", P(0), ""},  // no field, no positions
      {FieldLayout::kVariable, true, "a\tbb\tccc", P(0, 1), "a"},
      {FieldLayout::kVariable, true, "a\t\tccc", P(2), ""},
      {FieldLayout::kVariable, true,
       "\na\tb\x01"
       "cd",
       P(2, 2, 2), "c"},
      {FieldLayout::kVariable, false,
       "\na\tb\x01"
       "cd",
       P(2, 2, 2), ""},  // the control counts
      {FieldLayout::kVariable, false,
       "\na\tb\x01"
       "cd",
       P(2, 3), "cd"},
      {FieldLayout::kFixed, true, fixed, P(0, 1, 1), "H"},
      {FieldLayout::kFixed, true, fixed, P(9, 4, 7), "0701"},  // the field number is not used
      {FieldLayout::kFixed, true, fixed, P(0, 14, 24), "Office rent"},
      {FieldLayout::kFixed, true, fixed, P(0, 28), "1.234,50"},
      {FieldLayout::kFixed, false, fixed, P(0, 2, 2), "H"},  // the LF counts as position 1
      {FieldLayout::kFixed, true, fixed, P(0), ""},
      {FieldLayout::kFixed, true, "ab$c d", P(0, 1), "abc d"},  // "$" is excluded below
  };
  for (const Case& c : cases) {
    ImportSetup setup;
    setup.layout = c.layout;
    setup.exclude_control_characters = c.exclude_controls;
    setup.excluded_characters = "$";
    FieldReader reader(setup);
    reader.SetRow(c.row);
    EXPECT_EQ(reader.Part(c.part), c.text)
        << c.row << " field " << c.part.field << " " << c.part.first << "-" << c.part.last;
  }
}

TEST(ImportFieldsTest, APartIsCutAfter4097Characters) {
  ImportSetup setup;
  FieldReader reader(setup);
  const std::string row(10000, 'x');
  reader.SetRow(row);
  EXPECT_EQ(reader.Part(P(1)).size(), FieldReader::kMaxPartCharacters);
  EXPECT_EQ(reader.Part(P(1, 1000)).size(), FieldReader::kMaxPartCharacters);
  EXPECT_EQ(reader.Part(P(1, 1000, 1009)).size(), 10u);
}

TEST(ImportFieldsTest, TheFourJoins) {
  ImportSetup setup;
  setup.field_separator = ';';
  FieldReader reader(setup);
  reader.SetRow("H;5;;12 ;2024;  ");
  std::string out;

  EXPECT_TRUE(reader.Matches(FieldSpec{}));
  EXPECT_TRUE(reader.Matches(FieldSpec{{P(1, 0, 0, "H")}}));
  EXPECT_FALSE(reader.Matches(FieldSpec{{P(1, 0, 0, "h")}}));
  EXPECT_TRUE(reader.Matches(FieldSpec{{P(1, 0, 0, "H"), P(3)}}));  // no default: empty text
  EXPECT_FALSE(reader.Matches(FieldSpec{{P(1, 0, 0, "H"), P(2)}}));

  reader.PlainJoin(FieldSpec{{P(2, 0, 0, "", '-'), P(4)}}, out);
  EXPECT_EQ(out, "512");  // no insert characters, trailing blanks gone

  // Insert characters only between texts that are there; the previous part's character.
  reader.TextJoin(FieldSpec{{P(5, 0, 0, "", '/'), P(3, 0, 0, "", '-'), P(2)}}, out);
  EXPECT_EQ(out, "2024-5");
  reader.TextJoin(FieldSpec{{P(3, 0, 0, "none", '/'), P(6)}}, out);
  EXPECT_EQ(out, "none");  // empty: the first part's default text

  reader.CodeJoin(FieldSpec{{P(2, 0, 0, "", '-'), P(3, 0, 0, "", '.'), P(2)}}, out);
  EXPECT_EQ(out, "5-.5");  // every insert character, empty texts or not
}

}  // namespace
}  // namespace jov
