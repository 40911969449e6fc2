#pragma once

#include "core/Seam.h"

#include "host/FileSystem.h"

#include <QRect>

#include <cstdint>
#include <string>

class QPainter;

// What the file viewer, the media player and the hover window need of the main window,
// which lives in a later layer. The main window installs itself once it exists; tests
// install fakes.
class TViewerWindow
{
public:
    virtual ~TViewerWindow() = default;
    // Shows the viewer panel when it is hidden: laid out anew and the focus back on the
    // active column.
    virtual void ShowViewer() = 0;
    // The program's name as task bars show it, never the window caption.
    virtual void SetApplicationTitle(const std::string& title) = 0;
    // The keyboard focus back on the active column.
    virtual void FocusColumn() = 0;
    // The media player plays a clip in the hover window.
    virtual bool IsHoverClipPlaying() = 0;
    virtual void SetHoverClipPlaying(bool playing) = 0;
    // The file has a thumbnail of its own: a picture, a text, a plug-in's file or an icon
    // source.
    virtual bool HasThumbnail(const std::string& title) = 0;
    // The thumbnail painter with no list (the hover window's): small pictures are never
    // enlarged. The outcome stays in FunStatContext.
    virtual void PaintThumb(const std::string& fileName, int64_t size, host::FileTime modified, QPainter& canvas,
                            QRect infoRect, QRect thumbRect) = 0;
};

// Until the main window exists: no panel to show, no title, no thumbnails.
class TViewerWindowStandIn : public TViewerWindow
{
public:
    void ShowViewer() override {}
    void SetApplicationTitle(const std::string&) override {}
    void FocusColumn() override {}
    bool IsHoverClipPlaying() override { return HoverClipPlaying; }
    void SetHoverClipPlaying(bool playing) override { HoverClipPlaying = playing; }
    bool HasThumbnail(const std::string&) override { return false; }
    void PaintThumb(const std::string&, int64_t, host::FileTime, QPainter&, QRect, QRect) override {}

private:
    bool HoverClipPlaying = false;
};

template <>
TViewerWindow& TSeam<TViewerWindow>::StandIn();
