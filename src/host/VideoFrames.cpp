#include "host/VideoFrames.h"

#include "host/Drives.h"
#include "host/LastError.h"
#include "host/Process.h"

#include <QElapsedTimer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryFile>

#include <cerrno>
#include <mutex>
#include <sys/stat.h>

namespace host {
namespace {

std::mutex ThumbnailerLock;
VideoThumbnailer Thumbnailer;

std::optional<QImage> Fail(uint32_t code)
{
    SetLastError(code);
    return std::nullopt;
}

bool IsRegularFile(const std::string& hostPath)
{
    struct stat info = {};
    if (stat(hostPath.c_str(), &info) != 0) {
        SetLastErrorFromErrno(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

QStringList ThumbnailerArguments(const std::string& hostPath, const QString& output, int size)
{
    return {"-i", QString::fromStdString(hostPath), "-o", output, "-s", QString::number(size), "-t", "10%", "-c",
            "png"};
}

// Runs the thumbnailer to its end or to the time limit, waiting without an event loop.
uint32_t RunThumbnailer(const VideoThumbnailer& thumbnailer, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(QString::fromStdString(thumbnailer.Program));
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    const auto limit = static_cast<int>(thumbnailer.TimeLimit.count());
    process.start();
    if (!process.waitForStarted(limit))
        return process.error() == QProcess::Timedout ? ERROR_TIMEOUT : ERROR_FILE_NOT_FOUND;
    if (!process.waitForFinished(std::max(limit - static_cast<int>(clock.elapsed()), 1))) {
        process.kill();
        process.waitForFinished(-1);
        return ERROR_TIMEOUT;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 ? ERROR_SUCCESS
                                                                                   : ERROR_NOT_SUPPORTED;
}

// The frame the thumbnailer wrote, when it is a picture no larger than asked for.
std::optional<QImage> ReadFrame(const QString& fileName, int size)
{
    QImageReader reader(fileName, "png");
    const QSize frameSize = reader.size();
    if (frameSize.isEmpty() || frameSize.width() > size || frameSize.height() > size)
        return Fail(ERROR_NOT_SUPPORTED);
    QImage frame = reader.read();
    if (frame.isNull())
        return Fail(ERROR_NOT_SUPPORTED);
    SetLastError(ERROR_SUCCESS);
    return frame;
}

} // namespace

VideoThumbnailer GetVideoThumbnailer()
{
    const std::lock_guard lock(ThumbnailerLock);
    return Thumbnailer;
}

void SetVideoThumbnailer(const VideoThumbnailer& thumbnailer)
{
    const std::lock_guard lock(ThumbnailerLock);
    Thumbnailer = thumbnailer;
}

std::optional<QImage> MakeVideoFrame(const std::string& windowsPath, int size)
{
    if (size <= 0)
        return Fail(ERROR_INVALID_PARAMETER);
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::Read, windowsPath);
    if (!hostPath || !IsRegularFile(*hostPath))
        return std::nullopt;
    const std::string folder = GetTemporaryHostFolder();
    if (folder.empty())
        return Fail(ERROR_PATH_NOT_FOUND);
    // Removed when it goes out of scope, after the thumbnailer has ended.
    QTemporaryFile output(QString::fromStdString(folder) + "/frame-XXXXXX.png");
    if (!output.open())
        return Fail(ERROR_ACCESS_DENIED);
    output.close();
    const uint32_t outcome =
        RunThumbnailer(GetVideoThumbnailer(), ThumbnailerArguments(*hostPath, output.fileName(), size));
    if (outcome != ERROR_SUCCESS)
        return Fail(outcome);
    return ReadFrame(output.fileName(), size);
}

} // namespace host
