// The media player: playing the list's items one after the other, the automatic advance,
// pausing, seeking, the volume, the buttons and the two level bars.

#include "viewing/MediaPlayer.h"

#include "viewing/FileViewer.h"
#include "viewing/ViewerWindow.h"

#include "panels/MyPanelOptions.h"
#include "panels/MyTPanel.h"

#include "core/desktop/Clipboard.h"
#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/text/MyMath.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const ProductName = "Quillomber";
constexpr double AdvancePeriod = 2.5;
constexpr double MinimumVolume = 0.05;
constexpr double VolumeStep = 0.05;
constexpr double SeekStep = 0.05;
constexpr double DefaultFrameRate = 24;

const char* const ProgressHintTail =
    "). [LMB] = set new media progress (only when playing); the top is for beginning, and the bottom is for end. "
    "\"Time\" is the real played time, not the elapsed time in media. \"]\" = fast forward with 5%. \"[\" fast "
    "backward with 5%.";
const char* const VolumeHintTail =
    "%. [LMB] = set new sound volume; the top is for low volumes, and the bottom is for high volumes. [=] = increase "
    "the sound volume with 5%. [-] = decrease the sound volume with 5%.";
const char* const TitlePanelHint = "Current media play-list (error messages are displayed here, as hint). ";

TViewerWindow& Window()
{
    return TSeam<TViewerWindow>::Get();
}

// A value that is not a number counts as the low limit.
double ClampOrLow(double value, double low, double high)
{
    return std::isnan(value) ? low : std::clamp(value, low, high);
}

std::string GetPercentText(double fraction)
{
    return std::to_string(static_cast<int64_t>(RoundHalfUp(fraction * 100)));
}

std::string GetHmsText(double seconds)
{
    return GetDurationText(0, "/", "", seconds, "hh:nn:ss");
}

void SetPanelHint(MyTPanel* panel, const std::string& hint)
{
    if (panel != nullptr)
        panel->setToolTip(QString::fromStdString(hint));
}

void SetButtonCaption(MyTPanel& button, const std::string& caption, const std::string& hint)
{
    button.SetCaptions(caption, caption);
    SetPanelHint(&button, hint);
    button.Repaint();
}

// A field of a packed time: byte `index`, lowest first.
int64_t GetTimeByte(int64_t value, int index)
{
    return (value >> (8 * index)) & 0xFF;
}

} // namespace

MyTMediaPlayer::MyTMediaPlayer() : Device(host::MakeMediaDevice())
{
}

// The window's panels outlive the player (a window's members go before its children), and
// the closing window still makes the list repaint as it loses the focus.
MyTMediaPlayer::~MyTMediaPlayer()
{
    if (&TSeam<TMediaPlayerServices>::Get() == this)
        TSeam<TMediaPlayerServices>::Install(nullptr);
    if (Controls.PlayList != nullptr)
        Unbind();
}

void MyTMediaPlayer::Unbind()
{
    MyTPanel& list = *Controls.PlayList;
    list.OnDrawItem = nullptr;
    list.OnKeyDown = nullptr;
    list.OnMouseDown = nullptr;
    list.OnMouseMove = nullptr;
    for (MyTPanel* bar : {Controls.ProgressBar, Controls.VolumeBar}) {
        bar->OnGetLevel = nullptr;
        bar->OnGetLevelColor = nullptr;
        bar->OnLevelClick = nullptr;
    }
    for (MyTPanel* button :
         {Controls.PlayButton, Controls.PauseButton, Controls.StopButton, Controls.NextButton, Controls.PrevButton,
          Controls.RandomButton, Controls.ClipButton, Controls.RepeatButton, Controls.FitButton})
        button->OnMouseDown = nullptr;
}

void MyTMediaPlayer::Bind(const TMediaPlayerControls& controls, TFileViewer& viewer)
{
    Controls = controls;
    Viewer = &viewer;
    Volume = ClampOrLow(GetVolume(), MinimumVolume, 1);
    BindPlayList();
    BindBars();
    BindButtons();
    // A video's size may become known after it started: it is placed again then.
    Device->SetSourceSizeListener([this] { RefitMovie(); });
    TSeam<TMediaPlayerServices>::Install(this);
}

