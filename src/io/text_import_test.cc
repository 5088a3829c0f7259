#include "io/text_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "io/import_setup_section.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/command_error.h"
#include "shell/number_text.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/progress.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

FieldSpec F(int field, std::string default_text = "", unsigned char insert = 0) {
  return FieldSpec{{FieldPart{field, 0, 0, std::move(default_text), insert}}};
}

// A spec whose parts are fields `first` and `second` with `insert` between them.
FieldSpec Chain(int first, unsigned char insert, int second) {
  return FieldSpec{{FieldPart{first, 0, 0, "", insert}, FieldPart{second, 0, 0, "", 0}}};
}

// Semicolon-separated rows: date (YYMMDD) in field 1, account host code in 2, amount in 3.
ImportSetup Basic() {
  ImportSetup setup;
  setup.field_separator = ';';
  setup.card_date = F(1);
  setup.line_definitions[0].components[0] = F(2);
  setup.line_definitions[0].values[0] = F(3);
  return setup;
}

// Every card on one line: its id and title, then per line the JOV-Codes of its components
// ("-" for none, trailing ones left out), its values and its text.
std::string Describe(const Database& db) {
  std::string out;
  const CardStore& cards = db.cards();
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    out += CardIdText(cards.CardId(card));
    if (!cards.Title(card).empty()) out.append(" ").append(cards.Title(card));
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
        std::string codes;
        for (int d = 0; d <= db.line_layout().slots; ++d) {
          const ComponentRef ref = db.LineComponent(g, l, d);
          if (d > 0) codes += "/";
          codes += IsRoot(ref) ? "-" : db.component(ref).code;
        }
        while (codes.ends_with("/-")) codes.resize(codes.size() - 2);
        out += " [" + codes;
        for (int v = 0; v < db.value_field_count(); ++v) {
          out += " " + FormatNumber(cards.GetValue(l, v), 2);
        }
        if (!cards.LineText(l).empty()) out.append(" ").append(cards.LineText(l));
        out += "]";
      }
    }
    out += "\n";
  }
  return out;
}

class CountingListener : public DatabaseListener {
 public:
  void OnDatabaseChange(Database&, ChangeCode code, int, int) override {
    if (code == ChangeCode::kCards) ++cards;
    if (code == ChangeCode::kComponents) ++components;
  }
  int cards = 0;
  int components = 0;
};

class RecordingDisplay : public ProgressDisplay {
 public:
  void Begin(const ProgressState& state) override { title = state.Title(); }
  void Update(const ProgressState& state, const ProgressStep&) override {
    section = state.section();
    bar_end = state.bar_end();
  }
  void End(const ProgressState&) override { ++ends; }
  std::string title, section;
  int bar_end = 0;
  int ends = 0;
};

class TextImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
  }
  void TearDown() override { ResetProcess(); }

  ImportResult Import(std::string_view text, const ImportSetup& setup) {
    MemoryImportInput input(text);
    return ImportText(db_, input, "rows.txt", setup);
  }
  // Adds accounts whose host codes are their codes, so that no new components are made.
  void AddAccounts(std::initializer_list<const char*> codes) {
    for (const char* code : codes) db_.AddComponent(0, code, "", code);
  }

  RecordingSink sink_;
  Database db_;
};

