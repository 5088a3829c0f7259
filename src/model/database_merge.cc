#include "model/database_merge.h"

#include <algorithm>
#include <vector>

#include "shell/pending_error.h"

namespace jov {

void MergeInto(Database& target, const Database& source) {
  std::vector<ComponentRef> map(source.components().size(), kNoComponent);
  for (int d = 0; d < kDimensionCount; ++d) {
    const ComponentRef root = static_cast<ComponentRef>(d);
    map[root] = root;
    for (ComponentRef ref = source.NextInPreorder(root); ref != root;
         ref = source.NextInPreorder(ref)) {
      const Component& c = source.component(ref);
      const ComponentRef added = target.AddComponent(d, c.code, c.text, c.host);
      map[ref] = added == kNoComponent ? root : added;
    }
  }
  const CardStore& from = source.cards();
  CardStore& to = target.cards();
  const int values = std::min(source.value_field_count(), target.value_field_count());
  for (CardRef card = from.FirstCard(); card != kCardSentinel && !StopRequested();
       card = from.NextCard(card)) {
    const CardRef copy = to.CreateCard(from.CardId(card));
    if (copy == kNoRecord) continue;
    const Card& record = from.card(card);
    to.SetTitle(copy, from.Title(card));
    to.SetNotes(copy, from.Notes(card), record.notes_stamp);
    Card& stamps = to.mutable_card(copy);
    stamps.created = record.created, stamps.modified = record.modified;
    stamps.examined = record.examined, stamps.approved = record.approved;
    for (GroupRef g = record.first_group; g != kNoRecord; g = from.group(g).next) {
      const GroupRef group = to.FindOrAddGroup(copy, map[from.group(g).component]);
      for (LineRef l = from.group(g).first_line; l != kNoLine; l = from.lines().next(l)) {
        const LineRef line = to.CreateLine(group);
        if (line == kNoLine) break;
        for (int i = 0; i < values; ++i) to.lines().set_value(line, i, from.GetValue(l, i));
        to.SetLineText(line, from.LineText(l));
        for (int k = 1; k <= target.line_layout().slots; ++k) {
          to.lines().set_slot(line, k, map[source.LineComponent(g, l, k)]);
        }
      }
    }
    to.FinishCard(copy);
  }
  target.FlushChangeFlags();
}

}  // namespace jov
