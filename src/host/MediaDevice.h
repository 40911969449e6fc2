#pragma once

#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

// The media device that plays one audio or video file at a time, and the program's own
// sound output. Positions and lengths are counted in the device's time format.
namespace host {

// What the device is doing, in ascending order: any mode above Stopped means the device is
// busy with its medium.
enum class MediaMode
{
    NotReady,
    Stopped,
    Playing,
    Seeking,
    Paused,
    Open,
};

// The units of positions and lengths. The packed formats keep their fields in the bytes of
// the value, lowest first (MSF: minutes, seconds, frames; SMPTE: hours, minutes, seconds,
// frames).
enum class MediaTimeFormat
{
    Milliseconds,
    Hms,
    Msf,
    Frames,
    Smpte24,
    Smpte25,
    Smpte30,
    Smpte30Drop,
    Bytes,
    Samples,
    Tmsf,
};

// The device's error codes; 0 is none.
inline constexpr int MEDIA_ERROR_FILE_NOT_FOUND = 275;
inline constexpr int MEDIA_ERROR_DEVICE_NOT_READY = 276;
inline constexpr int MEDIA_ERROR_INVALID_FILE = 296;

class MediaDevice
{
public:
    virtual ~MediaDevice() = default;

    // The medium the next Open opens, as a Windows path.
    virtual void SetFileName(const std::string& windowsPath) = 0;
    virtual std::string FileName() const = 0;
    // The widget a video is shown in; the video covers the display rectangle of it.
    virtual void SetDisplay(QWidget* display) = 0;
    virtual QWidget* Display() const = 0;

    // Opens the file named; ErrorCode and ErrorMessage then tell whether it failed and why.
    virtual void Open() = 0;
    virtual int ErrorCode() const = 0;
    virtual std::string ErrorMessage() const = 0;
    // True while Open waits for the medium; the program's periodic media work waits too.
    virtual bool IsOpening() const = 0;
    virtual void Close() = 0;
    virtual void Play() = 0;
    // Pauses a playing medium and resumes a paused one.
    virtual void Pause() = 0;

    virtual int64_t Position() const = 0;
    virtual void SetPosition(int64_t position) = 0;
    virtual int64_t Length() const = 0;
    virtual MediaMode Mode() const = 0;
    virtual MediaTimeFormat TimeFormat() const = 0;

    virtual void SetDisplayRect(const QRect& rect) = 0;
    virtual QRect DisplayRect() const = 0;
    // The video's own size; none for audio, or while the size is not known yet. A size
    // learnt later is announced to the listener, so the video can be placed again.
    virtual std::optional<QSize> SourceSize() const = 0;
    virtual void SetSourceSizeListener(std::function<void()> listener) = 0;
    // Frames per second as the medium declares them; none when it declares none.
    virtual std::optional<double> NominalFrameRate() const = 0;

    // The sound output's volume, 0..65535 for the left channel in the low word and for the
    // right channel in the high word. Reading gives back the value last written.
    virtual uint32_t Volume() const = 0;
    virtual void SetVolume(uint32_t bothChannels) = 0;
};

using MediaDeviceFactory = std::function<std::unique_ptr<MediaDevice>()>;

// A new device: Qt Multimedia's, unless a test installed a factory of its own.
std::unique_ptr<MediaDevice> MakeMediaDevice();
// Replaces the device MakeMediaDevice makes; an empty factory restores the real one.
void SetMediaDeviceFactory(MediaDeviceFactory factory);

} // namespace host
