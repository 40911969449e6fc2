#pragma once

#include "host/MediaDevice.h"

#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QPointer>

#include <chrono>
#include <memory>

class QAudioOutput;
class QVideoFrame;

namespace host {

class VideoPicture;

// What a player in the playback state with the media status is doing.
MediaMode MediaModeOf(QMediaPlayer::PlaybackState state, QMediaPlayer::MediaStatus status);

// The media device on Qt Multimedia: a QMediaPlayer, its own audio output, and a video
// picture laid over the display widget. Positions and lengths are in milliseconds. The player
// is made at the first Open: loading the media framework costs a good part of a start, and
// until a medium opens the device has nothing to play.
class QtMediaDevice : public MediaDevice
{
public:
    // How long Open waits for the medium to load.
    static constexpr std::chrono::milliseconds DefaultOpenTimeLimit{3000};

    explicit QtMediaDevice(std::chrono::milliseconds openTimeLimit = DefaultOpenTimeLimit);
    ~QtMediaDevice() override;

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
    MediaMode Mode() const override;
    MediaTimeFormat TimeFormat() const override;

    void SetDisplayRect(const QRect& rect) override;
    QRect DisplayRect() const override;
    std::optional<QSize> SourceSize() const override;
    void SetSourceSizeListener(std::function<void()> listener) override;
    std::optional<double> NominalFrameRate() const override;

    uint32_t Volume() const override;
    void SetVolume(uint32_t bothChannels) override;

private:
    void Load(const QUrl& url);
    void DeliverLateReports();
    QMediaPlayer& OpenedPlayer();
    void ShowVideoIn(QWidget& display);
    void WaitForMedium();
    void Fail(int code, const std::string& message);
    void PlaceVideo();
    void TakeFrameSize(const QVideoFrame& frame);
    QVariant VideoFact(QMediaMetaData::Key key) const;

    std::chrono::milliseconds OpenTimeLimit;
    std::unique_ptr<QMediaPlayer> Player;
    QAudioOutput* Output = nullptr;
    QPointer<QWidget> DisplayWidget;
    QPointer<VideoPicture> Video;
    std::string WindowsPath;
    // What the player reported going wrong since the last Open began; its own error stays
    // set across media.
    std::optional<QString> LoadError;
    int Error = 0;
    std::string Message;
    bool Opening = false;
    QRect Rect;
    std::optional<QSize> FrameSize;
    std::function<void()> SourceSizeListener;
    uint32_t VolumeWritten = 0xFFFFFFFF;
};

} // namespace host
