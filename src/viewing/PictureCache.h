#pragma once

#include "viewing/PictureLoading.h"
#include "viewing/ThumbRendering.h"

#include "core/drawing/Color.h"
#include "core/errors/Error.h"

#include <QFont>
#include <QRect>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QWidget;

// One request to draw a thumbnail: where it comes from, how it is rendered and what it is
// drawn with. The last four fields are filled by TPictureCache::Load.
struct TThumbParams : TThumbSource
{
    // The list panel whose item shows the thumbnail (or the panel of the user logo, or the
    // hover window), repainted once its render is done. The scrolling rule applies only
    // with a list.
    QWidget* List = nullptr;
    // The list's thumb drag moved it.
    bool ListScrolled = false;
    // How the list paints again once the render is done; none updates the widget.
    std::function<void()> Repaint;

    bool ShowWhileScrolling = false;
    TColor FrameColor = 0;

    int32_t PictureHeight = -1;
    int32_t PictureWidth = -1;
    int32_t Zoom = -1;
    // The thumbnail is being rendered: nothing but the canvas shows yet, and that is no
    // failure.
    bool Pending = false;
};

// A rendered thumbnail with what it was rendered from, so that a later request can tell
// whether it still stands for the file.
struct TPictureCacheEntry
{
    std::string Title;
    int64_t FileSize = 0;
    host::FileTime FileTime = 0;
    std::unique_ptr<TPictureBitmap> Bitmap;
    bool FitSmall = false;
    bool FillRect = false;
    TColor BackColor = 0;
    TColor TextColor = 0;
    std::string FontName;
    int32_t FontSize = 0;
    bool FontBold = false;
    int32_t PictureWidth = -1;
    int32_t PictureHeight = -1;
    int32_t Zoom = -1;
};

// The rendered thumbnails of the file lists, the hover window and the user logo, so that a
// repaint never decodes a file again. Only the user-interface thread uses it; pictures,
// icons, video frames and texts are rendered by worker threads and enter the cache when
// they are done, plug-in pictures at once (plug-ins have one calling thread).
class TPictureCache
{
public:
    static constexpr int32_t Capacity = 1000;
    // Bytes of the entries' bitmaps, counted as 4 a pixel.
    static constexpr int64_t MaxSize = 30'000'000;
    // Below this much free physical memory, an insertion halves a cache of 5 or more.
    static constexpr uint32_t LowMemory = 10'000'000;

    TPictureCache();
    ~TPictureCache();
    TPictureCache(const TPictureCache&) = delete;
    TPictureCache& operator=(const TPictureCache&) = delete;

    // Draws the request's thumbnail at the top-left corner of its rectangle and fills its
    // out values: a cached one at once; an uncached one of a list scrolled by its thumb, a
    // text that says so (unless shown while scrolling); a file whose render failed before,
    // that failure again; else the render is queued and only the canvas shows until the
    // window repaints. Failures through FunStatContext.
    void Load(QPainter& canvas, TThumbParams& params);
    // The entry for the request, or none; stale entries of the file at the requested size
    // go on the way. The entry's picture size and zoom go into the request.
    TPictureBitmap* Find(TThumbParams& params, const QFont& font);
    // The bitmap at its own size with its top-left corner at the rectangle's, then the
    // frame around it (none for clNone).
    static void DrawThumb(QPainter& canvas, QRect rect, TColor frameColor, const TPictureBitmap& bitmap);
    // The start of the file's text in a copy of the font and the text colour, over the
    // background colour, on a bitmap of the rectangle's size; inside a margin (2 for a
    // negative one). A text with line breaks of its own keeps its lines; a single run of
    // words wraps. Traced: the reading's failure gives none.
    static std::unique_ptr<TPictureBitmap> LoadTextToBitmap(const QFont& font, TColor backColor, TColor textColor,
                                                            QRect rect, int32_t textMargin, const std::string& fileName,
                                                            int32_t maxLength);
    // Appends the entry, first making room: at the capacity, above the byte budget, or with
    // low memory and 5 entries or more, the older half goes.
    void Insert(TPictureCacheEntry entry);
    int64_t GetSize() const;
    int32_t Count() const { return static_cast<int32_t>(Entries.size()); }
    const TPictureCacheEntry& Entry(int32_t index) const { return Entries[static_cast<size_t>(index)]; }
    void Clear();

    // Waits for every queued and running render and takes the results in; for tests and
    // for a window that is about to show everything at once.
    void WaitForRenders();
    // Drops the queued renders, waits for the running ones and empties the cache; the
    // window calls it before it unloads the plug-ins. The cache serves on afterwards.
    void Shutdown();
    // While held, queued renders wait instead of starting (tests).
    void HoldRenders(bool hold);
    // Renders done since the start, and those of them done on the user-interface thread.
    int32_t RenderCount() const;
    int32_t UiThreadRenderCount() const;

private:
    std::vector<TPictureCacheEntry> Entries;
    // The outcome of each render that failed, kept until the file or the rectangle changes.
    std::map<TThumbRenderQueue::TKey, TFunStatContext> Failures;
    // Made at the first render, once the application runs.
    std::unique_ptr<TThumbRenderQueue> Renders;

    TThumbRenderQueue& Queue();

    bool IsMatch(const TPictureCacheEntry& entry, const TThumbParams& params, const QFont& font, QSize expected) const;
    QSize GetExpectedSize(const TPictureCacheEntry& entry, const TThumbParams& params) const;
    int32_t FindVideoCandidate(const TThumbParams& params) const;
    void RemoveEntry(int32_t index);
    void MakeRoom();
    bool IsFull() const;
    TThumbRender MakeRender(const TThumbParams& params, const QFont& font) const;
    void RenderNow(QPainter& canvas, TThumbParams& params, const TThumbRender& render);
    // A finished render: its failure is remembered, its bitmap becomes an entry.
    void TakeResult(TThumbResult& result);
};

extern TPictureCache PictureCache;
