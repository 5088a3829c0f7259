// The selections of a database, kept with it: every live Selection registers here for its
// lifetime, so that the database's changes reach it and so that a subset can tell whether any
// selection names it. The registry is the database's one listener on behalf of them all.
#pragma once

#include <vector>

#include "model/change_code.h"
#include "model/database.h"

namespace jov {

class Selection;

class SelectionRegistry : public DatabaseAttachment, public DatabaseListener {
 public:
  explicit SelectionRegistry(Database& database);
  ~SelectionRegistry() override;
  static SelectionRegistry& Of(Database& database) {
    return database.Attached<SelectionRegistry>();
  }

  void Add(Selection* selection) { selections_.push_back(selection); }
  void Remove(Selection* selection);
  // In the order they were made.
  const std::vector<Selection*>& selections() const { return selections_; }

  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;

 private:
  Database& database_;
  std::vector<Selection*> selections_;
};

}  // namespace jov
