#include "files/section_writer.h"

#include <gtest/gtest.h>

#include "files/kept_sections.h"
#include "files/protection_section.h"
#include "files/stream_test_util.h"
#include "shell/process.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

using testing::ReadStream;
using testing::WriteStream;

// A database that uses every key of the model's sections, and keeps a section of every kind
// that upper layers own.
constexpr std::string_view kEveryKey =
    "##Characters\r\nU\t\xC4\xC1\xC0\r\n"
    "##Protection\tsecret\r\nA\tB\r\nC\r\n"
    "##Creator\r\nN\tsomeone\r\n"
    "##BaseOptions\r\nCN\t4\r\nCD\t3\r\nCT\tVoucher\r\nLT\tMemo\r\n"
    "LV\tAmount\t\tQuantity\r\nLN\t3\r\nR\t240630-2\r\nEC\t5000\r\n"
    "##SaveSetup\tYearly\r\nFT\r\nFZ-\r\nSH-\r\nSP+\r\nSC-\r\nDF\tACUN\r\nDL\tCHTC\r\n"
    "BD1\t1*\r\nBC\t240101\t241231\r\nCT+\r\nGL\r\nTF\tSales*\r\nTO+\r\nM2\t4\r\nM3\t-\r\n\r\n"
    "##ImportSetup\tBank\r\nline one\r\n\r\nline three\r\n"
    "##TimeScale\tMonths\r\nPM\r\n"
    "##Macro\tNightly\r\nsave\r\n"
    "##Dimension\t1\r\n-N\tAccount\tAccounts\r\n-C\tS\r\n-T\tW\r\n-H\tL\r\n-S\tCHT\r\n-I\tF\r\n"
    "-X\t+\r\n-W\t100\t0\t90\r\n1\tAssets\tA\r\n10\tCash\r\n1000\tPetty cash\tPC\r\n2\tDebts\r\n"
    "##DimImport\t1\r\nsetup body\r\n"
    "##Dimension\t3\r\nP1\tProject one\tX1\r\nP2\r\n"
    "##Cards\r\n-DH\t3\r\n"
    "C240101-0001\tFirst card\r\nN2401011000AB\tline one\x03line\x04two\r\n"
    "S2401010900AB\t2401021000CD\t\t2401031100EF\r\n"
    "G1000\r\nL1.5\t\\\t- inf\ta text\t\tX1\r\nL-2\t0.001\t+ inf\r\nG2\r\nL3\r\n"
    "C240101-0002\r\nG\r\nL4\t5\t6\r\n"
    "##Subset\tBig ones\r\nVV1\t>1000\r\n"
    "##Templates\r\n#L\tLines\r\nbody\r\n"
    "##Defaults\r\n#C\r\ndefaults\r\n"
    "##Commands\r\nsave\r\n"
    "##End\r\n";

class SectionWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
};

