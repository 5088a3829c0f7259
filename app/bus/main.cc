// jov-bus: the automation service without windows, for servers and scripts (`jov serve` runs
// it). Started by the bus for a client (with "-embedding") it quits when its last object is
// released; started by hand it serves until a client calls Quit and lets go.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <iostream>

#include "bus_service.h"
#include "headless_host.h"
#include "platform/settings_store.h"
#include "platform/text_encoding.h"
#include "registration.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/preferences.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("JOV"));
  const std::string settings = jov::SettingsStore::DefaultPath();
  const jov::SwitchRequest request =
      jov::ReadAutomationSwitch(QCoreApplication::arguments().mid(1));
  if (request.kind == jov::AutomationSwitch::kUnknown) {
    jov::AlertRecord alert(jov::msg::kUndefinedSwitch);
    alert.Arg(request.text.toStdString());
    std::cerr << "jov-bus: " << jov::Utf8FromCp1252(alert.ComposeText()) << "\n";
    return 2;
  }
  const QString program = QCoreApplication::applicationFilePath();
  const QString desktop = QCoreApplication::applicationDirPath() + QStringLiteral("/jov-desktop");
  if (request.kind != jov::AutomationSwitch::kNone &&
      request.kind != jov::AutomationSwitch::kEmbedding) {
    return jov::RunRegistrationSwitch(request.kind, program, desktop, settings);
  }
  jov::SettingsStore store(settings);
  jov::LoadProcessPreferences(store);
  jov::FlushPendingError();
  // Files named relative to the service are taken in the user's home, not wherever the bus
  // happened to start it.
  if (request.kind == jov::AutomationSwitch::kEmbedding) QDir::setCurrent(QDir::homePath());
  jov::HeadlessHost host;
  jov::BusService service(host, QDBusConnection::sessionBus());
  QString error;
  if (!service.Start(&error)) {
    std::cerr << "jov-bus: " << error.toStdString() << "\n";
    return 1;
  }
  service.server().SetExitOnRelease(request.kind == jov::AutomationSwitch::kEmbedding);
  service.QuitWhenDisconnected();
  return QCoreApplication::exec();
}
