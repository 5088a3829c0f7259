#include "analysis/card_analysis.h"

#include <algorithm>

#include "analysis/card_xml.h"
#include "analysis/component_options.h"
#include "analysis/result_changes.h"
#include "analysis/shown_value.h"
#include "model/database.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

constexpr int kCardIdWidth = 90;
constexpr int kTitleWidth = 160;
constexpr int kDimensionWidth = 120;
constexpr int kTextWidth = 160;
constexpr int kValueWidth = 100;
// The dimensions shown before the line text; the others follow the values.
constexpr int kLeadingDimensions = 2;

// Whether the group's first-dimension component is in the selection and one of its lines is in
// the set of passing lines.
bool GroupTakesPart(const CardStore& cards, GroupRef group, const LineSet& passing) {
  for (LineRef line = cards.group(group).first_line; line != kNoLine;
       line = cards.lines().next(line)) {
    if (passing.Test(line)) return true;
  }
  return false;
}

}  // namespace

bool ExportsAsCardsSection(const ExportSettings& settings, const CardAnalysisOptions& options) {
  return settings.format == ExportFormat::kText && settings.between_fields == separator::kTab &&
         settings.around_fields == separator::kNone && settings.include_title &&
         settings.include_data_rows && options.groups != DataContents::kNone &&
         options.lines != DataContents::kNone;
}

CardAnalysis::CardAnalysis(Database& database)
    : database_(database),
      options_(CardAnalysisOptions::Standard(database.value_decimals())),
      local_subsets_(database),
      selection_(database, &local_subsets_) {
  frame_.kind = AnalysisKind::kCards;
  ApplyKindDefaults<CardTemplateBody>(database, AnalysisKind::kCards, *this);
  database_.AddListener(this);
}

CardAnalysis::~CardAnalysis() { database_.RemoveListener(this); }

void CardAnalysis::Apply(const TemplateFrame& frame, const CardTemplateBody& body) {
  frame_ = frame;
  frame_.kind = AnalysisKind::kCards;
  options_ = body.options();
  selection_.CopyFrom(body.selection());
  Invalidate();
}

AnalysisTemplate CardAnalysis::ToTemplate(const std::string& name) const {
  AnalysisTemplate stored;
  stored.frame = frame_;
  stored.frame.name = name;
  auto body = std::make_unique<CardTemplateBody>(database_);
  body->options() = options_;
  body->selection().CopyFrom(selection_);
  stored.body = std::move(body);
  return stored;
}

// ---------------------------------------------------------------------------------------------
// Calculation

void CardAnalysis::Invalidate() {
  calculated_ = false;
  rows_.clear();
}

bool CardAnalysis::Calculate() {
  Invalidate();
  LayOutColumns();
  LineSet passing;
  if (!selection_.CollectLines(passing)) return false;
  const CardStore& cards = database_.cards();
  const ScanPlan& plan = selection_.plan();
  const auto push = [&](CardLevel level, uint32_t item) { rows_.push_back({level, item}); };
  for (CardRef card = plan.first; card != plan.end; card = cards.NextCard(card)) {
    bool listed = false;
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord && !listed;
         g = cards.group(g).next) {
      listed = GroupTakesPart(cards, g, passing);
    }
    if (!listed) continue;
    push(CardLevel::kCards, card);
    if (options_.groups == DataContents::kNone) continue;
    for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
      if (options_.groups == DataContents::kSelected && !GroupTakesPart(cards, g, passing)) {
        continue;
      }
      push(CardLevel::kGroups, g);
      if (options_.lines == DataContents::kNone) continue;
      for (LineRef line = cards.group(g).first_line; line != kNoLine;
           line = cards.lines().next(line)) {
        if (options_.lines == DataContents::kAll || passing.Test(line)) {
          push(CardLevel::kLines, line);
        }
      }
    }
  }
  calculated_ = true;
  return true;
}

