#include "registration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <iostream>

#include "bus_service.h"
#include "platform/settings_store.h"
#include "shell/pending_error.h"
#include "shell/preferences.h"
#include "shell/process.h"

// The files of the desktop integration, compiled into the library.
static void LoadIntegrationFiles() { Q_INIT_RESOURCE(integration); }

namespace jov {
namespace {

constexpr char kDesktopEntry[] = "jov-desktop.desktop";
constexpr char kMimeTypes[] = "jov-desktop.xml";

struct SwitchName {
  const char* name;
  AutomationSwitch kind;
};
constexpr SwitchName kSwitches[] = {
    {"/regserver", AutomationSwitch::kRegServer},
    {"/unregserver", AutomationSwitch::kUnregServer},
    {"/associate", AutomationSwitch::kAssociate},
    {"-embedding", AutomationSwitch::kEmbedding},
};

bool IsSwitch(const QString& argument) {
  if (argument.startsWith('-')) return true;
  return argument.startsWith('/') && argument.indexOf('/', 1) < 0 && !QFileInfo::exists(argument);
}

// Writes `bytes` as the whole file, making its folder first.
bool WriteFile(const QString& path, const QByteArray& bytes, QString* error) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    *error = QStringLiteral("cannot make the folder of %1").arg(path);
    return false;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

QByteArray Resource(const char* name) {
  LoadIntegrationFiles();
  QFile file(QStringLiteral(":/integration/") + QLatin1String(name));
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

// A program path as an Exec key takes it: quoted when it holds a blank or a quote.
QString ExecProgram(const QString& program) {
  if (!program.contains(' ') && !program.contains('"')) return program;
  QString quoted = program;
  quoted.replace('\\', QStringLiteral("\\\\")).replace('"', QStringLiteral("\\\""));
  return '"' + quoted + '"';
}

// Runs a cache tool of the desktop when it is installed; its absence is no failure.
void RunIfInstalled(const QString& tool, const QStringList& arguments) {
  if (QStandardPaths::findExecutable(tool).isEmpty()) return;
  QProcess::execute(tool, arguments);
}

}  // namespace

SwitchRequest ReadAutomationSwitch(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (!IsSwitch(argument)) continue;
    for (const SwitchName& known : kSwitches) {
      if (argument.startsWith(QLatin1String(known.name), Qt::CaseInsensitive)) {
        return {known.kind, argument};
      }
    }
    if (argument.startsWith('/')) return {AutomationSwitch::kUnknown, argument};
  }
  return {};
}

QString UserDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString ServiceFilePath() {
  return UserDataFolder() + QStringLiteral("/dbus-1/services/") + QLatin1String(kBusName) +
         QStringLiteral(".service");
}

bool RegisterServer(const QString& program, QString* error) {
  const QString text = QStringLiteral("[D-BUS Service]\nName=%1\nExec=%2 -embedding\n")
                           .arg(QLatin1String(kBusName), ExecProgram(program));
  return WriteFile(ServiceFilePath(), text.toUtf8(), error);
}

bool UnregisterServer(QString* error) {
  QFile file(ServiceFilePath());
  if (!file.exists() || file.remove()) return true;
  *error = QStringLiteral("cannot remove %1: %2").arg(file.fileName(), file.errorString());
  return false;
}

bool WriteAssociations(const QString& desktop_program, QString* error) {
  const QString applications = UserDataFolder() + QStringLiteral("/applications");
  const QString mime = UserDataFolder() + QStringLiteral("/mime");
  QString entry = QString::fromUtf8(Resource(kDesktopEntry));
  entry.replace(QStringLiteral("Exec=jov-desktop "),
                QStringLiteral("Exec=") + ExecProgram(desktop_program) + ' ');
  if (!WriteFile(applications + '/' + QLatin1String(kDesktopEntry), entry.toUtf8(), error) ||
      !WriteFile(mime + QStringLiteral("/packages/") + QLatin1String(kMimeTypes),
                 Resource(kMimeTypes), error)) {
    return false;
  }
  RunIfInstalled(QStringLiteral("update-mime-database"), {mime});
  RunIfInstalled(QStringLiteral("update-desktop-database"), {applications});
  RunIfInstalled(QStringLiteral("xdg-mime"),
                 {QStringLiteral("default"), QLatin1String(kDesktopEntry),
                  QStringLiteral("application/x-jov"), QStringLiteral("application/x-jov-text")});
  return true;
}

bool IsAssociated() {
  return !QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                 QStringLiteral("applications/") + QLatin1String(kDesktopEntry))
              .isEmpty();
}

int RunRegistrationSwitch(AutomationSwitch kind, const QString& program,
                          const QString& desktop_program, const std::string& settings_path) {
  QString error;
  bool done = false;
  switch (kind) {
    case AutomationSwitch::kRegServer:
      done = RegisterServer(program, &error);
      break;
    case AutomationSwitch::kUnregServer:
      done = UnregisterServer(&error);
      break;
    case AutomationSwitch::kAssociate: {
      done = WriteAssociations(desktop_program, &error);
      if (!done) break;
      SettingsStore store(settings_path);
      LoadProcessPreferences(store);
      Process().preferences.associate = true;
      done = SaveProcessPreferences(store);
      FlushPendingError();
      break;
    }
    default:
      return 0;
  }
  if (!error.isEmpty()) std::cerr << error.toStdString() << "\n";
  return done ? 0 : 1;
}

}  // namespace jov
