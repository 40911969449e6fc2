// The media player's part of the main window: the timer's media step and the media keys.

#include "mainwindow/MainForm.h"

#include "core/errors/Traced.h"

#include "viewing/FileHoverForm.h"

namespace {

constexpr double MediaPeriod = 0.5;
constexpr uint16_t VK_EQUALS = 187;
constexpr uint16_t VK_MINUS = 189;
constexpr uint16_t VK_LEFT_BRACKET = 219;
constexpr uint16_t VK_RIGHT_BRACKET = 221;

bool HasClipEnded(host::MediaMode mode)
{
    return mode == host::MediaMode::NotReady || mode == host::MediaMode::Stopped;
}

} // namespace

void TMainForm::MediaTimerStep()
{
    host::MediaDevice& device = *MediaPlayer.Device;
    // While the device waits for its medium its position and mode say nothing yet.
    if (!MediaPlayer.IsMediaOpen() || device.IsOpening() || !MediaCrono.IsPeriod(MediaPeriod))
        return;
    if (HoverClipPlaying) {
        if (FileHoverForm != nullptr)
            FileHoverForm->FPaint(true, device.Position(), device.Length());
        if (HasClipEnded(device.Mode()))
            MediaPlayer.Stop();
    } else {
        MediaPlayer.PlayNext();
    }
    MediaPlayer.UpdateProgress();
}

bool TMainForm::MediaKeyDown(uint16_t key)
{
    const bool seekKey = key == VK_LEFT_BRACKET || key == VK_RIGHT_BRACKET;
    if (key == VK_EQUALS)
        MediaPlayer.IncreaseVolume();
    else if (key == VK_MINUS)
        MediaPlayer.DecreaseVolume();
    else if (seekKey && !MediaPlayer.IsMediaOpen()) {
        if (FileHoverForm != nullptr)
            FileHoverForm->ReplayMedia();
    } else if (key == VK_LEFT_BRACKET)
        MediaPlayer.FastBackward();
    else if (key == VK_RIGHT_BRACKET)
        MediaPlayer.FastForward();
    else
        return false;
    return true;
}
