// End to end through a private session bus that each test starts: calls to the well-known name
// start jov-bus with "-embedding" through the bus's activation, as on a desktop.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "automation/automation_objects.h"
#include "bus_service.h"
#include "registration.h"

namespace jov {
namespace {

constexpr char kApplication[] = "org.ledra.JOV.IApplication";
constexpr char kDatabase[] = "org.ledra.JOV.IDatabase";
constexpr char kDimension[] = "org.ledra.JOV.IDimension";

constexpr char kBooks[] =
    "##JOV-Text\t001219\r\n"
    "##ImportSetup\tBank\r\n"
    "S\t59\r\nD\t44\r\nRX\t1\r\nM\tY/M/D\r\nLI\tF1\r\nLT\tF4\r\nL1\tT1930\r\nLZ\tF3\r\n"
    "LVA\tF5\r\nZN1\tH\r\n-\r\nL1\tT2999\r\nLVA\tF5\r\nV\t-1\r\nZN1\tH\r\n"
    "##Dimension\t1\r\n-N\tAccount\tAccounts\r\n"
    "1\tAssets\r\n19\tCash\r\n1930\tBank\t1930\r\n2999\tSuspense\t2999\r\n"
    "##Macro\tReport\r\nM\tbeep\r\n\r\n"
    "##End\r\n";
constexpr char kBankRows[] =
    "Booking date;Value date;Reference;Text;Amount;Balance\r\n"
    "2024-01-02;2024-01-02;5484381424;Coffee;-45,00;12.355,00\r\n";

// A session bus of its own, with the service file of the program under test in its service
// folder; removed with the object.
class PrivateBus {
 public:
  explicit PrivateBus(const QString& program) {
    const QString root = folder_.path();
    address_ = QStringLiteral("unix:path=%1/bus").arg(root);
    QDir().mkpath(root + "/services");
    QDir().mkpath(root + "/config");
    Write(root + "/bus.conf",
          QStringLiteral("<busconfig><type>session</type><listen>%1</listen>"
                         "<servicedir>%2/services</servicedir><policy context=\"default\">"
                         "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                         "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>")
              .arg(address_, root));
    Write(root + "/services/org.ledra.JOV.service",
          QStringLiteral("[D-BUS Service]\nName=org.ledra.JOV\nExec=%1 -embedding\n").arg(program));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // What the bus starts connects to this bus, and reads its preferences here.
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root + "/config");
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    daemon_.setProcessEnvironment(environment);
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                   QStringLiteral("--config-file=") + root + "/bus.conf"});
    started_ = daemon_.waitForStarted() && daemon_.waitForReadyRead(10000);
  }
  ~PrivateBus() {
    for (const QString& name : names_) QDBusConnection::disconnectFromBus(name);
    daemon_.terminate();
    daemon_.waitForFinished();
  }

  bool started() const { return started_; }
  QString folder() const { return folder_.path(); }
  // A new client connection.
  QDBusConnection Connect(const QString& name) {
    names_.append(name);
    return QDBusConnection::connectToBus(address_, name);
  }
  // The client leaves the bus, as when its program ends.
  void Leave(const QString& name) {
    QDBusConnection::disconnectFromBus(name);
    names_.removeAll(name);
  }
  // Whether the service holds its name, waited for up to `seconds` to become `held`.
  bool WaitForService(bool held, int seconds = 10) {
    QDBusConnection watcher = Connect(QStringLiteral("watcher"));
    QDeadlineTimer deadline(seconds * 1000);
    while (true) {
      const bool now = watcher.interface()->isServiceRegistered(QString::fromLatin1(kBusName));
      if (now == held || deadline.hasExpired()) return now == held;
      QThread::msleep(50);
    }
  }

 private:
  static void Write(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
  }

  QTemporaryDir folder_;
  QString address_;
  QProcess daemon_;
  QStringList names_;
  bool started_ = false;
};

// One client of the service. It keeps its connection's name only, so that the connection
// closes when the bus leaves it.
class Client {
 public:
  explicit Client(const QDBusConnection& connection) : name_(connection.name()) {}

