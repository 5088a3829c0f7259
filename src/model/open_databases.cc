#include "model/open_databases.h"

#include <algorithm>

namespace jov {

Database& OpenDatabases::Create() {
  databases_.insert(databases_.begin(), std::make_unique<Database>(++untitled_counter_));
  return *databases_.front();
}

void OpenDatabases::Close(Database& database) {
  databases_.erase(std::remove_if(databases_.begin(), databases_.end(),
                                  [&](const auto& open) { return open.get() == &database; }),
                   databases_.end());
}

Database* OpenDatabases::FindByFileName(std::string_view file_name) const {
  for (const auto& open : databases_) {
    if (!file_name.empty() && open->file_name() == file_name) return open.get();
  }
  return nullptr;
}

}  // namespace jov
