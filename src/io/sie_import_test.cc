#include "io/sie_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "files/database_file.h"
#include "io/script_reader.h"
#include "model/packed_date.h"
#include "platform/file_io.h"
#include "shell/number_text.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

class SieImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
  }
  void TearDown() override { PopSink(); }

  SieResult Read(std::string_view text) { return ReadSie(db_, text); }

  const Component& Account(std::string_view number) const {
    const ComponentRef ref = db_.FindByHost(1, number);
    EXPECT_NE(ref, kNoComponent) << number;
    return db_.component(ref == kNoComponent ? db_.dimension(1).root() : ref);
  }

  // Every line as "card title|account host|objects of dimensions 2..|amount|line text".
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    const CardStore& cards = db_.cards();
    for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
      for (GroupRef group = cards.card(card).first_group; group != kNoRecord;
           group = cards.group(group).next) {
        for (LineRef line = cards.group(group).first_line; line != kNoLine;
             line = cards.lines().next(line)) {
          std::string text = std::string(cards.Title(card)) + "|";
          const ComponentRef account = db_.LineComponent(group, line, 1);
          if (!IsRoot(account)) text += db_.component(account).host;
          text += "|";
          for (int d = 2; d < kDimensionCount; ++d) {
            const ComponentRef object = db_.LineComponent(group, line, d);
            if (!IsRoot(object)) text += db_.component(object).code + " ";
          }
          text += "|" + FormatNumber(cards.GetValue(line, 0), 2) + "|";
          text += cards.LineText(line);
          lines.push_back(text);
        }
      }
    }
    return lines;
  }

  RecordingSink sink_;
  Database db_;
};

using Texts = std::vector<std::string>;

TEST_F(SieImportTest, AccountsFallUnderTheirGroupByTheFollowingType) {
  Read(
      "#SIETYP 4\n"
      "#KONTO 3010 Sales\n#KTYP 3010 I\n"
      "#KONTO 1910 \"Cash box\"\n"        // followed by another account: no type
      "#KONTO 1920 Bank\n#KTYP 1999 T\n"  // a type for another account is not its type
      "#KONTO 2440 Suppliers\n#KTYP 2440 S\n");
  EXPECT_EQ(Account("3010").code, "I3010");
  EXPECT_EQ(Account("3010").text, "Sales");
  EXPECT_EQ(db_.component(Account("3010").parent).code, "I");
  EXPECT_EQ(db_.component(Account("3010").parent).text, "Int\xE4kter");
  EXPECT_EQ(Account("1910").code, "1910");
  EXPECT_EQ(Account("1910").text, "Cash box");
  EXPECT_EQ(Account("1920").code, "1920");
  EXPECT_EQ(Account("2440").code, "S2440");
  for (const char* group : {"K", "I", "T", "S"}) EXPECT_NE(db_.FindByCode(1, group), kNoComponent);
}