  QDBusMessage Call(const QString& path, const char* interface, const char* method,
                    const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(kBusName), path, QLatin1String(interface), QLatin1String(method));
    message.setArguments(arguments);
    return QDBusConnection(name_).call(message, QDBus::Block, 20000);
  }
  // The first value of a reply that must not be an error.
  QVariant Value(const QString& path, const char* interface, const char* method,
                 const QVariantList& arguments = {}) {
    const QDBusMessage reply = Call(path, interface, method, arguments);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
        << method << ": " << reply.errorMessage().toStdString();
    return reply.arguments().value(0);
  }
  int Error(const QString& path, const char* interface, const char* method,
            const QVariantList& arguments = {}) {
    return Value(path, interface, method, arguments).toInt();
  }
  QVariant Get(const QString& path, const char* interface, const char* property) {
    const QDBusMessage reply = Call(path, "org.freedesktop.DBus.Properties", "Get",
                                    {QLatin1String(interface), QLatin1String(property)});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
        << property << ": " << reply.errorMessage().toStdString();
    return reply.arguments().value(0).value<QDBusVariant>().variant();
  }
  // The reply to a property write: empty when it was taken, else the bus error's message.
  QString Set(const QString& path, const char* interface, const char* property,
              const QVariant& value) {
    const QDBusMessage reply = Call(path, "org.freedesktop.DBus.Properties", "Set",
                                    {QLatin1String(interface), QLatin1String(property),
                                     QVariant::fromValue(QDBusVariant(value))});
    return reply.type() == QDBusMessage::ErrorMessage ? reply.errorMessage() : QString();
  }
  // OpenFile: the database's path and the error code.
  std::pair<QString, int> Open(const QString& file, const QString& password = {}) {
    const QDBusMessage reply =
        Call(QString::fromLatin1(kApplicationPath), kApplication, "OpenFile", {file, password});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    return {reply.arguments().value(0).value<QDBusObjectPath>().path(),
            reply.arguments().value(1).toInt()};
  }
  QString Dimension(const QString& database, short number) {
    return Value(database, kDatabase, "GetDim", {QVariant::fromValue(number)})
        .value<QDBusObjectPath>()
        .path();
  }

 private:
  QString name_;
};

class BusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
      GTEST_SKIP() << "dbus-daemon is not installed (scripts/setup.sh installs it)";
    }
    bus_ = std::make_unique<PrivateBus>(QStringLiteral(JOV_BUS_BINARY));
    ASSERT_TRUE(bus_->started());
    books_ = bus_->folder() + "/Books.jox";
    Write(books_, kBooks);
    Write(bus_->folder() + "/bank.csv", kBankRows);
  }
  static void Write(const QString& path, const char* bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QString File(const char* name) const { return bus_->folder() + '/' + QLatin1String(name); }

  std::unique_ptr<PrivateBus> bus_;
  QString books_;
  const QString app_ = QString::fromLatin1(kApplicationPath);
};