TEST_F(TextImportTest, WithoutIndicatorsEveryRowIsACardWithALinePerDefinition) {
  AddAccounts({"4010", "1930"});
  ImportSetup setup = Basic();
  LineDefinition& counter = setup.line_definitions.emplace_back();
  counter.components[0] = F(4);
  counter.values[0] = F(3);
  counter.scale_factors[0] = -1;
  const ImportResult result = Import("240101;4010;100;1930\r240101;4010;50;1930\r", setup);
  EXPECT_EQ(result.outcome, ImportOutcome::kDone);
  EXPECT_EQ(result.cards, 2u);
  EXPECT_EQ(result.lines, 4u);
  EXPECT_EQ(result.rows, 2u);
  EXPECT_EQ(Describe(db_),
            "240101-1 [4010 100] [1930 -100]\n"
            "240101-2 [4010 50] [1930 -50]\n");
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(TextImportTest, CardRowsWithoutLineRowsAreDeleted) {
  AddAccounts({"4010", "4020"});
  ImportSetup setup = Basic();
  setup.card_indicator = F(1, "H");
  setup.line_indicator = F(1, "L");
  setup.card_date = F(2);
  setup.card_title = F(3);
  setup.line_definitions[0].components[0] = F(2);
  setup.line_definitions[0].values[0] = F(3);
  const ImportResult result = Import(
      "H;240101;first\rL;4010;10\rL;4020;20\rH;240102;empty\rH;240103;third\rL;4010;5\r", setup);
  EXPECT_EQ(result.cards, 2u);
  EXPECT_EQ(Describe(db_),
            "240101-1 first [4010 10] [4020 20]\n"
            "240103-1 third [4010 5]\n");
  EXPECT_EQ(db_.cards().day_count(), 2u);
}

TEST_F(TextImportTest, TheCardSwitcherStartsCardsWhereItsValueChanges) {
  AddAccounts({"4010", "4020", "1930"});
  ImportSetup setup;
  setup.field_separator = ';';
  setup.card_date = F(1);
  setup.card_switcher = F(2);
  setup.line_definitions[0].components[0] = F(3);
  setup.line_definitions[0].values[0] = F(4);
  Import("240101;1;4010;10\r240101;1;1930;-10\r240101;2;4020;5\r240101;2;1930;-5\r", setup);
  EXPECT_EQ(Describe(db_),
            "240101-1 [4010 10] [1930 -10]\n"
            "240101-2 [4020 5] [1930 -5]\n");

  // A changed value on a row that does not start a card ends the card; such rows are passed
  // over until the next card row.
  Database other;
  other.AddComponent(0, "4010", "", "4010");
  setup.card_indicator = F(1, "C");
  setup.line_indicator = F(1, "L");
  setup.card_date = F(3);
  setup.line_definitions[0].components[0] = F(3);
  MemoryImportInput input(
      "C;7;240102\rL;7;4010;1\rL;7;4010;2\rL;8;4010;3\rL;7;4010;4\rC;9;240103\rL;9;4010;5\r");
  ImportText(other, input, "rows.txt", setup);
  EXPECT_EQ(Describe(other),
            "240102-1 [4010 1] [4010 2]\n"
            "240103-1 [4010 5]\n");
}

TEST_F(TextImportTest, ValuesScalesDefaultsAndExpressions) {
  AddAccounts({"4010"});
  db_.SetValueFieldCount(4);
  ImportSetup setup = Basic();
  setup.decimal_separator = ',';
  LineDefinition& line = setup.line_definitions[0];
  line.values[1] = Chain(3, '-', 4);  // the first number minus the second
  line.values[2] = F(5, "7");         // empty: the default value
  line.values[3] = F(4);
  line.scale_factors[3] = 0.5;
  Import("240101;4010;1.234,50 kr;100;;30\r", setup);
  EXPECT_EQ(Describe(db_), "240101-1 [4010 1234.5 1134.5 7 50]\n");
}

TEST_F(TextImportTest, UnreadableValuesBecomeZeroAndZeroLinesAreLeftOut) {
  AddAccounts({"4010"});
  ImportSetup setup = Basic();
  const ImportResult result = Import("240101;4010;abc\r240102;4010;12\r", setup);
  // The line of zeros is left out, and its card with it.
  EXPECT_EQ(Describe(db_), "240102-1 [4010 12]\n");
  EXPECT_EQ(result.cards, 1u);
  EXPECT_EQ(sink_.Texts(),
            (std::vector<std::string>{"Value \"abc\" in 240101-1 is changed to zero."}));
  EXPECT_EQ(sink_.alerts()[0].button_count, 4);  // a command error: Continue, Cancel, Stop, Log

  setup.line_definitions[0].exclude_zero_lines = false;
  Database kept;
  MemoryImportInput input("240103;;0\r");
  ImportText(kept, input, "rows.txt", setup);
  EXPECT_EQ(Describe(kept), "240103-1 [- 0]\n");
}

// Answering "Stop" ends the import after the row; the cards made so far stay.
TEST_F(TextImportTest, StoppingKeepsWhatWasImported) {
  AddAccounts({"4010"});
  sink_.set_answer(static_cast<int>(CommandErrorAnswer::kStop));
  const ImportResult result = Import("240101;4010;1\r240102;4010;x\r240103;4010;3\r", Basic());
  EXPECT_EQ(result.outcome, ImportOutcome::kStopped);
  EXPECT_EQ(Describe(db_), "240101-1 [4010 1]\n");
  EXPECT_TRUE(db_.modified());
}

TEST_F(TextImportTest, DatesAndTheDefaultDate) {
  AddAccounts({"4010"});
  ImportSetup setup = Basic();
  setup.date_format = DateFormat::kDMY;
  setup.card_date = F(1, "31.12.2019");
  Import("5.13.99;4010;1\r1/1/05;4010;2\r;4010;3\rnone;4010;4\r", setup);
  EXPECT_EQ(Describe(db_),
            "991205-1 [4010 1]\n"
            "050101-1 [4010 2]\n"
            "191231-1 [4010 3]\n"
            "191231-2 [4010 4]\n");

  Database today;
  setup.card_date = F(1);
  MemoryImportInput input(";4010;1\r");
  ImportText(today, input, "rows.txt", setup);
  EXPECT_EQ(today.cards().CardId(today.cards().FirstCard()).day, Today());
}

TEST_F(TextImportTest, RowsToSkipAreNotReadEvenWhenTheyMatch) {
  AddAccounts({"4010"});
  ImportSetup setup = Basic();
  setup.rows_to_skip = 2;
  Import("240101;4010;1\r240102;4010;2\r240103;4010;3\r", setup);
  EXPECT_EQ(Describe(db_), "240103-1 [4010 3]\n");
}

TEST_F(TextImportTest, ZeroFillingAndDefaultComponents) {
  db_.AddComponent(0, "A7", "", "0007");
  db_.AddComponent(1, "CC1", "", "K1");
  ImportSetup setup = Basic();
  LineDefinition& line = setup.line_definitions[0];
  line.zero_filling[0] = 4;
  line.components[1] = F(4, "K1");
  Import("240101;7;1;\r240101; 7 ;2;K1\r", setup);
  EXPECT_EQ(Describe(db_), "240101-1 [A7/CC1 1]\n240101-2 [A7/CC1 2]\n");
  EXPECT_TRUE(sink_.alerts().empty());
}

// Append at End generates codes under "#"; a placement whose JOV-Code is taken falls back to
// that too.
TEST_F(TextImportTest, NewComponentsArePlacedAsTheLineDefinitionSays) {
  db_.AddComponent(1, "40", "", "4000");
  db_.AddComponent(2, "P9", "", "");
  ImportSetup setup = Basic();
  LineDefinition& line = setup.line_definitions[0];
  line.components[1] = F(4);
  line.components[2] = F(5);
  line.placements[1] = NewComponentPlacement::kAfterNearestHost;
  line.placements[2] = NewComponentPlacement::kHostAsCode;
  Import("240101;x1;1;4010;p9\r240101;x2;2;3999;p9\r240101;x1;3;4010;#00001\r", setup);
  EXPECT_EQ(Describe(db_),
            "240101-1 [#00001/404010/#00001 1]\n"
            "240101-2 [#00002/#00001/#00001 2]\n"
            "240101-3 [#00001/404010/#00002 3]\n");
  EXPECT_EQ(db_.component(db_.FindByHost(1, "4010")).parent, db_.FindByCode(1, "40"));
  EXPECT_EQ(db_.component(db_.FindByCode(0, "#")).text, "New components");
  EXPECT_EQ(sink_.Texts(),
            (std::vector<std::string>{"Cannot find host code \"x1\" in dimension Dim 1.",
                                      "Cannot find host code \"4010\" in dimension Dim 2.",
                                      "Cannot find host code \"p9\" in dimension Dim 3.",
                                      "Cannot find host code \"x2\" in dimension Dim 1.",
                                      "Cannot find host code \"3999\" in dimension Dim 2.",
                                      "Cannot find host code \"#00001\" in dimension Dim 3."}));
}

TEST_F(TextImportTest, CardTextsStampsAndConversions) {
  AddAccounts({"4010"});
  ImportSetup setup = Basic();
  setup.card_title = Chain(4, ' ', 5);
  setup.title_conversion = TextConversion::kWordCaps;
  setup.card_notes = F(6);
  setup.notes_conversion = TextConversion::kUpper;
  setup.created = F(7, "2401011200ABC");
  setup.line_definitions[0].line_text = F(5);
  setup.line_definitions[0].line_text_conversion = TextConversion::kLower;
  Import("240101;4010;1;office;RENT;note;\r", setup);
  const CardStore& cards = db_.cards();
  const CardRef card = cards.FirstCard();
  EXPECT_EQ(cards.Title(card), "Office Rent");
  EXPECT_EQ(cards.Notes(card), "NOTE");
  EXPECT_EQ(StampText(cards.card(card).created), "2401011200ABC");
  EXPECT_EQ(cards.card(card).notes_stamp, cards.card(card).created);
  EXPECT_EQ(Describe(db_), "240101-1 Office Rent [4010 1 rent]\n");
}

TEST_F(TextImportTest, TheDatabaseIsModifiedAndToldOnceWhenCardsCameIn) {
  AddAccounts({"4010"});
  db_.ClearModified();
  db_.FlushChangeFlags();
  CountingListener listener;
  db_.AddListener(&listener);
  Import("240101;4010;0\r", Basic());  // nothing kept
  EXPECT_FALSE(db_.modified());
  EXPECT_EQ(listener.cards, 0);

  Import("240101;4010;1\r240101;4011;2\r", Basic());
  EXPECT_TRUE(db_.modified());
  EXPECT_EQ(listener.cards, 1);
  EXPECT_EQ(listener.components, 1);
  db_.RemoveListener(&listener);
}

TEST_F(TextImportTest, CardNumbersWiderThanTheDigitsWidenThem) {
  AddAccounts({"4010"});
  std::string rows;
  for (int i = 0; i < 1200; ++i) rows += "240101;4010;1\r";
  Import(rows, Basic());
  EXPECT_EQ(db_.card_digits(), 4);
}

// Damaged files are read to their end with the right messages.
TEST_F(TextImportTest, DamagedInput) {
  AddAccounts({"4010"});
  EXPECT_EQ(Import("", Basic()).outcome, ImportOutcome::kDone);

  const ImportResult long_row =
      Import("240101;4010;1\r" + std::string(20000, '9') + "\r240102;4010;2\r", Basic());
  EXPECT_EQ(long_row.cards, 2u);
  EXPECT_EQ(sink_.Texts(), (std::vector<std::string>{"Too long rows in this file"}));

  std::mt19937 random(7);
  std::string garbage(200000, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  ImportSetup setup = Basic();
  setup.line_definitions[0].components[1] = F(4);
  setup.line_definitions[0].values[0] = Chain(3, '/', 5);
  setup.card_switcher = F(6);
  sink_.Clear();
  const ImportResult result = Import(garbage, setup);
  EXPECT_EQ(result.outcome, ImportOutcome::kDone);
  EXPECT_GT(result.rows, 100u);
}

TEST_F(TextImportTest, FilesThatCannotBeImportedAndOneThatCan) {
  TempDir dir;
  const std::string database = dir.File("db.jox");
  ASSERT_TRUE(WriteFileAtomically(database, "##JOV-Text 001219\r\n##End\r\n"));
  EXPECT_EQ(ImportTextFile(db_, database, Basic()).outcome, ImportOutcome::kFailed);
  EXPECT_EQ(ImportTextFile(db_, dir.File("missing.txt"), Basic()).outcome, ImportOutcome::kFailed);
  ASSERT_EQ(sink_.Texts().size(), 2u);
  EXPECT_EQ(sink_.Texts()[0], "A JOV-file can not be imported into this window.");
  EXPECT_TRUE(sink_.Texts()[1].starts_with("Unable to open file '")) << sink_.Texts()[1];

  const std::string rows = dir.File("rows.txt");
  ASSERT_TRUE(WriteFileAtomically(rows, "240101;4010;1\r"));
  AddAccounts({"4010"});
  RecordingDisplay display;
  SetProgressDisplay(&display);
  EXPECT_EQ(ImportTextFile(db_, rows, Basic()).cards, 1u);
  EXPECT_EQ(display.title, "Importing rows.txt");
  EXPECT_EQ(display.section, "Cards/Lines");
  EXPECT_EQ(display.bar_end, ProgressState::kBarWidth);
  EXPECT_EQ(display.ends, 1);
}

TEST_F(TextImportTest, Utf8CharactersOutsideWindowsAreCountedInOneMessage) {
  AddAccounts({"4010"});
  ImportSetup setup = Basic();
  setup.character_set = CharacterSet::kUtf8;
  setup.card_title = F(4);
  Import("240101;4010;1;Caf\xC3\xA9 \xE2\x98\x95\xE2\x98\x95\r", setup);
  EXPECT_EQ(db_.cards().Title(db_.cards().FirstCard()), "Caf\xE9 ??");
  EXPECT_EQ(sink_.Texts(),
            (std::vector<std::string>{"2 characters in file \"rows.txt\" are not in the Windows "
                                      "character set and were read as \"?\"."}));
}

// The worked examples of the user guide, as a user runs them: setup files read from disk, then
// the files they describe imported one after the other into one database.
TEST_F(TextImportTest, TheUserGuideExamples) {
  const std::string folder = std::string(JOV_TESTDATA) + "/import/";
  for (const char* example : {"bank", "ledger", "export"}) {
    const std::optional<std::string> bytes = ReadWholeFile(folder + example + ".setup");
    ASSERT_TRUE(bytes) << example;
    const std::optional<ImportSetup> setup = ReadImportSetupFile(*bytes, "");
    ASSERT_TRUE(setup) << example;
    const char* extension = std::string_view(example) == "ledger" ? ".txt" : ".csv";
    EXPECT_EQ(ImportTextFile(db_, folder + example + extension, *setup).outcome,
              ImportOutcome::kDone)
        << example;
  }
  EXPECT_EQ(Describe(db_),
            "240102-1 Card purchase Caf\xE9 Nero [1930 -45 5484381424] [2999 45]\n"
            "240103-1 Salary January [1930 25000 5484381425] [2999 -25000]\n"
            "240105-1 Rent office [1930 -8500 5484381426] [2999 8500]\n"
            "240105-2 Bank fee [1930 -1234.5 5484381427] [2999 1234.5]\n"
            "240115-1 V1001 Office supplies [4010/CC10 1250 Paper and toner] [2440 -1250]\n"
            "240116-1 V1002 Customer payment [1930 10000] [1510 -10000 Invoice 4711]\n"
            "240131-1 V1003 Depreciation [7830/CC20 500] [1229/CC20 -500]\n"
            "240301-1 501 [1510 1200 Kund \xC5kesson & S\xF6ner] "
            "[3010/SALES -960 F\xF6rs\xE4ljning varor] [2611 -240 Utg\xE5"
            "ende moms 25 %]\n"
            "240302-1 502 [5010/ADMIN 8500 Lokalhyra mars] [1930 -8500 Lokalhyra mars]\n");
  // Each new account and cost centre is reported once, and nothing else is.
  const std::vector<std::string> texts = sink_.Texts();
  EXPECT_EQ(texts.size(), 14u);
  EXPECT_TRUE(std::all_of(texts.begin(), texts.end(), [](const std::string& text) {
    return text.starts_with("Cannot find host code");
  }));
}

}  // namespace
}  // namespace jov
