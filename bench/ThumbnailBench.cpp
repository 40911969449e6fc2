// Renders 256 x 256 thumbnails of photos through the thumbnail cache's render path and times it
// against the usual tools on the same files in the same run:
//   ours           the thumbnail cache's render path with the default options and no size limit,
//                  once on one thread, once on the thumbnail pool (cores - 1 threads, 1 to 4);
//   vipsthumbnail  --size 256x256 -o DIR/%s.v over all files in one process, with
//                  VIPS_CONCURRENCY=1 (one worker, as ours);
//   ImageMagick 6  convert-im6.q16 IN -thumbnail 256x256 OUT.png once per file, on the first
//                  100 files (its time per file is the measure).
// The program keeps its thumbnails in memory and never writes them, so neither side of the
// pair with vipsthumbnail encodes one: ours stops at the rendered bitmap, vipsthumbnail
// writes its own uncompressed format (the picture's pixels and a short header).
// The photos: 1,000 JPEGs of 3000 x 2000 at quality 90 (gradients, shapes and noise, so they
// compress like photos, about 2 MB each), made once from a fixed seed in
// $TMPDIR/quillomber-thumbnail-photos and kept for later runs. They are read once before
// the timing, so every side reads them from the page cache. "--files=N" takes fewer.
//
// The pair with vipsthumbnail runs "--rounds=N" times (5 unless given), alternating which
// side goes first; every pair's ratio is printed, then their median and range.
// Printed: vipsthumbnail / ours per file (one worker, median of the pairs; target 1.0),
// ImageMagick / ours (target 5) and the pool's speed-up over one worker.

#include "BenchSupport.h"

#include "viewing/ThumbRendering.h"

#include "core/settings/ProgramOptions.h"

#include "host/Drives.h"

#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using TClock = std::chrono::steady_clock;

constexpr int PhotoWidth = 3000;
constexpr int PhotoHeight = 2000;
constexpr int PhotoQuality = 90;
constexpr int DefaultPhotoCount = 1000;
constexpr int ConvertFileCount = 100;
constexpr int DefaultRounds = 5;
constexpr int ThumbnailSide = 256;
constexpr uint64_t Seed = 0x2545F4914F6CDD1Du;

QColor RandomColour(uint64_t& state)
{
    return QColor(RandomBelow(state, 256), RandomBelow(state, 256), RandomBelow(state, 256));
}

// A diagonal gradient between two colours, soft shapes over it, then grain on every pixel.
QImage MakePhoto(int index)
{
    uint64_t state = Seed + static_cast<uint64_t>(index) * 0x9E3779B97F4A7C15u;
    QImage photo(PhotoWidth, PhotoHeight, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient sky(0, 0, PhotoWidth, PhotoHeight);
    sky.setColorAt(0, RandomColour(state));
    sky.setColorAt(1, RandomColour(state));
    painter.fillRect(photo.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int shape = 0; shape < 40; ++shape) {
        QColor colour = RandomColour(state);
        colour.setAlpha(80 + RandomBelow(state, 176));
        painter.setBrush(colour);
        const QRect area(RandomBelow(state, PhotoWidth), RandomBelow(state, PhotoHeight), 50 + RandomBelow(state, 900),
                         50 + RandomBelow(state, 700));
        if (shape % 2 == 0)
            painter.drawEllipse(area);
        else
            painter.drawRect(area);
    }
    painter.end();
    for (int y = 0; y < PhotoHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < PhotoWidth; ++x) {
            const uint64_t noise = NextRandom(state);
            const auto grain = [&noise](int channel, int shift) {
                return std::clamp(channel + static_cast<int>((noise >> shift) & 0x1F) - 16, 0, 255);
            };
            const QRgb pixel = line[x];
            line[x] = qRgb(grain(qRed(pixel), 0), grain(qGreen(pixel), 8), grain(qBlue(pixel), 16));
        }
    }
    return photo;
}

std::string PhotoName(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "photo%04d.jpg", index);
    return name;
}

// Makes the photos that are missing, on every core.
bool MakePhotos(const std::string& folder, int count)
{
    fs::create_directories(folder);
    std::atomic<int> failures = 0;
    QThreadPool pool;
    pool.setMaxThreadCount(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    for (int index = 0; index < count; ++index) {
        const std::string path = folder + "/" + PhotoName(index);
        if (fs::exists(path))
            continue;
        pool.start([path, index, &failures] {
            const std::string partial = path + ".partial";
            QImageWriter writer(QString::fromStdString(partial), "jpeg");
            writer.setQuality(PhotoQuality);
            std::error_code error;
            if (!writer.write(MakePhoto(index)))
                ++failures;
            else
                fs::rename(partial, path, error);
            if (error)
                ++failures;
        });
    }
    pool.waitForDone();
    return failures == 0;
}

uint64_t ReadAll(const std::vector<std::string>& files)
{
    uint64_t bytes = 0;
    std::vector<char> buffer(1 << 20);
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
            bytes += static_cast<uint64_t>(in.gcount());
    }
    return bytes;
}

double SecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double>(TClock::now() - start).count();
}

// One thumbnail through the cache's render path; its size, empty when it failed.
QSize RenderThumbnail(const std::string& windowsPath, const TProgramOptions& options)
{
    TThumbRender render;
    render.FileName = windowsPath;
    render.Rect = QRect(0, 0, ThumbnailSide, ThumbnailSide);
    render.Route = TThumbRoute::Picture;
    render.FitSmallSize = options.FitSmallThumbsSize;
    render.FitSmall = options.FitSmallThumbs;
    render.SmartQualitySize = options.SmartQualitySize;
    render.HighQuality = options.HighQualityThumb;
    render.BackColor = 0xFFFFFF;
    const TThumbResult result = RenderThumb(render);
    return result.Bitmap ? result.Bitmap->Image.size() : QSize();
}

double RenderOnOneThread(const std::vector<std::string>& paths, const TProgramOptions& options, int& failures)
{
    const auto start = TClock::now();
    for (const std::string& path : paths)
        failures += RenderThumbnail(path, options).isEmpty() ? 1 : 0;
    return SecondsSince(start);
}

int PoolThreadCount()
{
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores - 1, 1, 4);
}

double RenderOnThePool(const std::vector<std::string>& paths, const TProgramOptions& options, int& failures)
{
    QThreadPool pool;
    pool.setMaxThreadCount(PoolThreadCount());
    std::atomic<int> failed = 0;
    const auto start = TClock::now();
    for (const std::string& path : paths)
        pool.start([&path, &options, &failed] { failed += RenderThumbnail(path, options).isEmpty() ? 1 : 0; });
    pool.waitForDone();
    const double seconds = SecondsSince(start);
    failures += failed;
    return seconds;
}

// vipsthumbnail over all files in one process, its work on one thread.
double RunVipsThumbnail(const std::vector<std::string>& files, const std::string& outFolder, bool& okay)
{
    fs::create_directories(outFolder);
    std::vector<std::string> arguments = {"vipsthumbnail", "--size", "256x256", "-o", outFolder + "/%s.v"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    setenv("VIPS_CONCURRENCY", "1", 1);
    const auto start = TClock::now();
    okay = RunProgram(arguments);
    const double seconds = SecondsSince(start);
    unsetenv("VIPS_CONCURRENCY");
    return seconds;
}

double RunConvert(const std::vector<std::string>& files, const std::string& outFolder, bool& okay)
{
    fs::create_directories(outFolder);
    okay = true;
    const auto start = TClock::now();
    for (size_t i = 0; i < files.size(); ++i)
        okay = RunProgram({"convert-im6.q16", files[i], "-thumbnail", "256x256",
                           outFolder + "/" + std::to_string(i) + ".png"}) &&
               okay;
    return SecondsSince(start);
}

void PrintTime(const char* what, double seconds, size_t files)
{
    std::printf("%-40s %8.2f s  %7.1f ms a file\n", what, seconds, 1000.0 * seconds / static_cast<double>(files));
}

void PrintRatio(const char* what, double ratio, double target)
{
    if (target > 0)
        std::printf("%s: %.2f (target >= %.1f) %s\n", what, ratio, target, ratio >= target ? "PASS" : "FAIL");
    else
        std::printf("%s: %.2f\n", what, ratio);
}

// The number an argument "--name=N" gives, within 1 and `maximum`; `fallback` without it.
int NumberFromArguments(int argc, char** argv, const std::string& name, int fallback, int maximum)
{
    const std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind(prefix, 0) == 0)
            return std::clamp(std::atoi(argument.c_str() + prefix.size()), 1, maximum);
    }
    return fallback;
}

struct TPair
{
    double Ours = 0;
    double Vips = 0;
    double Ratio() const { return Vips / Ours; }
};