TEST_F(SectionWriterTest, EveryKeyRoundTripsToTheSameBytes) {
  Database first;
  ASSERT_TRUE(ReadStream(first, kEveryKey).ok);
  const std::string written = WriteStream(first);
  Database second;
  const ReadResult again = ReadStream(second, written);
  ASSERT_TRUE(again.ok);
  EXPECT_TRUE(again.saw_end);
  EXPECT_EQ(WriteStream(second), written);

  // What was read is what the file said.
  EXPECT_EQ(second.card_digits(), 4);
  EXPECT_EQ(second.value_decimals(), 3);
  EXPECT_EQ(second.GetName(name_id::kCardTitle), "Voucher");
  EXPECT_EQ(second.value_field_name(2), "Quantity");
  EXPECT_EQ(second.value_field_count(), 3);
  EXPECT_EQ(CardIdText(second.reference_point()), "240630-2");
  const Dimension& accounts = second.dimension(0);
  EXPECT_EQ(accounts.plural_name(), "Accounts");
  EXPECT_EQ(accounts.case_option(ComponentField::kCode), CaseOption::kCaseSensitive);
  EXPECT_EQ(accounts.case_option(ComponentField::kText), CaseOption::kWordCaps);
  EXPECT_EQ(accounts.display(), DisplayFields::kCHT);
  EXPECT_EQ(accounts.ordering(), 'F');
  EXPECT_TRUE(accounts.must_fill());
  EXPECT_EQ(accounts.width(ComponentField::kHost), 90);
  const ComponentRef petty = second.FindByCode(0, "1000");
  EXPECT_EQ(second.component(second.component(petty).parent).code, "10");
  EXPECT_EQ(second.component(petty).host, "pc");  // lower-case host option

  const CardStore& cards = second.cards();
  const CardRef card = cards.FirstCard();
  EXPECT_EQ(cards.Title(card), "First card");
  EXPECT_EQ(cards.Notes(card), "line one\rline\ttwo");
  EXPECT_EQ(StampText(cards.card(card).modified), "2401021000CD");
  const GroupRef group = cards.card(card).first_group;
  const LineRef line = cards.group(group).first_line;
  EXPECT_EQ(cards.GetValue(line, 0), 1.5);
  EXPECT_TRUE(IsMissing(cards.GetValue(line, 1)));
  EXPECT_EQ(cards.GetValue(line, 2), kMinusInfinity);
  EXPECT_EQ(cards.LineText(line), "a text");
  EXPECT_EQ(second.LineComponent(group, line, 2), second.FindByCode(2, "P1"));
  EXPECT_EQ(cards.GetValue(cards.lines().next(line), 2), kPlusInfinity);

  EXPECT_EQ(second.Attached<DatabasePassword>().password.GetPassword(), "secret");
  EXPECT_EQ(second.Attached<DatabasePassword>().password.entries.size(), 2u);
  const SaveSetup& yearly = second.Attached<SaveSetups>().named().at(0);
  EXPECT_EQ(yearly.format, 'T');
  EXPECT_FALSE(yearly.compressed);
  EXPECT_FALSE(yearly.Saves(SaveSection::kCards));
  EXPECT_EQ(yearly.components[3], ComponentChoice::kNone);
  EXPECT_EQ(yearly.identifiers[2], IdentifierKind::kText);
  EXPECT_EQ(yearly.selection_lines.size(), 2u);
  EXPECT_EQ(yearly.level, 'L');
  EXPECT_EQ(yearly.new_numbers[1], 4);
  EXPECT_EQ(yearly.new_numbers[2], SaveSetup::kNumberNone);
  EXPECT_NE(written.find("M2\t4\r\nM3\t-\r\n"), std::string::npos);
  EXPECT_EQ(second.Attached<SaveSetups>().in_effect().identifiers[2], IdentifierKind::kHost);
}

TEST_F(SectionWriterTest, KeptSectionsAreWrittenBackInTheirPlaces) {
  Database database;
  ASSERT_TRUE(ReadStream(database, kEveryKey).ok);
  const std::string written = WriteStream(database);
  std::vector<std::string> order;
  for (size_t at = written.find("##"); at != std::string::npos; at = written.find("\n##", at + 1)) {
    const size_t start = written[at] == '\n' ? at + 3 : at + 2;
    order.push_back(written.substr(start, written.find_first_of("\t\r", start) - start));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Characters", "Protection", "Creator", "BaseOptions",
                                             "SaveSetup", "ImportSetup", "TimeScale", "Macro",
                                             "Dimension", "DimImport", "Dimension", "Cards",
                                             "Subset", "Templates", "Defaults", "End"}));
  EXPECT_NE(written.find("##ImportSetup\tBank\r\nline one\r\n\r\nline three\r\n"),
            std::string::npos);
}

TEST_F(SectionWriterTest, SectionFlagsAndTheCreatorOptionDecideWhatIsWritten) {
  Database database;
  ASSERT_TRUE(ReadStream(database, kEveryKey).ok);
  SaveSetup setup;
  setup.sections.fill(false);
  WriteOptions options;
  options.write_creator = false;
  options.line_end = text_format::kBinaryLineEnd;
  EXPECT_EQ(WriteStream(database, setup, options), "##End\r");
  setup.sections[static_cast<int>(SaveSection::kBaseOptions)] = true;
  EXPECT_EQ(WriteStream(database, setup, options),
            "##BaseOptions\rCN\t4\rCD\t3\rCT\tVoucher\rLT\tMemo\rLV\tAmount\t\tQuantity\rLN\t3\r"
            "R\t240630-2\rEC\t" +
                std::to_string(database.index().count()) + "\r##End\r");
}

// Labels and value-field names hold at most 64 characters, however long the file's are.
TEST_F(SectionWriterTest, LabelsLongerThan64CharactersAreCut) {
  const std::string long_label(64, 'x');
  Database database;
  ASSERT_TRUE(ReadStream(database, "##BaseOptions\nCT\t" + long_label + "title\nLT\t" + long_label +
                                       "text\nLV\t" + long_label + "value\n")
                  .ok);
  EXPECT_EQ(database.card_title_label(), long_label);
  EXPECT_EQ(database.line_text_label(), long_label);
  EXPECT_EQ(database.value_field_name(0), long_label);
  SaveSetup setup;
  setup.sections.fill(false);
  setup.sections[static_cast<int>(SaveSection::kBaseOptions)] = true;
  const std::string written = WriteStream(database, setup);
  EXPECT_NE(written.find("\r\nCT\t" + long_label + "\r\nLT\t" + long_label + "\r\nLV\t" +
                         long_label + "\r\n"),
            std::string::npos)
      << written;
  database.SetCardTitleLabel(long_label + "more");
  EXPECT_EQ(database.GetName(name_id::kCardTitle), long_label);
}

