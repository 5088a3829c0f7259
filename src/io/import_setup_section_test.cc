#include "io/import_setup_section.h"

#include <gtest/gtest.h>

#include "files/database_file.h"
#include "files/line_sink.h"
#include "files/line_source.h"
#include "files/section_reader.h"
#include "files/section_registry.h"
#include "files/section_writer.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

std::vector<std::string_view> Lines(std::string_view body) {
  std::vector<std::string_view> lines;
  while (!body.empty()) {
    const size_t end = body.find('\n');
    lines.push_back(body.substr(0, end));
    body = end == std::string_view::npos ? std::string_view() : body.substr(end + 1);
  }
  return lines;
}

// The model's sections with the import setups' own.
SectionRegistry Registry() {
  SectionRegistry registry = DefaultSectionRegistry();
  RegisterImportSetupSection(registry);
  return registry;
}

ImportSetup Read(std::string_view body, uint32_t format_date = kOwnFormatDate) {
  ImportSetup setup;
  const std::vector<std::string_view> lines = Lines(body);
  ReadImportSetupBody(lines, format_date, setup);
  return setup;
}

// The body as written, with LF line ends for readable expectations.
std::string Write(const ImportSetup& setup,
                  const DimensionNumbers& numbers = OwnDimensionNumbers()) {
  StringByteSink bytes;
  LineSink sink(bytes, "\n");
  WriteImportSetupBody(sink, setup, numbers);
  sink.Finish();
  return bytes.text();
}

// Every key with a value other than its default, and chains with insert characters: written in
// the order the writer uses, so that reading and writing gives the same text.
constexpr std::string_view kEveryKey =
    "FX\n"
    "AE\n"
    "PI\n"
    "T\t10\n"
    "S\t59\n"
    "D\t44\n"
    "RC\t2\n"
    "RL\t3\n"
    "RX\t999\n"
    "CF\tab \n"
    "CT\tAB_\n"
    "CS\t $\n"
    "CR\tU\n"
    "CN\tW\n"
    "M\tD/M/Y\n"
    "LX\tF2\n"
    "LC\tF1\tTH\n"
    "LL\tF1\tB1\tE1\tTL \n"
    "LI\tF3\t+47\tF4\t+47\tF5\n"
    "LT\tF6\t+32\tF7\tTnone\n"
    "LN\tF8\n"
    "Lc\tF9\tTABC\n"
    "Lm\tF10\n"
    "Le\tF11\n"
    "La\tF12\n"
    "L1\tF13\tTdefault account\n"
    "L16\tF14\t+45\t+0\tF15\n"
    "LZ\tF16\tB2\tE40\n"
    "LVA\tF17\t+45\tF18\n"
    "LVX\tF19\tT0\n"
    "V\t-1\t1\t0.01\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1e-07\n"
    "ZK\n"
    "ZC\tS\n"
    "ZF1\t4\n"
    "ZF16\t8\n"
    "ZN1\tH\n"
    "ZN2\tN\n"
    "-\n"
    "L2\tF1\n"
    "LVB\tF2\n"
    "-\n"
    "\n";

