#include "host/QtMediaDevice.h"

#include "host/Drives.h"
#include "host/VideoPicture.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

namespace host {
namespace {

bool IsSettled(QMediaPlayer::MediaStatus status)
{
    return status != QMediaPlayer::NoMedia && status != QMediaPlayer::LoadingMedia;
}

// The output's volume from the device's value: the left channel's 16 bits.
float OutputVolume(uint32_t bothChannels)
{
    return static_cast<float>(bothChannels & 0xFFFFu) / 65535.0f;
}

} // namespace

MediaMode MediaModeOf(QMediaPlayer::PlaybackState state, QMediaPlayer::MediaStatus status)
{
    if (!IsSettled(status) || status == QMediaPlayer::InvalidMedia)
        return MediaMode::NotReady;
    switch (state) {
    case QMediaPlayer::PlayingState:
        return MediaMode::Playing;
    case QMediaPlayer::PausedState:
        return MediaMode::Paused;
    case QMediaPlayer::StoppedState:
        break;
    }
    return MediaMode::Stopped;
}

QtMediaDevice::QtMediaDevice(std::chrono::milliseconds openTimeLimit) : OpenTimeLimit(openTimeLimit)
{
}

QtMediaDevice::~QtMediaDevice()
{
    if (Player)
        Player->stop();
    delete Video;
}

// The player with its audio output, the volume last written and the video in the display.
QMediaPlayer& QtMediaDevice::OpenedPlayer()
{
    if (Player)
        return *Player;
    Player = std::make_unique<QMediaPlayer>();
    Output = new QAudioOutput(Player.get());
    Player->setAudioOutput(Output);
    Output->setVolume(OutputVolume(VolumeWritten));
    QObject::connect(Player.get(), &QMediaPlayer::hasVideoChanged, Player.get(), [this] { PlaceVideo(); });
    QObject::connect(Player.get(), &QMediaPlayer::errorOccurred, Player.get(),
                     [this](QMediaPlayer::Error, const QString& text) { LoadError = text; });
    if (DisplayWidget)
        ShowVideoIn(*DisplayWidget);
    return *Player;
}

void QtMediaDevice::SetFileName(const std::string& windowsPath)
{
    WindowsPath = windowsPath;
}

std::string QtMediaDevice::FileName() const
{
    return WindowsPath;
}

void QtMediaDevice::SetDisplay(QWidget* display)
{
    DisplayWidget = display;
    if (!display) {
        if (Video)
            Video->hide();
        return;
    }
    if (Player)
        ShowVideoIn(*display);
}

void QtMediaDevice::ShowVideoIn(QWidget& display)
{
    if (!Video) {
        Video = new VideoPicture(&display);
        Video->hide();
        Player->setVideoSink(&Video->Sink());
        QObject::connect(&Video->Sink(), &QVideoSink::videoFrameChanged, Player.get(),
                         [this](const QVideoFrame& frame) { TakeFrameSize(frame); });
    } else if (Video->parentWidget() != &display) {
        Video->setParent(&display);
    }
    PlaceVideo();
}

QWidget* QtMediaDevice::Display() const
{
    return DisplayWidget;
}

void QtMediaDevice::Open()
{
    Close();
    Error = 0;
    Message.clear();
    const std::optional<std::string> hostPath = WindowsToHost(WindowsPath);
    if (!hostPath || !QFileInfo(QString::fromStdString(*hostPath)).isFile()) {
        Fail(MEDIA_ERROR_FILE_NOT_FOUND, "The file cannot be found.");
        return;
    }
    Load(QUrl::fromLocalFile(QString::fromStdString(*hostPath)));
    if (LoadError || Player->mediaStatus() == QMediaPlayer::InvalidMedia) {
        const bool told = LoadError && !LoadError->isEmpty();
        Fail(MEDIA_ERROR_INVALID_FILE,
             told ? LoadError->toStdString() : "The file is not a medium that can be played.");
    } else if (!IsSettled(Player->mediaStatus())) {
        Fail(MEDIA_ERROR_DEVICE_NOT_READY, "The medium did not load in time.");
    } else {
        PlaceVideo();
    }
}

// Loading runs on the media framework's own threads and reports through queued calls, so
// the load delivers queued calls and runs a local event loop; the user's input waits until
// it ends, and the program's other work meanwhile sees the device opening.
void QtMediaDevice::Load(const QUrl& url)
{
    Opening = true;
    DeliverLateReports();
    LoadError.reset();
    OpenedPlayer().setSource(url);
    WaitForMedium();
    Opening = false;
}

void QtMediaDevice::WaitForMedium()
{
    if (IsSettled(Player->mediaStatus()) || LoadError)
        return;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(Player.get(), &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(Player.get(), &QMediaPlayer::mediaStatusChanged, &loop, [&loop](QMediaPlayer::MediaStatus status) {
        if (IsSettled(status))
            loop.quit();
    });
    limit.start(OpenTimeLimit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// The media framework hands what its pipeline reports to queued calls, and a medium that
// fails may report twice, the second time after the wait has ended. Releasing the medium
// stops its pipeline and drops reports not yet handed on; those already queued are
// delivered here, while no medium is loaded, or the next medium would take them as its own.
void QtMediaDevice::DeliverLateReports()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

void QtMediaDevice::Fail(int code, const std::string& message)
{
    Error = code;
    Message = message;
    if (Player)
        Player->setSource(QUrl());
}

int QtMediaDevice::ErrorCode() const
{
    return Error;
}

std::string QtMediaDevice::ErrorMessage() const
{
    return Message;
}

bool QtMediaDevice::IsOpening() const
{
    return Opening;
}

void QtMediaDevice::Close()
{
    if (Player) {
        Player->stop();
        Player->setSource(QUrl());
    }
    FrameSize.reset();
    PlaceVideo();
}

void QtMediaDevice::Play()
{
    if (Player && !Player->source().isEmpty())
        Player->play();
}

void QtMediaDevice::Pause()
{
    if (!Player)
        return;
    if (Player->playbackState() == QMediaPlayer::PlayingState)
        Player->pause();
    else if (Player->playbackState() == QMediaPlayer::PausedState)
        Player->play();
}

int64_t QtMediaDevice::Position() const
{
    return Player ? Player->position() : 0;
}

void QtMediaDevice::SetPosition(int64_t position)
{
    if (Player)
        Player->setPosition(position);
}

int64_t QtMediaDevice::Length() const
{
    return Player ? Player->duration() : 0;
}

MediaMode QtMediaDevice::Mode() const
{
    if (!Player)
        return MediaMode::NotReady;
    return MediaModeOf(Player->playbackState(), Player->mediaStatus());
}

MediaTimeFormat QtMediaDevice::TimeFormat() const
{
    return MediaTimeFormat::Milliseconds;
}

void QtMediaDevice::SetDisplayRect(const QRect& rect)
{
    Rect = rect;
    PlaceVideo();
}

QRect QtMediaDevice::DisplayRect() const
{
    return Rect;
}

// The video widget covers the display rectangle while a video is open, and hides otherwise.
void QtMediaDevice::PlaceVideo()
{
    if (!Video)
        return;
    const bool shown = DisplayWidget && Player && Player->hasVideo() && !Rect.isEmpty();
    if (shown)
        Video->setGeometry(Rect);
    Video->setVisible(shown);
}

std::optional<QSize> QtMediaDevice::SourceSize() const
{
    if (!Player || !Player->hasVideo())
        return std::nullopt;
    const QSize declared = VideoFact(QMediaMetaData::Resolution).toSize();
    if (!declared.isEmpty())
        return declared;
    return FrameSize;
}

void QtMediaDevice::SetSourceSizeListener(std::function<void()> listener)
{
    SourceSizeListener = std::move(listener);
}

// A video that declares no size shows it with its first frame.
void QtMediaDevice::TakeFrameSize(const QVideoFrame& frame)
{
    if (FrameSize || !frame.isValid() || frame.size().isEmpty())
        return;
    const bool wasKnown = SourceSize().has_value();
    FrameSize = frame.size();
    if (!wasKnown && SourceSizeListener)
        SourceSizeListener();
}

std::optional<double> QtMediaDevice::NominalFrameRate() const
{
    if (!Player)
        return std::nullopt;
    const QVariant rate = VideoFact(QMediaMetaData::VideoFrameRate);
    if (!rate.isValid())
        return std::nullopt;
    return rate.toDouble();
}

// A fact of the playing video track, else of the whole medium.
QVariant QtMediaDevice::VideoFact(QMediaMetaData::Key key) const
{
    const QList<QMediaMetaData> tracks = Player->videoTracks();
    const int active = Player->activeVideoTrack();
    const QVariant fact = active >= 0 && active < tracks.size() ? tracks[active].value(key) : QVariant();
    return fact.isValid() ? fact : Player->metaData().value(key);
}

uint32_t QtMediaDevice::Volume() const
{
    return VolumeWritten;
}

void QtMediaDevice::SetVolume(uint32_t bothChannels)
{
    VolumeWritten = bothChannels;
    if (Output)
        Output->setVolume(OutputVolume(bothChannels));
}

} // namespace host
