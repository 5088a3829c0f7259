// What opening a database for a user does after the read: the macros marked to execute when
// the database opens, then the subsets marked to open (calculated), then the templates marked
// to open directly. A file whose read ran a "##Commands" section does none of them: its
// commands took their place.
#pragma once

#include "files/database_file.h"

namespace jov {

class Database;
class ScriptHost;

// Turns the automatic open actions on and runs them (see above) through `host`.
void RunStartupActions(Database& database, ScriptHost& host);

// The first of them, for a host that shows subsets and templates in its own way: turns the
// automatic open actions on and executes the macros marked to execute when the database opens.
// False when the rest is not to run: a "##Commands" section ran, or a macro quit.
bool RunOpeningMacros(Database& database, ScriptHost& host);
// The second: the subsets marked to open, calculated and shown through `host`.
void ShowSubsetsAtOpening(Database& database, ScriptHost& host);

// Read options of an open for a user: the start-up actions run through `host`, which must
// outlive the read.
ReadOptions UserOpenOptions(ScriptHost& host);

}  // namespace jov
