// Rows of a text file imported into a new database through one of a few setups (the first byte
// chooses which; they cover both layouts, every character set, indicators, the card switcher,
// joined rows, expressions, dates and the three new-component placements). What must hold:
// the import reads to the end, the cards and lines it counts are the database's, and no card
// is left without lines.
#include <optional>
#include <string_view>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "io/import_setup_section.h"
#include "io/text_import.h"

namespace jov {
namespace {

constexpr std::string_view kSetups[] = {
    // Separated by semicolons, a card per row, zero-filled codes, a decimal comma.
    "S\t59\nD\t44\nLI\tF1\nLT\tF5\nL1\tF2\nL2\tF6\nLZ\tF4\nLVA\tF3\nZF1\t4\n",
    // Card and line rows, a card switcher, a date of three numbers, a value of two fields.
    "M\tD/M/Y\nLX\tF2\nLC\tF1\tTH\nLL\tF1\tTL\nLI\tF3\nLN\tF6\nL1\tF4\tT1910\nLVA\tF5\t+45\tF7\n"
    "ZN1\tH\n",
    // A fixed-width EBCDIC listing that counts control characters as positions.
    "FX\nAE\nPI\nD\t44\nM\tDDMMYY\nLI\tB1\tE6\nL1\tB7\tE10\nL2\tB21\tE24\t+47\tB25\tE26\n"
    "LVA\tB11\tE20\nZN1\tN\nZN2\tH\n",
    // UTF-8 with LF ends and a header row, two rows a card and a line, two line definitions.
    "AU\nT\t10\nS\t44\nRX\t1\nRC\t2\nRL\t2\nCS\t\"\nCR\tW\nLI\tF1\nLT\tF2\nLc\tF3\nL1\tF4\n"
    "LVA\tF5\t+42\t+40\tF6\t+43\tF7\t+41\nZK\n-\nL1\tT2999\nLVA\tF5\nV\t-1\n",
    // Macintosh, OEM and 7-bit conversions with characters converted and left out.
    "AP\nS\t124\nCF\tab\nCT\tBA\nCS\t$\nM\tY/M/D\nLI\tF1\nL1\tF2\nLVA\tF3\nLVB\tF4\n",
};

// Command errors (new components, unreadable values) answered "Continue", so that the import
// goes on to the end as it does with an error log.
class ContinueSink : public AlertSink {
 public:
  int Report(AlertRecord&) override { return 0; }
};

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(import_rows) {
  jov::fuzz::QuietRun run;
  jov::ContinueSink answers;
  jov::ScopedSink scoped(&answers);
  if (size == 0) return;
  const std::string_view setup_text = jov::kSetups[data[0] % std::size(jov::kSetups)];
  const std::optional<jov::ImportSetup> setup = jov::ReadImportSetupFile(setup_text, "fuzz");
  JOV_FUZZ_CHECK(setup.has_value());
  jov::Database database;
  database.SetValueFieldCount(2);
  jov::MemoryImportInput input(jov::fuzz::AsText(data + 1, size - 1));
  const jov::ImportResult result = jov::ImportText(database, input, "rows", *setup);
  const jov::CardStore& cards = database.cards();
  JOV_FUZZ_CHECK(result.outcome == jov::ImportOutcome::kDone);
  JOV_FUZZ_CHECK(result.cards == cards.card_count());
  JOV_FUZZ_CHECK(result.lines == cards.line_count());
  for (jov::CardRef card = cards.FirstCard(); card != jov::kCardSentinel;
       card = cards.NextCard(card)) {
    JOV_FUZZ_CHECK(cards.card(card).first_group != jov::kNoRecord);
  }
}
