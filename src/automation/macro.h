// Macros: named command scripts kept with the database, executed by name, from the `execute`
// command, and when the database is opened. The list is kept sorted by name ignoring case; a
// new macro goes after every macro whose name compares equal to or before its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/database.h"

namespace jov {

class ScriptHost;

struct Macro {
  std::string name;
  std::string steps;  // lines separated by CR
  bool show_in_menu = false;
  bool execute_when_opening = false;
  bool password_required = false;
  // Set while the macro executes; not saved.
  bool running = false;
};

class MacroList : public DatabaseAttachment {
 public:
  explicit MacroList(Database& database) : database_(database) {}
  static MacroList& Of(Database& database) { return database.Attached<MacroList>(); }
  static const MacroList& Of(const Database& database) { return database.Attached<MacroList>(); }

  // In name order.
  const std::vector<std::unique_ptr<Macro>>& macros() const { return macros_; }
  // The macro named `name` with its trailing blanks removed, ignoring case; nullptr for an
  // empty name or none of that name.
  Macro* Find(std::string_view name) const;
  // The macro of that name, replaced in its content when it exists, else a new one in its
  // place in the order. Announced (kMacroAdded) and marks the database modified.
  Macro& Store(Macro macro);
  // `name` itself when no macro has it (ignoring case); else `name`, a blank and the first
  // number from 1 that makes it free.
  std::string UniqueName(std::string_view name) const;
  // Deletes each macro for which `chosen` is true; returns how many went. Announced
  // (kMacroRemoved) when any went.
  template <typename Chosen>
  int DeleteIf(Chosen chosen) {
    const size_t before = macros_.size();
    std::erase_if(macros_, [&](const std::unique_ptr<Macro>& m) { return chosen(*m); });
    const int deleted = static_cast<int>(before - macros_.size());
    if (deleted > 0) {
      database_.MarkModified();
      database_.Notify(ChangeCode::kMacroRemoved);
    }
    return deleted;
  }

  // Executes the macro's steps as a script titled with its name. A macro that is already
  // running reports 7106 and does nothing (the run that called it goes on); returns the number of
  // command errors raised.
  int Execute(Macro& macro, ScriptHost& host);
  // Executes `steps` as the macro `name` (the macro window runs its edited steps without
  // storing them): titled with the name, and with the stored macro of that name, when there is
  // one, running meanwhile, so that the steps cannot execute it again. As Execute otherwise.
  int ExecuteSteps(std::string_view name, std::string steps, ScriptHost& host);
  // Executes, in list order, every macro marked to execute when the database opens, while no
  // stop is requested.
  void ExecuteAtOpening(ScriptHost& host);

 private:
  Database& database_;
  std::vector<std::unique_ptr<Macro>> macros_;
};

}  // namespace jov
