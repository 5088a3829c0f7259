// The commands that delete data: deleteData, deleteCards and deleteComponent.
#include <limits>
#include <string>
#include <vector>

#include "automation/command_runner.h"
#include "automation/named_target.h"
#include "automation/script_commands.h"
#include "automation/script_host.h"
#include "model/component_use.h"
#include "model/database.h"
#include "model/packed_date.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

struct ComponentOptions {
  bool silent = false;
  bool unused = false;
  bool all = false;
  std::string dimension;
  std::string code;
};

ComponentOptions ReadComponentOptions(CommandRunner& runner, TokenLine& arguments) {
  ComponentOptions options;
  std::string token;
  int operands = 0;
  while (arguments.Next(&token)) {
    if (TokenIs(token, "-silent")) {
      options.silent = true;
    } else if (TokenIs(token, "-unused")) {
      options.unused = true;
    } else if (TokenIs(token, "-all")) {
      options.all = true;
    } else if (!token.empty() && token.front() == '-') {
      runner.RaiseError(msg::kUnknownOption, token);
    } else if (operands++ == 0) {
      options.dimension = token;
    } else if (operands == 2) {
      options.code = token;
    }
  }
  return options;
}

// `chosen` and every component below it, in preorder.
std::vector<ComponentRef> Subtree(const Database& database, ComponentRef chosen) {
  std::vector<ComponentRef> subtree = {chosen};
  for (ComponentRef ref = database.NextInPreorder(chosen);
       !IsRoot(ref) && ref != chosen && database.IsDescendant(chosen, ref);
       ref = database.NextInPreorder(ref)) {
    subtree.push_back(ref);
  }
  return subtree;
}

// The members that remove `chosen` with its subtree: the root's children for the root.
std::vector<ComponentRef> SubtreeTops(const Database& database, ComponentRef chosen) {
  const ComponentPool& pool = database.components();
  if (!IsRoot(chosen)) return {chosen};
  std::vector<ComponentRef> tops;
  for (ComponentRef c = pool[chosen].first_child; c != kNoComponent; c = pool[c].next_sibling) {
    tops.push_back(c);
  }
  return tops;
}

// The members to remove with -unused: the components of `chosen`'s subtree that are neither in
// use nor above one in use, as the tops of their subtrees (the root never goes itself).
std::vector<ComponentRef> UnusedTops(const Database& database, ComponentRef chosen,
                                     const std::vector<bool>& in_use) {
  const ComponentPool& pool = database.components();
  // Whether each component of the subtree has a component in use at or below it.
  std::vector<bool> holds_used(pool.size(), false);
  const std::vector<ComponentRef> subtree = Subtree(database, chosen);
  // In reverse preorder every child comes before its parent.
  for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
    if (*it < in_use.size() && in_use[*it]) holds_used[*it] = true;
    const ComponentRef parent = pool[*it].parent;
    if (holds_used[*it] && parent != kNoComponent) holds_used[parent] = true;
  }
  std::vector<ComponentRef> tops;
  for (const ComponentRef ref : subtree) {
    if (holds_used[ref]) continue;
    const ComponentRef parent = pool[ref].parent;
    const bool parent_goes =
        ref != chosen && parent != kNoComponent && !holds_used[parent] && !IsRoot(parent);
    if (parent_goes) continue;
    if (IsRoot(ref)) return SubtreeTops(database, ref);
    tops.push_back(ref);
  }
  return tops;
}

bool SubtreeInUse(const Database& database, ComponentRef chosen, const std::vector<bool>& in_use) {
  for (const ComponentRef ref : Subtree(database, chosen)) {
    if (ref < in_use.size() && in_use[ref] && !IsRoot(ref)) return true;
  }
  return false;
}

}  // namespace

void RunDeleteData(CommandRunner& runner, TokenLine& arguments) {
  const std::string name = arguments.Next();
  std::optional<NamedTarget> target =
      NamedTarget::Resolve(runner, name, NamedTarget::kBase | NamedTarget::kSubset);
  if (target) target->DeleteData(runner);
}

void RunDeleteCards(CommandRunner& runner, TokenLine& arguments) {
  const std::string from_text = arguments.Next();
  const std::string to_text = arguments.Next();
  const DayCode from_day = ReadDayCode(from_text, DateBound::kStart);
  const DayCode to_day = ReadDayCode(to_text, DateBound::kEnd);
  const Date from = from_day == kNoDay ? Date{} : Date{from_day, 0};
  const Date to = to_day == kNoDay ? Date{std::numeric_limits<DayCode>::max(), kEndOfDay}
                                   : Date{to_day, kEndOfDay};
  Database& database = runner.database();
  if (!runner.host().CloseCardWindows(database, from, to)) return;
  CardStore& cards = database.cards();
  CardRef card = cards.FirstCard();
  while (card != kCardSentinel && cards.CardId(card) < from) card = cards.NextCard(card);
  bool deleted = false;
  while (card != kCardSentinel && !(to < cards.CardId(card)) && !StopRequested()) {
    const CardRef next = cards.NextCard(card);
    cards.DeleteCard(card);
    deleted = true;
    card = next;
  }
  if (!deleted) return;
  database.MarkModified();
  database.FlushChangeFlags();
}

void RunDeleteComponent(CommandRunner& runner, TokenLine& arguments) {
  const ComponentOptions options = ReadComponentOptions(runner, arguments);
  Database& database = runner.database();
  const int dimension = database.FindDimension(options.dimension);
  if (dimension < 0) {
    if (!options.silent) runner.RaiseError(msg::kDimensionNotFound, options.dimension);
    return;
  }
  const ComponentRef root = database.dimension(dimension).root();
  ComponentRef chosen = kNoComponent;
  if (options.all) {
    chosen = root;
  } else if (!options.code.empty()) {
    chosen = database.FindByCode(dimension, options.code);
  } else if (options.unused) {
    chosen = root;
  }
  if (chosen == kNoComponent) {
    if (!options.silent) {
      runner.RaiseError(msg::kCodeNotFound, options.code, database.GetName(dimension + 1));
    }
    return;
  }
  const std::vector<bool> in_use = ComponentsInUse(database);
  std::vector<ComponentRef> members;
  if (options.unused) {
    members = UnusedTops(database, chosen, in_use);
  } else if (SubtreeInUse(database, chosen, in_use)) {
    if (!options.silent) {
      runner.RaiseError(msg::kComponentInUse, database.component(chosen).code);
    }
    return;
  } else {
    members = SubtreeTops(database, chosen);
  }
  if (members.empty()) return;
  // Removing announces the change (kComponents) to the views, and brings the index up to date.
  database.DeleteComponents(dimension, members);
  database.MarkModified();
}

}  // namespace jov
