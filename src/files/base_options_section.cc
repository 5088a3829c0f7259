#include "files/base_options_section.h"

#include <algorithm>

#include "files/section_input.h"
#include "files/section_output.h"
#include "model/database.h"

namespace jov {
namespace {

// A damaged entry count must not make the reader claim a large index before it has read a
// single component: the index grows on its own past this (a few MB).
constexpr uint64_t kMaxPresizedEntries = uint64_t{1} << 18;

void ReadEntryCount(Database& database, std::string_view text) {
  const std::optional<int> count = FieldInteger(text);
  if (!count || *count <= 0) return;
  const uint32_t size = database.index().size();
  const uint32_t threshold = size - size / 8;
  const uint64_t wanted = std::min<uint64_t>(static_cast<uint64_t>(*count), kMaxPresizedEntries);
  if (wanted > threshold) database.PresizeIndex(wanted);
}

void ReadValueFieldNames(Database& database, const Fields& fields) {
  for (int field = 0; field < Database::kMaxValueFields; ++field) {
    database.SetValueFieldName(field, fields[static_cast<size_t>(field) + 1]);
  }
}

void ReadBaseOption(Database& database, const Fields& fields) {
  const std::string_view key = fields[0];
  const std::string_view value = fields[1];
  if (key == "CN") {
    if (const std::optional<int> digits = FieldInteger(value)) {
      database.SetCardDigits(std::max(*digits, DigitsForCards(database.cards())));
    }
  } else if (key == "CD") {
    if (const std::optional<int> decimals = FieldInteger(value)) {
      database.SetValueDecimals(*decimals);
    }
  } else if (key == "CT") {
    database.SetCardTitleLabel(value);
  } else if (key == "LT") {
    database.SetLineTextLabel(value);
  } else if (key == "LV") {
    ReadValueFieldNames(database, fields);
  } else if (key == "LN") {
    const std::optional<int> count = FieldInteger(value);
    if (count && *count >= 1 && *count <= Database::kMaxValueFields) {
      database.SetValueFieldCount(*count);
    }
  } else if (key == "R") {
    database.SetReferencePoint(ReadCardId(value));
  } else if (key == "EC") {
    ReadEntryCount(database, value);
  }
}

bool HasValueFieldNames(const Database& database) {
  for (int field = 0; field < Database::kMaxValueFields; ++field) {
    if (!database.value_field_name(field).empty()) return true;
  }
  return false;
}

}  // namespace

int DigitsForCardNumber(Sequence number) {
  int digits = 1;
  for (Sequence limit = 9; number > limit && digits < 6; limit = limit * 10 + 9) ++digits;
  return digits;
}

int DigitsForCards(const CardStore& cards) {
  Sequence largest = 0;
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    largest = std::max(largest, cards.card(card).sequence);
  }
  return largest == 0 ? 0 : DigitsForCardNumber(largest);
}

void ReadBaseOptionsSection(SectionInput& input, std::string_view) {
  while (input.NextBodyLine("#")) ReadBaseOption(input.database(), input.Split());
}

void WriteBaseOptionsSection(SectionOutput& output) {
  const Database& database = output.database();
  LineSink& sink = output.sink();
  output.SectionLine(text_format::kBaseOptions);
  sink.Add("CN\t").Integer(database.card_digits());
  sink.EndLine();
  sink.Add("CD\t").Integer(database.value_decimals());
  sink.EndLine();
  if (!database.card_title_label().empty()) {
    sink.Add("CT\t").Text(database.card_title_label());
    sink.EndLine();
  }
  if (!database.line_text_label().empty()) {
    sink.Add("LT\t").Text(database.line_text_label());
    sink.EndLine();
  }
  if (HasValueFieldNames(database)) {
    sink.Add("LV");
    for (int field = 0; field < Database::kMaxValueFields; ++field) {
      sink.Tab().Text(database.value_field_name(field));
    }
    sink.EndLine();
  }
  if (database.value_field_count() > 1) {
    sink.Add("LN\t").Integer(database.value_field_count());
    sink.EndLine();
  }
  if (database.reference_point().day != kNoDay) {
    sink.Add("R\t");
    AppendCardId(sink.line(), database.reference_point());
    sink.EndLine();
  }
  sink.Add("EC\t").Integer(database.index().count());
  sink.EndLine();
}

}  // namespace jov