void MyTMediaPlayer::BindBars()
{
    Controls.ProgressBar->OnGetLevel = [this] { return Progress; };
    Controls.ProgressBar->OnGetLevelColor = [](bool fill) {
        return fill ? *GMyPanelOptions.ActiveFocusBackColor : *GMyPanelOptions.ActiveFocusBriskMarginColor;
    };
    Controls.ProgressBar->OnLevelClick = [this](double level) { SeekTo(level); };
    Controls.VolumeBar->OnGetLevel = [this] { return Volume; };
    Controls.VolumeBar->OnGetLevelColor = [](bool fill) {
        return fill ? *GMyPanelOptions.InactiveFocusBackColor : *GMyPanelOptions.InactiveFocusBriskMarginColor;
    };
    Controls.VolumeBar->OnLevelClick = [this](double level) { SetVolume(false, level); };
}

void MyTMediaPlayer::BindButtons()
{
    const auto onPress = [](MyTPanel* button, auto action) {
        button->OnMouseDown = [action](MyTPanel*, TMouseButton, TShiftState, int32_t, int32_t) { action(); };
    };
    onPress(Controls.PlayButton, [this] { MediaPlayButtonClick(); });
    onPress(Controls.PauseButton, [this] { MediaPauseButtonClick(); });
    onPress(Controls.StopButton, [this] { MediaStopButtonClick(); });
    onPress(Controls.NextButton, [this] { MediaNextButtonClick(); });
    onPress(Controls.PrevButton, [this] { MediaPreviousButtonClick(); });
    onPress(Controls.RandomButton, [this] { MediaRandomizeButtonClick(); });
    onPress(Controls.ClipButton, [this] { MediaClipButtonClick(); });
    onPress(Controls.RepeatButton, [this] {
        Controls.RepeatButton->Down = !Controls.RepeatButton->Down;
        Controls.RepeatButton->Repaint();
    });
    onPress(Controls.FitButton, [this] {
        Controls.FitButton->Down = !Controls.FitButton->Down;
        Controls.FitButton->Repaint();
        RefitMovie();
    });
}

bool MyTMediaPlayer::IsMediaOpen() const
{
    return Playing;
}

int32_t MyTMediaPlayer::GetItemCount() const
{
    return Controls.PlayList->GetCount();
}

// ---- Playing ----

void MyTMediaPlayer::Play(int32_t index, int64_t start)
{
    TTraced trace;
    const int32_t oldIndex = CurrentIndex;
    bool played = false;
    try {
        Window().SetHoverClipPlaying(false);
        CurrentIndex = index;
        PlayedCrono = TCrono();
        for (;;) {
            TItemOutcome outcome = TItemOutcome::Skipped;
            {
                // A fault in one item is left behind: the next item is tried.
                TTraced attempt;
                try {
                    outcome = PlayCurrentItem(start);
                }
                TRACED_CATCH(attempt)
            }
            if (outcome == TItemOutcome::Failed) {
                trace.Raise(Device->ErrorMessage(), Device->FileName());
                break;
            }
            if (outcome == TItemOutcome::Played) {
                played = true;
                break;
            }
            if (CurrentIndex >= GetItemCount() - 1) {
                Stop();
                break;
            }
            ++CurrentIndex;
        }
        SetInitialInfo(GetPathName(Device->FileName()), oldIndex);
        if (!played)
            SetMediaHint("Failed to play media \"" + GetPathName(Device->FileName()) + "\". " + Device->ErrorMessage());
    }
    TRACED_CATCH(trace)
}

