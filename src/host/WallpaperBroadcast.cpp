#include "host/WallpaperBroadcast.h"

#include "host/LastError.h"

namespace host {

WallpaperBroadcastListener::WallpaperBroadcastListener(std::function<void()> onBroadcast, QObject* parent)
    : QObject(parent), OnBroadcast(std::move(onBroadcast))
{
}

WallpaperBroadcastListener::~WallpaperBroadcastListener()
{
    Stop();
}

bool WallpaperBroadcastListener::Listen()
{
    return Listen(QDBusConnection::sessionBus());
}

bool WallpaperBroadcastListener::Listen(const QDBusConnection& bus)
{
    Stop();
    QDBusConnection connection = bus;
    if (!connection.isConnected() ||
        !connection.connect({}, {}, WallpaperBroadcastInterface, WallpaperBroadcastSignal, this, SLOT(Receive()))) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    Bus = connection;
    SetLastError(ERROR_SUCCESS);
    return true;
}

void WallpaperBroadcastListener::Stop()
{
    if (Bus)
        Bus->disconnect({}, {}, WallpaperBroadcastInterface, WallpaperBroadcastSignal, this, SLOT(Receive()));
    Bus.reset();
}

void WallpaperBroadcastListener::Receive()
{
    if (OnBroadcast)
        OnBroadcast();
}

} // namespace host
