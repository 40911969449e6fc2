#include "support/FakeMediaDevice.h"

#include <QString>

#include <algorithm>
#include <stdexcept>

using host::MediaMode;

TFakeMediaDevice::~TFakeMediaDevice()
{
    if (Destroyed)
        Destroyed();
}

void TFakeMediaDevice::AddMedium(const std::string& windowsPath, const TFakeMedium& medium)
{
    Media[windowsPath] = medium;
}

void TFakeMediaDevice::Advance(int64_t milliseconds)
{
    if (!Opened || CurrentMode != MediaMode::Playing)
        return;
    At = std::min(At + milliseconds, Opened->Length);
    if (At == Opened->Length)
        CurrentMode = MediaMode::Stopped;
}

void TFakeMediaDevice::Finish()
{
    if (!Opened)
        return;
    At = Opened->Length;
    CurrentMode = MediaMode::Stopped;
}

void TFakeMediaDevice::SetMode(MediaMode mode)
{
    CurrentMode = mode;
}

void TFakeMediaDevice::AnnounceSourceSize(const QSize& size)
{
    if (Opened)
        Opened->SourceSize = size;
    if (SourceSizeListener)
        SourceSizeListener();
}

void TFakeMediaDevice::SetFileName(const std::string& windowsPath)
{
    Name = windowsPath;
}

std::string TFakeMediaDevice::FileName() const
{
    return Name;
}

void TFakeMediaDevice::SetDisplay(QWidget* display)
{
    DisplayWidget = display;
}

QWidget* TFakeMediaDevice::Display() const
{
    return DisplayWidget;
}

void TFakeMediaDevice::Open()
{
    Calls.push_back("Open " + Name);
    Opening = true;
    if (DuringOpen)
        DuringOpen();
    Opening = false;
    const auto scripted = Media.find(Name);
    const TFakeMedium medium = scripted == Media.end() ? DefaultMedium : scripted->second;
    Error = medium.OpenError;
    Message = medium.OpenErrorMessage;
    At = 0;
    Opened.reset();
    CurrentMode = MediaMode::NotReady;
    if (Error == 0) {
        Opened = medium;
        CurrentMode = MediaMode::Stopped;
    }
}

int TFakeMediaDevice::ErrorCode() const
{
    return Error;
}

std::string TFakeMediaDevice::ErrorMessage() const
{
    return Message;
}

bool TFakeMediaDevice::IsOpening() const
{
    return Opening;
}

void TFakeMediaDevice::Close()
{
    Calls.push_back("Close");
    Opened.reset();
    At = 0;
    CurrentMode = MediaMode::NotReady;
}

void TFakeMediaDevice::Play()
{
    Calls.push_back("Play");
    if (Opened)
        CurrentMode = MediaMode::Playing;
}

void TFakeMediaDevice::Pause()
{
    Calls.push_back("Pause");
    if (CurrentMode == MediaMode::Playing)
        CurrentMode = MediaMode::Paused;
    else if (CurrentMode == MediaMode::Paused)
        CurrentMode = MediaMode::Playing;
}

int64_t TFakeMediaDevice::Position() const
{
    return At;
}

void TFakeMediaDevice::SetPosition(int64_t position)
{
    Calls.push_back("Position " + std::to_string(position));
    PositionsSet.push_back(position);
    if (Opened)
        At = std::clamp<int64_t>(position, 0, Opened->Length);
}

int64_t TFakeMediaDevice::Length() const
{
    return Opened ? Opened->Length : 0;
}

MediaMode TFakeMediaDevice::Mode() const
{
    return CurrentMode;
}

host::MediaTimeFormat TFakeMediaDevice::TimeFormat() const
{
    return Opened ? Opened->TimeFormat : host::MediaTimeFormat::Milliseconds;
}

void TFakeMediaDevice::SetDisplayRect(const QRect& rect)
{
    Rect = rect;
}

QRect TFakeMediaDevice::DisplayRect() const
{
    return Rect;
}

std::optional<QSize> TFakeMediaDevice::SourceSize() const
{
    return Opened ? Opened->SourceSize : std::nullopt;
}

void TFakeMediaDevice::SetSourceSizeListener(std::function<void()> listener)
{
    SourceSizeListener = std::move(listener);
}

std::optional<double> TFakeMediaDevice::NominalFrameRate() const
{
    return Opened ? Opened->FrameRate : std::nullopt;
}

uint32_t TFakeMediaDevice::Volume() const
{
    return VolumeValue;
}

void TFakeMediaDevice::SetVolume(uint32_t bothChannels)
{
    Calls.push_back("Volume " + QString::number(bothChannels, 16).toUpper().rightJustified(8, '0').toStdString());
    VolumesWritten.push_back(bothChannels);
    VolumeValue = bothChannels;
}

TFakeMediaDevices::TFakeMediaDevices()
{
    host::SetMediaDeviceFactory([this] {
        auto device = std::make_unique<TFakeMediaDevice>();
        TFakeMediaDevice* made = device.get();
        made->Destroyed = [this, made] { std::erase(Living, made); };
        Living.push_back(made);
        ++Count;
        return device;
    });
}

TFakeMediaDevices::~TFakeMediaDevices()
{
    host::SetMediaDeviceFactory({});
    for (TFakeMediaDevice* device : Living)
        device->Destroyed = nullptr;
}

TFakeMediaDevice& TFakeMediaDevices::Device()
{
    if (Living.empty())
        throw std::logic_error("No fake media device lives.");
    return *Living.back();
}
