#include "analysis/component_rows.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "model/database.h"
#include "select/component_set.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

constexpr char kListMark = '|';
constexpr char kExceptionMark = '\\';

// Where a sort key puts a row: groups in order, then values ascending within a group.
struct SortRank {
  int group;
  double value;
};

SortRank RankOf(ComponentSort order, double key) {
  if (!std::isfinite(key)) return {3, 0};  // after every other row
  const int sign = key > 0 ? 1 : key < 0 ? -1 : 0;
  switch (order) {
    case ComponentSort::kDescending:
      return {0, -key};
    case ComponentSort::kCombinedDescending:
      return sign > 0 ? SortRank{0, -key} : sign < 0 ? SortRank{1, key} : SortRank{2, 0};
    case ComponentSort::kAbsoluteDescending:
      return {0, -std::fabs(key)};
    case ComponentSort::kAbsoluteAscending:
      return {0, std::fabs(key)};
    case ComponentSort::kCombinedAscending:
      return sign == 0 ? SortRank{0, 0} : sign > 0 ? SortRank{1, key} : SortRank{2, -key};
    case ComponentSort::kAscending:
      return {0, key};
    case ComponentSort::kNone:
      break;
  }
  return {0, 0};
}

// The codes a stored expansion text lists between its marks.
std::unordered_set<std::string_view> ListedCodes(std::string_view text, char mark) {
  std::unordered_set<std::string_view> codes;
  size_t start = 1;
  for (size_t end = text.find(mark, start); end != std::string_view::npos;
       end = text.find(mark, start)) {
    codes.insert(text.substr(start, end - start));
    start = end + 1;
  }
  return codes;
}

}  // namespace

double ColumnValue(const RowSums& sums, ComponentColumn column) {
  const double period = sums.negative + sums.positive;
  switch (column) {
    case ComponentColumn::kBefore:
      return sums.before;
    case ComponentColumn::kNegative:
      return sums.negative;
    case ComponentColumn::kPositive:
      return sums.positive;
    case ComponentColumn::kPeriod:
      return period;
    case ComponentColumn::kCount:
      return static_cast<double>(sums.count);
    case ComponentColumn::kAtEnd:
      return sums.before + period;
    case ComponentColumn::kAfter:
      return sums.after;
    case ComponentColumn::kTotal:
      return sums.before + period + sums.after;
  }
  return kMissingNumber;
}

int ChooseViewDimension(int asked, int previous) {
  if (asked >= 0 && asked < kDimensionCount) return asked;
  return previous >= 0 ? previous : 1;
}

void ComponentRows::Clear() {
  rows_.clear();
  row_of_.clear();
}

int ComponentRows::AddRow(ComponentRef component, int parent) {
  ComponentRow row;
  row.component = component;
  row.parent = parent;
  row.level = parent < 0 ? 0 : rows_[parent].level + 1;
  rows_.push_back(row);
  return static_cast<int>(rows_.size()) - 1;
}

void ComponentRows::Build(const Database& database, int dimension, const ComponentSet& admitted,
                          bool flat) {
  Clear();
  const ComponentRef root = database.dimension(dimension).root();
  AddRow(root, -1);
  rows_[0].expanded = true;
  // The admitted ancestors of the component being visited, with their depths in the tree.
  struct Open {
    int depth;
    int row;
  };
  std::vector<Open> open = {{0, 0}};
  int depth = 0;
  int change = 0;
  for (ComponentRef ref = database.NextInPreorder(root, &change); ref != root;
       ref = database.NextInPreorder(ref, &change)) {
    depth += change;
    if (!admitted.Test(ref)) continue;
    while (open.size() > 1 && open.back().depth >= depth) open.pop_back();
    const int row = AddRow(ref, flat ? 0 : open.back().row);
    if (!flat) open.push_back({depth, row});
  }
  row_of_.assign(database.components().size(), -1);
  LinkChildren();
  IndexComponents();
}

void ComponentRows::LinkChildren() {
  std::vector<int> last_child(rows_.size(), -1);
  for (ComponentRow& row : rows_) row.first_child = row.next_sibling = -1;
  for (int r = 1; r < size(); ++r) {
    const int parent = rows_[r].parent;
    if (last_child[parent] < 0) {
      rows_[parent].first_child = r;
    } else {
      rows_[last_child[parent]].next_sibling = r;
    }
    last_child[parent] = r;
  }
}

void ComponentRows::IndexComponents() {
  std::fill(row_of_.begin(), row_of_.end(), -1);
  for (int r = 0; r < size(); ++r) {
    if (rows_[r].component < row_of_.size()) row_of_[rows_[r].component] = r;
  }
}

void ComponentRows::Reorder(const std::vector<int>& order) {
  std::vector<int> new_index(rows_.size(), -1);
  for (size_t i = 0; i < order.size(); ++i) new_index[order[i]] = static_cast<int>(i);
  std::vector<ComponentRow> reordered;
  reordered.reserve(order.size());
  for (const int old : order) {
    ComponentRow row = rows_[old];
    if (row.parent >= 0) row.parent = new_index[row.parent];
    reordered.push_back(row);
  }
  rows_ = std::move(reordered);
  LinkChildren();
  IndexComponents();
}

void ComponentRows::MarkUnread(bool before_read, bool after_read) {
  for (ComponentRow& row : rows_) {
    if (!before_read) row.own.before = kMissingNumber;
    if (!after_read) row.own.after = kMissingNumber;
  }
}

