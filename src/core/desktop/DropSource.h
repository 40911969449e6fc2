#pragma once

#include <QObject>
#include <QPixmap>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMimeData;

// Drag types as a set in one byte; the bits are the drop-effect values copy 1, move 2, link 4.
enum TDragType : uint8_t
{
    dtCopy = 1,
    dtMove = 2,
    dtLink = 4
};
using TDragTypes = uint8_t;

enum TDragResult
{
    drDropCopy,
    drDropMove,
    drDropLink,
    drCancel,
    drOutMemory,
    drUnknown
};

class TDropSource;
// Told of every drop effect under the cursor during a drag.
using TFeedbackEvent = std::function<void(TDropSource* sender, int effect)>;

// Data dragged out of the program into another one, or put on the clipboard: a source
// lives under its owner and renders its data anew for each drag or clipboard copy.
class TDropSource : public QObject
{
public:
    explicit TDropSource(QObject* owner);

    TDragTypes Dragtypes = dtCopy;
    TFeedbackEvent OnFeedback;
    // The drop effect last reported during a drag, or the effect of the last cut or copy.
    int FeedbackEffect = 0;
    int ImageHotSpotX = 16;
    int ImageHotSpotY = 16;

    // The pictures to drag with; the source does not own them.
    void SetImages(const std::vector<QPixmap>* images);
    const std::vector<QPixmap>* Images() const { return ImageList; }
    // A negative index, or no picture at all, gives index 0 and no picture shown; an
    // index past the last picture is ignored.
    void SetImageIndex(int index);
    int ImageIndex() const { return CurrentImage; }
    // Stays false while there are no pictures.
    void SetShowImage(bool show);
    bool ShowImage() const { return ShowingImage; }

    // Runs the drag until the user drops or cancels it.
    TDragResult Execute();
    // Put the data on the clipboard as a cut (move) or a copy; false when the source has
    // nothing to offer or there is no clipboard.
    bool CutToClipboard();
    bool CopyToClipboard();

    // The data as another program receives it, the copied-files format telling a cut
    // (effect 2) from a copy; null when the source has nothing to offer.
    virtual std::unique_ptr<QMimeData> MakeMimeData(int preferredEffect) const = 0;

    // The result of a drag whose target performed `action` (a drop-effect value, 0 when
    // nothing was dropped), given the drag types the source allowed.
    static TDragResult DragResultOf(int action, TDragTypes allowed);

private:
    bool InternalCutCopyToClipboard(int effect);

    const std::vector<QPixmap>* ImageList = nullptr;
    int CurrentImage = 0;
    bool ShowingImage = false;
};

// One text, dragged or copied as plain text.
class TDropTextSource : public TDropSource
{
public:
    using TDropSource::TDropSource;
    std::string Text;
    std::unique_ptr<QMimeData> MakeMimeData(int preferredEffect) const override;
};

// Files by their full paths: every file is named by its own path, so the files may come
// from several folders.
class TDropFileSource : public TDropSource
{
public:
    using TDropSource::TDropSource;
    std::vector<std::string> Files;
    void SetFiles(const std::vector<std::string>& files) { Files = files; }
    std::unique_ptr<QMimeData> MakeMimeData(int preferredEffect) const override;
};
