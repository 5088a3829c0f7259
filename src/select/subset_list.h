// The lists that subsets live in: the database's own (default names "G1", "G2" ...), kept with
// the database, and the local lists of analyses (default names "S1", "S2" ...), which their
// analysis owns. Every list is registered with the database's SelectionRegistry while it lives,
// so that database changes reach its subsets and names can be checked across lists.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/database.h"
#include "select/subset.h"

namespace jov {

class SelectionRegistry;

enum class SubsetListKind : uint8_t { kDatabase, kLocal };

class SubsetList {
 public:
  // The database's list, made on first use.
  static SubsetList& Of(Database& database);
  // For readers: nullptr while the database's list was never made (it is then empty).
  static const SubsetList* Find(const Database& database);

  // A local list of an analysis.
  explicit SubsetList(Database& database, SubsetListKind kind = SubsetListKind::kLocal);
  ~SubsetList();
  SubsetList(const SubsetList&) = delete;
  SubsetList& operator=(const SubsetList&) = delete;

  Database& database() const { return database_; }
  SubsetListKind kind() const { return kind_; }
  // In creation order.
  const std::vector<std::unique_ptr<Subset>>& subsets() const { return subsets_; }
  // The subset of that name, ignoring case; nullptr when there is none.
  Subset* Find(std::string_view name) const;

  // A new subset with an empty combination and no selections, named UniqueName(name), or the
  // list's default name when `name` is empty. Announced (kSubsetAdded) for the database's list.
  Subset& Create(std::string_view name = {});
  // Erases a subset of this list: refused with 4705 when a selection names it; with `confirm`
  // the user is asked first (3205). Combinations that named it lose it. False when kept.
  bool Erase(Subset& subset, bool confirm = true);
  // Renames: ignored when the new name equals the old one ignoring case or is a keyword of
  // combinations; otherwise the name is made unique. False when ignored.
  bool Rename(Subset& subset, std::string_view name);

  // `name` itself when no other subset of the list bears it (ignoring case); else the number at
  // its end counted up (G1, G2 ...; a name without a number gets 1 appended) until none does.
  std::string UniqueName(std::string_view name, const Subset* except = nullptr) const;

  // Every subset to be calculated anew.
  void InvalidateAll();
  // Releases the results that lie idle (see Subset::ReleaseIfIdle).
  void ReleaseIdle(uint32_t now);

  // Called by the registry as it goes while the list stays (see Selection).
  void ForgetRegistry() { registry_ = nullptr; }

 private:
  friend class Subset;
  // Tells the database's listeners about a subset of the database's list (nothing for local
  // lists): its position, or the position it had.
  void Announce(ChangeCode code, const Subset& subset) const;
  int IndexOf(const Subset& subset) const;

  Database& database_;
  SelectionRegistry* registry_;  // null once the registry is gone (see Selection)
  SubsetListKind kind_;
  std::vector<std::unique_ptr<Subset>> subsets_;
};

}  // namespace jov
