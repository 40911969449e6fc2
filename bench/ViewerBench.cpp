// Times the file viewer, from TFileViewer::Do until the viewer panel is painted off-screen,
// against the usual tools on the same files in the same run:
//   ViewText       a 100 MB text file under the default text limit (100,000 bytes);
//   HeadText       head -c 100000 FILE, its output taken and dropped;
//   ViewPhoto      a 6000 x 4000 photo-like JPEG fitted into an 800 x 600 panel;
//   VipsPhoto      vipsthumbnail FILE -s 800x600 -o OUT.png;
//   ConvertPhoto   convert-im6.q16 -define jpeg:size=1600x1200 FILE -thumbnail 800x600 OUT.png
//                  (ImageMagick 6 itself, not a wrapper that PATH may put first).
// The files are made once per run in a scratch folder and read once before the timing, so
// every side reads them from the page cache. Printed: the three ratios, the tool's time over
// ours (targets >= 1).

#include "BenchSupport.h"

#include "viewing/FileViewer.h"
#include "viewing/ViewerWindow.h"

#include "panels/MyTPanel.h"

#include "core/files/FileExtensions.h"
#include "core/settings/ProgramOptions.h"

#include "host/Drives.h"

#include <QApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int64_t TextBytes = 100'000'000;
constexpr int PhotoWidth = 6000;
constexpr int PhotoHeight = 4000;
constexpr int PanelWidth = 800;
constexpr int PanelHeight = 600;
constexpr uint64_t Seed = 0x9E3779B97F4A7C15u;

std::string Scratch;

std::string HostPath(const std::string& name)
{
    return Scratch + "/" + name;
}

// Lines of words, as a log or a book.
bool MakeText(const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    uint64_t state = Seed;
    std::string line;
    for (int64_t written = 0; written < TextBytes; written += static_cast<int64_t>(line.size())) {
        line.clear();
        const int words = 4 + RandomBelow(state, 12);
        for (int word = 0; word < words; ++word) {
            const int letters = 1 + RandomBelow(state, 9);
            for (int i = 0; i < letters; ++i)
                line += static_cast<char>('a' + RandomBelow(state, 26));
            line += word + 1 < words ? ' ' : '\n';
        }
        out << line;
    }
    return static_cast<bool>(out);
}

// A gradient with soft shapes and grain on every pixel, so it compresses as a photo does.
bool MakePhoto(const std::string& path)
{
    uint64_t state = Seed;
    const auto colour = [&state] {
        return QColor(RandomBelow(state, 256), RandomBelow(state, 256), RandomBelow(state, 256));
    };
    QImage photo(PhotoWidth, PhotoHeight, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient sky(0, 0, PhotoWidth, PhotoHeight);
    sky.setColorAt(0, colour());
    sky.setColorAt(1, colour());
    painter.fillRect(photo.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int shape = 0; shape < 60; ++shape) {
        QColor fill = colour();
        fill.setAlpha(80 + RandomBelow(state, 176));
        painter.setBrush(fill);
        const QRect area(RandomBelow(state, PhotoWidth), RandomBelow(state, PhotoHeight),
                         100 + RandomBelow(state, 1800), 100 + RandomBelow(state, 1400));
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
            const auto grain = [noise](int channel, int shift) {
                return std::clamp(channel + static_cast<int>((noise >> shift) & 0x1F) - 16, 0, 255);
            };
            line[x] = qRgb(grain(qRed(line[x]), 0), grain(qGreen(line[x]), 8), grain(qBlue(line[x]), 16));
        }
    }
    QImageWriter writer(QString::fromStdString(path), "jpeg");
    writer.setQuality(90);
    return writer.write(photo);
}

void ReadOnce(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string buffer(1 << 20, '\0');
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
    }
}

// The window's side of the viewer: it shows the panel.
class TBenchWindow : public TViewerWindowStandIn
{
public:
    explicit TBenchWindow(MyTPanel& panel) : Panel(panel) {}
    void ShowViewer() override { Panel.show(); }

private:
    MyTPanel& Panel;
};

// The viewer panel with its memo in a shown window, and the viewer on it.
struct TBenchViewer
{
    TBenchViewer()
    {
        Window.resize(PanelWidth, PanelHeight);
        Panel->SetBorder(0);
        Panel->SetBounds(0, 0, PanelWidth, PanelHeight);
        Memo->setGeometry(0, 0, PanelWidth, PanelHeight);
        Window.show();
        TSeam<TViewerWindow>::Install(&Seam);
    }
    ~TBenchViewer() { TSeam<TViewerWindow>::Install(nullptr); }

    // Views the file and paints the window as the screen would show it.
    void ViewAndPaint(const std::string& windowsPath)
    {
        Viewer.Do(windowsPath);
        const QPixmap painted = Window.grab();
        benchmark::DoNotOptimize(painted.cacheKey());
    }

    QWidget Window;
    MyTPanel* Panel = new MyTPanel(&Window);
    QPlainTextEdit* Memo = new QPlainTextEdit(Panel);
    TBenchWindow Seam{*Panel};
    TFileViewerSettings Settings;
    TFileViewer Viewer{Panel, Memo, Settings};
};

std::unique_ptr<TBenchViewer> Bench;

void ViewText(benchmark::State& state)
{
    for (auto _ : state)
        Bench->ViewAndPaint("B:\\text.txt");
}

void HeadText(benchmark::State& state)
{
    for (auto _ : state) {
        std::string output;
        if (!RunProgram({"head", "-c", "100000", HostPath("text.txt")}, &output))
            state.SkipWithError("head failed");
    }
}

void ViewPhoto(benchmark::State& state)
{
    for (auto _ : state)
        Bench->ViewAndPaint("B:\\photo.jpg");
    if (Bench->Viewer.PictureViewer.RenderedWidth != PanelWidth)
        state.SkipWithError("the photo was not fitted into the panel");
}

void VipsPhoto(benchmark::State& state)
{
    for (auto _ : state)
        if (!RunProgram({"vipsthumbnail", HostPath("photo.jpg"), "-s", "800x600", "-o", HostPath("vips.png")}))
            state.SkipWithError("vipsthumbnail failed");
}

void ConvertPhoto(benchmark::State& state)
{
    for (auto _ : state)
        if (!RunProgram({"convert-im6.q16", "-define", "jpeg:size=1600x1200", HostPath("photo.jpg"), "-thumbnail",
                         "800x600", HostPath("convert.png")}))
            state.SkipWithError("convert failed");
}

BENCHMARK(ViewText)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(HeadText)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(ViewPhoto)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(VipsPhoto)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ConvertPhoto)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Scratch = MakeScratchFolder("viewer-bench");
    if (Scratch.empty() || !MakeText(HostPath("text.txt")) || !MakePhoto(HostPath("photo.jpg"))) {
        std::fprintf(stderr, "cannot make the data in %s\n", Scratch.c_str());
        return 1;
    }
    ReadOnce(HostPath("text.txt"));
    ReadOnce(HostPath("photo.jpg"));
    host::MapDrive('B', Scratch);
    PictureFileExtensions.Assign({".jpg"});
    TextFileExtensions.Assign({".txt"});
    Bench = std::make_unique<TBenchViewer>();
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTimeRatio("ViewText", "HeadText");
    reporter.PrintTimeRatio("ViewPhoto", "VipsPhoto");
    reporter.PrintTimeRatio("ViewPhoto", "ConvertPhoto");
    Bench.reset();
    std::error_code ignored;
    std::filesystem::remove_all(Scratch, ignored);
    benchmark::Shutdown();
    return 0;
}
