// The commands of the script language, as a table: the command word and the function that runs
// it with the rest of the line. The loop tries the words in table order, comparing whole tokens
// ignoring case.
#pragma once

#include <span>
#include <string_view>

namespace jov {

class CommandRunner;
class TokenLine;

struct ScriptCommand {
  std::string_view word;
  void (*run)(CommandRunner& runner, TokenLine& arguments);
};

std::span<const ScriptCommand> ScriptCommands();

// The commands, by the file that holds them.
void RunExecute(CommandRunner& runner, TokenLine& arguments);  // macro_commands.cc
void RunDeleteMacro(CommandRunner& runner, TokenLine& arguments);
void RunErrorFile(CommandRunner& runner, TokenLine& arguments);  // file_commands.cc
void RunImport(CommandRunner& runner, TokenLine& arguments);
void RunSave(CommandRunner& runner, TokenLine& arguments);
void RunPassword(CommandRunner& runner, TokenLine& arguments);  // session_commands.cc
void RunSignature(CommandRunner& runner, TokenLine& arguments);
void RunMessage(CommandRunner& runner, TokenLine& arguments);
void RunClose(CommandRunner& runner, TokenLine& arguments);
void RunQuit(CommandRunner& runner, TokenLine& arguments);
void RunBeep(CommandRunner& runner, TokenLine& arguments);
void RunDeleteData(CommandRunner& runner, TokenLine& arguments);  // data_commands.cc
void RunDeleteCards(CommandRunner& runner, TokenLine& arguments);
void RunDeleteComponent(CommandRunner& runner, TokenLine& arguments);
void RunDeleteSubset(CommandRunner& runner, TokenLine& arguments);  // target_commands.cc
void RunDeleteTemplate(CommandRunner& runner, TokenLine& arguments);
void RunModify(CommandRunner& runner, TokenLine& arguments);
void RunOpenTemplate(CommandRunner& runner, TokenLine& arguments);
void RunPrint(CommandRunner& runner, TokenLine& arguments);
void RunExport(CommandRunner& runner, TokenLine& arguments);
void RunTransform(CommandRunner& runner, TokenLine& arguments);  // rewrite_commands.cc
void RunAggregate(CommandRunner& runner, TokenLine& arguments);

}  // namespace jov
