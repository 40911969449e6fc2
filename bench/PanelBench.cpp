// A column-sized list panel of 60 visible rows over 100,000 items: one full repaint (back
// buffers of the list and its scroll bar, and their copy to the window's surface), the two
// halves of it on their own, and a walk from the top to the bottom by pages, each page
// shown. A full repaint should stay under 2 ms.

#include "BenchSupport.h"

#include "columns/ButtonFace.h"
#include "columns/MyPanelOptions.h"
#include "columns/MyTPanel.h"

#include "core/ProgramOptions.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr int ItemCount = 100000;
constexpr int VisibleRows = 60;

// Items as a column draws them: a back fill, a type badge, the title, a grid line, and
// the focused item on a button face.
class TBenchColumn
{
public:
    explicit TBenchColumn(QWidget& window) : List(new MyTPanel(&window))
    {
        List->FaceColorSet = 1;
        List->SetKind(mpkList);
        List->OnDrawItem = [this](QPainter& canvas, int index) { DrawItem(canvas, index); };
        const int lineHeight = QFontMetrics(ItemsFont).height() + ProgramOptions.ItemsExtraHeight + 1;
        List->SetItemHeight(lineHeight);
        List->SetBounds(0, 0, 320, 2 * List->Border + VisibleRows * lineHeight);
        for (int i = 0; i < ItemCount; ++i)
            List->AddTextItem("Photo " + std::to_string(100000 + i) + ".jpg");
        List->ResetItems();
    }

    void DrawItem(QPainter& canvas, int index)
    {
        const TMyPanelOptions& o = GMyPanelOptions;
        const QRect area = List->GetItemRect(index);
        canvas.fillRect(area, QColor::fromRgb(0xFFFFFF));
        if (index == List->FocusIndex)
            PaintButtonFX(canvas, area.x(), area.y(), area.width() - 1, area.height() - 1, *o.ButtonBriskMarginColor,
                          *o.ButtonMarginColor, *o.ButtonBackColor, *o.ButtonTintColor, 0, 0, bsRectangle,
                          *o.NonOvalButtonsStyle, false, false);
        canvas.fillRect(area.x() + 2, area.y() + 2, 24, area.height() - 4, QColor::fromRgb(0xBEBEBE));
        canvas.setFont(ItemsFont);
        canvas.setPen(Qt::black);
        const auto* item = static_cast<const TTextItem*>(List->GetItem(index));
        canvas.drawText(area.adjusted(30, 0, 0, 0), Qt::AlignVCenter, QString::fromStdString(item->Text));
        canvas.fillRect(area.x(), area.bottom(), area.width(), 1, QColor::fromRgb(0xBEBEBE));
    }

    // What a user sees after a change: both back buffers painted and copied to the window.
    void ShowNow()
    {
        List->Update();
        List->ScrollBar->Update();
        List->repaint();
        List->ScrollBar->repaint();
    }

    QFont ItemsFont{QString::fromStdString(ProgramOptions.ItemsFontName), ProgramOptions.ItemsFontSize};
    MyTPanel* List;
};

QWidget* Window = nullptr;
TBenchColumn* Column = nullptr;

void FullRepaint(benchmark::State& state)
{
    Column->List->SetFocusIndex(ItemCount / 2);
    Column->ShowNow();
    for (auto _ : state) {
        Column->List->Invalidate();
        Column->ShowNow();
    }
}

void BackBuffersOnly(benchmark::State& state)
{
    for (auto _ : state) {
        Column->List->Repaint();
        Column->List->ScrollBar->Update();
    }
}

void ScreenCopyOnly(benchmark::State& state)
{
    for (auto _ : state) {
        Column->List->repaint();
        Column->List->ScrollBar->repaint();
    }
}

void PageDownTopToBottom(benchmark::State& state)
{
    MyTPanel& list = *Column->List;
    int64_t pages = 0;
    for (auto _ : state) {
        list.SetFocusIndex(0);
        Column->ShowNow();
        while (list.TopIndex + list.GetPageCount() < ItemCount) {
            list.PageDown();
            Column->ShowNow();
            ++pages;
        }
    }
    state.counters["page"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate |
                                                                            benchmark::Counter::kInvert);
}

BENCHMARK(FullRepaint)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BackBuffersOnly)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(ScreenCopyOnly)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(PageDownTopToBottom)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    QWidget window;
    window.resize(400, 1400);
    window.show();
    GMyPanelGlobal.RootControl = &window;
    GMyPanelOptions.SizingControl = &window;
    TBenchColumn column(window);
    column.List->ResetAll();
    QApplication::processEvents();
    Window = &window;
    Column = &column;
    std::printf("%d items, %d rows in view, item height %d\n", column.List->GetCount(), column.List->GetRowsInView(),
                column.List->GetItemHeight());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
