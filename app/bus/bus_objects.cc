#include "bus_objects.h"

#include <QDBusError>
#include <QDBusObjectPath>

#include "bus_service.h"

namespace jov {
namespace {

std::string Utf8(const QVariant& text) { return text.toString().toStdString(); }
QVariant Text(const std::string& utf8) { return QString::fromStdString(utf8); }

BusReply Values(QVariantList values) { return {std::move(values), {}, {}}; }
BusReply Code(ErrorCodes error) { return Values({static_cast<int>(error)}); }
BusReply Nothing() { return {}; }

// A property write that the object refused: a bus error carrying the code.
BusReply Written(ErrorCodes error) {
  if (error == errNone) return {};
  return BusReply::Error(QString::fromLatin1(kBusErrorName), QString::number(error));
}

// The path of an object that could not be made.
QVariant NoObject() { return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/"))); }

}  // namespace

// --- Application

ApplicationBus::ApplicationBus(BusService& service)
    : BusObject(QStringLiteral("org.ledra.JOV.IApplication")) {
  auto app = [&service](const QString& caller) -> ApplicationObject& {
    return service.ApplicationFor(caller);
  };
  AddProperty(
      "Visible", "n", [app](const QString& c) { return QVariant::fromValue(app(c).Visible()); },
      [app](const QString& c, const QVariant& v) {
        app(c).SetVisible(v.value<short>());
        return Nothing();
      });
  AddProperty(
      "WindowState", "n",
      [app](const QString& c) { return QVariant::fromValue(app(c).GetWindowState()); },
      [app](const QString& c, const QVariant& v) {
        app(c).SetWindowState(v.value<short>());
        return Nothing();
      });
  AddProperty(
      "ExitOnRelease", "n",
      [app](const QString& c) { return QVariant::fromValue(app(c).ExitOnRelease()); },
      [app](const QString& c, const QVariant& v) {
        app(c).SetExitOnRelease(v.value<short>());
        return Nothing();
      });
  AddProperty(
      "Signature", "s", [app](const QString& c) { return Text(app(c).Signature()); },
      [app](const QString& c, const QVariant& v) { return Written(app(c).SetSignature(Utf8(v))); });
  AddMethod("OpenFile", "s filename, s Password", "o database, i error",
            [app, &service](const BusCall& call) {
              ApplicationObject::Opened opened =
                  app(call.caller).OpenFile(Utf8(call.arguments[0]), Utf8(call.arguments[1]));
              const QVariant path = opened.database ? QVariant::fromValue(service.Publish(
                                                          call.caller, std::move(opened.database)))
                                                    : NoObject();
              return Values({path, static_cast<int>(opened.error)});
            });
  AddMethod("Quit", "", "", [app](const BusCall& call) {
    app(call.caller).Quit();
    return Nothing();
  });
  AddMethod("Release", "", "", [&service](const BusCall& call) {
    service.ReleaseClient(call.caller);
    return Nothing();
  });
  AddMethod("LockServer", "b lock", "", [&service](const BusCall& call) {
    if (call.arguments[0].toBool()) {
      service.Lock(call.caller);
    } else {
      service.Unlock(call.caller);
    }
    return Nothing();
  });
}

// --- Paths held by clients

HeldObject::HeldObject(const char* interface, BusService& service, DatabaseLink link, QString path)
    : BusObject(QString::fromLatin1(interface)),
      service_(service),
      link_(std::move(link)),
      path_(std::move(path)) {}

void HeldObject::Adopt(const QString& client, std::unique_ptr<AutomationObject> object) {
  std::unique_ptr<AutomationObject>& slot = holders_[client];
  if (!slot) slot = std::move(object);
}

void HeldObject::Drop(const QString& client) { holders_.erase(client); }

AutomationObject& HeldObject::Held(const QString& caller) {
  std::unique_ptr<AutomationObject>& slot = holders_[caller];
  if (!slot) {
    service_.Watch(caller);
    slot = Make();
  }
  return *slot;
}

// --- Database

DatabaseBus::DatabaseBus(BusService& service, DatabaseLink link, QString path)
    : HeldObject("org.ledra.JOV.IDatabase", service, std::move(link), std::move(path)) {
  AddProperty("Name", "s", [this](const QString& c) { return Text(Object(c).Name()); });
  AddProperty(
      "Password", "s", [this](const QString& c) { return Text(Object(c).Password()); },
      [this](const QString& c, const QVariant& v) {
        return Written(Object(c).SetPassword(Utf8(v)));
      });
  AddMethod("GetDim", "n num", "o dim", [this](const BusCall& call) { return GetDim(call); });
  AddMethod("Import", "s filename, s Password", "i error", [this](const BusCall& call) {
    return Code(Object(call).Import(Utf8(call.arguments[0]), Utf8(call.arguments[1])));
  });
  AddMethod("ImportWithSetup", "s filename, s importsetup", "i error", [this](const BusCall& call) {
    return Code(Object(call).ImportWithSetup(Utf8(call.arguments[0]), Utf8(call.arguments[1])));
  });
  AddMethod("ImportText", "s text", "i error", [this](const BusCall& call) {
    return Code(Object(call).ImportText(Utf8(call.arguments[0])));
  });
  AddMethod("ImportTrans", "s data, s importsetup", "i error", [this](const BusCall& call) {
    return Code(Object(call).ImportTrans(Utf8(call.arguments[0]), Utf8(call.arguments[1])));
  });
  AddMethod("Save", "", "i error",
            [this](const BusCall& call) { return Code(Object(call).Save()); });
  AddMethod("SaveAs", "s filename, s options", "i error", [this](const BusCall& call) {
    return Code(Object(call).SaveAs(Utf8(call.arguments[0]), Utf8(call.arguments[1])));
  });
  AddMethod("XML_Command", "s xmlin", "s xmlout", [this](const BusCall& call) {
    return Values({Text(Object(call).XmlCommand(Utf8(call.arguments[0])))});
  });
  AddMethod("MacroCall", "s Name", "i error", [this](const BusCall& call) {
    return Code(Object(call).MacroCall(Utf8(call.arguments[0])));
  });
  AddMethod("MacroCommand", "s commands", "i error", [this](const BusCall& call) {
    return Code(Object(call).MacroCommand(Utf8(call.arguments[0])));
  });
  AddMethod("Close", "", "", [this](const BusCall& call) {
    Object(call).Close();
    return Nothing();
  });
  AddMethod("Release", "", "", [this](const BusCall& call) {
    service_.Drop(*this, call.caller);
    return Nothing();
  });
}

std::unique_ptr<AutomationObject> DatabaseBus::Make() {
  return std::make_unique<DatabaseObject>(service_.server(), link_);
}

BusReply DatabaseBus::GetDim(const BusCall& call) {
  const short number = call.arguments[0].value<short>();
  std::unique_ptr<DimensionObject> dimension = Object(call).GetDim(number);
  if (!dimension) {
    return BusReply::Error(QDBusError::errorString(QDBusError::InvalidArgs),
                           *link_ == nullptr
                               ? QStringLiteral("the database is closed")
                               : QStringLiteral("there is no dimension %1").arg(number));
  }
  return Values({QVariant::fromValue(service_.Publish(call.caller, *this, std::move(dimension)))});
}

// --- Dimension

DimensionBus::DimensionBus(BusService& service, DatabaseLink link, QString path, int index)
    : HeldObject("org.ledra.JOV.IDimension", service, std::move(link), std::move(path)),
      index_(index) {
  AddProperty("Number", "n",
              [this](const QString& c) { return QVariant::fromValue(Object(c).Number()); });
  AddProperty(
      "Singular", "s", [this](const QString& c) { return Text(Object(c).Singular()); },
      [this](const QString& c, const QVariant& v) {
        return Written(Object(c).SetSingular(Utf8(v)));
      });
  AddProperty(
      "Plural", "s", [this](const QString& c) { return Text(Object(c).Plural()); },
      [this](const QString& c, const QVariant& v) {
        return Written(Object(c).SetPlural(Utf8(v)));
      });
  AddProperty(
      "DimString", "n",
      [this](const QString& c) { return QVariant::fromValue(Object(c).DimString()); },
      [this](const QString& c, const QVariant& v) {
        return Written(Object(c).SetDimString(v.value<short>()));
      });
  AddProperty("ComponentsInUse", "i", [this](const QString& c) {
    return QVariant::fromValue(Object(c).ComponentsInUse());
  });
  AddProperty("ActiveComponents", "i", [this](const QString& c) {
    return QVariant::fromValue(Object(c).ActiveComponents());
  });
  AddProperty("TotalComponents", "i", [this](const QString& c) {
    return QVariant::fromValue(Object(c).TotalComponents());
  });
  AddMethod("Import", "s filename", "i error", [this](const BusCall& call) {
    return Code(Object(call).Import(Utf8(call.arguments[0])));
  });
  AddMethod("ImportText", "s text", "i error", [this](const BusCall& call) {
    return Code(Object(call).ImportText(Utf8(call.arguments[0])));
  });
  AddMethod("Export", "s filename", "i error", [this](const BusCall& call) {
    return Code(Object(call).Export(Utf8(call.arguments[0])));
  });
  AddMethod("ExportText", "", "s text",
            [this](const BusCall& call) { return Values({Text(Object(call).ExportText())}); });
  AddMethod("Release", "", "", [this](const BusCall& call) {
    service_.Drop(*this, call.caller);
    return Nothing();
  });
}

std::unique_ptr<AutomationObject> DimensionBus::Make() {
  return std::make_unique<DimensionObject>(service_.server(), link_, index_);
}

}  // namespace jov
