#include "model/database.h"
#include "select/criterion_text.h"
#include "select/selection_scan.h"
#include "select/subset.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

// The stored tags of the card criteria; the stamps in StampKind order.
constexpr std::string_view kNameTag = "VN";
constexpr std::string_view kCardIdTag = "Vk";
constexpr std::string_view kNotesTag = "VA";
constexpr std::string_view kStampTags[kStampKinds] = {"Vc", "Vm", "Ve", "Vp", "Va"};

const Stamp& StampOf(const Card& card, StampKind kind) {
  switch (kind) {
    case StampKind::kCreated:
      return card.created;
    case StampKind::kModified:
      return card.modified;
    case StampKind::kExamined:
      return card.examined;
    case StampKind::kApproved:
      return card.approved;
    case StampKind::kNotes:
      break;
  }
  return card.notes_stamp;
}

}  // namespace

NamedSelection::NamedSelection(std::string name, Database& database, SubsetList* local)
    : name_(std::move(name)), selection_(database, local) {}

void NamedSelection::SetCardId(std::string_view text) {
  card_id_.text = text;
  card_id_.program = CardIdCondition::Compile(card_id_.text, &selection_);
  Changed();
}

void NamedSelection::SetNotes(std::string_view text) {
  notes_.text = text;
  notes_.program = TextPattern::Compile(notes_.text);
  Changed();
}

void NamedSelection::SetStamp(StampKind kind, std::string_view time, std::string_view signature) {
  StampCriterion& stamp = stamps_[Index(kind)];
  stamp.time.text = time;
  stamp.time.program = StampCondition::Compile(stamp.time.text, &selection_);
  stamp.signature.text = signature;
  stamp.signature.program = TextPattern::Compile(stamp.signature.text);
  has_stamp_criteria_ = false;
  for (const StampCriterion& criterion : stamps_) {
    has_stamp_criteria_ |= !criterion.time.text.empty() || !criterion.signature.text.empty();
  }
  Changed();
}

bool NamedSelection::CardCriteriaPass(CardRef card) const {
  const CardStore& cards = selection_.database().cards();
  if (card_id_.program && !card_id_.program->Evaluate(cards.CardId(card))) return false;
  const auto passes = [](const std::optional<TextPattern>& pattern, std::string_view text) {
    return !pattern || (text.empty() ? pattern->empty_text_result() : pattern->Matches(text));
  };
  if (!passes(notes_.program, cards.Notes(card))) return false;
  if (!has_stamp_criteria_) return true;
  const Card& record = cards.card(card);
  for (int k = 0; k < kStampKinds; ++k) {
    const Stamp& stamp = StampOf(record, static_cast<StampKind>(k));
    const StampCriterion& criterion = stamps_[k];
    if (criterion.time.program && !criterion.time.program->Evaluate(stamp.time)) return false;
    if (!passes(criterion.signature.program, stamp.Signature())) return false;
  }
  return true;
}

bool NamedSelection::CollectLines(LineSet& lines) {
  if (!selection_.Prepare() || !lines.Reset(selection_.database().cards().lines().size())) {
    return false;
  }
  return CollectSelection(
      selection_, [this](CardRef card) { return CardCriteriaPass(card); }, lines);
}

std::vector<DefinitionRow> NamedSelection::DefinitionRows() const {
  std::vector<DefinitionRow> rows;
  std::vector<DefinitionRow> own = selection_.DefinitionRows();
  for (size_t i = 0; i < own.size(); ++i) {
    // The first two rows are the date points.
    if ((i == 0 && selection_.from().IsOpen()) || (i == 1 && selection_.to().IsOpen())) continue;
    rows.push_back(std::move(own[i]));
  }
  if (!card_id_.text.empty()) rows.push_back({MessageText(msg::kCardIdLabel), card_id_.text});
  if (!notes_.text.empty()) rows.push_back({MessageText(msg::kNotesLabel), notes_.text});
  for (int k = 0; k < kStampKinds; ++k) {
    const std::string stamp = k == Index(StampKind::kNotes)
                                  ? MessageText(msg::kNotesLabel)
                                  : MessageText(msg::kFirstStampLabel + k);
    const StampCriterion& criterion = stamps_[k];
    if (!criterion.time.text.empty()) {
      rows.push_back({stamp + " " + MessageText(msg::kStampTime), criterion.time.text});
    }
    if (!criterion.signature.text.empty()) {
      rows.push_back({stamp + " " + MessageText(msg::kStampSignature), criterion.signature.text});
    }
  }
  return rows;
}

std::vector<std::string> NamedSelection::BlockLines(
    const std::array<int, kDimensionCount>* numbers) const {
  std::vector<std::string> lines = {std::string(kNameTag) + "\t" + OneField(name_)};
  for (std::string& line : selection_.BlockLines(Selection::kStoredPrefix, numbers)) {
    lines.push_back(std::move(line));
  }
  if (!card_id_.text.empty())
    lines.push_back(std::string(kCardIdTag) + "\t" + OneField(card_id_.text));
  if (!notes_.text.empty()) lines.push_back(std::string(kNotesTag) + "\t" + OneField(notes_.text));
  for (int k = 0; k < kStampKinds; ++k) {
    const StampCriterion& stamp = stamps_[k];
    if (stamp.time.text.empty() && stamp.signature.text.empty()) continue;
    lines.push_back(std::string(kStampTags[k]) + "\t" + OneField(stamp.time.text) + "\t" +
                    OneField(stamp.signature.text));
  }
  return lines;
}

void NamedSelection::ReadBlockLine(std::string_view line) {
  const size_t tab = line.find('\t');
  const std::string_view tag = line.substr(0, tab);
  const std::string_view text = tab == std::string_view::npos ? "" : line.substr(tab + 1);
  if (tag == kCardIdTag) return SetCardId(text);
  if (tag == kNotesTag) return SetNotes(text);
  for (int k = 0; k < kStampKinds; ++k) {
    if (tag != kStampTags[k]) continue;
    const size_t second = text.find('\t');
    return SetStamp(static_cast<StampKind>(k), text.substr(0, second),
                    second == std::string_view::npos ? "" : text.substr(second + 1));
  }
  selection_.ReadBlockLine(line);
}

}  // namespace jov
