#pragma once
// The automation interface on the D-Bus session bus. Each running program owns the
// service "org.kerfpad.Kerfpad.Instance<pid>" with the object "/Kerfpad" of interface
// "org.kerfpad.IKerfpad"; text travels as "s", the 8-bit integers as "i", doubles as
// "d". A method that raises answers with the error "org.kerfpad.IKerfpad.Error.Unexpected"
// and the exception's message.
//
// The bus gets a connection of its own (not Qt's shared session connection), opened at
// the address the environment names at that moment, so a program can offer itself on a
// bus chosen after start-up and closes exactly what it opened.

#include "platform/gui/automation/KerfpadAutomation.h"

#include <QDBusConnection>
#include <QString>

#include <memory>

class TKerfpadBusObject;

inline const QString KerfpadBusObjectPath = QStringLiteral("/Kerfpad");
inline const QString KerfpadBusInterface = QStringLiteral("org.kerfpad.IKerfpad");
inline const QString KerfpadBusUnexpectedError = QStringLiteral("org.kerfpad.IKerfpad.Error.Unexpected");
// The environment variable through which started plug-in programs learn the service.
inline constexpr const char* KerfpadBusNameVariable = "KERFPAD_BUS_NAME";

// "org.kerfpad.Kerfpad.Instance<pid>".
QString KerfpadBusServiceName(qint64 processId);
// The session bus's address: DBUS_SESSION_BUS_ADDRESS, else the user's bus socket in
// XDG_RUNTIME_DIR; empty when neither exists.
QString SessionBusAddress();
// The introspection document of the interface, as the bus hands it out.
QString KerfpadBusIntrospection();

class TKerfpadBus {
public:
    // Offers `target` (not owned; it must outlive the bus) on the bus at `address`.
    // Raises Exception with the bus's own message when there is no bus, the connection
    // fails, or the name or object cannot be registered.
    explicit TKerfpadBus(IKerfpadAutomation& target, const QString& address = SessionBusAddress());
    // Withdraws the object and the name and closes the connection.
    ~TKerfpadBus();
    TKerfpadBus(const TKerfpadBus&) = delete;
    TKerfpadBus& operator=(const TKerfpadBus&) = delete;

    const QString& ServiceName() const { return FServiceName; }
    const QString& Address() const { return FAddress; }

private:
    void Close();

    QString FAddress;
    QString FConnectionName;
    QString FServiceName;
    std::unique_ptr<TKerfpadBusObject> FObject;
};
