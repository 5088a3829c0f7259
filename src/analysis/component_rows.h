// The rows of a component analysis: one per listed component of the view dimension, kept in an
// array in display pre-order (row 0 is the dimension's root) with parent, first-child and
// next-sibling links, each row with the sums of its own lines and of its whole subtree. Here
// the rows are built from the dimension's tree, summed up the tree, filtered and sorted (both
// keep the array in pre-order), and expanded or collapsed, with the text that stores which rows
// are expanded.
//
// Expansion text: a list form, "|" followed by the JOV-Code of every expanded row, each code
// followed by "|" (the root's code is empty, so an expanded root gives "||"), or an exception
// form, "\" followed by the JOV-Code of every collapsed row that has children, each followed
// by "\". Only the rows a reader can see count (those whose ancestors are all expanded); the
// shorter form is stored, the list form on equal length, and nothing at all while the root is
// collapsed.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/component_options.h"
#include "model/component.h"

namespace jov {

class ComponentSet;
class Database;

// The sums of one row. Before and after are the missing number (NaN) when their cards were not
// read.
struct RowSums {
  double before = 0;
  double negative = 0;
  double positive = 0;
  double after = 0;
  int64_t count = 0;

  void Add(const RowSums& other) {
    before += other.before;
    negative += other.negative;
    positive += other.positive;
    after += other.after;
    count += other.count;
  }
};

// The value a column shows for `sums` (the count as a number).
double ColumnValue(const RowSums& sums, ComponentColumn column);

struct ComponentRow {
  ComponentRef component = 0;
  int parent = -1;  // -1 for the root
  int first_child = -1;
  int next_sibling = -1;
  int level = 0;
  bool expanded = false;
  RowSums own;
  RowSums subtree;
};

// The view dimension a calculation uses: the one the options ask for when it is a dimension,
// else the one of the previous calculation (`previous`, -1 for none), else the second.
int ChooseViewDimension(int asked, int previous);

class ComponentRows {
 public:
  // The rows of the components of `dimension` that `admitted` holds, in the dimension's
  // pre-order, with zero sums; only the root expanded. Hierarchical: a row's parent is the row
  // of its nearest admitted ancestor (the root row when none is). Flat: every row is a child of
  // the root row.
  void Build(const Database& database, int dimension, const ComponentSet& admitted, bool flat);
  void Clear();

  int size() const { return static_cast<int>(rows_.size()); }
  bool empty() const { return rows_.empty(); }
  const ComponentRow& operator[](int row) const { return rows_[row]; }
  ComponentRow& operator[](int row) { return rows_[row]; }
  const std::vector<ComponentRow>& rows() const { return rows_; }
  // The row of each component number of the pool; -1 for components without one.
  std::span<const int32_t> row_of() const { return row_of_; }
  int RowOf(ComponentRef component) const {
    return component < row_of_.size() ? row_of_[component] : -1;
  }

  // Marks the before (after) sums of every row as not read: the missing number.
  void MarkUnread(bool before_read, bool after_read);
  // Copies every row's own sums to its subtree sums, then adds each row's subtree sums to its
  // parent's, from the last row up; pre-order brings children before their parents.
  void SumSubtrees();

  // Keeps the root, the rows for which `keep` is true, and every ancestor of a kept row.
  void Filter(const std::function<bool(const ComponentRow&)>& keep);
  // Orders every list of siblings by the rows' keys (`key(row)`), stably: ties, and rows whose
  // key is infinite or missing (these after all others), keep their order.
  void Sort(ComponentSort order, const std::function<double(const ComponentRow&)>& key);

  // --- Expansion
  // Expands the rows above `level` and collapses the others (the root is level 0).
  void ExpandToLevel(int level);
  // The rows whose ancestors are all expanded, in display order: what a table shows.
  std::vector<int> Displayed() const;
  // The components of the expanded rows, one flag per component number.
  std::vector<bool> ExpandedComponents() const;
  // Expands exactly the rows whose components are flagged.
  void RestoreExpansion(const std::vector<bool>& expanded);
  std::string ExpansionText(const Database& database) const;
  // Applies a stored expansion text; an empty text (or one in neither form) expands the root
  // alone.
  void ApplyExpansionText(const Database& database, std::string_view text);

  size_t MemoryBytes() const {
    return rows_.capacity() * sizeof(ComponentRow) + row_of_.capacity() * sizeof(int32_t);
  }

 private:
  int AddRow(ComponentRef component, int parent);
  // Relinks children and siblings from the parents, keeping the array order.
  void LinkChildren();
  // Puts the rows into the order of `order` (old indices), renumbering every link.
  void Reorder(const std::vector<int>& order);
  void IndexComponents();

  std::vector<ComponentRow> rows_;
  std::vector<int32_t> row_of_;
};

}  // namespace jov
