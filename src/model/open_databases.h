// The list of open databases, newest first, with the counter that numbers untitled ones
// ("Noname 1.jov", "Noname 2.jov", ...). The application owns one; a database lives until it is
// closed here.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "model/database.h"

namespace jov {

class OpenDatabases {
 public:
  // A new empty database at the head of the list, with the next untitled number.
  Database& Create();
  // Unchains and frees the database.
  void Close(Database& database);

  // Newest first.
  const std::vector<std::unique_ptr<Database>>& all() const { return databases_; }
  // The open database read from or saved to `file_name`, if any.
  Database* FindByFileName(std::string_view file_name) const;

 private:
  std::vector<std::unique_ptr<Database>> databases_;
  int untitled_counter_ = 0;
};

}  // namespace jov
