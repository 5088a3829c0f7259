#include "model/database.h"

#include <algorithm>
#include <cstdio>

#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

// Line slots widen to 3 bytes when the component pool reaches this many records, to 4 at the
// second count, so that every component number fits.
constexpr size_t kThreeByteSlotRecords = 65530;
constexpr size_t kFourByteSlotRecords = 16777210;
// Generated codes are "#" and five digits below the component "#".
constexpr std::string_view kGeneratedParentCode = "#";

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// Sets `target` to `value` cut to the label length, or to nothing when that is the default;
// true when it changed.
bool StoreLabel(std::string& target, std::string_view value, const std::string& default_text) {
  value = value.substr(0, Database::kMaxLabelLength);
  const std::string stored = value == default_text ? std::string() : std::string(value);
  if (target == stored) return false;
  target = stored;
  return true;
}

void ReportAbout(MessageId message, std::string_view subject, const std::string& dimension) {
  AlertRecord alert(message);
  alert.Arg(subject).Arg(dimension);
  ReportAlert(alert);
}

}  // namespace

Database::Database(int untitled_number) : untitled_number_(untitled_number), index_(pool_) {
  for (int d = 0; d < kDimensionCount; ++d) dimensions_[d] = std::make_unique<Dimension>(*this, d);
}

Database::~Database() {
  // The attachments' own order is that of their type names: the registries that objects of
  // other attachments leave on their way out go last.
  for (auto& [type, attachment] : attachments_) {
    if (attachment && !attachment->OutlivesOtherAttachments()) attachment.reset();
  }
  attachments_.clear();
}

void Database::SetFileName(std::string_view name) {
  if (file_name_ == name) return;
  file_name_ = name;
  Notify(ChangeCode::kFileName);
}

std::string Database::Title() const {
  if (!file_name_.empty()) return file_name_;
  AlertRecord untitled(msg::kUntitled);
  untitled.Arg(untitled_number_);
  return untitled.ComposeText() + ".jov";
}

void Database::SetCardDigits(int digits) {
  digits = std::clamp(digits, 0, 6);
  if (card_digits_ == digits) return;
  card_digits_ = digits;
  MarkModified();
  Notify(ChangeCode::kCardDigits);
}

void Database::SetValueDecimals(int decimals) {
  decimals = std::clamp(decimals, 0, 15);
  if (value_decimals_ == decimals) return;
  value_decimals_ = decimals;
  MarkModified();
  Notify(ChangeCode::kValueDecimals);
}

// ---------------------------------------------------------------------------------------------
// Labels

std::string Database::DefaultValueFieldName(int field) const {
  std::string name = MessageText(msg::kValue);
  if (field > 0) name.append(" ").append(std::to_string(field + 1));
  return name;
}

std::string Database::GetName(int id) const {
  if (id >= name_id::kFirstSingular && id < name_id::kFirstPlural) {
    const std::string& name = dimensions_[id - name_id::kFirstSingular]->singular_name();
    return name.empty() ? MessageText(msg::kFirstDimensionSingular + id - name_id::kFirstSingular)
                        : name;
  }
  if (id >= name_id::kFirstPlural && id < name_id::kCardTitle) {
    const std::string& name = dimensions_[id - name_id::kFirstPlural]->plural_name();
    return name.empty() ? MessageText(msg::kFirstDimensionPlural + id - name_id::kFirstPlural)
                        : name;
  }
  if (id == name_id::kCardTitle) {
    return card_title_label_.empty() ? MessageText(msg::kCardTitle) : card_title_label_;
  }
  if (id == name_id::kLineText) {
    return line_text_label_.empty() ? MessageText(msg::kLineText) : line_text_label_;
  }
  if (id >= name_id::kFirstValueField && id < name_id::kFirstValueField + kMaxValueFields) {
    const int field = id - name_id::kFirstValueField;
    return value_field_names_[field].empty() ? DefaultValueFieldName(field)
                                             : value_field_names_[field];
  }
  if (id >= name_id::kFirstMessage) return MessageText(id);
  return {};
}

void Database::SetCardTitleLabel(std::string_view label) {
  if (!StoreLabel(card_title_label_, label, MessageText(msg::kCardTitle))) return;
  MarkModified();
  Notify(ChangeCode::kCardTitleLabel);
}

void Database::SetLineTextLabel(std::string_view label) {
  if (!StoreLabel(line_text_label_, label, MessageText(msg::kLineText))) return;
  MarkModified();
  Notify(ChangeCode::kLineTextLabel);
}

void Database::SetValueFieldName(int field, std::string_view name) {
  if (field < 0 || field >= kMaxValueFields) return;
  if (!StoreLabel(value_field_names_[field], name, DefaultValueFieldName(field))) return;
  MarkModified();
  Notify(ChangeCode::kValueFieldName, field);
}