TEST_F(BusTest, EachMethodOnceThenTheServiceEndsWithItsLastClient) {
  Client client(bus_->Connect(QStringLiteral("client")));
  // The first call starts the service; being started for a client, it exits on release.
  EXPECT_EQ(client.Get(app_, kApplication, "ExitOnRelease").toInt(), 1);
  EXPECT_EQ(client.Set(app_, kApplication, "Visible", QVariant::fromValue<short>(1)), "");
  EXPECT_EQ(client.Get(app_, kApplication, "Visible").toInt(), 0);  // no window to show
  EXPECT_EQ(client.Set(app_, kApplication, "WindowState", QVariant::fromValue<short>(2)), "");
  EXPECT_EQ(client.Get(app_, kApplication, "WindowState").toInt(), wsNormal);
  EXPECT_EQ(client.Set(app_, kApplication, "Signature", QStringLiteral("\u00C5KE")), "");
  EXPECT_EQ(client.Get(app_, kApplication, "Signature").toString(), QStringLiteral("\u00C5KE"));
  EXPECT_EQ(client.Set(app_, kApplication, "Signature", QStringLiteral("\u0151")),
            QString::number(errInvalidParameter));

  const QString introspection =
      client.Value(app_, "org.freedesktop.DBus.Introspectable", "Introspect").toString();
  EXPECT_TRUE(
      introspection.contains(QStringLiteral("interface name=\"org.ledra.JOV.IApplication\"")));
  EXPECT_TRUE(introspection.contains(QStringLiteral("method name=\"OpenFile\"")));

  EXPECT_EQ(client.Open(File("Missing.jox")), std::make_pair(QStringLiteral("/"), -110));
  const auto [books, opened] = client.Open(books_);
  ASSERT_EQ(opened, errNone);
  EXPECT_TRUE(books.startsWith(QStringLiteral("/org/ledra/JOV/Database/")));
  EXPECT_EQ(client.Get(books, kDatabase, "Name").toString(), books_);
  EXPECT_EQ(client.Set(books, kDatabase, "Password", QStringLiteral("pw")), "");
  EXPECT_EQ(client.Get(books, kDatabase, "Password").toString(), QStringLiteral("pw"));
  EXPECT_EQ(client.Set(books, kDatabase, "Password", QString()), "");

  // GetDim 0 and 17 fail; 1 gives the first dimension.
  for (const short wrong : {0, 17}) {
    EXPECT_EQ(client.Call(books, kDatabase, "GetDim", {QVariant::fromValue(wrong)}).type(),
              QDBusMessage::ErrorMessage);
  }
  const QString accounts = client.Dimension(books, 1);
  EXPECT_EQ(client.Get(accounts, kDimension, "Number").toInt(), 1);
  EXPECT_EQ(client.Get(accounts, kDimension, "Singular").toString(), QStringLiteral("Account"));
  EXPECT_EQ(client.Set(accounts, kDimension, "Singular", QStringLiteral("Konto")), "");
  EXPECT_EQ(client.Set(accounts, kDimension, "Plural", QStringLiteral("Konton")), "");
  EXPECT_EQ(client.Get(accounts, kDimension, "Plural").toString(), QStringLiteral("Konton"));
  EXPECT_EQ(client.Set(accounts, kDimension, "DimString", QVariant::fromValue<short>(9)), "");
  EXPECT_EQ(client.Get(accounts, kDimension, "DimString").toInt(), dcCodeText);
  EXPECT_EQ(client.Get(accounts, kDimension, "TotalComponents").toInt(), 4);
  EXPECT_EQ(client.Get(accounts, kDimension, "ComponentsInUse").toInt(), 0);
  EXPECT_EQ(client.Get(accounts, kDimension, "ActiveComponents").toInt(), 0);

  EXPECT_EQ(client.Error(books, kDatabase, "Import", {File("Missing.txt"), QString()}), -110);
  EXPECT_EQ(client.Error(books, kDatabase, "ImportWithSetup", {File("bank.csv"), "Nope"}), -131);
  EXPECT_EQ(client.Get(accounts, kDimension, "ComponentsInUse").toInt(), 0);  // nothing came
  EXPECT_EQ(client.Error(books, kDatabase, "ImportWithSetup", {"bank.csv", "Bank"}), 0);
  EXPECT_EQ(client.Get(accounts, kDimension, "ComponentsInUse").toInt(), 2);
  EXPECT_EQ(client.Get(accounts, kDimension, "ActiveComponents").toInt(), 4);
  EXPECT_EQ(client.Error(books, kDatabase, "ImportTrans", {QString(kBankRows), "bank"}), 0);
  EXPECT_EQ(client.Error(books, kDatabase, "ImportText", {QString()}), 0);
  EXPECT_EQ(client.Error(books, kDatabase, "MacroCall", {"Report"}), 0);
  EXPECT_EQ(client.Error(books, kDatabase, "MacroCall", {"Nothing"}), -133);
  EXPECT_EQ(client.Error(books, kDatabase, "MacroCommand", {"save Copy.jox SC-"}), 0);
  EXPECT_TRUE(QFile::exists(File("Copy.jox")));
  EXPECT_EQ(client.Error(books, kDatabase, "SaveAs", {"Plain.jox", "SC-"}), 0);
  EXPECT_TRUE(QFile::exists(File("Plain.jox")));
  EXPECT_TRUE(
      client.Value(books, kDatabase, "XML_Command", {"<r/>"}).toString().startsWith("<?XML"));

  EXPECT_EQ(client.Error(accounts, kDimension, "ImportText", {"3\tIncome\n"}), 0);
  EXPECT_EQ(client.Error(accounts, kDimension, "Import", {"Missing.txt"}), -110);
  EXPECT_EQ(client.Error(accounts, kDimension, "Export", {"accounts.txt"}), 0);
  const QString exported = client.Value(accounts, kDimension, "ExportText").toString();
  EXPECT_TRUE(exported.startsWith(QStringLiteral("##Dimension\t1\r\n-N\tKonto\tKonton\r\n")));
  EXPECT_TRUE(exported.contains(QStringLiteral("3\tIncome\r\n")));
  EXPECT_EQ(client.Error(books, kDatabase, "Save"), 0);
  QFile saved(books_);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(saved.readAll().contains("Konto\tKonton"));

  EXPECT_TRUE(client.Call(books, kDatabase, "Close").type() == QDBusMessage::ReplyMessage);
  EXPECT_EQ(client.Error(books, kDatabase, "MacroCall", {"Report"}), errBaseInvalid);
  EXPECT_EQ(client.Get(accounts, kDimension, "DimString").toInt(), dcCodeText);
  EXPECT_TRUE(client.Call(accounts, kDimension, "Release").type() == QDBusMessage::ReplyMessage);
  EXPECT_EQ(client.Call(accounts, kDimension, "ExportText").type(), QDBusMessage::ErrorMessage);

  // Still held by the client's database object and its hold on the application.
  EXPECT_TRUE(bus_->WaitForService(true, 0));
  bus_->Leave(QStringLiteral("client"));
  EXPECT_TRUE(bus_->WaitForService(false));
}