TEST(ImportSetupSectionTest, EveryKeyIsReadAndWrittenBackUnchanged) {
  const ImportSetup setup = Read(kEveryKey);
  EXPECT_EQ(Write(setup), kEveryKey);

  EXPECT_EQ(setup.layout, FieldLayout::kFixed);
  EXPECT_EQ(setup.character_set, CharacterSet::kEbcdic);
  EXPECT_FALSE(setup.exclude_control_characters);
  EXPECT_EQ(setup.field_separator, ';');
  EXPECT_EQ(setup.decimal_separator, ',');
  EXPECT_EQ(setup.excluded_characters, " $");  // blanks at either end count
  EXPECT_EQ(setup.date_format, DateFormat::kDMY);
  EXPECT_EQ(setup.title_conversion, TextConversion::kUpper);
  ASSERT_EQ(setup.card_date.parts.size(), 3u);
  EXPECT_EQ(setup.card_date.parts[1].insert, '/');
  EXPECT_EQ(setup.line_indicator.parts[0].default_text, "L ");
  ASSERT_EQ(setup.line_definitions.size(), 3u);
  const LineDefinition& first = setup.line_definitions[0];
  EXPECT_EQ(first.components[15].parts.size(), 3u);  // the empty middle part keeps its place
  EXPECT_EQ(first.components[15].parts[1].insert, 0);
  EXPECT_EQ(first.scale_factors[2], 0.01);
  EXPECT_EQ(first.scale_factors[23], 1e-07);
  EXPECT_EQ(first.zero_filling[15], 8);
  EXPECT_EQ(first.placements[1], NewComponentPlacement::kAfterNearestHost);
  EXPECT_FALSE(first.exclude_zero_lines);
  EXPECT_EQ(setup.line_definitions[2], LineDefinition());
}

TEST(ImportSetupSectionTest, DefaultsAndTheFormatDate) {
  const ImportSetup empty = Read("");
  ImportSetup expected;
  EXPECT_EQ(empty, expected);
  EXPECT_EQ(Write(empty), "AW\nPX\n\n");

  // Control characters count as positions in setups of files older than the key that says so.
  EXPECT_FALSE(Read("", 19991231).exclude_control_characters);
  EXPECT_TRUE(Read("PX\n", 19991231).exclude_control_characters);
  EXPECT_TRUE(Read("", 20000110).exclude_control_characters);
}

TEST(ImportSetupSectionTest, OutOfRangeAndUnknownValues) {
  const ImportSetup setup = Read(
      "AZ\nT\t-3\nS\t0\nD\t256\nRC\t500\nRL\t0\nRX\t-4\nM\tddmmyyyy\nCR\tQ\nCN\t-\n"
      "QQ\tskipped\nLC\tF300\tB-2\tE2000\tX9\nL17\tF1\nLVY\tF1\nZF3\t1\nZF4\t12\nZN5\tX\n"
      "L2\tF1\n#\nL3\tF1\n");
  EXPECT_EQ(setup.character_set, CharacterSet::kAnsi);  // an unknown set keeps the default
  EXPECT_EQ(setup.row_terminator, 253);                 // negative codes wrap
  EXPECT_EQ(setup.field_separator, 9);
  EXPECT_EQ(setup.decimal_separator, '.');
  EXPECT_EQ(setup.rows_per_card, 99);
  EXPECT_EQ(setup.rows_per_line, 1);
  EXPECT_EQ(setup.rows_to_skip, 0);
  EXPECT_EQ(setup.date_format, DateFormat::kDDMMYY);
  const FieldPart& part = setup.card_indicator.parts.at(0);
  EXPECT_EQ(part.field, 255);
  EXPECT_EQ(part.first, 0);
  EXPECT_EQ(part.last, 1023);
  const LineDefinition& definition = setup.line_definitions.at(0);
  EXPECT_EQ(definition.zero_filling[2], 0);
  EXPECT_EQ(definition.zero_filling[3], 8);
  EXPECT_EQ(definition.placements[4], NewComponentPlacement::kAppendAtEnd);
  EXPECT_FALSE(definition.components[1].empty());
  EXPECT_TRUE(definition.components[2].empty());  // after the line that ends the body
  EXPECT_TRUE(definition.values[0].empty());
}

TEST(ImportSetupSectionTest, TheOldestFilesWriteFieldSpecsAsThreeNumbersAndAText) {
  const ImportSetup setup = Read("LC\t1\t0\t0\tH\nLI\t0\t3\t8\nL1\t2\t0\t0\n");
  EXPECT_EQ(setup.card_indicator.parts, (std::vector<FieldPart>{{1, 0, 0, "H", 0}}));
  EXPECT_EQ(setup.card_date.parts, (std::vector<FieldPart>{{0, 3, 8, "", 0}}));
  EXPECT_EQ(Write(setup), "AW\nPX\nLC\tF1\tTH\nLI\tB3\tE8\nL1\tF2\n\n");
}