// The pairs of ours on one worker and vipsthumbnail, each round starting with the other side.
std::vector<TPair> RunPairs(int rounds, const std::vector<std::string>& files, const std::vector<std::string>& paths,
                            const TProgramOptions& options, const std::string& scratch, int& failures, bool& vipsOkay)
{
    std::vector<TPair> pairs;
    vipsOkay = true;
    for (int round = 0; round < rounds; ++round) {
        TPair pair;
        bool okay = false;
        if (round % 2 == 0) {
            pair.Ours = RenderOnOneThread(paths, options, failures);
            pair.Vips = RunVipsThumbnail(files, scratch + "/vips", okay);
        } else {
            pair.Vips = RunVipsThumbnail(files, scratch + "/vips", okay);
            pair.Ours = RenderOnOneThread(paths, options, failures);
        }
        vipsOkay = vipsOkay && okay;
        std::printf("pair %d (%s first): ours %.2f s, vipsthumbnail %.2f s, ratio %.2f\n", round + 1,
                    round % 2 == 0 ? "ours" : "vipsthumbnail", pair.Ours, pair.Vips, pair.Ratio());
        pairs.push_back(pair);
    }
    return pairs;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const int count = NumberFromArguments(argc, argv, "files", DefaultPhotoCount, DefaultPhotoCount);
    const char* tmp = std::getenv("TMPDIR");
    const std::string photos = std::string(tmp && *tmp ? tmp : "/tmp") + "/quillomber-thumbnail-photos";
    const auto made = TClock::now();
    if (!MakePhotos(photos, count)) {
        std::fprintf(stderr, "cannot write the photos in %s\n", photos.c_str());
        return 1;
    }
    const std::string scratch = MakeScratchFolder("thumbnail-bench");
    if (scratch.empty()) {
        std::fprintf(stderr, "cannot make the scratch folder\n");
        return 1;
    }
    std::vector<std::string> files;
    std::vector<std::string> paths;
    host::MapDrive('B', photos);
    for (int index = 0; index < count; ++index) {
        files.push_back(photos + "/" + PhotoName(index));
        paths.push_back("B:\\" + PhotoName(index));
    }
    const uint64_t bytes = ReadAll(files);
    std::printf("photos: %d of %d x %d, %.2f MB each on average, ready in %.1f s (%s)\n", count, PhotoWidth,
                PhotoHeight, static_cast<double>(bytes) / count / 1e6, SecondsSince(made), photos.c_str());

    // The default thumbnail options; the size limit does not take part in the route.
    const TProgramOptions options;
    const QSize shown = RenderThumbnail(paths.front(), options);
    std::printf("ours renders %d x %d, the picture's own area of the %d x %d cell\n", shown.width(), shown.height(),
                ThumbnailSide, ThumbnailSide);
    int failures = 0;
    bool vipsOkay = false;
    const int rounds = NumberFromArguments(argc, argv, "rounds", DefaultRounds, 100);
    const std::vector<TPair> pairs = RunPairs(rounds, files, paths, options, scratch, failures, vipsOkay);
    std::vector<double> ours;
    std::vector<double> ratios;
    for (const TPair& pair : pairs) {
        ours.push_back(pair.Ours);
        ratios.push_back(pair.Ratio());
    }
    const double oneThread = Median(ours);
    PrintTime("ours, one worker (median)", oneThread, files.size());
    const double pool = RenderOnThePool(paths, options, failures);
    const std::string poolName = "ours, pool of " + std::to_string(PoolThreadCount());
    PrintTime(poolName.c_str(), pool, files.size());
    const std::vector<std::string> convertFiles(files.begin(),
                                                files.begin() + std::min<size_t>(ConvertFileCount, files.size()));
    bool convertOkay = false;
    const double convert = RunConvert(convertFiles, scratch + "/convert", convertOkay);
    PrintTime("convert-im6.q16 -thumbnail", convert, convertFiles.size());

    const double oursPerFile = oneThread / static_cast<double>(files.size());
    PrintRatio("ImageMagick / ours (one worker)", convert / static_cast<double>(convertFiles.size()) / oursPerFile,
               5.0);
    std::printf("vipsthumbnail / ours (one worker), %zu pairs: range %.2f - %.2f\n", pairs.size(),
                *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()));
    PrintRatio("vipsthumbnail / ours (one worker), median", Median(ratios), 1.0);
    PrintRatio("pool speed-up over one worker", oneThread / pool, 0);

    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    if (failures > 0)
        std::fprintf(stderr, "FAILED: %d thumbnails of ours failed\n", failures);
    if (!vipsOkay || !convertOkay)
        std::fprintf(stderr, "FAILED: %s did not finish cleanly\n", vipsOkay ? "convert-im6.q16" : "vipsthumbnail");
    return failures == 0 && vipsOkay && convertOkay ? 0 : 1;
}
