#include "viewing/PictureCache.h"

#include "core/desktop/Program.h"
#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"
#include "core/files/FileStream.h"
#include "core/forms/Utilities.h"
#include "core/text/Text.h"
#include "core/text/TextExcerpt.h"

#include "host/TextDrawing.h"

#include <QPainter>

#include <algorithm>

TPictureCache PictureCache;

namespace {

int32_t FontSizeOf(const QFont& font)
{
    return font.pointSize() > 0 ? font.pointSize() : font.pixelSize();
}

TThumbTarget TargetOf(const TThumbParams& params)
{
    TThumbTarget target;
    target.Widget = params.List;
    target.Repaint = params.Repaint;
    return target;
}

} // namespace

TPictureCache::TPictureCache()
{
    Entries.reserve(Capacity);
    Clear();
}

TPictureCache::~TPictureCache() = default;

void TPictureCache::Clear()
{
    Entries.clear();
    Failures.clear();
}

TThumbRenderQueue& TPictureCache::Queue()
{
    if (Renders == nullptr)
        Renders = std::make_unique<TThumbRenderQueue>([this](TThumbResult& result) { TakeResult(result); });
    return *Renders;
}

void TPictureCache::Load(QPainter& canvas, TThumbParams& params)
{
    TTraced trace;
    try {
        params.Pending = false;
        const QFont font = canvas.font();
        const TPictureBitmap* cached = Find(params, font);
        if (trace.TakeOver())
            return;
        if (cached != nullptr)
            return DrawThumb(canvas, params.Rect, params.FrameColor, *cached);
        if (params.List != nullptr && params.ListScrolled && !params.ShowWhileScrolling) {
            DrawTextInRect("Uncached thumbnails are not rendered during scrolling.", canvas, true, params.Rect,
                           host::DT_WORDBREAK, false, false);
            return;
        }
        const TThumbRender render = MakeRender(params, font);
        if (const auto failure = Failures.find(TThumbRenderQueue::KeyOf(render)); failure != Failures.end()) {
            trace.Context = failure->second;
            return;
        }
        if (params.Route == TThumbRoute::Plugin) {
            RenderNow(canvas, params, render);
            trace.TakeOver();
            return;
        }
        Queue().Ask(render, params.List, TargetOf(params));
        params.Pending = true;
    }
    TRACED_CATCH(trace)
}

TPictureBitmap* TPictureCache::Find(TThumbParams& params, const QFont& font)
{
    TTraced trace;
    TPictureBitmap* found = nullptr;
    trace.Run([&] {
        // Entries of the file at another size stay: one file may be cached at several sizes.
        const auto examine = [&](int32_t index) {
            TPictureCacheEntry& entry = Entries[static_cast<size_t>(index)];
            const QSize expected = GetExpectedSize(entry, params);
            if (IsMatch(entry, params, font, expected)) {
                params.PictureWidth = entry.PictureWidth;
                params.PictureHeight = entry.PictureHeight;
                params.Zoom = entry.Zoom;
                found = entry.Bitmap.get();
                return true;
            }
            if (entry.Bitmap->Image.size() == expected)
                RemoveEntry(index);
            return false;
        };
        if (params.Route == TThumbRoute::Video) {
            const int32_t candidate = FindVideoCandidate(params);
            if (candidate >= 0)
                examine(candidate);
            return;
        }
        for (int32_t index = Count() - 1; index >= 0; --index)
            if (Entries[static_cast<size_t>(index)].Title == params.FileName && examine(index))
                return;
    });
    return found;
}

// A video's frame has the video's proportions, so its entry is the newest one whose
// picture touches the rectangle.
int32_t TPictureCache::FindVideoCandidate(const TThumbParams& params) const
{
    const int32_t width = params.Rect.width();
    const int32_t height = params.Rect.height();
    for (int32_t index = Count() - 1; index >= 0; --index) {
        const TPictureCacheEntry& entry = Entries[static_cast<size_t>(index)];
        if (entry.Title != params.FileName)
            continue;
        const bool touches = (entry.PictureWidth == width && entry.PictureHeight <= height) ||
                             (entry.PictureWidth <= width && entry.PictureHeight == height);
        if (touches)
            return index;
    }
    return -1;
}

QSize TPictureCache::GetExpectedSize(const TPictureCacheEntry& entry, const TThumbParams& params) const
{
    if (params.FillRect)
        return {std::max(params.Rect.width(), 0), std::max(params.Rect.height(), 0)};
    int32_t width = 0;
    int32_t height = 0;
    GetFitPictureSize(entry.PictureWidth, entry.PictureHeight, params.Rect.width(), params.Rect.height(),
                      params.FitSmallSize, 0, false, params.FitSmall, width, height);
    return {std::max(width, 0), std::max(height, 0)};
}

bool TPictureCache::IsMatch(const TPictureCacheEntry& entry, const TThumbParams& params, const QFont& font,
                            QSize expected) const
{
    if (entry.FileSize != params.FileSize || entry.FileTime != params.FileTime ||
        entry.Bitmap->Image.size() != expected)
        return false;
    if (!params.TextFormat)
        return true;
    return entry.BackColor == params.BackColor && entry.TextColor == params.TextColor &&
           entry.FontName == font.family().toStdString() && entry.FontSize == FontSizeOf(font) &&
           entry.FontBold == font.bold();
}

// The last entry fills the gap.
void TPictureCache::RemoveEntry(int32_t index)
{
    const auto slot = Entries.begin() + index;
    if (index != Count() - 1)
        *slot = std::move(Entries.back());
    Entries.pop_back();
}

