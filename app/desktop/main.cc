// The desktop program: reads the preferences, sets the language and the look, handles the
// automation switches of the command line, serves the automation objects on the session bus,
// shows the frame (not when started for a client, with "-embedding"), opens the documents named
// on the command line in their order, and runs the event loop.
#include <QApplication>
#include <QDBusConnection>
#include <QMessageBox>

#include "bus_service.h"
#include "desktop_automation.h"
#include "frame.h"
#include "platform/settings_store.h"
#include "preferences_dialog.h"
#include "qt_text.h"
#include "registration.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/process.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("JOV"));
  QApplication::setDesktopFileName(QStringLiteral("jov-desktop"));
  const std::string settings = jov::SettingsStore::DefaultPath();
  jov::SettingsStore store(settings);
  jov::LoadProcessPreferences(store);
  jov::ApplyLook(jov::Process().preferences);
  // Qt has taken its own options out of the arguments; each one left names a document, unless
  // it is a switch.
  QStringList documents = QApplication::arguments().mid(1);
  const jov::SwitchRequest request = jov::ReadAutomationSwitch(documents);
  switch (request.kind) {
    case jov::AutomationSwitch::kUnknown: {
      QMessageBox::warning(nullptr, QStringLiteral("JOV"),
                           jov::Text(jov::msg::kUndefinedSwitch, jov::ToEngine(request.text)));
      return 2;
    }
    case jov::AutomationSwitch::kRegServer:
    case jov::AutomationSwitch::kUnregServer:
    case jov::AutomationSwitch::kAssociate:
      return jov::RunRegistrationSwitch(request.kind, QApplication::applicationFilePath(),
                                        QApplication::applicationFilePath(), settings);
    default:
      break;
  }
  documents.removeIf([](const QString& argument) { return argument.startsWith('-'); });
  const bool embedding = request.kind == jov::AutomationSwitch::kEmbedding;
  jov::Frame frame(settings);
  jov::DesktopAutomationHost host(frame);
  jov::BusService service(host, QDBusConnection::sessionBus());
  QString error;
  if (!service.Start(&error)) {
    // Started for a client, the program has nothing else to do; started by a user it goes on
    // without serving.
    qWarning("automation objects not served: %s", qPrintable(error));
    if (embedding) return 1;
  }
  service.server().SetExitOnRelease(embedding);
  if (embedding) service.QuitWhenDisconnected();
  if (!embedding) frame.show();
  jov::FlushPendingError();
  if (!embedding) frame.OfferAssociation();
  frame.OpenDocuments(documents);
  return QApplication::exec();
}
