#include "viewing/ThumbRendering.h"

#include "viewing/PictureCache.h"
#include "viewing/ViewerPluginBitmapInfo.h"

#include "core/desktop/ShellThumbnail.h"
#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

#include "host/Drives.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

std::atomic<int32_t> RenderCount{0};
std::atomic<int32_t> UiThreadRenderCount{0};

void CountRender()
{
    ++RenderCount;
    const QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread())
        ++UiThreadRenderCount;
}

// Pixels of the transparent colour become transparent once, so that drawing the bitmap
// lets the canvas show through them.
void KeyTransparentColor(TPictureBitmap& bitmap)
{
    if (bitmap.TransparentMode != TTransparentMode::Fixed)
        return;
    QImage& image = bitmap.Image;
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(bitmap.TransparentColor).rgb() & RGB_MASK;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
    }
}

void RenderVideo(const TThumbRender& render, TThumbResult& result, TTraced& trace)
{
    result.Zoom = 100;
    result.PictureWidth = render.Rect.width();
    result.PictureHeight = render.Rect.height();
    std::unique_ptr<QImage> frame = GetSysThumbnailFromFile(render.FileName, render.Rect.width(), render.Rect.height());
    if (trace.TakeOver())
        return;
    if (frame == nullptr || frame->isNull())
        return trace.Raise("Invalid picture size.", render.FileName);
    result.PictureWidth = frame->width();
    result.PictureHeight = frame->height();
    auto bitmap = std::make_unique<TPictureBitmap>();
    bitmap->Image = frame->convertToFormat(QImage::Format_RGB32);
    result.Bitmap = std::move(bitmap);
}

void RenderText(const TThumbRender& render, TThumbResult& result, TTraced& trace)
{
    result.PictureWidth = render.Rect.width();
    result.PictureHeight = render.Rect.height();
    QFont font;
    font.fromString(render.Font);
    result.Bitmap = TPictureCache::LoadTextToBitmap(font, render.BackColor, render.TextColor, render.Rect,
                                                    render.TextMargin, render.FileName, render.MaxTextLength);
    trace.TakeOver();
}

QSize GetPluginShownSize(const TThumbRender& render, int32_t pictureWidth, int32_t pictureHeight)
{
    if (render.FillRect)
        return render.Rect.size();
    int32_t width = 0;
    int32_t height = 0;
    GetFitPictureSize(pictureWidth, pictureHeight, render.Rect.width(), render.Rect.height(), render.FitSmallSize, 0,
                      false, render.FitSmall, width, height);
    return {std::max(width, 0), std::max(height, 0)};
}

void RenderWithPlugin(const TThumbRender& render, TThumbResult& result, TTraced& trace)
{
    if (render.GetPictureSize == nullptr || render.LoadFileToBitmap == nullptr)
        return;
    const std::optional<std::string> file = host::WindowsToHost(render.FileName);
    if (!file)
        return trace.RaiseSystem("Invalid picture size.", render.FileName);
    const std::string extension = UpperAscii(GetExtension(render.FileName));
    int32_t width = -1;
    int32_t height = -1;
    render.GetPictureSize(file->c_str(), extension.c_str(), render.Rect.width(), render.Rect.height(), &width, &height);
    result.PictureWidth = width < 1 ? render.Rect.width() : width;
    result.PictureHeight = height < 1 ? render.Rect.height() : height;
    const QSize shown = GetPluginShownSize(render, result.PictureWidth, result.PictureHeight);
    result.Zoom =
        result.PictureHeight > 0 ? static_cast<int32_t>(int64_t{shown.height()} * 100 / result.PictureHeight) : 0;
    auto bitmap = std::make_unique<TPictureBitmap>();
    bitmap->Image =
        DrawWithViewerPlugin(render.LoadFileToBitmap, *file, extension, shown, render.BackColor, render.TextColor);
    result.Bitmap = std::move(bitmap);
}

void RenderRoute(const TThumbRender& render, TThumbResult& result, TTraced& trace)
{
    if (IsDosProgram(render.FileName))
        return trace.Raise("Not a picture file.", render.FileName, "");
    switch (render.Route) {
    case TThumbRoute::Plugin:
        return RenderWithPlugin(render, result, trace);
    case TThumbRoute::Text:
        return RenderText(render, result, trace);
    case TThumbRoute::Video:
        return RenderVideo(render, result, trace);
    case TThumbRoute::Picture:
        result.Bitmap = LoadPictureToBitmap(render.FileName, render.BackColor, render.Rect, render.FitSmall,
                                            render.FitSmallSize, render.FillRect, result.Zoom, result.PictureWidth,
                                            result.PictureHeight, render.HighQuality, render.SmartQualitySize);
        trace.TakeOver();
        return;
    }
}

} // namespace

TThumbResult RenderThumb(const TThumbRender& render)
{
    CountRender();
    TThumbResult result;
    result.Render = render;
    {
        TTraced trace;
        trace.Run([&] { RenderRoute(render, result, trace); });
    }
    result.Context = FunStatContext;
    if (result.Context.Status > fsWarning)
        result.Bitmap.reset();
    else if (result.Bitmap != nullptr)
        KeyTransparentColor(*result.Bitmap);
    return result;
}

int32_t GetThumbRenderCount()
{
    return RenderCount;
}

int32_t GetUiThreadThumbRenderCount()
{
    return UiThreadRenderCount;
}

// ---- The queue ----

TThumbRenderQueue::TThumbRenderQueue(std::function<void(TThumbResult&)> onResult) : OnResult(std::move(onResult))
{
    Pool.setMaxThreadCount(std::clamp(QThread::idealThreadCount() - 1, 1, 4));
}

TThumbRenderQueue::~TThumbRenderQueue()
{
    Stop();
}

