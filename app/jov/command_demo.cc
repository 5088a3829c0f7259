// jov demo: writes the demo company database.
#include "commands.h"
#include "demo_company.h"
#include "session.h"

namespace jov {
namespace {

int RunDemo(const CommandArguments& arguments) {
  if (arguments.operands().size() != 1) return arguments.UsageError("give one output file");
  Session session;
  Database& db = session.open().Create();
  BuildDemoCompany(db);
  const std::string& out = arguments.operands()[0];
  const bool saved =
      SaveDatabaseFile(db, out, FormatForFileName(out), db.Attached<SaveSetups>().in_effect(),
                       session.registry(), nullptr);
  FlushPendingError();
  return session.Status(saved);
}

}  // namespace

const Command kDemoCommand = {
    "demo",
    "write the demo company database",
    "jov demo OUT",
    "Writes the demo company (three years of a small trading company) to OUT.\n",
    {},
    RunDemo,
};

}  // namespace jov