// ---------------------------------------------------------------------------------------------
// Components

bool Database::HasComponents(int dimension) const {
  return pool_[static_cast<ComponentRef>(dimension)].first_child != kNoComponent;
}

int Database::FindDimension(std::string_view name) const {
  for (int d = 0; d < kDimensionCount; ++d) {
    if (EqualsIgnoringCase(GetName(name_id::kFirstSingular + d), name) ||
        EqualsIgnoringCase(GetName(name_id::kFirstPlural + d), name)) {
      return d;
    }
  }
  return -1;
}

bool Database::IsDimensionUsed(int dimension) const {
  return HasComponents(dimension) || dimensions_[dimension]->HasSettings();
}

ComponentRef Database::FindByCode(int dimension, std::string_view code) const {
  const CaseOption option = dimensions_[dimension]->case_option(ComponentField::kCode);
  return index_.FindCode(dimension, code, CaseOptionIsExact(option));
}

ComponentRef Database::FindByHost(int dimension, std::string_view host) const {
  const CaseOption option = dimensions_[dimension]->case_option(ComponentField::kHost);
  return index_.FindHost(dimension, host, CaseOptionIsExact(option));
}

ComponentRef Database::FindByText(int dimension, std::string_view text) const {
  const CaseOption option = dimensions_[dimension]->case_option(ComponentField::kText);
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  for (ComponentRef ref = pool_.NextInPreorder(root); ref != root;
       ref = pool_.NextInPreorder(ref)) {
    if (EqualsUnder(option, pool_[ref].text, text)) return ref;
  }
  return kNoComponent;
}

ComponentRef Database::FindParentByPrefix(int dimension, const std::string& code) const {
  for (size_t length = code.size() - 1; length > 0; --length) {
    const ComponentRef parent = FindByCode(dimension, std::string_view(code).substr(0, length));
    if (parent != kNoComponent) return parent;
  }
  return static_cast<ComponentRef>(dimension);
}

std::string Database::StoredForm(int dimension, ComponentField field,
                                 std::string_view value) const {
  std::string stored(TrimBlanks(value));
  ApplyCaseOption(dimensions_[dimension]->case_option(field), stored);
  return stored;
}

bool Database::IsStorableCode(std::string_view stored_code) {
  return !stored_code.empty() && !stored_code.starts_with("##");
}

ComponentRef Database::AddComponent(int dimension, std::string_view code_in,
                                    std::string_view text_in, std::string_view host_in) {
  std::string code = StoredForm(dimension, ComponentField::kCode, code_in);
  std::string text = StoredForm(dimension, ComponentField::kText, text_in);
  std::string host = StoredForm(dimension, ComponentField::kHost, host_in);

  if (!IsStorableCode(code)) return kNoComponent;
  if (const ComponentRef existing = FindByCode(dimension, code); existing != kNoComponent) {
    return existing;
  }
  if (!host.empty() && FindByHost(dimension, host) != kNoComponent) {
    ReportAbout(msg::kHostTaken, host, GetName(name_id::kFirstSingular + dimension));
    host.clear();
  }
  const ComponentRef ref = pool_.Allocate();
  if (ref == kNoComponent) return kNoComponent;
  if (!WidenSlotsForPool()) {
    pool_.Free(ref);  // its number would not fit in the lines' slots
    return kNoComponent;
  }
  const ComponentRef parent = FindParentByPrefix(dimension, code);
  Component& record = pool_[ref];
  record.code = std::move(code);
  record.text = std::move(text);
  record.host = std::move(host);
  pool_.AppendChild(parent, ref);
  if (!index_.Insert(ref, dimension)) {
    pool_.Unlink(ref);
    pool_.Free(ref);
    return kNoComponent;
  }
  const bool first_of_dimension =
      parent == static_cast<ComponentRef>(dimension) && pool_[parent].first_child == ref;
  ComponentsChanged(dimension);
  if (first_of_dimension) {
    RecomputeSlotCount();
    UpdateUsedState(dimension);
  }
  return ref;
}

ComponentRef Database::GeneratedComponent(int dimension, const std::string& text,
                                          IdentifierKind kind) {
  if (generated_code_counters_[dimension] == 0) {
    AddComponent(dimension, kGeneratedParentCode, MessageText(msg::kNewComponents), "");
  }
  char code[16];
  do {
    std::snprintf(code, sizeof code, "#%05d", ++generated_code_counters_[dimension]);
  } while (FindByCode(dimension, code) != kNoComponent);
  return kind == IdentifierKind::kText ? AddComponent(dimension, code, text, "")
                                       : AddComponent(dimension, code, "", text);
}

