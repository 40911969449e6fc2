// A column of 60 visible rows over 100,000 items, painted by the column's own painter with
// the default skin and type badges: one full repaint of the list's back buffer, the same
// shown on the window (the scroll bar included), the same with the mouse over a row, and
// a walk from the top to the bottom by pages, each page shown. A plain QListView of the
// same rows, font and row height is repainted on the window in the same run; the ratios
// printed at the end are its time over the column's: 1 or more means the column repaints
// at least as fast. A full repaint should stay under 2 ms.
//
// Without QT_QPA_PLATFORM the program runs itself on the offscreen platform and, when a
// display is set, on X11 (xcb), where each row's look once cost a round trip to the
// server.

#include "BenchSupport.h"

#include "columns/Column.h"
#include "columns/MainWindowServices.h"
#include "panels/MyPanelOptions.h"

#include "core/files/PathNames.h"
#include "core/settings/ProgramOptions.h"

#include <QApplication>
#include <QCursor>
#include <QListView>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int ItemCount = 100000;
constexpr int VisibleRows = 60;
constexpr int ListWidth = 320;

// Names of five types, as a folder of photos, documents and programs holds them.
std::string NameOf(int i)
{
    static const char* const extensions[] = {".jpg", ".txt", ".exe", ".lnk", ".bin"};
    return "Photo " + std::to_string(100000 + i) + extensions[i % 5];
}

int32_t TypeOf(int i)
{
    static const int32_t types[] = {ftDocument, ftDocument, ftProgram, ftLink, ftGeneric};
    return types[i % 5];
}

// The main window as far as a column needs it: one shown column in the window.
class TBenchMainWindow : public TMainWindowServices
{
public:
    explicit TBenchMainWindow(QWidget& window) : Window(window) { TSeam<TMainWindowServices>::Install(this); }
    ~TBenchMainWindow() override { TSeam<TMainWindowServices>::Install(nullptr); }
    TBenchMainWindow(const TBenchMainWindow&) = delete;
    TBenchMainWindow& operator=(const TBenchMainWindow&) = delete;

    QWidget* GetColumnsPanel() override { return &Window; }
    int32_t GetVisibleColumnCount() override { return 1; }
    TColumn* GetColumn(int32_t) override { return nullptr; }
    void Reset(bool) override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    void EndBusyAndCheck() override {}

private:
    QWidget& Window;
};

// Rows of the column's height.
class TRowHeightDelegate : public QStyledItemDelegate
{
public:
    TRowHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), Height(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), Height);
    }

private:
    int Height;
};

// The column at the window's left, focused in the middle of its items, without the
// keyboard focus (the active look would make each paint the column's activation).
class TBenchColumn
{
public:
    explicit TBenchColumn(QWidget& window) : Services(window), Column(0)
    {
        TPanelItems items;
        items.reserve(ItemCount);
        for (int i = 0; i < ItemCount; ++i) {
            auto item = std::make_unique<TFileListData>();
            item->Title = "B:\\Photos\\" + NameOf(i);
            item->Type = TypeOf(i);
            item->Size = 1000 + i;
            items.push_back(std::move(item));
        }
        List().AppendItems(std::move(items));
        LayOut();
        List().SetFocusIndex(ItemCount / 2);
        List().clearFocus();
    }

    MyTPanel& List() { return *Column.FileList; }

    // What a user sees after a change: the back buffers painted and shown on the window.
    void ShowNow()
    {
        List().Update();
        List().ScrollBar->Update();
        List().repaint();
        List().ScrollBar->repaint();
    }

private:
    // The smallest height that shows the rows.
    void LayOut()
    {
        for (int height = VisibleRows * 10;; ++height) {
            Column.Reset(0, 0, ListWidth, height);
            if (List().GetRowsInView() >= VisibleRows)
                return;
        }
    }

    TBenchMainWindow Services;
    TColumn Column;
};