TEST(ImportSetupSectionTest, SectionsBelongToTheDatabaseAndFollowTheDimensionNumbering) {
  ResetProcess();
  const SectionRegistry registry = Registry();
  Database db;
  const std::string stream =
      "##ImportSetup\r\nM\tY/M/D\r\n\r\n"
      "##ImportSetup\tBank\r\nS\t59\r\nL3\tF4\r\n"
      "##ImportSetup\tbank\r\nS\t44\r\nL3\tF5\r\nZF3\t4\r\n##End\r\n";
  MemoryByteSource bytes(stream);
  LineSource lines(bytes);
  ASSERT_TRUE(ReadSections(db, lines, registry).ok);
  std::vector<ImportSetup>& named = ImportSetups::Of(db).named();
  ASSERT_EQ(named.size(), 2u);
  EXPECT_EQ(named[0].name, "Import Setup 1");
  EXPECT_EQ(named[0].date_format, DateFormat::kYMD);
  EXPECT_EQ(named[1].name, "Bank");  // the later section of the same name replaced the body
  EXPECT_EQ(named[1].field_separator, ',');
  EXPECT_EQ(ImportSetups::Of(db).Find("BANK"), &named[1]);

  // A save that gives dimension 3 the number 2 writes the setup's keys with that number.
  SaveSetup renumbered;
  renumbered.new_numbers[2] = 2;
  db.AddComponent(2, "P1", "", "");
  StringByteSink out;
  WriteSections(db, out, renumbered, registry, WriteOptions{});
  EXPECT_NE(out.text().find("##ImportSetup\tBank\r\nAW\r\nPX\r\nS\t44\r\nL2\tF5\r\nZF2\t4\r\n\r\n"),
            std::string::npos)
      << out.text();
}

// The date a database file carries reaches the setup reader.
TEST(ImportSetupSectionTest, SetupsOfOlderDatabaseFilesCountControlCharacters) {
  ResetProcess();
  TempDir dir;
  const SectionRegistry registry = Registry();
  for (const char* date : {"991231", "001219"}) {
    const std::string path = dir.File(std::string(date) + ".jox");
    ASSERT_TRUE(WriteFileAtomically(
        path, "##JOV-Text " + std::string(date) + "\r\n##ImportSetup\tOld\r\nS\t59\r\n##End\r\n"));
    Database db;
    ASSERT_TRUE(ReadDatabaseFile(db, path, ReadOptions{}, nullptr, registry));
    ASSERT_EQ(ImportSetups::Of(db).named().size(), 1u);
    EXPECT_EQ(ImportSetups::Of(db).named()[0].exclude_control_characters,
              std::string(date) == "001219");
  }
}

TEST(ImportSetupSectionTest, SetupFilesInEitherCharacterSet) {
  const std::optional<ImportSetup> utf8 = ReadImportSetupFile(
      "\r\n##ImportSetup\tKonto\xC3\xA4\r\nS\t59\r\nLT\tF2\tT\xC3\xB6\r\n", "x");
  ASSERT_TRUE(utf8);
  EXPECT_EQ(utf8->name, "Konto\xE4");
  EXPECT_EQ(utf8->card_title.default_text(), "\xF6");

  const std::optional<ImportSetup> cp1252 = ReadImportSetupFile("S\t59\nLT\tF2\tT\xF6\n", "bank");
  ASSERT_TRUE(cp1252);
  EXPECT_EQ(cp1252->name, "bank");
  EXPECT_EQ(cp1252->card_title.default_text(), "\xF6");

  EXPECT_FALSE(ReadImportSetupFile("", "x"));
  EXPECT_FALSE(ReadImportSetupFile("date;amount\n2024-01-01;12,50\n", "x"));
  EXPECT_TRUE(ReadImportSetupFile("##ImportSetup\tEmpty\n", "x"));
}

}  // namespace
}  // namespace jov
