#include "model/dimension_edit.h"

#include <algorithm>

#include "model/component_use.h"
#include "shell/message_ids.h"

namespace jov {

DimensionEdit::DimensionEdit(Database& database, int dimension)
    : database_(database), dimension_(dimension) {
  Load();
  database_.AddListener(this);
}

DimensionEdit::~DimensionEdit() { database_.RemoveListener(this); }

void DimensionEdit::Load() {
  rows_.clear();
  rows_.emplace_back();
  for (auto& index : index_) index.clear();
  index_valid_ = true;
  added_ = 0;
  changed_ = false;
  stale_ = false;
  // The parent of each component is the row last opened at the depth above it.
  std::vector<Row> open = {kTop};
  const ComponentRef root = database_.dimension(dimension_).root();
  int depth_change = 0;
  for (ComponentRef ref = database_.NextInPreorder(root, &depth_change); ref != root;
       ref = database_.NextInPreorder(ref, &depth_change)) {
    if (depth_change < 0) open.resize(open.size() - static_cast<size_t>(-depth_change));
    if (depth_change <= 0) open.pop_back();
    const Component& record = database_.component(ref);
    const Row number = NewRow(open.back(), -1, record.code);
    rows_[number].text = record.text;
    rows_[number].host = record.host;
    rows_[number].component = ref;
    Index(number);
    open.push_back(number);
  }
}

void DimensionEdit::OnDatabaseChange(Database&, ChangeCode code, int argument, int) {
  if (code == ChangeCode::kComponents && argument == dimension_ && !writing_) stale_ = true;
}

std::string_view DimensionEdit::segment(Row row) const {
  if (row == kTop) return {};
  return std::string_view(rows_[row].code).substr(rows_[rows_[row].parent].code.size());
}

DimensionEdit::Row DimensionEdit::NewRow(Row parent, int position, std::string code) {
  const Row number = row_count();
  std::vector<Row>& siblings = rows_[parent].children;
  if (position < 0 || position > static_cast<int>(siblings.size())) {
    position = static_cast<int>(siblings.size());
  }
  siblings.insert(siblings.begin() + position, number);
  EditRow& row = rows_.emplace_back();
  row.parent = parent;
  row.code = std::move(code);
  return number;
}

std::string DimensionEdit::Key(ComponentField field, std::string_view value) const {
  std::string key(value);
  if (!CaseOptionIsExact(database_.dimension(dimension_).case_option(field))) {
    const unsigned char* upper = UpperCaseTable();
    for (char& c : key) c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
  }
  return key;
}

void DimensionEdit::Index(Row row) const {
  if (!index_valid_ || blank(row)) return;
  const EditRow& r = rows_[row];
  const std::string* values[3] = {&r.code, &r.text, &r.host};
  for (int field = 0; field < 3; ++field) {
    if (values[field]->empty()) continue;
    index_[field].emplace(Key(static_cast<ComponentField>(field), *values[field]), row);
  }
}

void DimensionEdit::EnsureIndex() const {
  if (index_valid_) return;
  index_valid_ = true;
  for (const Row row : TreeOrder()) Index(row);
}

void DimensionEdit::Changed() {
  changed_ = true;
  if (!index_valid_) return;
  index_valid_ = false;
  for (auto& index : index_) index.clear();
}

DimensionEdit::Row DimensionEdit::Add(Row parent, std::string_view code_in, std::string_view text,
                                      std::string_view host) {
  if (rows_[parent].removed || blank(parent)) return kNoRow;
  std::string code = database_.StoredForm(dimension_, ComponentField::kCode, code_in);
  const std::string& parent_code = rows_[parent].code;
  if (code.size() <= parent_code.size() || !code.starts_with(parent_code) ||
      !Database::IsStorableCode(code)) {
    return kNoRow;
  }
  const Row number = NewRow(parent, -1, std::move(code));
  rows_[number].text = database_.StoredForm(dimension_, ComponentField::kText, text);
  rows_[number].host = database_.StoredForm(dimension_, ComponentField::kHost, host);
  Index(number);
  ++added_;
  changed_ = true;
  return number;
}

DimensionEdit::Row DimensionEdit::InsertBlank(Row parent, int position) {
  if (rows_[parent].removed || blank(parent)) return kNoRow;
  const Row number = NewRow(parent, position, rows_[parent].code);
  ++added_;
  changed_ = true;
  return number;
}

bool DimensionEdit::Rename(Row row, std::string_view segment_in) {
  if (row == kTop || rows_[row].removed) return false;
  const std::string stored = database_.StoredForm(dimension_, ComponentField::kCode, segment_in);
  if (stored.empty()) return false;
  if (stored == segment(row)) return true;
  return Recode(row, rows_[rows_[row].parent].code + stored);
}

void DimensionEdit::SetText(Row row, std::string_view text) {
  std::string stored = database_.StoredForm(dimension_, ComponentField::kText, text);
  if (row == kTop || rows_[row].text == stored) return;
  rows_[row].text = std::move(stored);
  Changed();
}

void DimensionEdit::SetHost(Row row, std::string_view host) {
  std::string stored = database_.StoredForm(dimension_, ComponentField::kHost, host);
  if (row == kTop || rows_[row].host == stored) return;
  rows_[row].host = std::move(stored);
  Changed();
}

bool DimensionEdit::Recode(Row row, const std::string& code) {
  const size_t old_length = rows_[row].code.size();
  const std::vector<Row> subtree = TreeOrder(row);
  // Every code below the row begins with the row's code; only that part changes.
  for (const Row r : subtree) {
    // A blank row (which has no children) stays blank: its code is its parent's.
    const bool stays_blank =
        r == row ? code.size() == rows_[rows_[row].parent].code.size() : blank(r);
    if (!stays_blank && !Database::IsStorableCode(code + rows_[r].code.substr(old_length))) {
      return false;
    }
  }
  for (const Row r : subtree) rows_[r].code = code + rows_[r].code.substr(old_length);
  Changed();
  return true;
}

int DimensionEdit::Position(Row row) const {
  const std::vector<Row>& siblings = rows_[rows_[row].parent].children;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), row) - siblings.begin());
}