void CardAnalysis::OnDatabaseChange(Database&, ChangeCode code, int, int) {
  if (DropsAnalysisResult(code)) Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Counts and operations

int64_t CardAnalysis::MarkedCount() const {
  const CardLevel level = options_.MarkedLevel();
  return std::count_if(rows_.begin(), rows_.end(),
                       [level](const CardRow& row) { return row.level == level; });
}

int64_t CardAnalysis::LinesCovered() const {
  const CardStore& cards = database_.cards();
  const CardLevel level = options_.MarkedLevel();
  int64_t lines = 0;
  const auto count_group = [&](GroupRef g) {
    for (LineRef line = cards.group(g).first_line; line != kNoLine;
         line = cards.lines().next(line)) {
      ++lines;
    }
  };
  for (const CardRow& row : rows_) {
    if (row.level != level) continue;
    if (level == CardLevel::kLines) {
      ++lines;
    } else if (level == CardLevel::kGroups) {
      count_group(row.item);
    } else {
      for (GroupRef g = cards.card(row.item).first_group; g != kNoRecord; g = cards.group(g).next) {
        count_group(g);
      }
    }
  }
  return lines;
}

std::string CardAnalysis::CountText() const {
  AlertRecord count(msg::kCardsCount + static_cast<int>(options_.MarkedLevel()));
  count.Arg(static_cast<long long>(MarkedCount()));
  return count.ComposeText();
}

std::vector<CardRef> CardAnalysis::ListedCards() const {
  std::vector<CardRef> cards;
  for (const CardRow& row : rows_) {
    if (row.level == CardLevel::kCards) cards.push_back(row.item);
  }
  return cards;
}

bool CardAnalysis::CollectHeldLines(LineSet& lines, CardLevel& level) {
  if (!calculated_ || !lines.Reset(database_.cards().lines().size())) return false;
  level = options_.MarkedLevel();
  const CardStore& cards = database_.cards();
  const auto set_group = [&](GroupRef group) {
    for (LineRef l = cards.group(group).first_line; l != kNoLine; l = cards.lines().next(l)) {
      lines.Set(l);
    }
  };
  for (const CardRow& row : rows_) {
    if (row.level != level) continue;
    if (level == CardLevel::kCards) {
      for (GroupRef g = cards.card(row.item).first_group; g != kNoRecord; g = cards.group(g).next) {
        set_group(g);
      }
    } else if (level == CardLevel::kGroups) {
      set_group(row.item);
    } else {
      lines.Set(row.item);
    }
  }
  return true;
}

bool CardAnalysis::DeleteData(const CloseCardWindows& close) {
  // Each group and line row stands below the rows of its card and group.
  CardRef card = kCardSentinel;
  GroupRef group = kNoRecord;
  std::vector<ListedGroup> groups;
  std::vector<ListedLine> lines;
  for (const CardRow& row : rows_) {
    switch (row.level) {
      case CardLevel::kCards:
        card = row.item;
        break;
      case CardLevel::kGroups:
        group = row.item;
        groups.push_back({card, group});
        break;
      case CardLevel::kLines:
        lines.push_back({card, group, row.item});
        break;
    }
  }
  switch (options_.MarkedLevel()) {
    case CardLevel::kCards:
      return DeleteListedCards(database_, ListedCards(), close);
    case CardLevel::kGroups:
      return DeleteListedGroups(database_, groups, close);
    case CardLevel::kLines:
      return DeleteListedLines(database_, lines, close);
  }
  return false;
}

std::vector<std::string> CardAnalysis::SelectionBlock() const {
  std::vector<std::string> lines = selection_.BlockLines(Selection::kStoredPrefix);
  lines.push_back(std::string{'V', 'Z', '\t', 'D', DecimalsLetter(options_.decimals)});
  return lines;
}

// ---------------------------------------------------------------------------------------------
// Table

std::string CardAnalysis::Title() const {
  const std::string title = frame_.name.empty() ? KindName(AnalysisKind::kCards) : frame_.name;
  return cards_heading_ ? "##Cards\t" + title : title;
}

void CardAnalysis::WriteDefinition(LineSink& out, DefinitionForm form) const {
  WriteDefinitionBlock(out, form, selection_.DefinitionRows());
}

void CardAnalysis::PrepareExport() {
  LayOutColumns();
  cards_heading_ = ExportsAsCardsSection(frame_.export_settings, options_);
}

void CardAnalysis::LayOutColumns() {
  columns_.clear();
  const ListColumns& visible = options_.columns;
  int left = 0;
  const auto add = [&](CardColumnKind kind, int index, std::string title, int width) {
    ShownColumn shown{kind, index, {}};
    shown.column.title = std::move(title);
    shown.column.left = left;
    shown.column.right = left += width;
    if (kind == CardColumnKind::kValue) shown.column.alignment = CellAlignment::kRight;
    columns_.push_back(std::move(shown));
  };
  const auto add_dimensions = [&](int first, int end) {
    for (int d = first; d < end; ++d) {
      if (!visible.dimensions[d] || !database_.IsDimensionUsed(d)) continue;
      add(CardColumnKind::kDimension, d, database_.GetName(name_id::kFirstSingular + d),
          kDimensionWidth);
    }
  };
  if (visible.card_id) add(CardColumnKind::kCardId, 0, MessageText(msg::kCardId), kCardIdWidth);
  if (visible.card_title) {
    add(CardColumnKind::kCardTitle, 0, database_.GetName(name_id::kCardTitle), kTitleWidth);
  }
  add_dimensions(0, kLeadingDimensions);
  if (visible.line_text) {
    add(CardColumnKind::kLineText, 0, database_.GetName(name_id::kLineText), kTextWidth);
  }
  for (int k = 0; k < database_.value_field_count(); ++k) {
    if (!visible.values[k]) continue;
    add(CardColumnKind::kValue, k, database_.GetName(name_id::kFirstValueField + k), kValueWidth);
  }
  add_dimensions(kLeadingDimensions, kDimensionCount);
}

std::string CardAnalysis::CellText(const CardRow& row, const ShownColumn& column) const {
  const CardStore& cards = database_.cards();
  switch (row.level) {
    case CardLevel::kCards:
      if (column.kind == CardColumnKind::kCardId) {
        return CardIdText(cards.CardId(row.item), database_.card_digits());
      }
      if (column.kind == CardColumnKind::kCardTitle) return std::string(cards.Title(row.item));
      return {};
    case CardLevel::kGroups:
      if (column.kind != CardColumnKind::kDimension || column.index != 0) return {};
      return ComponentDisplayText(database_, 0, cards.group(row.item).component);
    case CardLevel::kLines:
      switch (column.kind) {
        case CardColumnKind::kDimension:
          if (column.index == 0 || column.index > database_.line_layout().slots) return {};
          return ComponentDisplayText(database_, column.index,
                                      cards.GetComponent(row.item, column.index));
        case CardColumnKind::kLineText:
          return std::string(cards.LineText(row.item));
        case CardColumnKind::kValue:
          return ShownValue(cards.GetValue(row.item, column.index), options_.decimals);
        default:
          return {};
      }
  }
  return {};
}

void CardAnalysis::FillRow(int row, std::vector<TableCell>& cells) const {
  cells.assign(columns_.size(), TableCell());
  for (size_t c = 0; c < columns_.size(); ++c) {
    cells[c].alignment = columns_[c].column.alignment;
    cells[c].text = CellText(rows_[row], columns_[c]);
  }
}

bool CardAnalysis::WriteOwnXml(LineSink& out) {
  WriteCardsXml(*this, out);
  return true;
}

}  // namespace jov
