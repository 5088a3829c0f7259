// One object on the bus with one interface: its methods and properties as a table, the
// dispatch of calls (org.freedesktop.DBus.Properties included) and the introspection data that
// `gdbus introspect` and `busctl` show. Every call, property reads and writes too, knows its
// caller, so that each client's objects can be its own; a refused property write is answered
// with a bus error.
#pragma once

#include <QDBusVirtualObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace jov {

// A call in hand: who made it and its arguments.
struct BusCall {
  QString caller;
  QVariantList arguments;
};

// The answer to a call: its values, or an error.
struct BusReply {
  QVariantList values;
  QString error_name;  // empty: no error
  QString error_text;

  static BusReply Error(QString name, QString text) {
    return {{}, std::move(name), std::move(text)};
  }
};

class BusObject : public QDBusVirtualObject {
 public:
  using MethodRun = std::function<BusReply(const BusCall&)>;
  using PropertyGet = std::function<QVariant(const QString& caller)>;
  // An empty error name: taken.
  using PropertySet = std::function<BusReply(const QString& caller, const QVariant& value)>;

  explicit BusObject(QString interface) : interface_(std::move(interface)) {}

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
  QString introspect(const QString& path) const override;

 protected:
  // `in` and `out` list the arguments as "type name" pairs separated by commas ("s filename,
  // s Password"); their types make the signature a call must have.
  void AddMethod(const char* name, const char* in, const char* out, MethodRun run);
  // A property of D-Bus type `type`; read-only without a setter.
  void AddProperty(const char* name, const char* type, PropertyGet get, PropertySet set = {});

 private:
  struct Method {
    QString name;
    QString signature;
    QString xml;
    MethodRun run;
  };
  struct Property {
    QString name;
    QString type;
    PropertyGet get;
    PropertySet set;
  };

  BusReply CallMethod(const QDBusMessage& message) const;
  BusReply CallProperties(const QDBusMessage& message) const;
  const Property* FindProperty(const QString& interface, const QString& name) const;

  QString interface_;
  std::vector<Method> methods_;
  std::vector<Property> properties_;
};

}  // namespace jov
