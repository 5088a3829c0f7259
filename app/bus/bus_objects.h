// The automation objects on the D-Bus session bus: thin adaptors that turn bus calls into calls
// of the engine's automation objects. Their interfaces are "org.ledra.JOV.IApplication",
// "org.ledra.JOV.IDatabase" and "org.ledra.JOV.IDimension"; properties are D-Bus properties,
// out arguments are return values, and `error` stays a number of ErrorCodes.
//
// A database has one path for as long as it is open, and each of its dimensions one below it.
// Every client that uses a path holds an engine object of its own there (counted by the
// server), from its first call until it calls Release or leaves the bus; so a client that
// started nothing itself, such as one `gdbus call`, reaches a database by its path.
#pragma once

#include <QString>
#include <map>
#include <memory>

#include "automation/automation_objects.h"
#include "bus_object.h"

namespace jov {

class BusService;

// The one application object at kApplicationPath; every client that calls it holds an
// ApplicationObject of its own.
class ApplicationBus : public BusObject {
 public:
  explicit ApplicationBus(BusService& service);
};

// A path with an engine object for each client that uses it.
class HeldObject : public BusObject {
 public:
  HeldObject(const char* interface, BusService& service, DatabaseLink link, QString path);

  const QString& path() const { return path_; }
  const DatabaseLink& link() const { return link_; }
  // Lets `client` hold `object` here, unless it holds one already.
  void Adopt(const QString& client, std::unique_ptr<AutomationObject> object);
  void Drop(const QString& client);
  // No client holds it and its database has closed: the path can go.
  bool Unused() const { return holders_.empty() && *link_ == nullptr; }

 protected:
  // The caller's object, made at its first call.
  AutomationObject& Held(const QString& caller);
  virtual std::unique_ptr<AutomationObject> Make() = 0;

  BusService& service_;
  DatabaseLink link_;

 private:
  QString path_;
  std::map<QString, std::unique_ptr<AutomationObject>> holders_;
};

class DatabaseBus : public HeldObject {
 public:
  DatabaseBus(BusService& service, DatabaseLink link, QString path);

 private:
  DatabaseObject& Object(const BusCall& call) { return Object(call.caller); }
  DatabaseObject& Object(const QString& caller) {
    return static_cast<DatabaseObject&>(Held(caller));
  }
  std::unique_ptr<AutomationObject> Make() override;
  BusReply GetDim(const BusCall& call);
};

class DimensionBus : public HeldObject {
 public:
  DimensionBus(BusService& service, DatabaseLink link, QString path, int index);

 private:
  DimensionObject& Object(const BusCall& call) { return Object(call.caller); }
  DimensionObject& Object(const QString& caller) {
    return static_cast<DimensionObject&>(Held(caller));
  }
  std::unique_ptr<AutomationObject> Make() override;

  int index_;
};

}  // namespace jov
