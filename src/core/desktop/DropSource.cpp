#include "core/desktop/DropSource.h"

#include "host/DragAndDrop.h"

#include <QMimeData>

namespace {

constexpr int AllDragTypes = dtCopy | dtMove | dtLink;

// Only a pure move is a cut; a target may otherwise copy.
bool IsCut(int effect)
{
    return (effect & dtMove) != 0 && (effect & dtCopy) == 0;
}

} // namespace

TDropSource::TDropSource(QObject* owner) : QObject(owner)
{
}

void TDropSource::SetImages(const std::vector<QPixmap>* images)
{
    if (images == ImageList)
        return;
    ImageList = images;
    CurrentImage = 0;
    ShowingImage = images != nullptr;
}

void TDropSource::SetImageIndex(int index)
{
    if (index < 0 || ImageList == nullptr || ImageList->empty()) {
        CurrentImage = 0;
        ShowingImage = false;
    } else if (static_cast<size_t>(index) < ImageList->size()) {
        CurrentImage = index;
    }
}

void TDropSource::SetShowImage(bool show)
{
    ShowingImage = show && ImageList != nullptr;
}

TDragResult TDropSource::Execute()
{
    const int allowed = Dragtypes & AllDragTypes;
    std::unique_ptr<QMimeData> data = MakeMimeData(FeedbackEffect);
    if (data == nullptr || allowed == 0)
        return drCancel;
    const bool withImage = ShowingImage && static_cast<size_t>(CurrentImage) < ImageList->size();
    const host::DragImage image{withImage ? ImageList->at(CurrentImage) : QPixmap(),
                                QPoint(ImageHotSpotX, ImageHotSpotY)};
    const Qt::DropAction action = host::RunDrag(this, std::move(data), Qt::DropActions(allowed),
                                                withImage ? &image : nullptr, [this](Qt::DropAction effect) {
                                                    FeedbackEffect = effect & AllDragTypes;
                                                    if (OnFeedback)
                                                        OnFeedback(this, FeedbackEffect);
                                                });
    return DragResultOf(action, static_cast<TDragTypes>(allowed));
}

TDragResult TDropSource::DragResultOf(int action, TDragTypes allowed)
{
    const int effect = action & allowed;
    if (effect & dtCopy)
        return drDropCopy;
    if (effect & dtMove)
        return drDropMove;
    if (effect & dtLink)
        return drDropLink;
    return drCancel;
}

bool TDropSource::CutToClipboard()
{
    return InternalCutCopyToClipboard(dtMove);
}

bool TDropSource::CopyToClipboard()
{
    return InternalCutCopyToClipboard(dtCopy);
}

bool TDropSource::InternalCutCopyToClipboard(int effect)
{
    std::unique_ptr<QMimeData> data = MakeMimeData(effect);
    if (data == nullptr || !host::SetClipboardData(std::move(data)))
        return false;
    FeedbackEffect = effect;
    return true;
}

std::unique_ptr<QMimeData> TDropTextSource::MakeMimeData(int) const
{
    if (Text.empty())
        return nullptr;
    return host::MakeTextData(Text);
}

std::unique_ptr<QMimeData> TDropFileSource::MakeMimeData(int preferredEffect) const
{
    if (Files.empty())
        return nullptr;
    return host::MakeFilesData(Files, IsCut(preferredEffect));
}
