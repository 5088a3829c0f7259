// The selections and subset lists of a database, kept with it. Every live Selection and every
// SubsetList registers here for its lifetime, so that the database's changes reach them, so
// that a subset can tell whether any selection names it, and so that the components that
// subsets' selections name count as in use. The registry owns the database's own subset list
// and is the database's one listener on behalf of them all.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/change_code.h"
#include "model/component_use.h"
#include "model/database.h"

namespace jov {

class Selection;
class Subset;
class SubsetList;

class SelectionRegistry : public DatabaseAttachment,
                          public DatabaseListener,
                          public ComponentUseMarker {
 public:
  explicit SelectionRegistry(Database& database);
  ~SelectionRegistry() override;
  // Selections that other attachments hold (a template's, a subset list's) leave it when they go.
  bool OutlivesOtherAttachments() const override { return true; }
  static SelectionRegistry& Of(Database& database) {
    return database.Attached<SelectionRegistry>();
  }
  static const SelectionRegistry& Of(const Database& database) {
    return database.Attached<SelectionRegistry>();
  }

  void Add(Selection* selection) { selections_.push_back(selection); }
  void Remove(Selection* selection);
  // In the order they were made.
  const std::vector<Selection*>& selections() const { return selections_; }

  // The database's own list of subsets, made on first use.
  SubsetList& database_subsets();
  // For readers: nullptr while the list was never made (it is then empty).
  const SubsetList* made_database_subsets() const { return database_subsets_.get(); }
  void AddList(SubsetList* list) { lists_.push_back(list); }
  void RemoveList(SubsetList* list);
  // Every subset list, the database's own included once it exists.
  const std::vector<SubsetList*>& lists() const { return lists_; }

  // Changes with every change of the database's data that results depend on (cards and lines,
  // components, value fields, the reference point, time scales).
  uint64_t data_revision() const { return data_revision_; }
  // How many subset calculations are running inside each other.
  int& calculation_depth() { return calculation_depth_; }
  // Releases the results of every list's subsets that lie idle (see Subset::ReleaseIfIdle);
  // `now` is the tick count. The application calls it when idle; calculations call it too.
  void ReleaseIdleSubsets(uint32_t now);
  // Before `subset` is erased: combinations and subset criteria that name it let go of it.
  void ForgetSubset(const Subset& subset);
  // Compiles every combination and subset criterion that still waits as text.
  void CompileAll();

  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;
  // The components that the expressions of subsets' selections name.
  void MarkNamedComponents(std::vector<bool>& marks) const override;

 private:
  Database& database_;
  std::vector<Selection*> selections_;
  std::vector<SubsetList*> lists_;
  uint64_t data_revision_ = 0;
  int calculation_depth_ = 0;
  // Last, so that its subsets and their selections go while the lists above still stand.
  std::unique_ptr<SubsetList> database_subsets_;
};

}  // namespace jov