TEST_F(BusTest, AClientThatDiesReleasesWhatItHeld) {
  Client holder(bus_->Connect(QStringLiteral("holder")));
  Client other(bus_->Connect(QStringLiteral("other")));
  // A lock keeps the service running without an object.
  EXPECT_EQ(other.Call(app_, kApplication, "LockServer", {true}).type(),
            QDBusMessage::ReplyMessage);
  const QString books = holder.Open(books_).first;
  const QString accounts = holder.Dimension(books, 1);
  bus_->Leave(QStringLiteral("holder"));
  EXPECT_TRUE(bus_->WaitForService(true, 0));
  // The database stays open after its last object went: its path still reaches it.
  EXPECT_EQ(other.Get(accounts, kDimension, "TotalComponents").toInt(), 4);
  other.Call(app_, kApplication, "LockServer", {false});
  EXPECT_TRUE(bus_->WaitForService(true, 0));  // the other client holds objects still
  // The service quits when the other client leaves: nothing of the holder's was kept.
  bus_->Leave(QStringLiteral("other"));
  EXPECT_TRUE(bus_->WaitForService(false));
}

TEST_F(BusTest, TwoClientsOnOneDatabase) {
  Client first(bus_->Connect(QStringLiteral("first")));
  Client second(bus_->Connect(QStringLiteral("second")));
  const QString mine = first.Open(books_).first;
  const auto [theirs, error] = second.Open(books_);
  ASSERT_EQ(error, errNone);
  EXPECT_EQ(mine, theirs);  // one database, one path
  // What one imports, the other sees.
  EXPECT_EQ(second.Error(theirs, kDatabase, "ImportWithSetup", {"bank.csv", "Bank"}), 0);
  const QString accounts = first.Dimension(mine, 1);
  EXPECT_EQ(first.Get(accounts, kDimension, "ComponentsInUse").toInt(), 2);
  // The second lets go of its object; the first's is untouched.
  second.Call(theirs, kDatabase, "Release");
  EXPECT_EQ(first.Get(mine, kDatabase, "Name").toString(), books_);
  // The first closes the database: every object on it is left without one.
  first.Call(mine, kDatabase, "Close");
  EXPECT_EQ(first.Error(mine, kDatabase, "MacroCall", {"Report"}), errBaseInvalid);
  EXPECT_EQ(second.Error(theirs, kDatabase, "MacroCall", {"Report"}), errBaseInvalid);
}

