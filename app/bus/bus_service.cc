#include "bus_service.h"

#include <QDBusConnectionInterface>
#include <vector>

#include "bus_objects.h"

namespace jov {
namespace {}  // namespace

BusService::BusService(AutomationHost& host, QDBusConnection connection)
    : server_(host), connection_(std::move(connection)) {
  watcher_.setConnection(connection_);
  watcher_.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
  connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &BusService::ReleaseClient);
}

BusService::~BusService() {
  // The objects count in the server, which goes with the service.
  for (auto& [path, object] : objects_) {
    connection_.unregisterObject(path);
    delete object;
  }
  objects_.clear();
  clients_.clear();
  if (application_) connection_.unregisterObject(QString::fromLatin1(kApplicationPath));
}

bool BusService::Start(QString* error) {
  if (!connection_.isConnected()) {
    *error = connection_.lastError().message();
    return false;
  }
  application_ = std::make_unique<ApplicationBus>(*this);
  if (!connection_.registerVirtualObject(QString::fromLatin1(kApplicationPath),
                                         application_.get())) {
    *error = connection_.lastError().message();
    return false;
  }
  // Not queued: a second server would wait for a name that the first keeps.
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      connection_.interface()->registerService(QString::fromLatin1(kBusName),
                                               QDBusConnectionInterface::DontQueueService,
                                               QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    *error = reply.isValid() ? QStringLiteral("%1 is served by another program already")
                                   .arg(QString::fromLatin1(kBusName))
                             : reply.error().message();
    return false;
  }
  return true;
}

void BusService::QuitWhenDisconnected() {
  connect(&connection_check_, &QTimer::timeout, this, [this] {
    if (connection_.isConnected()) return;
    connection_check_.stop();
    server_.host().Quit();
  });
  connection_check_.start(1000);
}

void BusService::Watch(const QString& client) {
  if (client.isEmpty() || clients_.count(client) != 0) return;
  clients_.emplace(client, Client());
  watcher_.addWatchedService(client);
  // A client that left before it was watched is released all the same.
  if (!connection_.interface()->isServiceRegistered(client).value()) {
    QMetaObject::invokeMethod(
        this, [this, client] { ReleaseClient(client); }, Qt::QueuedConnection);
  }
}

ApplicationObject& BusService::ApplicationFor(const QString& client) {
  Watch(client);
  Client& held = clients_[client];
  if (!held.application) held.application = std::make_unique<ApplicationObject>(server_);
  return *held.application;
}

void BusService::Register(HeldObject* object) {
  connection_.registerVirtualObject(object->path(), object);
  objects_[object->path()] = object;
}

QDBusObjectPath BusService::Publish(const QString& client, std::unique_ptr<DatabaseObject> object) {
  HeldObject* found = nullptr;
  for (const auto& [path, held] : objects_) {
    if (held->link() == object->link() && dynamic_cast<DatabaseBus*>(held) != nullptr) {
      found = held;
      break;
    }
  }
  if (found == nullptr) {
    found = new DatabaseBus(*this, object->link(),
                            QStringLiteral("/org/ledra/JOV/Database/%1").arg(next_database_++));
    Register(found);
  }
  Watch(client);
  found->Adopt(client, std::move(object));
  return QDBusObjectPath(found->path());
}

QDBusObjectPath BusService::Publish(const QString& client, const DatabaseBus& database,
                                    std::unique_ptr<DimensionObject> object) {
  const QString path = database.path() + QStringLiteral("/Dimension/%1").arg(object->Number());
  auto found = objects_.find(path);
  if (found == objects_.end()) {
    auto* dimension = new DimensionBus(*this, database.link(), path, object->Number() - 1);
    Register(dimension);
    found = objects_.find(path);
  }
  Watch(client);
  found->second->Adopt(client, std::move(object));
  return QDBusObjectPath(path);
}

void BusService::Drop(HeldObject& object, const QString& client) {
  object.Drop(client);
  Sweep();
}

void BusService::ReleaseClient(const QString& client) {
  const auto found = clients_.find(client);
  if (found == clients_.end()) return;
  Client held = std::move(found->second);
  clients_.erase(found);
  watcher_.removeWatchedService(client);
  for (auto& [path, object] : objects_) object->Drop(client);
  Sweep();
  for (; held.locks > 0; --held.locks) server_.Unlock();
  // The application object goes last: its release may be the one that ends the program.
  held.application.reset();
}

void BusService::Sweep() {
  std::vector<QString> unused;
  for (const auto& [path, object] : objects_) {
    if (object->Unused()) unused.push_back(path);
  }
  for (const QString& path : unused) {
    connection_.unregisterObject(path);
    // The call in hand may still be answering through it.
    objects_[path]->deleteLater();
    objects_.erase(path);
  }
}

void BusService::Lock(const QString& client) {
  ApplicationFor(client);
  ++clients_[client].locks;
  server_.Lock();
}

void BusService::Unlock(const QString& client) {
  const auto found = clients_.find(client);
  if (found == clients_.end() || found->second.locks == 0) return;
  --found->second.locks;
  server_.Unlock();
}

}  // namespace jov