// A plain list view of the same names, font and row height, beside the column.
class TBenchListView
{
public:
    TBenchListView(QWidget& window, MyTPanel& like) : View(new QListView(&window))
    {
        QStringList names;
        names.reserve(ItemCount);
        for (int i = 0; i < ItemCount; ++i)
            names.append(QString::fromStdString(NameOf(i)));
        Model.setStringList(names);
        View->setModel(&Model);
        View->setUniformItemSizes(true);
        View->setFont(like.GetTextFont());
        View->setItemDelegate(new TRowHeightDelegate(like.GetItemHeight(), View));
        View->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        View->setGeometry(ListWidth + 20, like.y(), ListWidth, like.height());
        View->show();
        View->setCurrentIndex(Model.index(ItemCount / 2));
        View->scrollTo(Model.index(ItemCount / 2), QAbstractItemView::PositionAtCenter);
    }

    void ShowNow()
    {
        View->viewport()->repaint();
        View->verticalScrollBar()->repaint();
    }

private:
    QStringListModel Model;
    QListView* View;
};

TBenchColumn* Column = nullptr;
TBenchListView* ListView = nullptr;

void ColumnBackBuffer(benchmark::State& state)
{
    for (auto _ : state)
        Column->List().Repaint();
}

void ColumnRepaint(benchmark::State& state)
{
    Column->ShowNow();
    for (auto _ : state) {
        Column->List().Invalidate();
        Column->ShowNow();
    }
}

// The same with the mouse over a row of the column, which then shows that row hot.
void ColumnRepaintUnderMouse(benchmark::State& state)
{
    MyTPanel& list = Column->List();
    const QPoint away = QCursor::pos();
    QCursor::setPos(list.mapToGlobal(list.GetItemRect(list.TopIndex + VisibleRows / 2).center()));
    QApplication::processEvents();
    ColumnRepaint(state);
    QCursor::setPos(away);
    QApplication::processEvents();
}

void ListViewRepaint(benchmark::State& state)
{
    for (auto _ : state)
        ListView->ShowNow();
}

void ColumnPageDownTopToBottom(benchmark::State& state)
{
    MyTPanel& list = Column->List();
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
    list.SetFocusIndex(ItemCount / 2);
    state.counters["page"] =
        benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(ColumnBackBuffer)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ColumnRepaint)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ColumnRepaintUnderMouse)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ListViewRepaint)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ColumnPageDownTopToBottom)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int RunBenchmarks(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    ProgramOptions.ShowFileType = true;
    ProgramOptions.ShowExtInType = true;
    QWidget window;
    window.resize(2 * ListWidth + 40, 1400);
    window.show();
    GMyPanelGlobal.RootControl = &window;
    GMyPanelOptions.SizingControl = &window;
    TBenchColumn column(window);
    TBenchListView listView(window, column.List());
    column.List().ResetAll();
    QApplication::processEvents();
    Column = &column;
    ListView = &listView;
    std::printf("platform %s: %d items, %d rows in view, item height %d\n",
                QGuiApplication::platformName().toUtf8().constData(), column.List().GetCount(),
                column.List().GetRowsInView(), column.List().GetItemHeight());
    std::fflush(stdout);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTimeRatio("ColumnRepaint", "ListViewRepaint");
    reporter.PrintTimeRatio("ColumnRepaintUnderMouse", "ListViewRepaint");
    benchmark::Shutdown();
    return 0;
}

// Runs this program again on the platform, its output shown here.
bool RunOnPlatform(const char* platform, int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", platform, 1);
    std::vector<std::string> arguments{"/proc/self/exe"};
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    std::string output;
    const bool ran = RunProgram(arguments, &output);
    std::fputs(output.c_str(), stdout);
    std::fflush(stdout);
    return ran;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return RunBenchmarks(argc, argv);
    bool ran = RunOnPlatform("offscreen", argc, argv);
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        ran = RunOnPlatform("xcb", argc, argv) && ran;
    else
        std::printf("no display: X11 not measured\n");
    return ran ? 0 : 1;
}