bool DimensionEdit::MoveTo(Row row, Row parent, int position) {
  const Row old_parent = rows_[row].parent;
  const int old_position = Position(row);
  const std::string own(segment(row));
  std::vector<Row>& old_siblings = rows_[old_parent].children;
  old_siblings.erase(old_siblings.begin() + old_position);
  std::vector<Row>& siblings = rows_[parent].children;
  siblings.insert(siblings.begin() + std::min<size_t>(position, siblings.size()), row);
  rows_[row].parent = parent;
  if (parent != old_parent && !Recode(row, rows_[parent].code + own)) {
    // Put it back where it was.
    std::vector<Row>& now = rows_[parent].children;
    now.erase(std::find(now.begin(), now.end(), row));
    rows_[old_parent].children.insert(rows_[old_parent].children.begin() + old_position, row);
    rows_[row].parent = old_parent;
    return false;
  }
  Changed();
  return true;
}

bool DimensionEdit::Indent(Row row) {
  if (row == kTop || rows_[row].removed) return false;
  const int position = Position(row);
  if (position == 0) return false;
  const Row above = rows_[rows_[row].parent].children[position - 1];
  if (blank(above)) return false;
  return MoveTo(row, above, static_cast<int>(rows_[above].children.size()));
}

bool DimensionEdit::Outdent(Row row) {
  if (row == kTop || rows_[row].removed || rows_[row].parent == kTop) return false;
  const Row parent = rows_[row].parent;
  return MoveTo(row, rows_[parent].parent, Position(parent) + 1);
}

bool DimensionEdit::MoveUp(Row row) {
  if (row == kTop || rows_[row].removed) return false;
  const int position = Position(row);
  if (position == 0) return false;
  std::vector<Row>& siblings = rows_[rows_[row].parent].children;
  std::swap(siblings[position - 1], siblings[position]);
  Changed();
  return true;
}

bool DimensionEdit::MoveDown(Row row) {
  if (row == kTop || rows_[row].removed) return false;
  const int position = Position(row);
  std::vector<Row>& siblings = rows_[rows_[row].parent].children;
  if (position + 1 >= static_cast<int>(siblings.size())) return false;
  std::swap(siblings[position], siblings[position + 1]);
  Changed();
  return true;
}

DimensionEdit::Row DimensionEdit::FindInUse(Row row) const {
  const std::vector<bool> in_use = ComponentsInUse(database_);
  for (const Row r : TreeOrder(row)) {
    const ComponentRef ref = rows_[r].component;
    if (ref != kNoComponent && ref < in_use.size() && in_use[ref]) return r;
  }
  return kNoRow;
}

bool DimensionEdit::Remove(Row row) {
  if (row == kTop || rows_[row].removed || FindInUse(row) != kNoRow) return false;
  for (const Row r : TreeOrder(row)) {
    rows_[r].removed = true;
    if (rows_[r].component == kNoComponent) --added_;
  }
  std::vector<Row>& siblings = rows_[rows_[row].parent].children;
  siblings.erase(siblings.begin() + Position(row));
  Changed();
  return true;
}