MyTMediaPlayer::TItemOutcome MyTMediaPlayer::PlayCurrentItem(int64_t start)
{
    const std::string file = GetItemFileName(CurrentIndex);
    Device->SetFileName(file);
    if (!IsAudioFile(file) && !IsVideoFile(file))
        return TItemOutcome::Skipped;
    Device->Close();
    Device->SetDisplay(Controls.ViewerClientPanel);
    Device->Open();
    if (Device->ErrorCode() != 0)
        return TItemOutcome::Failed;
    FitMovie(nullptr, nullptr);
    if (start > 0)
        Device->SetPosition(start);
    Controls.ViewerClientPanel->Repaint();
    Device->Play();
    Playing = true;
    Stopped = false;
    Paused = false;
    SetPaused(false);
    SetMediaHint("");
    UpdateProgress();
    return TItemOutcome::Played;
}

void MyTMediaPlayer::SetInitialInfo(const std::string& name, int32_t oldIndex)
{
    Window().SetApplicationTitle("#" + std::to_string(CurrentIndex + 1) + " (" + std::to_string(GetItemCount()) + ") " +
                                 name);
    Controls.PlayList->RepaintItem(oldIndex);
    Controls.PlayList->RepaintItem(CurrentIndex);
}

void MyTMediaPlayer::StartPlaying(int32_t index, int64_t start)
{
    Stop();
    if (GetItemCount() == 0)
        return;
    if (TFileViewer::HasVideoFiles(*Controls.PlayList))
        Window().ShowViewer();
    Play(std::max(index, 0), start);
}

void MyTMediaPlayer::Stop()
{
    TTraced trace;
    trace.Run([&] {
        Playing = false;
        Stopped = true;
        Paused = false;
        Progress = 0;
        PlayedCrono = TCrono();
        SetPaused(false);
        PlayedCrono.Stop();
        UpdateProgress();
        Controls.PlayList->RepaintItem(CurrentIndex);
        Device->Close();
        Window().SetApplicationTitle(ProductName);
    });
    trace.ShowFailure("Failed to stop playing.");
}

void MyTMediaPlayer::PlayNext()
{
    if (Stopped)
        return;
    TTraced trace;
    try {
        if (Device->Mode() > host::MediaMode::Stopped) {
            IdleCrono.Restart();
            return;
        }
        if (!IdleCrono.IsPeriod(AdvancePeriod))
            return;
        if (Controls.RepeatButton->Down)
            Play(CurrentIndex, 0);
        else if (CurrentIndex < GetItemCount() - 1)
            Play(CurrentIndex + 1, 0);
        else
            EndOfList();
    }
    TRACED_CATCH(trace)
}

// The list starts over: the recent entry resumes at the first item's beginning, not at the
// place where the last medium ended.
void MyTMediaPlayer::EndOfList()
{
    const int32_t last = CurrentIndex;
    CurrentIndex = 0;
    Controls.PlayList->SetFocusIndex(0);
    Controls.PlayList->RepaintItem(last);
    Progress = 0;
    StoreLastPlayedPosition();
    Stop();
}

// ---- Pausing, progress and volume ----

void MyTMediaPlayer::MediaPauseButtonClick()
{
    if (!Playing)
        return;
    const host::MediaMode mode = Device->Mode();
    if (mode != host::MediaMode::Playing && mode != host::MediaMode::Paused)
        return;
    Device->Pause();
    if (mode == host::MediaMode::Paused)
        SetVolume(true, Volume);
    SetPaused(!Paused);
}

void MyTMediaPlayer::SetPaused(bool paused)
{
    if (paused) {
        SetButtonCaption(*Controls.PauseButton, "Resm", "Resume the current media");
        PlayedCrono.Stop();
    } else {
        SetButtonCaption(*Controls.PauseButton, "Pause", "Pause the current media");
        PlayedCrono.Start();
    }
    Paused = paused;
}

double MyTMediaPlayer::GetCurrentProgress() const
{
    if (!Playing)
        return 0;
    const int64_t length = Device->Length();
    return length == 0 ? 0 : static_cast<double>(Device->Position()) / static_cast<double>(length);
}

void MyTMediaPlayer::UpdateProgress()
{
    if (Controls.PlayListPanel->isHidden())
        return;
    SetProgressAndVolume(GetVolume(), GetCurrentProgress());
}