// Identifier columns follow the dimension numbering; the dimension sections and "-D" lines go
// with them.
TEST_F(SectionWriterTest, RenumberedDimensionsMoveTheirColumnsAndSections) {
  Database database;
  ASSERT_TRUE(ReadStream(database,
                         "##Dimension\t2\nB1\tBee\n##Dimension\t3\nC1\tSee\n"
                         "##Cards\n-DT\t3\nC240101-1\nG\nL1\t\tB1\tSee\n##End\n")
                  .ok);
  SaveSetup setup = database.Attached<SaveSetups>().in_effect();
  setup.sections[static_cast<int>(SaveSection::kSaveSetups)] = false;
  setup.new_numbers[1] = 5;  // dimension 2 is saved as 5, 3 keeps its number
  const std::string written = WriteStream(database, setup);
  EXPECT_NE(written.find("##Dimension\t3\r\nC1\tSee\r\n##Dimension\t5\r\nB1\tBee\r\n"),
            std::string::npos);
  EXPECT_NE(written.find("-DT\t3\r\n"), std::string::npos);
  EXPECT_NE(written.find("L1\t\t\tSee\t\tB1\r\n"), std::string::npos);

  Database moved;
  ASSERT_TRUE(ReadStream(moved, written).ok);
  const CardStore& cards = moved.cards();
  const GroupRef group = cards.card(cards.FirstCard()).first_group;
  const LineRef line = cards.group(group).first_line;
  EXPECT_EQ(moved.component(moved.LineComponent(group, line, 4)).text, "Bee");
  EXPECT_EQ(moved.component(moved.LineComponent(group, line, 2)).code, "C1");
}

TEST_F(SectionWriterTest, ComponentOptionsChooseTheComponentsWritten) {
  Database database;
  ASSERT_TRUE(ReadStream(database,
                         "##Dimension\t2\n1\n11\n111\n12\n2\n"
                         "##Cards\nC240101-1\nG\nL1\t\t111\n##End\n")
                  .ok);
  SaveSetup setup;
  setup.sections.fill(false);
  setup.sections[static_cast<int>(SaveSection::kDimensions)] = true;
  const struct {
    ComponentChoice choice;
    std::string_view body;
  } cases[] = {
      {ComponentChoice::kAll, "1\r\n11\r\n111\r\n12\r\n2\r\n"},
      {ComponentChoice::kUsedAndAncestors, "1\r\n11\r\n111\r\n"},
      {ComponentChoice::kUsed, "111\r\n"},
      {ComponentChoice::kNone, ""},
  };
  for (const auto& c : cases) {
    setup.components[1] = c.choice;
    EXPECT_EQ(WriteStream(database, setup),
              "##Dimension\t2\r\n" + std::string(c.body) + "##End\r\n")
        << static_cast<char>(c.choice);
  }
}

// Texts that would break a line are written on one line; notes keep their line breaks.
TEST_F(SectionWriterTest, TextsWithTabsAndLineBreaksStayOnTheirLine) {
  Database database;
  const ComponentRef account = database.AddComponent(0, "1000", "", "");
  CardStore& cards = database.cards();
  const CardRef card = cards.CreateCard({PackDay(2024, 1, 1), 1});
  cards.SetTitle(card, "two\tfields\r\nand a line");
  cards.SetNotes(card, "a\r\nb\nc\rd", Stamp());
  const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, account));
  cards.SetLineText(line, "text\twith tab");
  const std::string written = WriteStream(database);
  EXPECT_NE(written.find("C240101-001\ttwo fields  and a line\r\nN\ta\x03"
                         "b\x03"
                         "c\x03"
                         "d\r\n"),
            std::string::npos);

  Database read;
  ASSERT_TRUE(ReadStream(read, written).ok);
  const CardRef again = read.cards().FirstCard();
  EXPECT_EQ(read.cards().Notes(again), "a\rb\rc\rd");
  EXPECT_EQ(WriteStream(read), written);
}

}  // namespace
}  // namespace jov