// The desktop program serves the same objects; its main window follows Visible and WindowState.
TEST(DesktopBusTest, WindowStateMinimiseHidesTheMainWindow) {
  const QString desktop = QStringLiteral(JOV_DESKTOP_BINARY);
  if (desktop.isEmpty()) GTEST_SKIP() << "the desktop program is not built";
  if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
    GTEST_SKIP() << "dbus-daemon is not installed (scripts/setup.sh installs it)";
  }
  PrivateBus bus(desktop);
  ASSERT_TRUE(bus.started());
  Client client(bus.Connect(QStringLiteral("client")));
  const QString app = QString::fromLatin1(kApplicationPath);
  // Started for a client, the main window is not shown.
  EXPECT_EQ(client.Get(app, kApplication, "Visible").toInt(), 0);
  EXPECT_EQ(client.Set(app, kApplication, "Visible", QVariant::fromValue<short>(1)), "");
  EXPECT_EQ(client.Get(app, kApplication, "Visible").toInt(), 1);
  EXPECT_EQ(client.Set(app, kApplication, "WindowState", QVariant::fromValue<short>(1)), "");
  EXPECT_EQ(client.Get(app, kApplication, "WindowState").toInt(), wsMaximize);
  EXPECT_EQ(client.Set(app, kApplication, "WindowState", QVariant::fromValue<short>(2)), "");
  EXPECT_EQ(client.Get(app, kApplication, "Visible").toInt(), 0);
  EXPECT_EQ(client.Get(app, kApplication, "WindowState").toInt(), wsNormal);
  bus.Leave(QStringLiteral("client"));
  EXPECT_TRUE(bus.WaitForService(false));
}

TEST(RegistrationTest, SwitchesAreReadIgnoringCaseAndPathsStayDocuments) {
  const std::pair<QStringList, AutomationSwitch> cases[] = {
      {{}, AutomationSwitch::kNone},
      {{"/RegServer"}, AutomationSwitch::kRegServer},
      {{"/unregserver"}, AutomationSwitch::kUnregServer},
      {{"/associate"}, AutomationSwitch::kAssociate},
      {{"-Embedding"}, AutomationSwitch::kEmbedding},
      {{"/tmp/books.jov"}, AutomationSwitch::kNone},
      {{"/bogus"}, AutomationSwitch::kUnknown},
      {{"books.jov", "/regserverX"}, AutomationSwitch::kRegServer},
  };
  for (const auto& [arguments, kind] : cases) {
    EXPECT_EQ(ReadAutomationSwitch(arguments).kind, kind) << arguments.join(' ').toStdString();
  }
  EXPECT_EQ(ReadAutomationSwitch({"/bogus"}).text, QStringLiteral("/bogus"));
}

TEST(RegistrationTest, FilesGoToTheUsersDataFolder) {
  QTemporaryDir folder;
  qputenv("XDG_DATA_HOME", folder.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());  // where xdg-mime records the default
  QString error;
  ASSERT_TRUE(RegisterServer(QStringLiteral("/opt/my jov/jov-bus"), &error)) << error.toStdString();
  QFile service(folder.path() + "/dbus-1/services/org.ledra.JOV.service");
  ASSERT_TRUE(service.open(QIODevice::ReadOnly));
  EXPECT_EQ(service.readAll(),
            "[D-BUS Service]\nName=org.ledra.JOV\nExec=\"/opt/my jov/jov-bus\" -embedding\n");
  service.close();
  ASSERT_TRUE(UnregisterServer(&error));
  EXPECT_FALSE(service.exists());
  EXPECT_TRUE(UnregisterServer(&error));  // nothing to remove is no failure

  ASSERT_TRUE(WriteAssociations(QStringLiteral("/opt/jov/jov-desktop"), &error));
  QFile entry(folder.path() + "/applications/jov-desktop.desktop");
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  EXPECT_TRUE(entry.readAll().contains("\nExec=/opt/jov/jov-desktop %F\n"));
  EXPECT_TRUE(QFile::exists(folder.path() + "/mime/packages/jov-desktop.xml"));
  EXPECT_TRUE(IsAssociated());
  qunsetenv("XDG_DATA_HOME");
  qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace jov

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