double MyTMediaPlayer::GetVolume() const
{
    return static_cast<double>(Device->Volume() & 0xFFFF) / 65535.0;
}

void MyTMediaPlayer::SetVolume(bool reapply, double volume)
{
    SetProgressAndVolume(volume, GetCurrentProgress());
    // Writing the value read back would change nothing on the device: one step less makes
    // the resumed output take the volume again.
    const auto level = static_cast<uint32_t>(std::lround(Volume * 65535 - (reapply ? 1 : 0)));
    Device->SetVolume(level * 0x10001);
}

void MyTMediaPlayer::IncreaseVolume()
{
    SetVolume(false, Volume + VolumeStep);
}

void MyTMediaPlayer::DecreaseVolume()
{
    SetVolume(false, Volume - VolumeStep);
}

void MyTMediaPlayer::SetProgressAndVolume(double volume, double progress)
{
    Progress = ClampOrLow(progress, 0, 1);
    Volume = ClampOrLow(volume, MinimumVolume, 1);
    if (Progress != ShownProgress)
        SetProgressHint(Progress);
    if (Volume != ShownVolume)
        SetVolumeHint(Volume);
}

void MyTMediaPlayer::SetProgressHint(double progress)
{
    ShownProgress = progress;
    SetPanelHint(Controls.ProgressBar, "Progress " + GetPercentText(progress) + "%; time " +
                                           GetHmsText(PlayedCrono.Elapsed()) + " (" +
                                           GetHmsText(static_cast<double>(GetLengthSeconds())) + ProgressHintTail);
    Controls.ProgressBar->Repaint();
}

void MyTMediaPlayer::SetVolumeHint(double volume)
{
    ShownVolume = volume;
    SetPanelHint(Controls.VolumeBar, "Volume " + GetPercentText(volume) + VolumeHintTail);
    Controls.VolumeBar->Repaint();
}

void MyTMediaPlayer::SetProgress(double fraction)
{
    if (!Playing)
        return;
    SetProgressAndVolume(Volume, fraction);
    const double limited = ClampOrLow(fraction, 0, 1);
    Device->SetPosition(std::llround(limited * static_cast<double>(Device->Length())));
    Device->Play();
}

void MyTMediaPlayer::SeekTo(double fraction)
{
    if (!Playing || Device->Length() <= 0)
        return;
    SetProgress(fraction);
    SetPaused(false);
}

void MyTMediaPlayer::FastForward()
{
    SeekTo(GetCurrentProgress() + SeekStep);
}

void MyTMediaPlayer::FastBackward()
{
    SeekTo(GetCurrentProgress() - SeekStep);
}

// ---- Lengths and frame rates ----

int64_t MyTMediaPlayer::GetLengthSeconds()
{
    if (!Playing)
        return 0;
    const int64_t length = Device->Length();
    switch (Device->TimeFormat()) {
    case host::MediaTimeFormat::Milliseconds:
        return length / 1000;
    case host::MediaTimeFormat::Msf:
        return GetTimeByte(length, 0) * 60 + GetTimeByte(length, 1);
    case host::MediaTimeFormat::Frames:
        return static_cast<int64_t>(static_cast<double>(length) / GetFrameRate());
    case host::MediaTimeFormat::Smpte30Drop:
        return (GetTimeByte(length, 0) * 60 + GetTimeByte(length, 1)) * 60 + GetTimeByte(length, 2);
    default:
        return 0;
    }
}

// A rate of 0 (or one that is no number) would make every frame count endless.
double MyTMediaPlayer::GetFrameRate()
{
    const std::optional<double> rate = Device->NominalFrameRate();
    return rate && std::isfinite(*rate) && *rate > 0 ? *rate : DefaultFrameRate;
}

// ---- Placing a video ----

QSize MyTMediaPlayer::GetViewerSpace() const
{
    MyTPanel& panel = *Controls.ViewerClientPanel;
    return {panel.GetItemsWidth(false), panel.height() - 2 * panel.Border};
}

