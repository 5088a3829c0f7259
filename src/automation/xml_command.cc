#include "automation/xml_command.h"

#include "automation/command_runner.h"

namespace jov {

int MacroCommand(Database* database, std::string_view commands, ScriptHost& host) {
  if (database == nullptr) return kErrBaseInvalid;
  RunScript(*database, commands, "VB", host);
  return 0;
}

std::string XmlCommand(Database* database, std::string_view /*request*/) {
  if (database == nullptr) return "<error>no database</error>";
  return "<?XML version=\"1.0\"?>\r\n\r\n"
         "<error>XML functions not implemented in this JOV version</error>\r\n";
}

}  // namespace jov