TEST_F(SieImportTest, VerificationsBecomeCardsWithTheirTransactions) {
  const SieResult result = Read(
      "#FLAGGA 0\n#SIETYP 4\n#FNAMN \"Shop AB\"\n#RAR 0 20000101 20001231\n"
      "#KONTO 1910 Cash\n#KONTO 3010 Sales\n"
      "#DIM 1 \"Cost centres\"\n#DIM 6 Projects\n#OBJEKT 1 100 North\n#OBJEKT 6 7 Build\n"
      "#IB 0 1910 1000.50\n#IB -1 1910 99\n#IB 0 9999 5\n#IB 0 3010 0.0000004\n"
      "#VER A 12 20000315 \"  Cash sale \" 20000316\n"
      "{\n"
      "   #TRANS 1910 { 1 100 6 7 } 250.00 20000315 \"Till 1  \"\n"
      "   #TRANS 3010 {1 \"100\"} -250.00\n"
      "   #TRANS 9999 {} 1\n"    // an unknown account: a line without one
      "   #TRANS 1910 {} abc\n"  // an amount that is no number adds nothing
      "   #RTRANS 1910 {} 5\n"   // other labels inside are skipped
      "}\n"
      "#VER \"\" \"\" 20000401 Untitled\n{\n#TRANS 1910 {6 8} 1\n}\n");
  EXPECT_TRUE(result.done);
  EXPECT_EQ(result.cards, 3u);
  // The opening balances are dated the day before the year's start; tiny amounts are 0.
  EXPECT_EQ(Lines(),
            (Texts{"IB|1910||1000.5|", "IB|3010||0|", "12: Cash sale|1910|100 7 |250|Till 1",
                   "12: Cash sale|3010|100 |-250|", "12: Cash sale|||1|", "Untitled|1910||1|"}));
  EXPECT_EQ(db_.cards().CardId(db_.cards().FirstCard()), (Date{PackDay(1999, 12, 31), 1}));
  EXPECT_EQ(db_.dimension(2).singular_name(), "Cost centres");
  EXPECT_EQ(db_.dimension(3).plural_name(), "Projects");
  EXPECT_EQ(db_.component(db_.FindByCode(0, "S")).text, "Shop AB");
  EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(SieImportTest, OnlyFourteenSieDimensionsFindADatabaseDimension) {
  std::string text = "#SIETYP 4\n#FNAMN Firm\n#KONTO 1910 Cash\n";
  for (int n = 1; n <= 15; ++n) {
    text += "#DIM " + std::to_string(n) + " D" + std::to_string(n) + "\n";
    text += "#OBJEKT " + std::to_string(n) + " X Object\n";
  }
  text += "#UNDERDIM 20 Sub 2\n#UNDERDIM 21 Sub 15\n#OBJEKT 20 Y Sub-object\n";
  text += "#VER A 1 20200101 T\n{\n#TRANS 1910 {14 X 15 X 20 Y 21 Y} 5\n}\n";
  Read(text);
  EXPECT_EQ(db_.dimension(15).singular_name(), "D14");
  EXPECT_EQ(db_.FindDimension("D15"), -1);
  EXPECT_NE(db_.FindByCode(3, "Y"), kNoComponent);  // sub-dimension 20 shares dimension 2's
  // Objects of unmapped dimensions 15 and 21 are not set.
  EXPECT_EQ(Lines(), Texts{"1: T|1910|Y X |5|"});
}

TEST_F(SieImportTest, WithoutACompanyVerificationsTakeNoLines) {
  const SieResult result = Read(
      "#SIETYP 4\n#KONTO 1910 Cash\n#VER A 1 20200101 T\n{\n#TRANS 1910 {} 5\n}\n"
      "#IB 0 1910 5\n#FNAMN Firm\n#IB 0 1910 7\n"
      // A verification without its closing brace ends at the next one.
      "#VER A 2 20200102 U\n{\n#TRANS 1910 {} 8\n#VER A 3 20200103 V\n{\n#TRANS 1910 {} 9\n}\n");
  // Without "#RAR" the opening balances are dated 1 January of this year.
  EXPECT_EQ(Lines(), (Texts{"2: U|1910||8|", "3: V|1910||9|", "IB|1910||7|"}));
  EXPECT_EQ(UnpackDay(db_.cards().CardId(db_.cards().LastCard()).day).month, 1);
  // The first verification took no lines and went.
  EXPECT_EQ(db_.cards().card_count(), 3u);
  EXPECT_EQ(result.cards, 3u);
  EXPECT_EQ(result.lines, 3u);
  EXPECT_TRUE(result.done);
}

TEST_F(SieImportTest, TheDeclaredCodePageIsReadAsWindows1252) {
  // "Intäkter" in code page 437 is 0x84 for ä; in Windows-1252 it is 0xE4.
  EXPECT_EQ(SieText("#FORMAT PC8\n#FNAMN \"\x84\x94\x86\"\n"),
            "#FORMAT PC8\n#FNAMN \"\xE4\xF6\xE5\"\n");
  EXPECT_EQ(SieText("#FORMAT PC8\n#FNAMN \"\xC3\xA4\"\n"), "#FORMAT PC8\n#FNAMN \"\xE4\"\n");
  EXPECT_EQ(SieText("#FNAMN \"\xE4\"\n"), "#FNAMN \"\xE4\"\n");  // undeclared: as it is
}

// --- The real files

std::string SamplesFolder() {
  if (const char* folder = std::getenv("JOV_SIE_SAMPLES")) return folder;
  return JOV_SIE_SAMPLES;
}

struct Balances {
  double ib = 0, ub = 0, res = 0;
  bool has_res = false;
};

struct YearFigures {
  DayCode start = kNoDay, end = kNoDay;
  std::map<std::string, Balances> accounts;
};

// The file's own figures for the current year, read independently of the reader under test.
YearFigures FileFigures(const std::string& text) {
  YearFigures figures;
  TextScriptLines lines(text);
  for (std::string_view line; lines.Next(&line);) {
    TokenLine tokens(line);
    const std::string label = tokens.Next();
    if (tokens.Next() != "0") continue;
    if (label == "#RAR") {
      figures.start = ReadDayCode(tokens.Next().substr(2));
      figures.end = ReadDayCode(tokens.Next().substr(2));
      continue;
    }
    Balances& balances = figures.accounts[tokens.Next()];
    const double amount = ParseNumber(tokens.Next());
    if (label == "#IB") balances.ib += amount;
    if (label == "#UB") balances.ub += amount;
    if (label == "#RES") {
      balances.res += amount;
      balances.has_res = true;
    }
  }
  return figures;
}

// The accounts whose sums in the database disagree with the file's balances: per account,
// Before the year (the opening balance card) equal to #IB, the year's period equal to the
// transactions' sum and to #RES for result accounts, and At End equal to #UB.
std::vector<std::string> Disagreeing(const Database& db, YearFigures figures) {
  std::map<std::string, std::pair<double, double>> sums;  // before, period
  const CardStore& cards = db.cards();
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    const DayCode day = cards.CardId(card).day;
    if (day > figures.end) continue;
    for (GroupRef group = cards.card(card).first_group; group != kNoRecord;
         group = cards.group(group).next) {
      for (LineRef line = cards.group(group).first_line; line != kNoLine;
           line = cards.lines().next(line)) {
        const ComponentRef account = db.LineComponent(group, line, 1);
        auto& [before, period] = sums[IsRoot(account) ? "" : db.component(account).host];
        (day < figures.start ? before : period) += cards.GetValue(line, 0);
      }
    }
  }
  for (const auto& [account, _] : sums) figures.accounts[account];
  std::vector<std::string> wrong;
  auto differ = [](double a, double b) { return std::fabs(a - b) > 0.005; };
  for (const auto& [account, balances] : figures.accounts) {
    const auto [before, period] = sums[account];
    const bool agrees = balances.has_res
                            ? !differ(period, balances.res) && !differ(before, 0)
                            : !differ(before, balances.ib) && !differ(before + period, balances.ub);
    if (!agrees) wrong.push_back(account);
  }
  return wrong;
}

