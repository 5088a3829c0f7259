// The automation service on the D-Bus session bus: the well-known name, the application object
// at its fixed path, a path for each database that a client opened and one for each dimension
// asked for. What a client holds goes when it leaves the bus, so a client that dies releases
// everything; a path goes once no client holds it and its database has closed.
#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <memory>

#include "automation/automation_objects.h"

namespace jov {

inline constexpr char kBusName[] = "org.ledra.JOV";
inline constexpr char kApplicationPath[] = "/org/ledra/JOV/Application";
// The D-Bus error of a refused property write; its message is the ErrorCodes number.
inline constexpr char kBusErrorName[] = "org.ledra.JOV.Error";

class ApplicationBus;
class DatabaseBus;
class HeldObject;

class BusService : public QObject {
  Q_OBJECT
 public:
  BusService(AutomationHost& host, QDBusConnection connection);
  ~BusService() override;

  // Publishes the application object and takes the well-known name; false, with the reason in
  // `error`, when the bus cannot be reached or another program has the name.
  bool Start(QString* error);

  AutomationServer& server() { return server_; }
  // From now on the host is asked to quit once the bus is gone (its daemon ended), for a
  // program that has nothing to do without it.
  void QuitWhenDisconnected();

  // For the adaptors. The application object that `client` holds, made at its first call.
  ApplicationObject& ApplicationFor(const QString& client);
  // Watches `client`, so that what it holds goes when it leaves the bus.
  void Watch(const QString& client);
  // The path of the object's database, with the object held there by `client`.
  QDBusObjectPath Publish(const QString& client, std::unique_ptr<DatabaseObject> object);
  // The path of the dimension below its database's path, held there by `client`.
  QDBusObjectPath Publish(const QString& client, const DatabaseBus& database,
                          std::unique_ptr<DimensionObject> object);
  // `client` gives up its hold on one path.
  void Drop(HeldObject& object, const QString& client);
  // Gives up everything the client holds.
  void ReleaseClient(const QString& client);
  void Lock(const QString& client);
  void Unlock(const QString& client);

 private:
  struct Client {
    std::unique_ptr<ApplicationObject> application;
    int locks = 0;
  };

  void Register(HeldObject* object);
  // Takes the paths that are no longer used off the bus.
  void Sweep();

  AutomationServer server_;
  QDBusConnection connection_;
  QDBusServiceWatcher watcher_;
  QTimer connection_check_;
  std::unique_ptr<ApplicationBus> application_;
  std::map<QString, Client> clients_;
  std::map<QString, HeldObject*> objects_;  // by path
  quint64 next_database_ = 1;
};

}  // namespace jov
