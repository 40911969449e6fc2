#pragma once

#include "core/drawing/Color.h"

#include "host/FileSystem.h"

#include <QRect>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class MyTMediaPlayer;

// What the hover window shows: the item, where, in which colours and sizes.
struct THoverRequest
{
    bool PlayMedia = false;
    bool ShowVideoThumbnail = false;
    bool IsDirectory = false;
    host::FileTime Created = 0;
    host::FileTime Modified = 0;
    int64_t Size = 0;
    std::string Title;
    // The anchor on the screen: the left of the item and the bottom of its first line.
    int32_t X = 0;
    int32_t Y = 0;
    TColor FrameColor = 0;
    TColor TextColor = 0;
    TColor BackColor = 0;
    int32_t LineHeight = 0;
    int32_t FontSize = 0;
    std::string FontName;
    int32_t PictureWidth = 0;
    int32_t PictureHeight = 0;
    int32_t MovieWidth = 0;
    int32_t MovieHeight = 0;
    int32_t GenericWidth = 0;
};

// The small window beside an item whose file-type badge the mouse rests on: the item's
// name, folder, size and times, and a thumbnail or a playing clip. Frameless, on top,
// never activated. One instance, FileHoverForm, for the run.
class TFileHoverForm : public QWidget
{
public:
    explicit TFileHoverForm(MyTMediaPlayer& player);

    std::string FileTitle;
    int64_t FileSize = 0;
    host::FileTime Modified = 0;
    host::FileTime Created = 0;
    std::string NameText;
    std::string PathText;
    std::string SizeBytesText;
    std::string SizeText;
    std::string ModifiedText;
    std::string CreatedText;
    TColor TextColor = 0;
    TColor FrameColor = 0;
    bool ClipStarted = false;
    bool PlayMedia = false;
    bool IsDirectory = false;
    bool ShowsThumbnail = false;
    bool IsVideo = false;
    bool IsAudio = false;
    QRect TopLineRect;
    QRect MediaRect;
    int32_t LineHeight = 0;
    int32_t TextHeight = 0;
    int32_t SourceWidth = 0;
    int32_t SourceHeight = 0;
    int32_t ShownWidth = 0;
    int32_t ShownHeight = 0;
    std::string LengthText;
    std::string ErrorText;
    bool Shown = false;

    void ShowForFile(const THoverRequest& request);
    void Hide();
    // "[" and "]" while nothing else plays: the clip again from its start shift.
    void ReplayMedia();
    // The window's content, or with `progressOnly` only the top line's progress. The
    // painting itself happens in the next paint event.
    void FPaint(bool progressOnly, int64_t position, int64_t length);

    // The text block's lines, top to bottom.
    std::vector<std::string> GetTextLines() const;
    // The line above the media: the clip's facts or its error, "" when there is none (a
    // thumbnail writes its own).
    std::string GetTopLineText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void SetTexts();
    void SetGeometry(const THoverRequest& request);
    void PlayClip();
    void StartAudioClip();
    void RequestAudioClip();
    void PaintFrameAndText(QPainter& canvas);
    void PaintTopLine(QPainter& canvas);

    MyTMediaPlayer& Player;
    // The progress last given to FPaint.
    int64_t Position = 0;
    int64_t Length = 0;
    // An audio clip's start is asked for once per showing or replay, so a medium that fails
    // to open is not retried at every paint.
    bool ClipRequested = false;
};

extern TFileHoverForm* FileHoverForm;