TEST_F(SieImportTest, RealFilesAgreeWithTheirOwnBalances) {
  const std::string folder = SamplesFolder();
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no sample files in " << folder;
  struct Sample {
    const char* file;
    int disagreeing;  // -1: a file of verifications alone, whose balances are not checked
    size_t cards;     // the verifications and the opening balance card
  };
  for (const Sample& sample :
       {Sample{"transaktioner_ovnbolag.se", 0, 164},
        Sample{"transaktioner_ovnbolag-bad-balance.se", 1, 164}, Sample{"sie_exempelfil.se", 0, 27},
        Sample{"exempelfil_med_underdim.se", 0, 296}, Sample{"sie4_verifikationer.si", -1, 166}}) {
    SCOPED_TRACE(sample.file);
    const std::optional<std::string> bytes = ReadWholeFile(folder + "/" + sample.file);
    ASSERT_TRUE(bytes);
    Database db;
    ASSERT_TRUE(ReadSie(db, *bytes).done);
    EXPECT_EQ(db.cards().card_count(), sample.cards);
    if (sample.disagreeing < 0) continue;
    const std::vector<std::string> wrong = Disagreeing(db, FileFigures(SieText(*bytes)));
    EXPECT_EQ(wrong.size(), static_cast<size_t>(sample.disagreeing))
        << ::testing::PrintToString(wrong);
  }
  EXPECT_TRUE(sink_.alerts().empty());
}

}  // namespace
}  // namespace jov