void TPictureCache::DrawThumb(QPainter& canvas, QRect rect, TColor frameColor, const TPictureBitmap& bitmap)
{
    canvas.save();
    // A fixed-mode bitmap had its transparent colour made transparent when it was rendered.
    canvas.setCompositionMode(bitmap.TransparentMode == TTransparentMode::Fixed ? QPainter::CompositionMode_SourceOver
                                                                                : QPainter::CompositionMode_Source);
    canvas.drawImage(rect.topLeft(), bitmap.Image);
    // The caller's pen stays for the texts it draws next.
    DrawOuterFrame(canvas, rect.x(), rect.y(), bitmap.Image.width(), bitmap.Image.height(), frameColor);
    canvas.restore();
}

std::unique_ptr<TPictureBitmap> TPictureCache::LoadTextToBitmap(const QFont& font, TColor backColor, TColor textColor,
                                                                QRect rect, int32_t textMargin,
                                                                const std::string& fileName, int32_t maxLength)
{
    TTraced trace;
    std::unique_ptr<TPictureBitmap> result;
    trace.Run([&] {
        auto bitmap = std::make_unique<TPictureBitmap>();
        bitmap->Image = QImage(QSize(std::max(rect.width(), 0), std::max(rect.height(), 0)), QImage::Format_RGB32);
        bitmap->Image.fill(ToQColor(backColor));
        const std::string bytes = GetTextFromFileStream(fileName, "", maxLength);
        if (trace.TakeOver())
            return;
        const std::string text = DecodeTextExcerpt(bytes).toStdString();
        const int32_t margin = textMargin < 0 ? 2 : textMargin;
        const QRect textRect(QPoint(margin, margin),
                             QPoint(bitmap->Image.width() - margin - 1, bitmap->Image.height() - margin - 1));
        uint32_t format = host::DT_NOPREFIX | host::DT_EXPANDTABS;
        // A text with lines of its own keeps them; a single run of words wraps.
        if (!HasInnerLineBreak(text))
            format |= host::DT_WORDBREAK;
        QPainter canvas(&bitmap->Image);
        canvas.setFont(font);
        canvas.setPen(ToQColor(textColor));
        canvas.setBrush(ToQColor(backColor));
        DrawTextInRect(text, canvas, false, textRect, format, false, false);
        canvas.end();
        result = std::move(bitmap);
    });
    return result;
}

TThumbRender TPictureCache::MakeRender(const TThumbParams& params, const QFont& font) const
{
    TThumbRender render;
    static_cast<TThumbSource&>(render) = params;
    render.Font = font.toString();
    render.FontName = font.family().toStdString();
    render.FontSize = FontSizeOf(font);
    render.FontBold = font.bold();
    return render;
}

void TPictureCache::RenderNow(QPainter& canvas, TThumbParams& params, const TThumbRender& render)
{
    TThumbResult result = RenderThumb(render);
    if (result.Bitmap != nullptr) {
        params.PictureWidth = result.PictureWidth;
        params.PictureHeight = result.PictureHeight;
        params.Zoom = result.Zoom;
        DrawThumb(canvas, params.Rect, params.FrameColor, *result.Bitmap);
    }
    const TFunStatContext outcome = result.Context;
    TakeResult(result);
    FunStatContext = outcome;
}

void TPictureCache::TakeResult(TThumbResult& result)
{
    const TThumbRender& render = result.Render;
    if (result.Context.Status > fsWarning) {
        // Bounded like the cache itself; a forgotten failure is only tried once more.
        if (Failures.size() >= static_cast<size_t>(Capacity))
            Failures.clear();
        Failures[TThumbRenderQueue::KeyOf(render)] = result.Context;
        return;
    }
    if (result.Bitmap == nullptr)
        return;
    TPictureCacheEntry entry;
    entry.Title = render.FileName;
    entry.FileSize = render.FileSize;
    entry.FileTime = render.FileTime;
    entry.Bitmap = std::move(result.Bitmap);
    entry.FitSmall = render.FitSmall;
    entry.FillRect = render.FillRect;
    entry.BackColor = render.BackColor;
    entry.TextColor = render.TextColor;
    entry.FontName = render.FontName;
    entry.FontSize = render.FontSize;
    entry.FontBold = render.FontBold;
    entry.PictureWidth = result.PictureWidth;
    entry.PictureHeight = result.PictureHeight;
    entry.Zoom = result.Zoom;
    Insert(std::move(entry));
}

void TPictureCache::Insert(TPictureCacheEntry entry)
{
    if (IsFull())
        MakeRoom();
    Entries.push_back(std::move(entry));
}

bool TPictureCache::IsFull() const
{
    return Count() >= Capacity || GetSize() > MaxSize || (Count() >= 5 && GetAvailablePhysicalMemory() < LowMemory);
}

// The newest half stays, in its order.
void TPictureCache::MakeRoom()
{
    const int32_t half = Count() / 2;
    Entries.erase(Entries.begin(), Entries.end() - half);
}

int64_t TPictureCache::GetSize() const
{
    int64_t size = 0;
    for (const TPictureCacheEntry& entry : Entries)
        size += int64_t{entry.Bitmap->Image.width()} * entry.Bitmap->Image.height() * 4;
    return size;
}

void TPictureCache::WaitForRenders()
{
    Queue().WaitForAll();
}

void TPictureCache::Shutdown()
{
    if (Renders != nullptr)
        Renders->Stop();
    Clear();
}

void TPictureCache::HoldRenders(bool hold)
{
    Queue().Hold(hold);
}

int32_t TPictureCache::RenderCount() const
{
    return GetThumbRenderCount();
}

int32_t TPictureCache::UiThreadRenderCount() const
{
    return GetUiThreadThumbRenderCount();
}
