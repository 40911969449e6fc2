#include "host/DragAndDrop.h"

#include "host/Drives.h"
#include "host/LastError.h"
#include "host/Shell.h"

#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <optional>

namespace host {

namespace {

DragRunner InstalledDragRunner;

} // namespace

std::unique_ptr<QMimeData> MakeFilesData(const std::vector<std::string>& windowsPaths, bool cut)
{
    QList<QUrl> urls;
    QByteArray copiedFiles = cut ? "cut" : "copy";
    for (const std::string& path : windowsPaths) {
        const std::optional<std::string> hostPath = WindowsToHost(path);
        if (!hostPath)
            return nullptr;
        urls << QUrl::fromLocalFile(QString::fromStdString(*hostPath));
        copiedFiles += '\n' + QByteArray::fromStdString(HostPathToUri(*hostPath));
    }
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    data->setData(CopiedFilesFormat, copiedFiles);
    SetLastError(ERROR_SUCCESS);
    return data;
}

std::unique_ptr<QMimeData> MakeTextData(const std::string& text)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(QString::fromStdString(text));
    return data;
}

bool SetClipboardData(std::unique_ptr<QMimeData> data)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    QGuiApplication::clipboard()->setMimeData(data.release());
    SetLastError(ERROR_SUCCESS);
    return true;
}

Qt::DropAction RunDrag(QObject* source, std::unique_ptr<QMimeData> data, Qt::DropActions allowed,
                       const DragImage* image, const std::function<void(Qt::DropAction)>& onActionChanged)
{
    if (InstalledDragRunner)
        return InstalledDragRunner(DragRequest{source, data.get(), allowed, image, onActionChanged});
    // The drag manager deletes the drag once its loop has ended.
    auto* drag = new QDrag(source);
    drag->setMimeData(data.release());
    if (image != nullptr) {
        drag->setPixmap(image->Picture);
        drag->setHotSpot(image->HotSpot);
    }
    if (onActionChanged)
        QObject::connect(drag, &QDrag::actionChanged, onActionChanged);
    return drag->exec(allowed);
}

void SetDragRunner(DragRunner runner)
{
    InstalledDragRunner = std::move(runner);
}

} // namespace host
