#include "host/ClipboardPicture.h"

#include "host/File.h"
#include "host/LastError.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>

namespace host {

namespace {

QClipboard* GetGuiClipboard()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    return QGuiApplication::clipboard();
}

} // namespace

std::optional<QImage> GetClipboardPicture()
{
    QClipboard* clipboard = GetGuiClipboard();
    if (clipboard == nullptr || clipboard->image().isNull()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return std::nullopt;
    }
    SetLastError(ERROR_SUCCESS);
    return clipboard->image();
}

bool SetClipboardPicture(const QImage& picture)
{
    QClipboard* clipboard = GetGuiClipboard();
    if (clipboard == nullptr) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    clipboard->setImage(picture);
    SetLastError(ERROR_SUCCESS);
    return true;
}

namespace {

std::optional<std::string> EncodeBitmap(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP")) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return std::nullopt;
    }
    return bytes.toStdString();
}

} // namespace

bool SavePictureAsBitmap(const QImage& picture, const std::string& windowsPath)
{
    const std::optional<std::string> bytes = EncodeBitmap(picture);
    return bytes && ReplaceFileContents(windowsPath, *bytes);
}

bool SavePictureAsPrivateBitmap(const QImage& picture, const std::string& windowsPath)
{
    const std::optional<std::string> bytes = EncodeBitmap(picture);
    return bytes && ReplacePrivateFileContents(windowsPath, *bytes);
}

} // namespace host