void ComponentRows::SumSubtrees() {
  for (ComponentRow& row : rows_) row.subtree = row.own;
  for (int r = size() - 1; r >= 1; --r) rows_[rows_[r].parent].subtree.Add(rows_[r].subtree);
}

void ComponentRows::Filter(const std::function<bool(const ComponentRow&)>& keep) {
  if (rows_.empty()) return;
  std::vector<char> kept(rows_.size(), 0);
  kept[0] = 1;
  for (int r = 1; r < size(); ++r) {
    if (!keep(rows_[r])) continue;
    for (int up = r; up >= 0 && !kept[up]; up = rows_[up].parent) kept[up] = 1;
  }
  std::vector<int> order;
  for (int r = 0; r < size(); ++r) {
    if (kept[r]) order.push_back(r);
  }
  if (order.size() != rows_.size()) Reorder(order);
}

void ComponentRows::Sort(ComponentSort order,
                         const std::function<double(const ComponentRow&)>& key) {
  if (order == ComponentSort::kNone || rows_.size() < 3) return;
  std::vector<SortRank> ranks;
  ranks.reserve(rows_.size());
  for (const ComponentRow& row : rows_) ranks.push_back(RankOf(order, key(row)));
  // Ties go to the row that came first: with the index as the last key the order is total,
  // so the result is the stable one.
  const auto before = [&](int a, int b) {
    if (ranks[a].group != ranks[b].group) return ranks[a].group < ranks[b].group;
    if (ranks[a].value != ranks[b].value) return ranks[a].value < ranks[b].value;
    return a < b;
  };
  std::vector<int> siblings;
  for (ComponentRow& parent : rows_) {
    siblings.clear();
    for (int child = parent.first_child; child >= 0; child = rows_[child].next_sibling) {
      siblings.push_back(child);
    }
    if (siblings.size() < 2) continue;
    std::sort(siblings.begin(), siblings.end(), before);
    parent.first_child = siblings.front();
    for (size_t i = 0; i + 1 < siblings.size(); ++i) {
      rows_[siblings[i]].next_sibling = siblings[i + 1];
    }
    rows_[siblings.back()].next_sibling = -1;
  }
  // The array follows the new sibling order in pre-order.
  std::vector<int> preorder;
  preorder.reserve(rows_.size());
  for (int r = 0; r >= 0;) {
    preorder.push_back(r);
    if (rows_[r].first_child >= 0) {
      r = rows_[r].first_child;
      continue;
    }
    while (r >= 0 && rows_[r].next_sibling < 0) r = rows_[r].parent;
    if (r >= 0) r = rows_[r].next_sibling;
  }
  Reorder(preorder);
}

void ComponentRows::ExpandToLevel(int level) {
  for (ComponentRow& row : rows_) row.expanded = row.level < level;
}

std::vector<int> ComponentRows::Displayed() const {
  std::vector<int> shown_rows;
  if (rows_.empty()) return shown_rows;
  std::vector<char> shown(rows_.size(), 0);
  shown[0] = 1;
  shown_rows.push_back(0);
  for (int r = 1; r < size(); ++r) {
    const int parent = rows_[r].parent;
    shown[r] = shown[parent] && rows_[parent].expanded;
    if (shown[r]) shown_rows.push_back(r);
  }
  return shown_rows;
}

std::vector<bool> ComponentRows::ExpandedComponents() const {
  std::vector<bool> expanded(row_of_.size(), false);
  for (const ComponentRow& row : rows_) {
    if (row.expanded && row.component < expanded.size()) expanded[row.component] = true;
  }
  return expanded;
}

void ComponentRows::RestoreExpansion(const std::vector<bool>& expanded) {
  for (ComponentRow& row : rows_) {
    row.expanded = row.component < expanded.size() && expanded[row.component];
  }
}

std::string ComponentRows::ExpansionText(const Database& database) const {
  const std::vector<int> shown = Displayed();
  if (shown.size() < 2) return {};  // nothing below the root can be seen
  std::string list(1, kListMark);
  std::string exceptions(1, kExceptionMark);
  for (const int r : shown) {
    const ComponentRow& row = rows_[r];
    const std::string_view code =
        r == 0 ? std::string_view() : database.component(row.component).code;
    if (row.expanded) {
      list.append(code) += kListMark;
    } else if (row.first_child >= 0) {
      exceptions.append(code) += kExceptionMark;
    }
  }
  return list.size() <= exceptions.size() ? list : exceptions;
}

void ComponentRows::ApplyExpansionText(const Database& database, std::string_view text) {
  if (rows_.empty()) return;
  const char form = text.empty() ? '\0' : text[0];
  if (form != kListMark && form != kExceptionMark) {
    ExpandToLevel(1);
    return;
  }
  const std::unordered_set<std::string_view> codes = ListedCodes(text, form);
  // A list form names the root by its empty code ("||"). An exception form is only written
  // while the root is expanded; a lone "\" expands every row, the root included.
  rows_[0].expanded = form == kExceptionMark || text.size() >= 2;
  std::vector<char> shown(rows_.size(), 0);
  shown[0] = 1;
  for (int r = 1; r < size(); ++r) {
    ComponentRow& row = rows_[r];
    const ComponentRow& parent = rows_[row.parent];
    shown[r] = shown[row.parent] && parent.expanded;
    const bool listed = codes.contains(database.component(row.component).code);
    row.expanded = shown[r] && (form == kListMark ? listed : !listed);
  }
}

}  // namespace jov
