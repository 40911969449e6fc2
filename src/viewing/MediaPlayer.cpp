#include "viewing/MediaPlayer.h"

MyTMediaPlayer::MyTMediaPlayer() : Device(host::MakeMediaDevice())
{
}
MyTMediaPlayer::~MyTMediaPlayer() = default;
void MyTMediaPlayer::Bind(const TMediaPlayerControls& controls, TFileViewer& viewer)
{
    Controls = controls;
    Viewer = &viewer;
}
bool MyTMediaPlayer::IsMediaOpen() const
{
    return Playing;
}
void MyTMediaPlayer::Play(int32_t, int64_t)
{
}
void MyTMediaPlayer::StartPlaying(int32_t, int64_t)
{
}
void MyTMediaPlayer::Stop()
{
}
void MyTMediaPlayer::PlayNext()
{
}
void MyTMediaPlayer::UpdateProgress()
{
}
void MyTMediaPlayer::SetProgress(double)
{
}
void MyTMediaPlayer::IncreaseVolume()
{
}
void MyTMediaPlayer::DecreaseVolume()
{
}
void MyTMediaPlayer::FastForward()
{
}
void MyTMediaPlayer::FastBackward()
{
}
void MyTMediaPlayer::SetVolume(bool, double)
{
}
double MyTMediaPlayer::GetVolume() const
{
    return Volume;
}
void MyTMediaPlayer::SetProgressAndVolume(double, double)
{
}
void MyTMediaPlayer::SetPaused(bool)
{
}
int32_t MyTMediaPlayer::StoreLastPlayedPosition()
{
    return CurrentIndex;
}
std::string MyTMediaPlayer::GetActiveTitle()
{
    return {};
}
std::string MyTMediaPlayer::GetItemFileName(int32_t)
{
    return {};
}
int64_t MyTMediaPlayer::GetLengthSeconds()
{
    return 0;
}
double MyTMediaPlayer::GetFrameRate()
{
    return 24;
}
void MyTMediaPlayer::SetMediaHint(const std::string&)
{
}
void MyTMediaPlayer::ClickStopButton()
{
}
void MyTMediaPlayer::RefitMovie()
{
}
void MyTMediaPlayer::FitMovie(const QRect*, TMediaClipInfo*)
{
}
void MyTMediaPlayer::ShowViewerForVideoItem(int32_t)
{
}
void MyTMediaPlayer::SetPlayListItemHeight()
{
}
void MyTMediaPlayer::PlayMPL(const std::string&, const std::string&, int64_t)
{
}
void MyTMediaPlayer::PlayFile(const std::string&)
{
}
void MyTMediaPlayer::PlayTextList(const std::vector<std::string>&, const std::string&, int64_t, const std::string&)
{
}
void MyTMediaPlayer::MediaPlayButtonClick()
{
}
void MyTMediaPlayer::MediaPauseButtonClick()
{
}
void MyTMediaPlayer::MediaStopButtonClick()
{
}
void MyTMediaPlayer::MediaNextButtonClick()
{
}
void MyTMediaPlayer::MediaPreviousButtonClick()
{
}
void MyTMediaPlayer::MediaRandomizeButtonClick()
{
}
void MyTMediaPlayer::MediaClipButtonClick()
{
}