void MyTMediaPlayer::FitMovie(const QRect* hoverRect, TMediaClipInfo* info)
{
    const std::optional<QSize> source = Device->SourceSize();
    if (!source) {
        Device->SetDisplayRect(QRect(0, 0, 0, 0));
        return;
    }
    const QSize space = hoverRect != nullptr ? hoverRect->size() : GetViewerSpace();
    int32_t width = 0;
    int32_t height = 0;
    GetFitPictureSize(source->width(), source->height(), space.width(), space.height(), 0, 0, false,
                      Controls.FitButton->Down, width, height);
    if (info != nullptr) {
        info->SourceWidth = source->width();
        info->SourceHeight = source->height();
        info->ShownWidth = width;
        info->ShownHeight = height;
    }
    if (hoverRect != nullptr) {
        Device->SetDisplayRect(QRect(hoverRect->topLeft(), QSize(width, height)));
        return;
    }
    const int32_t border = Controls.ViewerClientPanel->Border;
    Device->SetDisplayRect(
        QRect(border + (space.width() - width) / 2, border + (space.height() - height) / 2, width, height));
}

// A clip in the hover window keeps the place that window gave it.
void MyTMediaPlayer::RefitMovie()
{
    if (!Playing || Window().IsHoverClipPlaying() || !IsVideoFile(Device->FileName()))
        return;
    FitMovie(nullptr, nullptr);
    SetMediaHint("");
}

void MyTMediaPlayer::SetMediaHint(const std::string& text)
{
    std::string hint = text;
    if (hint.empty()) {
        const QSize space = GetViewerSpace();
        hint = "File size = " + GetSizeText(6, 0, GetFileSize(Device->FileName())) + " | " +
               "Space width = " + std::to_string(space.width()) + " | " +
               "Space height = " + std::to_string(space.height());
    }
    SetPanelHint(Controls.ViewerClientPanel, hint);
    SetPanelHint(Controls.PlayListTitlePanel, TitlePanelHint + hint);
}

// ---- Buttons ----

void MyTMediaPlayer::ClickStopButton()
{
    if (!Playing)
        return;
    Window().SetApplicationTitle(ProductName);
    const int32_t border = Controls.StopButton->Border;
    Controls.StopButton->MouseDown(mbLeft, ShiftOf(ssLeft), border, border);
}

void MyTMediaPlayer::MediaPlayButtonClick()
{
    ShowViewerForVideoItem(CurrentIndex);
    StartPlaying(CurrentIndex, 0);
}

void MyTMediaPlayer::MediaStopButtonClick()
{
    StoreLastPlayedPosition();
    Controls.PlayList->RepaintItem(CurrentIndex);
    Stop();
}

void MyTMediaPlayer::MediaNextButtonClick()
{
    if (CurrentIndex < GetItemCount() - 1)
        StartPlaying(CurrentIndex + 1, 0);
}

void MyTMediaPlayer::MediaPreviousButtonClick()
{
    if (CurrentIndex > 0)
        StartPlaying(CurrentIndex - 1, 0);
}

void MyTMediaPlayer::MediaRandomizeButtonClick()
{
    TTraced trace;
    trace.Run([&] {
        if (GetItemCount() <= 1)
            return;
        Controls.PlayList->ShuffleItems(2);
        Controls.PlayList->Repaint();
    });
    trace.ShowFailure("Failed to randomize play-list.");
}

void MyTMediaPlayer::MediaClipButtonClick()
{
    if (GetItemCount() > 1)
        CopyTextToClipboard(GetActiveTitle(), "Failed to copy active title to clipboard.", false, false);
}

void MyTMediaPlayer::ShowViewerForVideoItem(int32_t index)
{
    if (index >= 0 && index < GetItemCount() && IsVideoFile(GetItemFileName(index)))
        Window().ShowViewer();
}

void MyTMediaPlayer::SetPlayListItemHeight()
{
    Controls.PlayList->SetItemHeight(Controls.PlayList->GetLineHeight());
}