ComponentRef Database::ResolveIdentifier(int dimension, std::string_view text,
                                         IdentifierKind kind) {
  ComponentRef found = kNoComponent;
  const std::string_view trimmed = TrimBlanks(text);
  switch (kind) {
    case IdentifierKind::kCode:
      found = FindByCode(dimension, text);
      if (found == kNoComponent) found = FindByCode(dimension, trimmed);
      break;
    case IdentifierKind::kHost:
      found = FindByHost(dimension, trimmed);
      break;
    case IdentifierKind::kText:
      found = FindByText(dimension, trimmed);
      break;
  }
  if (found != kNoComponent) return found;

  static constexpr MessageId kNotFound[] = {msg::kCodeNotFound, msg::kHostNotFound,
                                            msg::kTextNotFound};
  ReportAbout(kNotFound[static_cast<int>(kind)], text,
              GetName(name_id::kFirstSingular + dimension));
  const ComponentRef added = kind == IdentifierKind::kCode
                                 ? AddComponent(dimension, text, "", "")
                                 : GeneratedComponent(dimension, std::string(trimmed), kind);
  return added == kNoComponent ? static_cast<ComponentRef>(dimension) : added;
}

ComponentRef Database::CommonAncestor(int dimension, std::span<const ComponentRef> members) const {
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  if (members.empty()) return root;
  ComponentRef common = members[0];
  for (ComponentRef member : members.subspan(1)) {
    while (!IsRoot(common) && !pool_.IsDescendant(common, member)) common = pool_[common].parent;
  }
  return pool_.DimensionOf(common) == dimension ? common : root;
}

void Database::RemoveSubtree(ComponentRef top) {
  // Children before their parents, without recursion: trees can be as deep as codes are long.
  ComponentRef node = top;
  for (;;) {
    while (pool_[node].first_child != kNoComponent) node = pool_[node].first_child;
    const ComponentRef parent = pool_[node].parent;
    pool_.Unlink(node);
    pool_.Free(node);
    if (node == top) return;
    node = parent;
  }
}

void Database::DeleteComponents(int dimension, std::span<const ComponentRef> members) {
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  for (ComponentRef ref : members) {
    // A member already removed with an earlier member's subtree is no longer live.
    if (IsRoot(ref) || !pool_.IsLive(ref) || pool_.DimensionOf(ref) != dimension) continue;
    RemoveSubtree(ref);
  }
  index_.Rebuild();
  ComponentsChanged(dimension);
  if (pool_[root].first_child == kNoComponent) UpdateUsedState(dimension);
  Notify(ChangeCode::kComponents, dimension);
  components_changed_[dimension] = false;
}

bool Database::WriteComponents(int dimension, std::span<ComponentWrite> tree,
                               std::span<const ComponentRef> removed) {
  // New records first, so that running out of memory leaves the tree as it was.
  std::vector<ComponentRef> made;
  for (ComponentWrite& entry : tree) {
    if (entry.ref != kNoComponent) {
      JOV_DCHECK(pool_.IsLive(entry.ref) && pool_.DimensionOf(entry.ref) == dimension,
                 "a component written from an edit must be live, in its dimension");
      continue;
    }
    entry.ref = pool_.Allocate();
    if (entry.ref == kNoComponent) break;
    made.push_back(entry.ref);
  }
  const bool allocated = std::none_of(tree.begin(), tree.end(), [](const ComponentWrite& entry) {
    return entry.ref == kNoComponent;
  });
  if (!allocated || !WidenSlotsForPool()) {
    for (ComponentWrite& entry : tree) {
      if (std::find(made.begin(), made.end(), entry.ref) != made.end()) entry.ref = kNoComponent;
    }
    for (const ComponentRef ref : made) pool_.Free(ref);
    return false;
  }
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  // Re-appending every entry in pre-order gives each parent its children in the list's order.
  for (ComponentWrite& entry : tree) {
    Component& record = pool_[entry.ref];
    if (record.parent != kNoComponent) pool_.Unlink(entry.ref);
    pool_.AppendChild(entry.parent < 0 ? root : tree[entry.parent].ref, entry.ref);
    record.code = std::move(entry.code);
    record.text = std::move(entry.text);
    record.host = std::move(entry.host);
  }
  // Every kept component now hangs below kept ones, so a removed subtree holds only removed ones.
  for (const ComponentRef ref : removed) {
    if (!IsRoot(ref) && pool_.IsLive(ref) && pool_.DimensionOf(ref) == dimension) {
      RemoveSubtree(ref);
    }
  }
  index_.Rebuild();
  ComponentsChanged(dimension);
  RecomputeSlotCount();
  UpdateUsedState(dimension);
  Notify(ChangeCode::kComponents, dimension);
  components_changed_[dimension] = false;
  return true;
}

