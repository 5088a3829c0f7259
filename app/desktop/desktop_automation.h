// The desktop program as the host of the automation objects: the databases a client opens show
// in their windows, the main window answers Visible and WindowState, and quitting ends the
// event loop.
#pragma once

#include "automation/automation_objects.h"
#include "automation/script_host.h"
#include "automation/section_kinds.h"

namespace jov {

class Frame;

class DesktopAutomationHost : public AutomationHost {
 public:
  explicit DesktopAutomationHost(Frame& frame) : frame_(frame) {}

  OpenDatabases& databases() override;
  const SectionRegistry& registry() override { return registry_; }
  ScriptHost& script_host() override { return script_host_; }
  void Opened(Database& database) override;
  void Close(Database& database) override;
  bool visible() const override;
  void SetVisible(bool visible) override;
  // wsMaximize for a shown, maximised window, wsMinimize for a minimised one, else wsNormal
  // (also for a window hidden by wsMinimize).
  WindowState window_state() const override;
  void SetWindowState(WindowState state) override;
  void Quit() override;

 private:
  Frame& frame_;
  ScriptHost script_host_;
  const SectionRegistry registry_ = FullSectionRegistry(script_host_);
};

}  // namespace jov
