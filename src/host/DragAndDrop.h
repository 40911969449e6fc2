#pragma once

#include <QPixmap>
#include <QPoint>
#include <Qt>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMimeData;
class QObject;

// Data handed to other programs through the clipboard or a drag: files as a uri-list
// plus the copied-files format that Linux file managers read to tell a cut from a copy,
// and texts as plain text.
namespace host {

inline constexpr const char* CopiedFilesFormat = "x-special/gnome-copied-files";

// The files (Windows paths) by their host paths. Null, with the last error set, when a
// path has no host form: another program must never receive a wrong name.
std::unique_ptr<QMimeData> MakeFilesData(const std::vector<std::string>& windowsPaths, bool cut);
std::unique_ptr<QMimeData> MakeTextData(const std::string& text);

// The clipboard owns the data from then on. False, with the last error set, when the
// program has no clipboard.
bool SetClipboardData(std::unique_ptr<QMimeData> data);

struct DragImage
{
    QPixmap Picture;
    QPoint HotSpot;
};

// Runs the platform's drag loop with the data until the user drops or cancels, and gives
// the action the target performed (Qt::IgnoreAction when nothing was dropped). The
// action under the cursor is reported to `onActionChanged` as it changes.
Qt::DropAction RunDrag(QObject* source, std::unique_ptr<QMimeData> data, Qt::DropActions allowed,
                       const DragImage* image, const std::function<void(Qt::DropAction)>& onActionChanged);

// One drag as RunDrag hands it over; the data lives until the runner returns.
struct DragRequest
{
    QObject* Source = nullptr;
    const QMimeData* Data = nullptr;
    Qt::DropActions Allowed;
    const DragImage* Image = nullptr;
    std::function<void(Qt::DropAction)> OnActionChanged;
};

// Takes the place of the platform's drag loop and gives the action the target performed.
using DragRunner = std::function<Qt::DropAction(const DragRequest& request)>;

// Installs the runner that every drag goes to instead of the platform, so that tests see
// what would be dragged; an empty one restores the platform's drag loop.
void SetDragRunner(DragRunner runner);

} // namespace host
