#include "desktop_automation.h"

#include <QApplication>

#include "frame.h"

namespace jov {

OpenDatabases& DesktopAutomationHost::databases() { return frame_.open_databases(); }

void DesktopAutomationHost::Opened(Database& database) { frame_.ShowOpened(database); }

void DesktopAutomationHost::Close(Database& database) { frame_.CloseQuietly(database); }

bool DesktopAutomationHost::visible() const { return frame_.isVisible(); }

void DesktopAutomationHost::SetVisible(bool visible) { frame_.setVisible(visible); }

WindowState DesktopAutomationHost::window_state() const {
  // A hidden window shows no state of its own, whatever it had before it was hidden.
  if (frame_.isVisible() && frame_.isMaximized()) return wsMaximize;
  if (frame_.isMinimized()) return wsMinimize;
  return wsNormal;
}

void DesktopAutomationHost::SetWindowState(WindowState state) {
  switch (state) {
    case wsMaximize:
      frame_.showMaximized();
      break;
    case wsMinimize:
      frame_.hide();
      break;
    default:
      frame_.showNormal();
      break;
  }
}

void DesktopAutomationHost::Quit() {
  QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
}

}  // namespace jov
