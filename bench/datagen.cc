#include "datagen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "shell/number_text.h"

namespace jov::bench {
namespace {

constexpr const char* kWords[] = {"Office", "Travel",  "Freight", "Rent",   "Sales",  "Service",
                                  "Repair", "Licence", "Coffee",  "Fuel",   "Stock",  "Import",
                                  "Export", "Wages",   "Bonus",   "Supply", "Energy", "Phone"};

std::string Words(std::mt19937& random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += kWords[random() % std::size(kWords)];
  }
  return text;
}

// Classes 1..8, groups of two digits below them, accounts of four digits below the groups.
std::vector<ComponentRef> MakeAccounts(Database& database, int per_group, std::mt19937& random) {
  std::vector<ComponentRef> accounts;
  for (int account_class = 1; account_class <= 8; ++account_class) {
    database.AddComponent(0, std::to_string(account_class), Words(random, 1), "");
    for (int group = 0; group < 6; ++group) {
      const int group_code = account_class * 10 + group;
      database.AddComponent(0, std::to_string(group_code), Words(random, 2), "");
      for (int account = 0; account < per_group; ++account) {
        const int code = group_code * 100 + account * (per_group <= 10 ? 10 : 1);
        accounts.push_back(database.AddComponent(0, std::to_string(code), Words(random, 2), ""));
      }
    }
  }
  return accounts;
}

std::vector<ComponentRef> MakeFlat(Database& database, int dimension, const std::string& prefix,
                                   int count, bool hosts, std::mt19937& random) {
  std::vector<ComponentRef> components;
  for (int i = 0; i < count; ++i) {
    const std::string code = prefix + std::to_string(10000 + i);
    const std::string host = hosts ? "H" + std::to_string(700000 + i * 3) : std::string();
    components.push_back(database.AddComponent(dimension, code, Words(random, 2), host));
  }
  return components;
}

}  // namespace

std::unique_ptr<Database> MakeDatabase(const DataSpec& spec) {
  auto database = std::make_unique<Database>();
  std::mt19937 random(spec.seed);
  database->SetValueFieldCount(spec.value_fields);
  const std::vector<ComponentRef> accounts =
      MakeAccounts(*database, spec.accounts_per_group, random);
  std::vector<std::vector<ComponentRef>> others;
  const int counts[] = {60, 400, 3000};
  const char* prefixes[] = {"CC", "P", "K"};
  for (int d = 1; d < std::min(spec.dimensions, 4); ++d) {
    others.push_back(MakeFlat(*database, d, prefixes[d - 1], counts[d - 1], d == 3, random));
  }

  CardStore& cards = database->cards();
  const int64_t lines_per_day = std::max<int64_t>(1, spec.lines / (spec.years * 365));
  const Stamp created = {PackStampTime({spec.first_year, 1, 1, 9, 30}), {'A', 'B', 'C', 0}};
  std::vector<ComponentRef> slots(database->line_layout().slots);
  std::vector<double> values(spec.value_fields);
  DayCode day = PackDay(spec.first_year, 1, 1);
  int64_t made = 0, made_today = 0;
  while (made < spec.lines) {
    if (made_today >= lines_per_day) day = NextDay(day), made_today = 0;
    const CardRef card = cards.CreateCard({day, 0});
    cards.SetTitle(card, "Voucher " + Words(random, 2));
    cards.mutable_card(card).created = created;
    if (random() % 1000 < spec.notes_share * 1000) {
      cards.SetNotes(card, Words(random, 6) + "\r" + Words(random, 8) + "\tend", created);
    }
    const int groups = 2 + static_cast<int>(random() % 3);
    for (int g = 0; g < groups && made < spec.lines; ++g) {
      const GroupRef group = cards.FindOrAddGroup(card, accounts[random() % accounts.size()]);
      const int lines = 1 + static_cast<int>(random() % 5);
      for (int l = 0; l < lines && made < spec.lines; ++l, ++made, ++made_today) {
        const LineRef line = cards.CreateLine(group);
        for (size_t d = 0; d < slots.size(); ++d) {
          slots[d] = d < others.size() ? others[d][random() % others[d].size()]
                                       : static_cast<ComponentRef>(d + 1);
        }
        cards.SetComponents(line, slots);
        for (int v = 0; v < spec.value_fields; ++v) {
          values[v] = static_cast<double>(static_cast<int64_t>(random() % 2000000) - 1000000) /
                      (v == 0 ? 100 : 1);
        }
        cards.SetValues(line, values);
        if (random() % 1000 < spec.line_text_share * 1000) {
          cards.SetLineText(line, Words(random, 3));
        }
      }
    }
  }
  database->FlushChangeFlags();
  return database;
}

std::string VoucherRows(const DataSpec& spec) {
  DataSpec with_texts = spec;
  with_texts.line_text_share = 1.0;
  with_texts.dimensions = std::max(spec.dimensions, 2);
  const std::unique_ptr<Database> database = MakeDatabase(with_texts);
  const CardStore& cards = database->cards();
  std::string rows;
  rows.reserve(static_cast<size_t>(spec.lines) * 64);
  int64_t voucher = 1000;
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    const CalendarDate date = UnpackDay(cards.CardId(card).day);
    char day[16];
    std::snprintf(day, sizeof day, "%04d-%02d-%02d;", date.year, date.month, date.day);
    ++voucher;
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
        std::string amount = FormatNumber(cards.GetValue(l, 0), 2);
        std::replace(amount.begin(), amount.end(), '.', ',');
        rows.append(day).append(std::to_string(voucher)).append(";");
        rows.append(database->component(database->LineComponent(g, l, 0)).code).append(";");
        rows.append(database->component(database->LineComponent(g, l, 1)).code).append(";");
        rows.append(amount).append(";").append(cards.LineText(l)).append("\r\n");
      }
    }
  }
  return rows;
}

int64_t BenchLines(int64_t lines) {
  const char* given = std::getenv("JOV_BENCH_LINES");
  return given != nullptr ? std::atoll(given) : lines;
}

}  // namespace jov::bench
