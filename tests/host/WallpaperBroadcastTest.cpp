#include "host/WallpaperBroadcast.h"

#include "host/LastError.h"

#include "support/PrivateBus.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

namespace {

// Pumps events until the count reaches the wanted value or five seconds pass.
bool WaitForCount(const int& count, int wanted)
{
    const QDeadlineTimer deadline(5000);
    while (count < wanted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return count == wanted;
}

QDBusMessage Broadcast(const QString& path, const QString& name)
{
    return QDBusMessage::createSignal(path, host::WallpaperBroadcastInterface, name);
}

TEST(WallpaperBroadcast, EachBroadcastOnTheBusCallsTheHandler)
{
    PrivateBus bus;
    if (!bus.IsRunning())
        GTEST_SKIP() << "no dbus-daemon to run a private bus";
    int calls = 0;
    host::WallpaperBroadcastListener listener([&calls] { ++calls; });
    ASSERT_TRUE(listener.Listen(bus.Connect("listener")));
    EXPECT_TRUE(listener.IsListening());
    EXPECT_EQ(host::ERROR_SUCCESS, host::GetLastError());

    QDBusConnection sender = bus.Connect("sender");
    // Another signal of the interface comes first: only the broadcast counts.
    ASSERT_TRUE(sender.send(Broadcast("/", "BroadcastSomethingElse")));
    ASSERT_TRUE(sender.send(Broadcast("/com/Brastelwick/Wallpaper", host::WallpaperBroadcastSignal)));
    EXPECT_TRUE(WaitForCount(calls, 1));
    ASSERT_TRUE(sender.send(Broadcast("/", host::WallpaperBroadcastSignal)));
    EXPECT_TRUE(WaitForCount(calls, 2));
}

TEST(WallpaperBroadcast, WithoutABusNothingListens)
{
    int calls = 0;
    host::WallpaperBroadcastListener listener([&calls] { ++calls; });
    const QDBusConnection absent = QDBusConnection::connectToBus(QString("unix:path=/nonexistent/bus"), "absent");
    EXPECT_FALSE(listener.Listen(absent));
    EXPECT_EQ(host::ERROR_NOT_SUPPORTED, host::GetLastError());
    EXPECT_FALSE(listener.IsListening());
    QDBusConnection::disconnectFromBus("absent");
    EXPECT_EQ(0, calls);
}

} // namespace
