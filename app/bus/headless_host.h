// The host of the automation objects in a program without windows (`jov serve`): the open
// databases, scripts that show nothing, and quitting through the event loop.
#pragma once

#include "automation/automation_objects.h"
#include "automation/script_host.h"
#include "automation/section_kinds.h"
#include "model/open_databases.h"

namespace jov {

class HeadlessHost : public AutomationHost {
 public:
  OpenDatabases& databases() override { return open_; }
  const SectionRegistry& registry() override { return registry_; }
  ScriptHost& script_host() override { return script_host_; }
  void Quit() override;

 private:
  OpenDatabases open_;
  ScriptHost script_host_;
  const SectionRegistry registry_ = FullSectionRegistry(script_host_);
};

}  // namespace jov
