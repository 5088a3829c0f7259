#include "model/database_info.h"

#include <cstdio>
#include <vector>

#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

// Marks every component that a group or a line refers to.
std::vector<bool> MarkReferencedComponents(const Database& db, DatabaseInfo& info) {
  std::vector<bool> marked(db.components().size(), false);
  const CardStore& cards = db.cards();
  const int slots = db.line_layout().slots;
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    if (!cards.Title(card).empty()) ++info.card_titles;
    if (!cards.Notes(card).empty()) ++info.notes;
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      marked[cards.group(g).component] = true;
      for (LineRef line = cards.group(g).first_line; line != kNoLine;
           line = cards.lines().next(line)) {
        if (!cards.LineText(line).empty()) ++info.line_texts;
        for (int k = 1; k <= slots; ++k) marked[cards.GetComponent(line, k)] = true;
      }
    }
  }
  return marked;
}

DimensionUsage CountDimension(const Database& db, int dimension, std::vector<bool>& marked) {
  DimensionUsage usage;
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  marked[root] = true;
  std::vector<ComponentRef> in_use;
  for (ComponentRef ref = db.NextInPreorder(root); ref != root; ref = db.NextInPreorder(ref)) {
    ++usage.all;
    if (marked[ref]) in_use.push_back(ref);
  }
  for (ComponentRef ref : in_use) {
    ++usage.in_use;
    ++usage.active;
    for (ComponentRef up = db.component(ref).parent; !marked[up]; up = db.component(up).parent) {
      marked[up] = true;
      ++usage.active;
    }
  }
  return usage;
}

std::string WithUnit(double value, const char* format, MessageId unit) {
  char number[32];
  std::snprintf(number, sizeof number, format, value);
  return std::string(number) + " " + MessageText(unit);
}

void AddRow(std::string& out, MessageId label, const std::string& value) {
  out.append("  ").append(MessageText(label)).append("\t").append(value).append("\n");
}

}  // namespace

DatabaseInfo CountDatabaseInfo(const Database& db, int64_t file_bytes, int64_t analysis_templates) {
  DatabaseInfo info;
  const CardStore& cards = db.cards();
  info.memory_bytes = static_cast<int64_t>(db.MemoryBytes());
  info.file_bytes = file_bytes;
  info.cards = static_cast<int64_t>(cards.card_count());
  info.groups = static_cast<int64_t>(cards.group_count());
  info.lines = static_cast<int64_t>(cards.line_count());
  info.has_cards = cards.FirstCard() != kCardSentinel;
  if (info.has_cards) {
    info.first_card = cards.CardId(cards.FirstCard());
    info.last_card = cards.CardId(cards.LastCard());
  }
  std::vector<bool> marked = MarkReferencedComponents(db, info);
  for (int d = 0; d < kDimensionCount; ++d) {
    if (!db.HasComponents(d)) continue;
    // Roots of lower dimensions were marked by lines without a component there; the counting
    // treats each root as the end of the upward walk.
    info.reported[d] = true;
    info.dimensions[d] = CountDimension(db, d, marked);
    info.total.all += info.dimensions[d].all;
    info.total.active += info.dimensions[d].active;
    info.total.in_use += info.dimensions[d].in_use;
  }
  info.analysis_templates = analysis_templates;
  info.analysis_memory_bytes = static_cast<int64_t>(db.ListenerMemoryBytes());
  return info;
}

std::string InfoNumberText(int64_t number, char separator) {
  if (number == 0) return "-";
  std::string digits = std::to_string(number < 0 ? -number : number);
  if (digits.size() > 6) digits.insert(digits.size() - 6, 1, separator);
  if (digits.size() > 3) digits.insert(digits.size() - 3, 1, separator);
  return number < 0 ? "-" + digits : digits;
}

std::string ByteSizeText(int64_t bytes) {
  if (bytes < 0) return "-";
  if (bytes == 0) return "0 " + MessageText(msg::kKiloBytes);
  if (bytes < 1000) return std::to_string(bytes) + " " + MessageText(msg::kBytes);
  if (bytes < 10000) return WithUnit(static_cast<double>(bytes) / 1024, "%.1f", msg::kKiloBytes);
  if (bytes < 1048576) return std::to_string(bytes / 1024) + " " + MessageText(msg::kKiloBytes);
  return WithUnit(static_cast<double>(bytes) / 1048576, "%.1f", msg::kMegaBytes);
}

std::string DatabaseInfoReport(const Database& db, const DatabaseInfo& info, int card_digits,
                               char separator) {
  const auto number = [separator](int64_t n) { return InfoNumberText(n, separator); };
  std::string out = MessageText(msg::kInfoDatabaseSize) + "\n";
  AddRow(out, msg::kInfoInMemory, ByteSizeText(info.memory_bytes));
  if (info.file_bytes > 0) AddRow(out, msg::kInfoInFile, ByteSizeText(info.file_bytes));
  out.append(MessageText(msg::kInfoCardsAndLines)).append("\n");
  AddRow(out, msg::kInfoCards, number(info.cards));
  AddRow(out, msg::kInfoGroups, number(info.groups));
  AddRow(out, msg::kInfoLines, number(info.lines));
  AddRow(out, msg::kInfoCardTitles, number(info.card_titles));
  AddRow(out, msg::kInfoNotes, number(info.notes));
  AddRow(out, msg::kInfoLineTexts, number(info.line_texts));
  if (info.has_cards) {
    AddRow(out, msg::kInfoFirst, CardIdText(info.first_card, card_digits));
    AddRow(out, msg::kInfoLast, CardIdText(info.last_card, card_digits));
  }
  out.append(MessageText(msg::kInfoDimensionComponents))
      .append("\t")
      .append(MessageText(msg::kInfoAll))
      .append("\t")
      .append(MessageText(msg::kInfoActive))
      .append("\t")
      .append(MessageText(msg::kInfoInUse))
      .append("\n");
  const auto usage_row = [&](const std::string& label, const DimensionUsage& usage) {
    out.append("  ").append(label).append("\t").append(number(usage.all)).append("\t");
    out.append(number(usage.active)).append("\t").append(number(usage.in_use)).append("\n");
  };
  for (int d = 0; d < kDimensionCount; ++d) {
    if (info.reported[d]) usage_row(db.GetName(name_id::kFirstPlural + d), info.dimensions[d]);
  }
  usage_row(MessageText(msg::kInfoTotal), info.total);
  out.append(MessageText(msg::kInfoAnalyses)).append("\n");
  AddRow(out, msg::kInfoAnalysisTemplates, number(info.analysis_templates));
  AddRow(out, msg::kInfoMemoryInUse, ByteSizeText(info.analysis_memory_bytes));
  return out;
}

}  // namespace jov
