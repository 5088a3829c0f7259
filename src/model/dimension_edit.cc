#include "model/dimension_edit.h"

#include <algorithm>

namespace jov {

DimensionEdit::DimensionEdit(Database& database, int dimension)
    : database_(database), dimension_(dimension) {
  rows_.emplace_back();
  // The parent of each component is the row last opened at the depth above it.
  std::vector<Row> open = {kTop};
  const ComponentRef root = database.dimension(dimension).root();
  int depth_change = 0;
  for (ComponentRef ref = database.NextInPreorder(root, &depth_change); ref != root;
       ref = database.NextInPreorder(ref, &depth_change)) {
    if (depth_change < 0) open.resize(open.size() - static_cast<size_t>(-depth_change));
    if (depth_change <= 0) open.pop_back();
    const Component& record = database.component(ref);
    EditRow row;
    row.parent = open.back();
    row.code = record.code;
    row.text = record.text;
    row.host = record.host;
    row.component = ref;
    const Row number = row_count();
    rows_[row.parent].children.push_back(number);
    rows_.push_back(std::move(row));
    Index(number);
    open.push_back(number);
  }
}

std::string DimensionEdit::Key(ComponentField field, std::string_view value) const {
  std::string key(value);
  if (!CaseOptionIsExact(database_.dimension(dimension_).case_option(field))) {
    const unsigned char* upper = UpperCaseTable();
    for (char& c : key) c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
  }
  return key;
}

void DimensionEdit::Index(Row row) {
  const EditRow& r = rows_[row];
  const std::string* values[3] = {&r.code, &r.text, &r.host};
  for (int field = 0; field < 3; ++field) {
    if (values[field]->empty()) continue;
    index_[field].emplace(Key(static_cast<ComponentField>(field), *values[field]), row);
  }
}

DimensionEdit::Row DimensionEdit::Add(Row parent, std::string_view code, std::string_view text,
                                      std::string_view host) {
  EditRow row;
  row.parent = parent;
  row.code = database_.StoredForm(dimension_, ComponentField::kCode, code);
  const std::string& parent_code = rows_[parent].code;
  if (row.code.size() <= parent_code.size() || !row.code.starts_with(parent_code) ||
      !Database::IsStorableCode(row.code)) {
    return kNoRow;
  }
  row.text = database_.StoredForm(dimension_, ComponentField::kText, text);
  row.host = database_.StoredForm(dimension_, ComponentField::kHost, host);
  const Row number = row_count();
  rows_[parent].children.push_back(number);
  rows_.push_back(std::move(row));
  Index(number);
  ++added_;
  return number;
}

DimensionEdit::Row DimensionEdit::Find(ComponentField field, std::string_view value) const {
  if (value.empty()) return kNoRow;
  const auto& index = index_[static_cast<int>(field)];
  const auto found = index.find(Key(field, value));
  return found == index.end() ? kNoRow : found->second;
}

std::vector<DimensionEdit::Row> DimensionEdit::TreeOrder() const {
  std::vector<Row> order;
  order.reserve(rows_.size());
  std::vector<Row> stack(rows_[kTop].children.rbegin(), rows_[kTop].children.rend());
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
    if (value.empty()) continue;
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

std::optional<DimensionEdit::Duplicate> DimensionEdit::Apply() {
  const std::vector<Row> order = TreeOrder();
  if (auto duplicate = FirstDuplicate(ComponentField::kCode, order)) return duplicate;
  if (auto duplicate = FirstDuplicate(ComponentField::kHost, order)) return duplicate;
  // Tree order puts every parent before its children, so each code finds its parent made.
  for (const Row row : order) {
    EditRow& r = rows_[row];
    if (r.component != kNoComponent) continue;
    r.component = database_.AddComponent(dimension_, r.code, r.text, r.host);
    if (r.component == kNoComponent) break;
  }
  added_ = 0;
  database_.FlushChangeFlags();
  return std::nullopt;
}

}  // namespace jov
