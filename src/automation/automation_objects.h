// The objects through which other programs drive the application: the application itself, its
// open databases and their dimensions. The programs that serve them over a bus call these
// methods; everything a method decides (its checks, the silenced alerts and the error code they
// become, the error log of a reading, the object and lock counts, quitting when the last object
// goes) is here, so that it holds whichever bus carries the calls.
//
// Texts cross in UTF-8. A text holding a character that Windows-1252 lacks is refused with
// errInvalidParameter rather than folded, since a folded file name or password names something
// else. An object refers to its database weakly: when the database closes, by this object or
// any other way, the object is left without one and its methods report errBaseInvalid.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "shell/messages.h"

namespace jov {

class Database;
class Dimension;
class OpenDatabases;
class ScriptHost;
class SectionRegistry;

// What a dimension's analyses show for a component: the values of DisplayFields.
enum DimStringCase : int16_t {
  dcCode = 0,
  dcHost = 1,
  dcText = 2,
  dcCodeText = 3,
  dcHostText = 4,
  dcCodeHost = 5,
  dcCodeHostText = 6,
};

enum WindowState : int16_t { wsNormal = 0, wsMaximize = 1, wsMinimize = 2 };

enum ErrorCodes : int32_t {
  errNone = 0,
  errGeneral = -100,
  errOutofMemory = -101,
  errMissingResource = -102,
  errOpeningFile = -110,
  errReadingFile = -111,
  errWritingFile = -112,
  errWrongPassword = -120,
  errBaseInvalid = -130,
  errNoImportSetup = -131,
  errInvalidParameter = -132,
  errNotFound = -133,
};

// The code for the last message an operation raised; errNone for kNoMessage.
ErrorCodes ErrorCodeFor(MessageId last_message);

// What the program serving the objects offers them.
class AutomationHost {
 public:
  virtual ~AutomationHost() = default;
  virtual OpenDatabases& databases() = 0;
  virtual const SectionRegistry& registry() = 0;
  // Answers the scripts of MacroCall and MacroCommand.
  virtual ScriptHost& script_host() = 0;
  // A database a client opened: the desktop shows its window.
  virtual void Opened(Database& /*database*/) {}
  // Closes the database without questions; its windows go with it.
  virtual void Close(Database& database);
  // The main window, for a program that has one.
  virtual bool visible() const { return false; }
  virtual void SetVisible(bool /*visible*/) {}
  virtual WindowState window_state() const { return wsNormal; }
  virtual void SetWindowState(WindowState /*state*/) {}
  // Asks the program to quit once control is back in its event loop.
  virtual void Quit() = 0;
};

// The process-wide counts and the exit-on-release rule: when an object is released or a lock
// removed, and then no object and no lock remain while the flag is set, the host is asked to
// quit.
class AutomationServer {
 public:
  explicit AutomationServer(AutomationHost& host) : host_(host) {}
  AutomationServer(const AutomationServer&) = delete;
  AutomationServer& operator=(const AutomationServer&) = delete;

  AutomationHost& host() { return host_; }
  bool exit_on_release() const { return exit_on_release_; }
  void SetExitOnRelease(bool exit) { exit_on_release_ = exit; }
  int object_count() const { return objects_; }
  int lock_count() const { return locks_; }

  // Kept by the objects themselves, from their construction to their destruction.
  void AddObject() { ++objects_; }
  void ReleaseObject();
  // A client's hold on the server without an object.
  void Lock() { ++locks_; }
  void Unlock();

 private:
  void QuitWhenUnused();

  AutomationHost& host_;
  bool exit_on_release_ = false;
  int objects_ = 0;
  int locks_ = 0;
};

// Counts in its server's object count for as long as it lives.
class AutomationObject {
 public:
  explicit AutomationObject(AutomationServer& server) : server_(server) { server_.AddObject(); }
  virtual ~AutomationObject() { server_.ReleaseObject(); }
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;

 protected:
  AutomationServer& server_;
};

class DatabaseObject;
class DimensionObject;

// Where a database object's database is, or nullptr once it closed.
using DatabaseLink = std::shared_ptr<Database*>;

class ApplicationObject : public AutomationObject {
 public:
  using AutomationObject::AutomationObject;

