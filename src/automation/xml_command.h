// The two methods through which an automation client hands a database commands as text: a
// script (MacroCommand) and an XML request (XML_Command), which this version answers with a
// fixed error reply.
#pragma once

#include <string>
#include <string_view>

namespace jov {

class Database;
class ScriptHost;

// The automation error of a call without an open database.
inline constexpr int kErrBaseInvalid = -130;

// Runs `commands` as a script titled "VB" on the database: 0, or kErrBaseInvalid without one.
int MacroCommand(Database* database, std::string_view commands, ScriptHost& host);

// The reply to an XML request: "<error>no database</error>" without a database; otherwise the
// XML header and the line saying that this version has no XML functions.
std::string XmlCommand(Database* database, std::string_view request);

}  // namespace jov
