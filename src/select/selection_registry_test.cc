#include "select/selection_registry.h"

#include <gtest/gtest.h>

#include "model/database.h"
#include "select/selection.h"
#include "select/subset_list.h"

namespace jov {
namespace {

// Objects that other layers keep with a database and that hold a selection and a list of
// subsets, as analysis templates do. A database takes its attachments down in no fixed order,
// so with one of these on each side of the registry in that order, one of them goes after the
// registry (the sanitizer build sees a selection that reaches a registry already gone).
struct AHolder : DatabaseAttachment {
  explicit AHolder(Database& database)
      : selection(database), list(database, SubsetListKind::kLocal) {}
  Selection selection;
  SubsetList list;
};
struct ZHolder : AHolder {
  using AHolder::AHolder;
};

TEST(SelectionRegistryTest, SelectionsMayOutliveTheRegistryWhenTheDatabaseGoes) {
  for (int order = 0; order < 2; ++order) {
    Database database;
    if (order == 0) {
      database.Attached<AHolder>();
      database.Attached<ZHolder>();
    } else {
      database.Attached<ZHolder>();
      database.Attached<AHolder>();
    }
    EXPECT_EQ(SelectionRegistry::Of(database).selections().size(), 2u);
    EXPECT_EQ(SelectionRegistry::Of(database).lists().size(), 2u);
  }
}

}  // namespace
}  // namespace jov
