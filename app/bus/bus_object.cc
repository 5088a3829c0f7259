#include "bus_object.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QStringList>

namespace jov {
namespace {

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

constexpr char kPropertiesXml[] =
    "  <interface name=\"org.freedesktop.DBus.Properties\">\n"
    "    <method name=\"Get\"><arg name=\"interface_name\" type=\"s\" direction=\"in\"/>"
    "<arg name=\"property_name\" type=\"s\" direction=\"in\"/>"
    "<arg name=\"value\" type=\"v\" direction=\"out\"/></method>\n"
    "    <method name=\"Set\"><arg name=\"interface_name\" type=\"s\" direction=\"in\"/>"
    "<arg name=\"property_name\" type=\"s\" direction=\"in\"/>"
    "<arg name=\"value\" type=\"v\" direction=\"in\"/></method>\n"
    "    <method name=\"GetAll\"><arg name=\"interface_name\" type=\"s\" direction=\"in\"/>"
    "<arg name=\"values\" type=\"a{sv}\" direction=\"out\"/></method>\n"
    "  </interface>\n";

// "s filename, s Password": the signature "ss", and the introspection lines with `direction`.
void ReadArguments(const char* list, const char* direction, QString* signature, QString* xml) {
  for (const QString& pair : QString::fromLatin1(list).split(',', Qt::SkipEmptyParts)) {
    const QStringList parts = pair.trimmed().split(' ');
    signature->append(parts.value(0));
    xml->append(QStringLiteral("<arg name=\"%1\" type=\"%2\" direction=\"%3\"/>")
                    .arg(parts.value(1), parts.value(0), QLatin1String(direction)));
  }
}

BusReply InvalidArguments(const QString& text) {
  return BusReply::Error(QDBusError::errorString(QDBusError::InvalidArgs), text);
}

}  // namespace

void BusObject::AddMethod(const char* name, const char* in, const char* out, MethodRun run) {
  Method method{QString::fromLatin1(name), {}, {}, std::move(run)};
  QString ignored;
  method.xml = QStringLiteral("    <method name=\"%1\">").arg(method.name);
  ReadArguments(in, "in", &method.signature, &method.xml);
  ReadArguments(out, "out", &ignored, &method.xml);
  method.xml += QStringLiteral("</method>\n");
  methods_.push_back(std::move(method));
}

void BusObject::AddProperty(const char* name, const char* type, PropertyGet get, PropertySet set) {
  properties_.push_back(
      {QString::fromLatin1(name), QString::fromLatin1(type), std::move(get), std::move(set)});
}

QString BusObject::introspect(const QString&) const {
  QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(interface_);
  for (const Method& method : methods_) xml += method.xml;
  for (const Property& property : properties_) {
    xml += QStringLiteral("    <property name=\"%1\" type=\"%2\" access=\"%3\"/>\n")
               .arg(property.name, property.type,
                    property.set ? QStringLiteral("readwrite") : QStringLiteral("read"));
  }
  return xml + QStringLiteral("  </interface>\n") + QLatin1String(kPropertiesXml);
}

bool BusObject::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  if (message.type() != QDBusMessage::MethodCallMessage) return false;
  BusReply reply;
  if (message.interface() == kProperties) {
    reply = CallProperties(message);
  } else if (message.interface().isEmpty() || message.interface() == interface_) {
    reply = CallMethod(message);
  } else {
    return false;  // Introspectable and Peer are Qt's
  }
  if (!message.isReplyRequired()) return true;
  connection.send(reply.error_name.isEmpty()
                      ? message.createReply(reply.values)
                      : message.createErrorReply(reply.error_name, reply.error_text));
  return true;
}

BusReply BusObject::CallMethod(const QDBusMessage& message) const {
  for (const Method& method : methods_) {
    if (method.name != message.member()) continue;
    if (method.signature != message.signature()) {
      return InvalidArguments(QStringLiteral("%1 takes (%2)").arg(method.name, method.signature));
    }
    return method.run({message.service(), message.arguments()});
  }
  return BusReply::Error(QDBusError::errorString(QDBusError::UnknownMethod),
                         QStringLiteral("no method %1 in %2").arg(message.member(), interface_));
}

const BusObject::Property* BusObject::FindProperty(const QString& interface,
                                                   const QString& name) const {
  if (!interface.isEmpty() && interface != interface_) return nullptr;
  for (const Property& property : properties_) {
    if (property.name == name) return &property;
  }
  return nullptr;
}

BusReply BusObject::CallProperties(const QDBusMessage& message) const {
  const QVariantList& arguments = message.arguments();
  const QString caller = message.service();
  const QString interface = arguments.value(0).toString();
  if (message.member() == QLatin1String("GetAll") && message.signature() == QLatin1String("s")) {
    QVariantMap values;
    if (interface.isEmpty() || interface == interface_) {
      for (const Property& property : properties_) values[property.name] = property.get(caller);
    }
    return {{values}, {}, {}};
  }
  const Property* property = FindProperty(interface, arguments.value(1).toString());
  if (message.member() == QLatin1String("Get") && message.signature() == QLatin1String("ss")) {
    if (property == nullptr) return InvalidArguments(QStringLiteral("no such property"));
    return {{QVariant::fromValue(QDBusVariant(property->get(caller)))}, {}, {}};
  }
  if (message.member() == QLatin1String("Set") && message.signature() == QLatin1String("ssv")) {
    if (property == nullptr) return InvalidArguments(QStringLiteral("no such property"));
    if (!property->set) {
      return BusReply::Error(QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
                             QStringLiteral("%1 is read-only").arg(property->name));
    }
    const QVariant value = arguments.value(2).value<QDBusVariant>().variant();
    if (QString::fromLatin1(QDBusMetaType::typeToSignature(value.metaType())) != property->type) {
      return InvalidArguments(QStringLiteral("%1 takes %2").arg(property->name, property->type));
    }
    return property->set(caller, value);
  }
  return BusReply::Error(QDBusError::errorString(QDBusError::UnknownMethod),
                         QStringLiteral("no method %1 in %2").arg(message.member(), kProperties));
}

}  // namespace jov