  int16_t Visible() const;
  void SetVisible(int16_t visible);
  int16_t GetWindowState() const;
  // wsMaximize shows the main window maximised, wsMinimize hides it, anything else shows it
  // normally.
  void SetWindowState(int16_t state);
  int16_t ExitOnRelease() const;
  void SetExitOnRelease(int16_t exit);
  std::string Signature() const;
  // Takes at most the first three characters, as the `signature` command does.
  ErrorCodes SetSignature(std::string_view signature);

  struct Opened {
    ErrorCodes error = errNone;
    std::unique_ptr<DatabaseObject> database;  // nullptr when nothing opened
  };
  // Opens the file (a name without its folder is taken in the server's current folder) with
  // the database's start-up actions off. A file that is open already is not read again: the
  // new object refers to the open database once the password, when it has one, is given.
  Opened OpenFile(std::string_view file_name, std::string_view password);
  // The application quits when its last object is released.
  void Quit();
};

class DatabaseObject : public AutomationObject {
 public:
  DatabaseObject(AutomationServer& server, Database& database);
  // Another object on the database of `link`, which may have closed already.
  DatabaseObject(AutomationServer& server, DatabaseLink link);

  // nullptr after Close or once the database closed.
  Database* database() const { return *link_; }
  const DatabaseLink& link() const { return link_; }

  std::string Name() const;
  ErrorCodes SetPassword(std::string_view password);
  std::string Password() const;
  // A dimension object for `number` 1..16; nullptr outside that range or without a database.
  std::unique_ptr<DimensionObject> GetDim(int16_t number);
  // Imports a file through the open pipeline; its name is taken in the database's folder.
  ErrorCodes Import(std::string_view file_name, std::string_view password);
  ErrorCodes ImportWithSetup(std::string_view file_name, std::string_view setup_name);
  // Imports `text` through a temporary file; an empty text does nothing.
  ErrorCodes ImportText(std::string_view text);
  ErrorCodes ImportTrans(std::string_view data, std::string_view setup_name);
  // Saves to the database's own file with its own save setup.
  ErrorCodes Save();
  // Saves a copy with the database's save setup changed by `options`, blank-separated lines of
  // the save setup body ("SC-", "FT"); the database keeps its own file. An unknown option is
  // refused with errInvalidParameter and nothing is written.
  ErrorCodes SaveAs(std::string_view file_name, std::string_view options);
  std::string XmlCommand(std::string_view request);
  // Run a stored macro or a script given whole: the code of the last error a command raised,
  // errNone when none did.
  ErrorCodes MacroCall(std::string_view name);
  ErrorCodes MacroCommand(std::string_view commands);
  void Close();

 private:
  ErrorCodes ImportFile(const std::string& path, const std::string* password,
                        std::string_view setup_name);
  ErrorCodes ImportThroughFile(std::string_view text, std::string_view setup_name);
  // Runs the macro named `text`, or `text` as a script.
  ErrorCodes RunScriptSilently(std::string_view text, bool is_macro);

  DatabaseLink link_;
};

class DimensionObject : public AutomationObject {
 public:
  DimensionObject(AutomationServer& server, DatabaseLink link, int index);

  int16_t Number() const { return static_cast<int16_t>(index_ + 1); }
  // The names (the default ones when the database has none of its own); empty without a
  // database. A name keeps at most its first 299 characters.
  std::string Singular() const;
  ErrorCodes SetSingular(std::string_view name);
  std::string Plural() const;
  ErrorCodes SetPlural(std::string_view name);
  // dcCodeText without a database; a value outside 0..6 sets dcCodeText.
  int16_t DimString() const;
  ErrorCodes SetDimString(int16_t display);
  // Components used by a line (or a group), those and every component above them, and all.
  int32_t ComponentsInUse() const;
  int32_t ActiveComponents() const;
  int32_t TotalComponents() const;
  // A dimension import through the dimension's import setup (the plain default without one).
  ErrorCodes Import(std::string_view file_name);
  ErrorCodes ImportText(std::string_view text);
  // The dimension's "##Dimension" section, to a file or as a text.
  ErrorCodes Export(std::string_view file_name);
  std::string ExportText() const;

 private:
  Database* database() const { return *link_; }
  ErrorCodes ImportPath(const std::string& path);
  ErrorCodes SetName(std::string_view name, void (Dimension::*set)(std::string_view));

  DatabaseLink link_;
  int index_;
};

}  // namespace jov
