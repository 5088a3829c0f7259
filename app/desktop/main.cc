// The desktop program: reads the preferences, sets the language and the look, shows the frame,
// opens the documents named on the command line in their order, and runs the event loop.
#include <QApplication>

#include "frame.h"
#include "platform/settings_store.h"
#include "preferences_dialog.h"
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
  jov::Frame frame(settings);
  frame.show();
  jov::FlushPendingError();
  // Qt has taken its own options out of the arguments; each one left names a document, unless
  // the first is a switch.
  QStringList documents = QApplication::arguments().mid(1);
  if (!documents.isEmpty() && documents.front().startsWith('-')) documents.clear();
  frame.OfferAssociation();
  frame.OpenDocuments(documents);
  return QApplication::exec();
}
