#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <vector>

// A bus of the test's own, so no test reaches the real session.
class PrivateBus
{
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty())
            return;
        Daemon.start(daemon, {"--session", "--nofork", "--print-address=1"});
        if (Daemon.waitForReadyRead(5000))
            Address = QString::fromUtf8(Daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (const QString& name : Names)
            QDBusConnection::disconnectFromBus(name);
        Daemon.kill();
        Daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool IsRunning() const { return !Address.isEmpty(); }

    QDBusConnection Connect(const QString& name)
    {
        Names.push_back(name);
        return QDBusConnection::connectToBus(Address, name);
    }

private:
    QProcess Daemon;
    QString Address;
    std::vector<QString> Names;
};
