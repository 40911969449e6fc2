#pragma once

#include "viewing/PictureLoading.h"

#include "core/drawing/Color.h"
#include "core/errors/Error.h"

#include "host/FileSystem.h"

#include "quillomber/ViewerPlugin.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QThreadPool>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

// How a thumbnail is made: a decoded picture (or the icon its file stands for), a frame of
// a video, the start of a text file, or a viewer plug-in's drawing.
enum class TThumbRoute
{
    Picture,
    Video,
    Text,
    Plugin
};

// What a thumbnail is rendered from: the file, the rectangle, the route and the options and
// colours of its drawing.
struct TThumbSource
{
    std::string FileName;
    int64_t FileSize = 0;
    host::FileTime FileTime = 0;
    QRect Rect;
    TThumbRoute Route = TThumbRoute::Picture;
    QuillomberGetPictureSize GetPictureSize = nullptr;
    QuillomberLoadFileToBitmap LoadFileToBitmap = nullptr;
    // The thumbnail depends on the text format (the canvas font and the two colours).
    bool TextFormat = false;
    int32_t MaxTextLength = 0;
    bool FillRect = false;
    int32_t FitSmallSize = -1;
    bool FitSmall = false;
    // -1 for the default margin of text thumbnails.
    int32_t TextMargin = -1;
    int32_t SmartQualitySize = -1;
    bool HighQuality = false;
    TColor TextColor = 0;
    TColor BackColor = 0;
};

// Everything a render reads, copied from the request on the user-interface thread, so that
// a worker reads nothing that thread may change.
struct TThumbRender : TThumbSource
{
    // The canvas font as QFont::toString gives it; a render builds its own font from it.
    QString Font;
    std::string FontName;
    int32_t FontSize = 0;
    bool FontBold = false;
};

// A render's outcome: the bitmap (none on failure), the picture's size and zoom, and the
// trace context that the render left.
struct TThumbResult
{
    TThumbRender Render;
    std::unique_ptr<TPictureBitmap> Bitmap;
    int32_t PictureWidth = -1;
    int32_t PictureHeight = -1;
    int32_t Zoom = -1;
    TFunStatContext Context;
};

// Renders the thumbnail on the calling thread: "Not a picture file." for an MS-DOS program
// or batch file, else the route's own rendering. A bitmap of fixed transparent mode has its
// transparent colour made transparent. Counted by the counters below.
TThumbResult RenderThumb(const TThumbRender& render);
int32_t GetThumbRenderCount();
int32_t GetUiThreadThumbRenderCount();

// A window that shows thumbnails and paints again when one of them is rendered.
struct TThumbTarget
{
    QPointer<QWidget> Widget;
    std::function<void()> Repaint;
};

// The worker threads that render thumbnails, with their queue. The user-interface thread
// asks; workers take the newest request first, one render per key at a time. A list's
// request that the list's latest paint did not ask again has scrolled away and is dropped
// before it starts. Results come back to the user-interface thread through its event loop
// (or WaitForAll), and each window that asked is repainted at most once per 50 ms.
class TThumbRenderQueue
{
public:
    using TKey = std::tuple<std::string, int64_t, host::FileTime, int32_t, int32_t>;
    static constexpr std::chrono::milliseconds RepaintInterval{50};

    explicit TThumbRenderQueue(std::function<void(TThumbResult&)> onResult);
    ~TThumbRenderQueue();
    TThumbRenderQueue(const TThumbRenderQueue&) = delete;
    TThumbRenderQueue& operator=(const TThumbRenderQueue&) = delete;

    static TKey KeyOf(const TThumbRender& render);
    // Queues the render, or moves its queued request to the front with the newer content.
    // `list` is the asking list (none for other windows).
    void Ask(const TThumbRender& render, const QWidget* list, TThumbTarget target);
    // The key is queued or being rendered.
    bool IsPending(const TKey& key);
    void WaitForAll();
    void Stop();
    void Hold(bool hold);

private:
    struct TRequest
    {
        TThumbRender Render;
        const QWidget* List = nullptr;
        // The paint turn in which the list asked for it last.
        uint64_t Turn = 0;
        std::vector<TThumbTarget> Targets;
    };

    std::function<void(TThumbResult&)> OnResult;
    QThreadPool Pool;
    std::mutex Lock;
    // Newest first.
    std::deque<std::shared_ptr<TRequest>> Queue;
    // Queued, running or done but not yet taken in.
    std::map<TKey, std::shared_ptr<TRequest>> Pending;
    std::map<const QWidget*, uint64_t> LatestTurn;
    std::vector<std::pair<std::shared_ptr<TRequest>, TThumbResult>> Done;
    int32_t Workers = 0;
    bool Held = false;
    bool DeliveryPosted = false;
    // User-interface thread only.
    uint64_t Turn = 1;
    bool TurnEndPosted = false;
    std::map<const QWidget*, std::chrono::steady_clock::time_point> LastRepaint;
    std::map<const QWidget*, TThumbTarget> DelayedRepaints;

    void StartWorkers();
    void Work();
    std::shared_ptr<TRequest> TakeNext();
    void EndTurnLater();
    void Deliver();
    void RepaintTargets(const std::vector<TThumbTarget>& targets);
    void RepaintDelayed(const QWidget* widget);
};
