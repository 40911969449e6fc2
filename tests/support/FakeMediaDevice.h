#pragma once

#include "host/MediaDevice.h"

#include <map>
#include <vector>

// What the fake device reports for one medium.
struct TFakeMedium
{
    int64_t Length = 1000;
    std::optional<QSize> SourceSize;
    std::optional<double> FrameRate;
    host::MediaTimeFormat TimeFormat = host::MediaTimeFormat::Milliseconds;
    // A failing Open reports these; 0 opens.
    int OpenError = 0;
    std::string OpenErrorMessage;
};

// A media device that plays nothing: tests script the media it knows and move its time, and
// read back what was asked of it.
//
// Modes: Close gives NotReady, a good Open Stopped, a failing one NotReady; Play gives Playing,
// Pause toggles Playing and Paused. Time moves only through Advance, and a medium that
// reaches its length stops there, as an ended medium does.
class TFakeMediaDevice : public host::MediaDevice
{
public:
    ~TFakeMediaDevice() override;

    // Scripts a medium by its file name; any other file opens as DefaultMedium.
    void AddMedium(const std::string& windowsPath, const TFakeMedium& medium);
    TFakeMedium DefaultMedium;
    // Runs inside Open, while IsOpening is true: the place of the events a real device handles
    // while it waits for its medium.
    std::function<void()> DuringOpen;

    // Moves a playing medium on; at its length it stops.
    void Advance(int64_t milliseconds);
    // The medium ends now.
    void Finish();
    void SetMode(host::MediaMode mode);
    // The video's size becomes known late, as from its first frame: the listener hears of it.
    void AnnounceSourceSize(const QSize& size);

    // Every operation that acts, in order: "Open <file>", "Close", "Play", "Pause",
    // "Position <n>", "Volume <hex>".
    std::vector<std::string> Calls;
    std::vector<int64_t> PositionsSet;
    std::vector<uint32_t> VolumesWritten;
    // Called by the destructor, so a holder of this device learns that it is gone.
    std::function<void()> Destroyed;

    void SetFileName(const std::string& windowsPath) override;
    std::string FileName() const override;
    void SetDisplay(QWidget* display) override;
    QWidget* Display() const override;
    void Open() override;
    int ErrorCode() const override;
    std::string ErrorMessage() const override;
    bool IsOpening() const override;
    void Close() override;
    void Play() override;
    void Pause() override;
    int64_t Position() const override;
    void SetPosition(int64_t position) override;
    int64_t Length() const override;
    host::MediaMode Mode() const override;
    host::MediaTimeFormat TimeFormat() const override;
    void SetDisplayRect(const QRect& rect) override;
    QRect DisplayRect() const override;
    std::optional<QSize> SourceSize() const override;
    void SetSourceSizeListener(std::function<void()> listener) override;
    std::optional<double> NominalFrameRate() const override;
    uint32_t Volume() const override;
    void SetVolume(uint32_t bothChannels) override;

private:
    std::map<std::string, TFakeMedium> Media;
    std::string Name;
    QWidget* DisplayWidget = nullptr;
    std::optional<TFakeMedium> Opened;
    int Error = 0;
    std::string Message;
    bool Opening = false;
    int64_t At = 0;
    host::MediaMode CurrentMode = host::MediaMode::NotReady;
    QRect Rect;
    std::function<void()> SourceSizeListener;
    uint32_t VolumeValue = 0xFFFFFFFF;
};

// While it lives, every media device made is a fake; Device is the one made last.
class TFakeMediaDevices
{
public:
    TFakeMediaDevices();
    ~TFakeMediaDevices();
    TFakeMediaDevices(const TFakeMediaDevices&) = delete;
    TFakeMediaDevices& operator=(const TFakeMediaDevices&) = delete;

    // Throws, failing the test, when no device lives.
    TFakeMediaDevice& Device();
    int Made() const { return Count; }

private:
    std::vector<TFakeMediaDevice*> Living;
    int Count = 0;
};
