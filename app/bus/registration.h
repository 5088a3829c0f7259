// The automation switches of the command line and what they do on a freedesktop system: the
// D-Bus service file that lets a call to the well-known name start the program ("/regserver",
// "/unregserver"), and the .desktop entry and MIME types that open ".jov" and ".jox" files with
// the desktop program ("/associate"), all in the user's XDG data folder.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace jov {

enum class AutomationSwitch { kNone, kRegServer, kUnregServer, kAssociate, kEmbedding, kUnknown };

struct SwitchRequest {
  AutomationSwitch kind = AutomationSwitch::kNone;
  QString text;  // the switch as given
};

// The first automation switch among the arguments (the program's name left out). Switches are
// compared ignoring case with the beginning of the argument. An argument starting with '/' is
// a switch only when it has no further '/' and names no file, so that full paths of documents
// stay documents.
SwitchRequest ReadAutomationSwitch(const QStringList& arguments);

// The user's data folder: $XDG_DATA_HOME, else ~/.local/share.
QString UserDataFolder();
// The service file that starts `program` with "-embedding" when a client calls the name.
QString ServiceFilePath();
bool RegisterServer(const QString& program, QString* error);
// Removes the service file; true when none is left.
bool UnregisterServer(QString* error);

// Writes the .desktop entry (opening files with `desktop_program`) and the MIME types of the
// database files into the user's data folder, and brings the desktop's caches up to date where
// their tools are installed.
bool WriteAssociations(const QString& desktop_program, QString* error);
// True when a .desktop entry of the program is in any of the XDG data folders.
bool IsAssociated();

// Does what a registering switch asks, reporting failures on stderr: the service file naming
// `program`, or the associations with `desktop_program` (then the preference "Associate" is
// set to '+' in the settings file at `settings_path`). Returns the program's exit status.
int RunRegistrationSwitch(AutomationSwitch kind, const QString& program,
                          const QString& desktop_program, const std::string& settings_path);

}  // namespace jov