TThumbRenderQueue::TKey TThumbRenderQueue::KeyOf(const TThumbRender& render)
{
    return {render.FileName, render.FileSize, render.FileTime, render.Rect.width(), render.Rect.height()};
}

void TThumbRenderQueue::Ask(const TThumbRender& render, const QWidget* list, TThumbTarget target)
{
    EndTurnLater();
    const std::lock_guard guard(Lock);
    const TKey key = KeyOf(render);
    if (const auto pending = Pending.find(key); pending != Pending.end()) {
        const std::shared_ptr<TRequest> request = pending->second;
        const bool known = std::any_of(request->Targets.begin(), request->Targets.end(),
                                       [&](const TThumbTarget& t) { return t.Widget == target.Widget; });
        if (!known)
            request->Targets.push_back(std::move(target));
        const auto queued = std::find(Queue.begin(), Queue.end(), request);
        if (queued == Queue.end())
            return;
        Queue.erase(queued);
        request->Render = render;
        request->List = list;
        request->Turn = Turn;
        Queue.push_front(request);
        return;
    }
    auto request = std::make_shared<TRequest>();
    request->Render = render;
    request->List = list;
    request->Turn = Turn;
    request->Targets.push_back(std::move(target));
    Pending.emplace(key, request);
    Queue.push_front(request);
    // A file the list had not asked for yet means the list shows other items now: what it
    // does not ask again in this paint has left the view.
    if (list != nullptr)
        LatestTurn[list] = Turn;
    StartWorkers();
}

bool TThumbRenderQueue::IsPending(const TKey& key)
{
    const std::lock_guard guard(Lock);
    return Pending.count(key) > 0;
}

void TThumbRenderQueue::WaitForAll()
{
    Pool.waitForDone();
    Deliver();
}

void TThumbRenderQueue::Stop()
{
    {
        const std::lock_guard guard(Lock);
        Held = true;
        Queue.clear();
    }
    Pool.waitForDone();
    const std::lock_guard guard(Lock);
    Pending.clear();
    Done.clear();
    LatestTurn.clear();
    LastRepaint.clear();
    DelayedRepaints.clear();
    Held = false;
}

void TThumbRenderQueue::Hold(bool hold)
{
    const std::lock_guard guard(Lock);
    Held = hold;
    StartWorkers();
}

void TThumbRenderQueue::StartWorkers()
{
    while (!Held && Workers < Pool.maxThreadCount() && static_cast<size_t>(Workers) < Queue.size()) {
        ++Workers;
        Pool.start([this] { Work(); });
    }
}

void TThumbRenderQueue::Work()
{
    while (const std::shared_ptr<TRequest> request = TakeNext()) {
        TThumbResult result = RenderThumb(request->Render);
        const std::lock_guard guard(Lock);
        Done.emplace_back(request, std::move(result));
        if (!DeliveryPosted && QCoreApplication::instance() != nullptr) {
            DeliveryPosted = true;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [this] { Deliver(); }, Qt::QueuedConnection);
        }
    }
}

std::shared_ptr<TThumbRenderQueue::TRequest> TThumbRenderQueue::TakeNext()
{
    const std::lock_guard guard(Lock);
    while (!Held && !Queue.empty()) {
        std::shared_ptr<TRequest> request = Queue.front();
        Queue.pop_front();
        const auto latest = LatestTurn.find(request->List);
        if (request->List != nullptr && latest != LatestTurn.end() && request->Turn < latest->second) {
            Pending.erase(KeyOf(request->Render));
            continue;
        }
        return request;
    }
    --Workers;
    return nullptr;
}

// The asks of one pass of the event loop belong to one paint.
void TThumbRenderQueue::EndTurnLater()
{
    if (TurnEndPosted || QCoreApplication::instance() == nullptr)
        return;
    TurnEndPosted = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this] {
            ++Turn;
            TurnEndPosted = false;
        },
        Qt::QueuedConnection);
}

void TThumbRenderQueue::Deliver()
{
    std::vector<std::pair<std::shared_ptr<TRequest>, TThumbResult>> done;
    {
        const std::lock_guard guard(Lock);
        done.swap(Done);
        DeliveryPosted = false;
        for (const auto& [request, result] : done)
            Pending.erase(KeyOf(request->Render));
    }
    std::vector<TThumbTarget> targets;
    for (auto& [request, result] : done) {
        OnResult(result);
        targets.insert(targets.end(), request->Targets.begin(), request->Targets.end());
    }
    RepaintTargets(targets);
}

void TThumbRenderQueue::RepaintTargets(const std::vector<TThumbTarget>& targets)
{
    const auto now = std::chrono::steady_clock::now();
    for (const TThumbTarget& target : targets) {
        const QWidget* widget = target.Widget.data();
        if (widget == nullptr || DelayedRepaints.count(widget) > 0)
            continue;
        const auto last = LastRepaint.find(widget);
        const auto since = last == LastRepaint.end() ? RepaintInterval : now - last->second;
        if (since >= RepaintInterval) {
            LastRepaint[widget] = now;
            if (target.Repaint)
                target.Repaint();
            else
                target.Widget->update();
            continue;
        }
        DelayedRepaints.emplace(widget, target);
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(RepaintInterval - since);
        QTimer::singleShot(wait, QCoreApplication::instance(), [this, widget] { RepaintDelayed(widget); });
    }
}

void TThumbRenderQueue::RepaintDelayed(const QWidget* widget)
{
    const auto delayed = DelayedRepaints.find(widget);
    if (delayed == DelayedRepaints.end())
        return;
    const TThumbTarget target = delayed->second;
    DelayedRepaints.erase(delayed);
    RepaintTargets({target});
}
