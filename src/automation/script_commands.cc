#include "automation/script_commands.h"

namespace jov {
namespace {

constexpr ScriptCommand kCommands[] = {
    {"execute", RunExecute},
    {"errorFile", RunErrorFile},
    {"signature", RunSignature},
    {"password", RunPassword},
    {"transform", RunTransform},
    {"aggregate", RunAggregate},
    {"deleteData", RunDeleteData},
    {"deleteCards", RunDeleteCards},
    {"deleteComponent", RunDeleteComponent},
    {"deleteMacro", RunDeleteMacro},
    {"deleteSubset", RunDeleteSubset},
    {"deleteTemplate", RunDeleteTemplate},
    {"openTemplate", RunOpenTemplate},
    {"message", RunMessage},
    {"modify", RunModify},
    {"print", RunPrint},
    {"export", RunExport},
    {"import", RunImport},
    {"save", RunSave},
    {"close", RunClose},
    {"quit", RunQuit},
    {"beep", RunBeep},
};

}  // namespace

std::span<const ScriptCommand> ScriptCommands() { return kCommands; }

}  // namespace jov
