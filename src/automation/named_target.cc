#include "automation/named_target.h"

#include "automation/command_runner.h"
#include "files/analysis_template.h"
#include "model/case_tables.h"
#include "model/database.h"
#include "model/user_stamp.h"
#include "select/subset.h"
#include "select/subset_list.h"
#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

constexpr char kChildSeparator = ':';

// `name` is a direct child of `parent`: the parent's name, a colon, and a name without one.
bool IsChildOf(std::string_view name, std::string_view parent) {
  if (name.size() <= parent.size() + 1 || name[parent.size()] != kChildSeparator) return false;
  if (!EqualsIgnoringCase(name.substr(0, parent.size()), parent)) return false;
  return name.substr(parent.size() + 1).find(kChildSeparator) == std::string_view::npos;
}

// The base window's delete-data: every card, once the user confirms and a stamp is had.
bool DeleteEveryCard(Database& database) {
  CardStore& cards = database.cards();
  if (cards.FirstCard() == kCardSentinel) return false;
  AlertRecord question(msg::kConfirmDelete);
  question.Arg(database.Title())
      .ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  if (ReportAlert(question) != 0 || !ObtainUserStamp()) return false;
  while (cards.FirstCard() != kCardSentinel) cards.DeleteCard(cards.FirstCard());
  database.MarkModified();
  database.FlushChangeFlags();
  return true;
}

}  // namespace

std::optional<NamedTarget> NamedTarget::Resolve(CommandRunner& runner, std::string_view name,
                                                unsigned mask) {
  Database& database = runner.database();
  NamedTarget target;
  if (!name.empty()) {
    if ((mask & kBase) && EqualsIgnoringCase(name, "base")) return target;
    if (mask & kSubset) {
      if (Subset* subset = SubsetList::Of(database).Find(name)) {
        target.kind_ = kSubset;
        target.subset_ = subset;
        return target;
      }
    }
    if (const AnalysisTemplate* stored = AnalysisTemplates::Of(database).Find(name)) {
      const Kind kind =
          ChildTemplates(database, stored->frame.name).empty() ? kTemplate : kTemplateFolder;
      if (mask & kind) {
        target.kind_ = kind;
        target.template_name_ = stored->frame.name;
        return target;
      }
    }
  }
  runner.RaiseError(msg::kTemplateNotFound, name);
  return std::nullopt;
}

bool NamedTarget::DeleteData(CommandRunner& runner) const {
  switch (kind_) {
    case kBase:
      return DeleteEveryCard(runner.database());
    case kSubset:
      return subset_->Calculate() && subset_->DeleteData();
    default:
      return false;
  }
}

std::vector<std::string> ChildTemplates(Database& database, std::string_view name) {
  std::vector<std::string> children;
  for (const AnalysisTemplate& stored : AnalysisTemplates::Of(database).templates()) {
    if (IsChildOf(stored.frame.name, name)) children.push_back(stored.frame.name);
  }
  return children;
}

}  // namespace jov