size_t Database::ComponentTextBytes() const {
  if (!component_text_bytes_) {
    size_t total = 0;
    for (ComponentRef ref = kFirstComponent; ref < pool_.size(); ++ref) {
      const Component& c = pool_[ref];
      total += c.code.size() + c.text.size() + c.host.size();
    }
    component_text_bytes_ = total;
  }
  return *component_text_bytes_;
}

void Database::RewriteField(int dimension, ComponentField field, CaseOption option) {
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  for (ComponentRef ref = pool_.NextInPreorder(root); ref != root;
       ref = pool_.NextInPreorder(ref)) {
    Component& c = pool_[ref];
    ApplyCaseOption(option, field == ComponentField::kCode   ? c.code
                            : field == ComponentField::kText ? c.text
                                                             : c.host);
  }
  ComponentsChanged(dimension);
}

void Database::ComponentsChanged(int dimension) {
  components_changed_[dimension] = true;
  component_text_bytes_.reset();
  MarkModified();
}

void Database::RecomputeSlotCount() {
  int slots = 1;
  for (int d = kDimensionCount - 1; d >= 2; --d) {
    if (HasComponents(d)) {
      slots = d;
      break;
    }
  }
  if (slots == line_layout().slots) return;
  LineLayout layout = line_layout();
  layout.slots = slots;
  if (ChangeLineLayout(layout)) Notify(ChangeCode::kSlotCount);
}

bool Database::WidenSlotsForPool() {
  const int width = pool_.size() >= kFourByteSlotRecords    ? 4
                    : pool_.size() >= kThreeByteSlotRecords ? 3
                                                            : 2;
  if (width <= line_layout().slot_width) return true;
  LineLayout layout = line_layout();
  layout.slot_width = width;
  return ChangeLineLayout(layout);
}

bool Database::ChangeLineLayout(const LineLayout& layout) {
  Notify(ChangeCode::kLinesMoving);
  const bool changed = cards_.lines().Relayout(layout);
  Notify(ChangeCode::kLinesMoved);
  return changed;
}

bool Database::SetValueFieldCount(int count) {
  const int old_count = value_field_count();
  if (count < 1 || count > kMaxValueFields || count == old_count) return count == old_count;
  LineLayout layout = line_layout();
  layout.values = count;
  if (!ChangeLineLayout(layout)) return false;
  MarkModified();
  Notify(ChangeCode::kValueFieldCount, count - old_count);
  return true;
}

ComponentRef Database::LineComponent(GroupRef group, LineRef line, int dimension) const {
  if (dimension == 0) return cards_.group(group).component;
  if (dimension > line_layout().slots) return static_cast<ComponentRef>(dimension);
  return cards_.GetComponent(line, dimension);
}

size_t Database::MemoryBytes() const {
  return sizeof(*this) + pool_.BytesAllocated() + ComponentTextBytes() + index_.BytesAllocated() +
         cards_.BytesAllocated();
}

void Database::SetReferencePoint(Date date) {
  if (reference_point_ == date) return;
  reference_point_ = date;
  MarkModified();
  Notify(ChangeCode::kReferencePoint);
}

// ---------------------------------------------------------------------------------------------
// Notifications

void Database::UpdateUsedState(int dimension) {
  const bool used = IsDimensionUsed(dimension);
  if (used_[dimension] == used) return;
  used_[dimension] = used;
  Notify(ChangeCode::kDimensionUsed, dimension, used ? 1 : 0);
}

void Database::AddListener(DatabaseListener* listener) { listeners_.push_back(listener); }

size_t Database::ListenerMemoryBytes() const {
  size_t bytes = 0;
  for (const DatabaseListener* listener : listeners_) bytes += listener->MemoryBytes();
  return bytes;
}

void Database::RemoveListener(DatabaseListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void Database::Notify(ChangeCode code, int argument, int argument2) {
  // A listener may remove itself (or another) while it is told.
  const std::vector<DatabaseListener*> listeners = listeners_;
  for (DatabaseListener* listener : listeners) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) {
      listener->OnDatabaseChange(*this, code, argument, argument2);
    }
  }
}

void Database::FlushChangeFlags() {
  for (int d = 0; d < kDimensionCount; ++d) {
    if (!components_changed_[d]) continue;
    components_changed_[d] = false;
    Notify(ChangeCode::kComponents, d);
  }
  if (cards_.TakeCardsChanged()) Notify(ChangeCode::kCards);
}

}  // namespace jov
