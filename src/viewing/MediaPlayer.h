#pragma once

#include "columns/MediaPlayerServices.h"

#include "core/forms/InputState.h"
#include "core/forms/VirtualKeys.h"
#include "core/text/MyTime.h"

#include "host/MediaDevice.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class MyTPanel;
class QPainter;
class QWidget;
class TFileViewer;

// The main window's controls that the media player drives.
struct TMediaPlayerControls
{
    MyTPanel* PlayListPanel = nullptr;
    MyTPanel* PlayList = nullptr;
    MyTPanel* PlayListTitlePanel = nullptr;
    MyTPanel* ProgressBar = nullptr;
    MyTPanel* VolumeBar = nullptr;
    MyTPanel* PlayButton = nullptr;
    MyTPanel* PauseButton = nullptr;
    MyTPanel* StopButton = nullptr;
    MyTPanel* NextButton = nullptr;
    MyTPanel* PrevButton = nullptr;
    MyTPanel* RandomButton = nullptr;
    MyTPanel* ClipButton = nullptr;
    MyTPanel* RepeatButton = nullptr;
    MyTPanel* FitButton = nullptr;
    // Videos play here.
    MyTPanel* ViewerClientPanel = nullptr;
};

// What a clip in the hover window reports.
struct TMediaClipInfo
{
    std::string ErrorText;
    std::string LengthText;
    int32_t SourceWidth = 0;
    int32_t SourceHeight = 0;
    int32_t ShownWidth = 0;
    int32_t ShownHeight = 0;
};

// The media player of the main window: plays the play list's audio and video files one
// after the other, and short clips in the hover window. One instance, in the main window,
// for the run; it answers the launcher's play-list requests.
class MyTMediaPlayer : public TMediaPlayerServices
{
public:
    MyTMediaPlayer();
    ~MyTMediaPlayer() override;
    MyTMediaPlayer(const MyTMediaPlayer&) = delete;
    MyTMediaPlayer& operator=(const MyTMediaPlayer&) = delete;

    // The largest ".mpl" read (8 MB): room for more than 32,000 paths of the longest
    // kind and far more of usual ones, while every line becomes an item in memory.
    static constexpr uint64_t MaxPlayListBytes = uint64_t{8} * 1024 * 1024;

    bool Playing = false;
    bool Stopped = true;
    bool Paused = false;
    TCrono PlayedCrono;
    double Progress = 0;
    double Volume = 0;
    int32_t CurrentIndex = 0;
    TCrono IdleCrono;
    // The device ("MediaPlayerComponent"), made by host::MakeMediaDevice.
    std::unique_ptr<host::MediaDevice> Device;
    TMediaPlayerControls Controls;
    TFileViewer* Viewer = nullptr;

    // Takes the window's controls and the file viewer, hooks the controls' handlers, reads
    // the volume and installs the player as the launcher's media player.
    void Bind(const TMediaPlayerControls& controls, TFileViewer& viewer);

    // A medium is open in the device (playing, paused or a hover clip).
    bool IsMediaOpen() const;

    void Play(int32_t index, int64_t start);
    void StartPlaying(int32_t index, int64_t start);
    void Stop();
    // The automatic advance; the main timer calls it every 0.5 s while a medium is open.
    void PlayNext();
    void UpdateProgress();
    void SetProgress(double fraction);
    void IncreaseVolume();
    void DecreaseVolume();
    void FastForward();
    void FastBackward();
    void SetVolume(bool reapply, double volume);
    double GetVolume() const;
    void SetProgressAndVolume(double volume, double progress);
    void SetPaused(bool paused);
    // Fills the newest recent entry with the played item and position; returns
    // CurrentIndex.
    int32_t StoreLastPlayedPosition();
    // The focused item's file, a link resolved; "" for an empty list.
    std::string GetActiveTitle();
    std::string GetItemFileName(int32_t index);
    int64_t GetLengthSeconds();
    double GetFrameRate();
    void SetMediaHint(const std::string& text);
    void ClickStopButton();
    void RefitMovie();
    // Places the video: into the hover rectangle at its top-left corner, or centred in the
    // viewer when there is none. Reports the source and shown sizes.
    void FitMovie(const QRect* hoverRect, TMediaClipInfo* info);
    // A clip in the hover window's media rectangle.
    void PlayThumb(const std::string& fileName, QWidget* display, QRect mediaRect, TMediaClipInfo& info);
    // The Stop button is pressed while a clip of the hover window plays.
    void StopHoverClip();
    void ShowViewerForVideoItem(int32_t index);
    void SetPlayListItemHeight();

    // The play lists: a ".mpl" file, one file, or a list of files.
    void PlayMPL(const std::string& playListFile, const std::string& lastTitle, int64_t position) override;
    void PlayFile(const std::string& fileName);
    void PlayTextList(const std::vector<std::string>& items, const std::string& startTitle, int64_t startPosition,
                      const std::string& caption);

    // The buttons of the media bar.
    void MediaPlayButtonClick();
    void MediaPauseButtonClick();
    void MediaStopButtonClick();
    void MediaNextButtonClick();
    void MediaPreviousButtonClick();
    void MediaRandomizeButtonClick();
    void MediaClipButtonClick();

    // The name part of the played file and the index played before: the application title
    // tells the item, and the title panel's hint why nothing plays.
    void SetInitialInfo(const std::string& name, int32_t oldIndex);
    void PlayListDrawItem(QPainter& canvas, int32_t index);
    // A seek from the progress bar or the keys "[" and "]": it ends a pause, so the device,
    // the Pause button and the played time agree. Nothing for a medium without length.
    void SeekTo(double fraction);

private:
    enum class TItemOutcome
    {
        Skipped,
        Played,
        Failed
    };

    // What the bars showed last: their hints change only with them.
    double ShownProgress = 0;
    double ShownVolume = 0;
    QImage ItemBitmap;

    void BindPlayList();
    void BindBars();
    void BindButtons();
    void Unbind();
    TItemOutcome PlayCurrentItem(int64_t start);
    void EndOfList();
    int32_t GetItemCount() const;
    std::string GetItemText(int32_t index) const;
    // Position / length while playing; 0 without a length.
    double GetCurrentProgress() const;
    void SetProgressHint(double progress);
    void SetVolumeHint(double volume);
    QSize GetViewerSpace() const;
    // The first item titled like the title, without regard to case; else 0.
    int32_t FindStartItem(const std::string& title) const;
    void SetTitleCaption(const std::string& caption);
    void PlayListKeyDown(uint16_t& key);
    void PlayListMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void PlayListMouseMove(int32_t x, int32_t y);
};
