#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>
#include <optional>

// The wallpaper program announces each new picture to every program of the session. Its
// registered message "Brastelwick - Broadcast Wallpaper Change" travels here as the signal
// "BroadcastWallpaperChange" of the interface "com.Brastelwick" on the session bus, from
// any sender and object path; the picture itself is left in the registry. User-interface
// thread only.
namespace host {

inline constexpr const char* WallpaperBroadcastInterface = "com.Brastelwick";
inline constexpr const char* WallpaperBroadcastSignal = "BroadcastWallpaperChange";

class WallpaperBroadcastListener : public QObject
{
    Q_OBJECT

public:
    explicit WallpaperBroadcastListener(std::function<void()> onBroadcast, QObject* parent = nullptr);
    ~WallpaperBroadcastListener() override;
    WallpaperBroadcastListener(const WallpaperBroadcastListener&) = delete;
    WallpaperBroadcastListener& operator=(const WallpaperBroadcastListener&) = delete;

    // Calls the handler at each broadcast from now until the listener goes; false with
    // the last error set (ERROR_NOT_SUPPORTED) when there is no session bus, or the given
    // bus is not connected or refuses.
    bool Listen();
    bool Listen(const QDBusConnection& bus);
    bool IsListening() const { return Bus.has_value(); }

private:
    Q_SLOT void Receive();
    void Stop();

    std::function<void()> OnBroadcast;
    std::optional<QDBusConnection> Bus;
};

} // namespace host
