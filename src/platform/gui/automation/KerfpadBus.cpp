#include "platform/gui/automation/KerfpadBus.h"

#include "platform/core/Exceptions.h"
#include "platform/gui/automation/AutomationCalls.h"

#include <QCoreApplication>
#include <QDBusContext>
#include <QDBusError>
#include <QFileInfo>
#include <QMetaClassInfo>
#include <QObject>

#include <atomic>

// The object the bus calls. Its slots are the interface's methods; the introspection
// document is written out so that the bus shows the interface's order and every
// argument name, the out arguments included.
class TKerfpadBusObject : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kerfpad.IKerfpad")
    Q_CLASSINFO("D-Bus Introspection",
                "  <interface name=\"org.kerfpad.IKerfpad\">\n"
                "    <method name=\"SendData\">\n"
                "      <arg name=\"ResultData\" type=\"s\" direction=\"in\"/>\n"
                "      <arg name=\"ToPlugins\" type=\"i\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"GetData\">\n"
                "      <arg name=\"Selection\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"Data\" type=\"s\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"GetCurrentLine\">\n"
                "      <arg name=\"Data\" type=\"s\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"GetCurPos\">\n"
                "      <arg name=\"curpos\" type=\"s\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"GetLastMoveSegmentAngle\">\n"
                "      <arg name=\"angle\" type=\"d\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"AddMoveNode\">\n"
                "      <arg name=\"x\" type=\"d\" direction=\"in\"/>\n"
                "      <arg name=\"y\" type=\"d\" direction=\"in\"/>\n"
                "      <arg name=\"z\" type=\"d\" direction=\"in\"/>\n"
                "      <arg name=\"setcurpos\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"newlines\" type=\"i\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"AddJogNode\">\n"
                "      <arg name=\"x\" type=\"d\" direction=\"in\"/>\n"
                "      <arg name=\"y\" type=\"d\" direction=\"in\"/>\n"
                "      <arg name=\"z\" type=\"d\" direction=\"in\"/>\n"
                "      <arg name=\"setcurpos\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"newlines\" type=\"i\" direction=\"in\"/>\n"
                "    </method>\n"
                "  </interface>\n")

public:
    // An exception becomes the error reply; the caller then gets no result at all.
    explicit TKerfpadBusObject(IKerfpadAutomation& target)
        : FCalls(target, [this](const QString& message) { sendErrorReply(KerfpadBusUnexpectedError, message); })
    {
    }

public Q_SLOTS:
    void SendData(const QString& ResultData, int ToPlugins) { FCalls.SendData(ResultData, ToPlugins); }
    QString GetData(int Selection) { return FCalls.GetData(Selection); }
    QString GetCurrentLine() { return FCalls.GetCurrentLine(); }
    QString GetCurPos() { return FCalls.GetCurPos(); }
    double GetLastMoveSegmentAngle() { return FCalls.GetLastMoveSegmentAngle(); }
    void AddMoveNode(double x, double y, double z, int setcurpos, int newlines)
    {
        FCalls.AddMoveNode(x, y, z, setcurpos, newlines);
    }
    void AddJogNode(double x, double y, double z, int setcurpos, int newlines)
    {
        FCalls.AddJogNode(x, y, z, setcurpos, newlines);
    }

private:
    TAutomationCalls FCalls;
};

QString KerfpadBusServiceName(qint64 processId)
{
    return QStringLiteral("org.kerfpad.Kerfpad.Instance%1").arg(processId);
}

QString SessionBusAddress()
{
    const QString named = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!named.isEmpty()) {
        return named;
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString socket = runtime + QStringLiteral("/bus");
    if (!runtime.isEmpty() && QFileInfo::exists(socket)) {
        return QStringLiteral("unix:path=") + socket;
    }
    return {};
}

QString KerfpadBusIntrospection()
{
    const QMetaObject& meta = TKerfpadBusObject::staticMetaObject;
    return QString::fromUtf8(meta.classInfo(meta.indexOfClassInfo("D-Bus Introspection")).value());
}

TKerfpadBus::TKerfpadBus(IKerfpadAutomation& target, const QString& address)
    : FAddress(address), FObject(std::make_unique<TKerfpadBusObject>(target))
{
    if (address.isEmpty()) {
        throw Exception("no D-Bus session bus: DBUS_SESSION_BUS_ADDRESS is not set");
    }
    static std::atomic<int> serial{0};
    FConnectionName = QStringLiteral("kerfpad-automation-%1").arg(++serial);
    QDBusConnection connection = QDBusConnection::connectToBus(address, FConnectionName);
    const auto fail = [&](const QString& what, const QDBusError& error) {
        const QString message = what + QStringLiteral(": ") + error.message();
        Close();
        throw Exception(message.toStdString());
    };
    if (!connection.isConnected()) {
        fail(QStringLiteral("cannot connect to the D-Bus session bus at ") + address, connection.lastError());
    }
    const QString service = KerfpadBusServiceName(QCoreApplication::applicationPid());
    if (!connection.registerService(service)) {
        fail(QStringLiteral("cannot own the D-Bus name ") + service, connection.lastError());
    }
    FServiceName = service;
    if (!connection.registerObject(KerfpadBusObjectPath, FObject.get(), QDBusConnection::ExportAllSlots)) {
        fail(QStringLiteral("cannot register the D-Bus object ") + KerfpadBusObjectPath, connection.lastError());
    }
}

TKerfpadBus::~TKerfpadBus()
{
    Close();
}

void TKerfpadBus::Close()
{
    if (FConnectionName.isEmpty()) {
        return;
    }
    {
        QDBusConnection connection(FConnectionName);
        if (connection.isConnected()) {
            connection.unregisterObject(KerfpadBusObjectPath);
            if (!FServiceName.isEmpty()) {
                connection.unregisterService(FServiceName);
            }
        }
    }
    QDBusConnection::disconnectFromBus(FConnectionName);
    FConnectionName.clear();
    FServiceName.clear();
}

#include "KerfpadBus.moc"
