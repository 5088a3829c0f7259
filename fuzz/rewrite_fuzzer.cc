// The option tokens of the transform and aggregate commands, as a script line gives them, run
// on a small database: the first byte chooses the operation, the level and whether the window
// holds every line or every other one. What must hold: aggregating keeps each value field's
// total (doubled for the window's lines with "-duplicate"); transforming keeps the number of
// lines, or adds a copy of each of the window's lines with "A"; no card is left without lines.
#include <cmath>
#include <string>
#include <vector>

#include "analysis/aggregate.h"
#include "analysis/time_scale_list.h"
#include "analysis/transform.h"
#include "fuzz_support.h"
#include "fuzz_target.h"
#include "io/script_reader.h"
#include "model/user_stamp.h"

namespace jov {
namespace {

// Cards over two years, three dimensions, two value fields with cents, a time scale.
void Fill(Database& database) {
  for (const char* code : {"N", "S"}) database.AddComponent(0, code, "", "");
  for (const char* code : {"1", "10", "2"}) database.AddComponent(1, code, "", "");
  for (const char* code : {"A", "B"}) database.AddComponent(2, code, "", "");
  database.SetValueFieldCount(2);
  CardStore& cards = database.cards();
  uint32_t seed = 1;
  const auto next = [&seed] { return (seed = seed * 1103515245 + 12345) >> 16; };
  for (int c = 0; c < 60; ++c) {
    const CardRef card = cards.CreateCard(
        {DayCodeFromNumber(DayNumber(PackDay(2023, 11, 25)) + static_cast<int32_t>(next() % 500)),
         0});
    cards.SetTitle(card, c % 3 ? "Sale" : "");
    for (int l = 0; l < 3; ++l) {
      const GroupRef group =
          cards.FindOrAddGroup(card, database.FindByCode(0, next() % 2 ? "N" : "S"));
      const ComponentRef slots[] = {database.FindByCode(1, next() % 2 ? "10" : "2"),
                                    database.FindByCode(2, next() % 2 ? "A" : "B")};
      const double values[] = {static_cast<double>(next() % 20001) / 100 - 100,
                               static_cast<double>(next() % 7)};
      cards.AddLine(group, values, slots);
    }
  }
  TimeScaleList::Of(database).Create("Q").SetEntries(
      {{{PackDay(2024, 1, 1), 1}, "Q1"}, {{PackDay(2024, 4, 1), 1}, "Q2"}});
  database.FlushChangeFlags();
}

struct Totals {
  double field[2] = {0, 0};
  size_t lines = 0;
  bool every_card_has_lines = true;
};

Totals Count(const Database& database, const LineSet* only = nullptr) {
  Totals totals;
  const CardStore& cards = database.cards();
  for (CardRef c = cards.FirstCard(); c != kCardSentinel; c = cards.NextCard(c)) {
    const size_t before = totals.lines;
    for (GroupRef g = cards.card(c).first_group; g != kNoRecord; g = cards.group(g).next) {
      for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
        ++totals.lines;
        if (only != nullptr && !only->Test(l)) continue;
        for (int f = 0; f < 2; ++f) totals.field[f] += cards.GetValue(l, f);
      }
    }
    totals.every_card_has_lines &= totals.lines > before;
  }
  return totals;
}

bool Near(double a, double b) {
  return std::fabs(a - b) <= 1e-6 * (1 + std::fabs(a) + std::fabs(b));
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(rewrite) {
  if (size == 0) return;
  jov::fuzz::QuietRun run;
  jov::SetUserSignature("FZ");
  jov::Database database;
  jov::Fill(database);
  const uint8_t choice = data[0];
  const std::string line(jov::fuzz::AsText(data + 1, size - 1));
  jov::TokenLine reader(line);
  std::vector<std::string> tokens;
  for (std::string token; reader.Next(&token);) tokens.push_back(token);

  jov::LineSet half;
  half.Reset(database.cards().lines().size());
  for (jov::LineRef l = 0; l < half.size(); l += 2) half.Set(l);
  const bool partly = choice & 2;
  const jov::WindowLines window{partly ? &half : nullptr,
                                static_cast<jov::CardLevel>((choice >> 2) % 3)};
  // The window's lines at its level, before the data changes.
  jov::LineSet covered;
  covered.Reset(database.cards().lines().size());
  std::vector<jov::CardLine> lines;
  for (const jov::CardRef card : jov::WindowCards(database.cards(), window)) {
    jov::CoveredLines(database.cards(), card, window, lines);
    for (const jov::CardLine& taken : lines) covered.Set(taken.line);
  }
  const jov::Totals before = jov::Count(database);
  const jov::Totals in_window = jov::Count(database, &covered);
  if (choice & 1) {
    jov::AggregateSettings settings;
    jov::ApplyAggregateOptions(settings, database, tokens);
    if (!jov::Aggregate(database, window, settings)) return;
    const jov::Totals after = jov::Count(database);
    for (int f = 0; f < 2; ++f) {
      const double expected = before.field[f] + (settings.duplicate ? in_window.field[f] : 0);
      JOV_FUZZ_CHECK(jov::Near(after.field[f], expected));
    }
    JOV_FUZZ_CHECK(after.every_card_has_lines);
    return;
  }
  jov::TransformSettings settings;
  jov::ApplyTransformOptions(settings, database, tokens);
  if (!jov::Transform(database, window, settings)) return;
  const jov::Totals after = jov::Count(database);
  JOV_FUZZ_CHECK(after.lines == before.lines + (settings.keep_source ? covered.Count() : 0));
  JOV_FUZZ_CHECK(after.every_card_has_lines);
}
