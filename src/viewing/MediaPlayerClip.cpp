#include "viewing/MediaPlayer.h"

#include "viewing/ViewerWindow.h"

#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/settings/ProgramOptions.h"

#include <cmath>

void MyTMediaPlayer::PlayThumb(const std::string& fileName, QWidget* display, QRect mediaRect, TMediaClipInfo& info)
{
    TTraced trace;
    trace.Run([&] {
        info.ErrorText.clear();
        TViewerWindow& window = TSeam<TViewerWindow>::Get();
        // The list this clip interrupts resumes where it was, as after any other interruption.
        if (Playing && !window.IsHoverClipPlaying())
            StoreLastPlayedPosition();
        Stop();
        window.SetHoverClipPlaying(true);
        Device->SetFileName(fileName);
        if (!IsAudioFile(fileName) && !IsVideoFile(fileName))
            return trace.Raise("Not a media file.", fileName);
        Device->Close();
        Device->SetDisplay(display);
        Device->Open();
        if (Device->ErrorCode() != 0)
            return trace.Raise(Device->ErrorMessage(), fileName);
        FitMovie(&mediaRect, &info);
        const double shift = static_cast<double>(ProgramOptions.FileHoverMediaStartShift) / 100;
        Device->SetPosition(std::llround(static_cast<double>(Device->Length()) * shift));
        Device->Play();
        Playing = true;
        Stopped = false;
        Paused = false;
        info.LengthText = GetDurationText(0, "/", "", static_cast<double>(GetLengthSeconds()), "hh:nn:ss");
    });
    if (!trace.Succeeded()) {
        info.ErrorText = Device->ErrorMessage();
        Stop();
    }
}

void MyTMediaPlayer::StopHoverClip()
{
    // The flag outlives a clip that ended by itself; a stopped player needs no press.
    if (Playing && TSeam<TViewerWindow>::Get().IsHoverClipPlaying())
        ClickStopButton();
}