DimensionEdit::Row DimensionEdit::FindRemovedInUse() const {
  const std::vector<bool> in_use = ComponentsInUse(database_);
  for (Row r = kTop + 1; r < row_count(); ++r) {
    const ComponentRef ref = rows_[r].component;
    if (rows_[r].removed && ref != kNoComponent && ref < in_use.size() && in_use[ref]) return r;
  }
  return kNoRow;
}

DimensionEdit::Row DimensionEdit::Find(ComponentField field, std::string_view value) const {
  if (value.empty()) return kNoRow;
  EnsureIndex();
  const auto& index = index_[static_cast<int>(field)];
  const auto found = index.find(Key(field, value));
  return found == index.end() ? kNoRow : found->second;
}

std::vector<DimensionEdit::Row> DimensionEdit::TreeOrder(Row from) const {
  std::vector<Row> order;
  std::vector<Row> stack;
  if (from == kTop) {
    order.reserve(rows_.size());
    stack.assign(rows_[kTop].children.rbegin(), rows_[kTop].children.rend());
  } else {
    stack.push_back(from);
  }
  while (!stack.empty()) {
    const Row row = stack.back();
    stack.pop_back();
    order.push_back(row);
    const std::vector<Row>& children = rows_[row].children;
    stack.insert(stack.end(), children.rbegin(), children.rend());
  }
  return order;
}

std::optional<DimensionEdit::Duplicate> DimensionEdit::FirstDuplicate(
    ComponentField field, const std::vector<Row>& order) const {
  std::unordered_map<std::string, Row> seen;
  seen.reserve(order.size());
  for (const Row row : order) {
    const std::string& value = field == ComponentField::kCode ? rows_[row].code : rows_[row].host;
    if (value.empty() || blank(row)) continue;
    const auto [at, fresh] = seen.emplace(Key(field, value), row);
    if (!fresh) return Duplicate{field, at->second, row};
  }
  return std::nullopt;
}

std::optional<DimensionEdit::Duplicate> DimensionEdit::FindDuplicate() const {
  const std::vector<Row> order = TreeOrder();
  if (auto duplicate = FirstDuplicate(ComponentField::kCode, order)) return duplicate;
  return FirstDuplicate(ComponentField::kHost, order);
}

AlertRecord DimensionEdit::InUseAlert(Row row) const {
  AlertRecord alert(msg::kComponentInUse);
  alert.Arg(rows_[row].text.empty() ? rows_[row].code : rows_[row].code + " " + rows_[row].text);
  alert.Button(msg::kButtonOk);
  return alert;
}

AlertRecord DimensionEdit::DuplicateAlert(const Duplicate& duplicate) const {
  const bool code = duplicate.field == ComponentField::kCode;
  AlertRecord alert(code ? msg::kCodeDefinedTwice : msg::kHostDefinedTwice);
  alert.Arg(code ? rows_[duplicate.second].code : rows_[duplicate.second].host);
  return alert;
}

DimensionEdit::ApplyOutcome DimensionEdit::Apply() {
  if (stale_) return ApplyOutcome::kStale;
  if (FindDuplicate()) return ApplyOutcome::kDuplicate;
  if (FindRemovedInUse() != kNoRow) return ApplyOutcome::kInUse;
  if (!changed_) return ApplyOutcome::kWritten;
  std::vector<ComponentWrite> tree;
  std::vector<int> entry_of(rows_.size(), -1);
  for (const Row row : TreeOrder()) {
    if (blank(row)) continue;  // a blank row has no children
    const EditRow& r = rows_[row];
    entry_of[row] = static_cast<int>(tree.size());
    // The case options may have changed since the values were typed.
    tree.push_back({r.component, entry_of[r.parent],
                    database_.StoredForm(dimension_, ComponentField::kCode, r.code),
                    database_.StoredForm(dimension_, ComponentField::kText, r.text),
                    database_.StoredForm(dimension_, ComponentField::kHost, r.host)});
  }
  std::vector<ComponentRef> removed;
  for (const EditRow& r : rows_) {
    if (r.removed && r.component != kNoComponent) removed.push_back(r.component);
  }
  writing_ = true;
  const bool written = database_.WriteComponents(dimension_, tree, removed);
  writing_ = false;
  if (!written) return ApplyOutcome::kFailed;
  Load();
  return ApplyOutcome::kWritten;
}

}  // namespace jov
