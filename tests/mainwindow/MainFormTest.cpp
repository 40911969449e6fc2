#include "mainwindow/MainForm.h"
#include "mainwindow/Boards.h"

#include "columns/Column.h"
#include "columns/ToolServices.h"
#include "panels/MyTPanel.h"

#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"

#include "host/FileSystem.h"

#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// A main window over a fresh "Options" folder and no "OptionsPath" in the registry.
class MainWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::remove_all(HostOptions());
        SetProgramRegistryText("Quillomber", "", "OptionsPath", "");
        ProgramOptions = TProgramOptions();
    }
    void TearDown() override
    {
        Window.reset();
        SetProgramRegistryText("Quillomber", "", "OptionsPath", "");
    }
    static std::string HostOptions() { return TestRootHostPath() + "/program/Options"; }
    TMainForm& Make()
    {
        Window = std::make_unique<TMainForm>();
        return *Window;
    }
    TMainForm& StartUp()
    {
        Make().Startup();
        return *Window;
    }
    std::unique_ptr<TMainForm> Window;
};

TEST_F(MainWindow, IsBusyWithTwelveColumnsAndNoTimerUntilStartUp)
{
    TMainForm& window = Make();
    EXPECT_EQ(window.BusyCount, 1);
    EXPECT_TRUE(window.IsBusy());
    EXPECT_FALSE(window.StartupDone);
    EXPECT_FALSE(window.MainTimer->isActive());
    EXPECT_EQ(window.MainTimer->interval(), 200);
    EXPECT_EQ(window.VisibleColumnCount, 2);
    EXPECT_EQ(window.ActiveColumnIndex, 0);
    for (int32_t i = 0; i < ColumnCount; ++i) {
        ASSERT_NE(window.Columns[static_cast<size_t>(i)], nullptr);
        EXPECT_EQ(window.Columns[static_cast<size_t>(i)]->Index, i);
    }
    EXPECT_EQ(window.windowTitle().toStdString(), "Quillomber");

    window.FocusColumn(1, false);
    EXPECT_EQ(window.ActiveColumnIndex, 0) << "an unforced focus waits while the window is busy";

    window.Startup();
    EXPECT_EQ(window.BusyCount, 0);
    EXPECT_TRUE(window.StartupDone);
}

TEST_F(MainWindow, StartUpAndCloseWriteBothOptionFilesThatTheNextRunReads)
{
    StartUp();
    ProgramOptions.HintLines = 5;
    bool canClose = false;
    Window->FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    EXPECT_TRUE(std::filesystem::exists(HostOptions() + "/Quillomber.ini"));
    EXPECT_TRUE(std::filesystem::exists(HostOptions() + "/Quillomber.qmo"));
    for (const char* folder : {"Plugins", "Options", "Options/Containers", "Options/Locations", "Options/Send",
                               "Options/SendDrag", "Options/Tools", "Options/Skins", "Options/BackPictures"})
        EXPECT_TRUE(std::filesystem::is_directory(TestRootHostPath() + "/program/" + folder)) << folder;

    Window.reset();
    ProgramOptions = TProgramOptions();
    StartUp();
    EXPECT_EQ(ProgramOptions.HintLines, 5);
}

TEST_F(MainWindow, OptionsPathIsTakenOnlyWhenItNamesAFolder)
{
    TTempDrive drive;
    std::filesystem::create_directories(drive.HostPath("elsewhere"));
    drive.WriteFile("plain", "x");
    struct TCase
    {
        std::string Registry;
        std::string ExpectedFolder;
    };
    const std::vector<TCase> cases{
        {drive.Path("elsewhere"), drive.Path("elsewhere\\")},
        {drive.Path("elsewhere\\"), drive.Path("elsewhere\\")},
        {drive.Path("plain"), GetOptionsPath()},
        {drive.Path("missing"), GetOptionsPath()},
        {"", GetOptionsPath()},
    };
    TMainForm& window = StartUp();
    for (const TCase& c : cases) {
        SetProgramRegistryText("Quillomber", "", "OptionsPath", c.Registry);
        window.SetOptionsFileNames();
        EXPECT_EQ(window.OptionsSTL->FileName, c.ExpectedFolder + "Quillomber.ini") << c.Registry;
        EXPECT_EQ(window.OptionsFS.FileName, c.ExpectedFolder + "Quillomber.qmo") << c.Registry;
    }
}

TEST_F(MainWindow, AnOptionsPathSetDuringTheRunReceivesTheSettingsInMemoryAtClose)
{
    TTempDrive drive;
    std::filesystem::create_directories(drive.HostPath("moved"));
    StartUp();
    ProgramOptions.HintLines = 7;
    SetProgramRegistryText("Quillomber", "", "OptionsPath", drive.Path("moved"));
    bool canClose = false;
    Window->FormCloseQuery(canClose);
    std::ifstream ini(drive.HostPath("moved/Quillomber.ini"));
    const std::string content((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
    EXPECT_NE(content.find("HintLines=7"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(drive.HostPath("moved/Quillomber.qmo")));
}

TEST_F(MainWindow, AForcedCheckReloadsAChangedFolderIntoEveryColumnShowingIt)
{
    TTempDrive drive;
    drive.WriteFile("a.txt", "a");
    TMainForm& window = StartUp();
    for (int32_t i = 0; i < 2; ++i)
        window.Columns[static_cast<size_t>(i)]->LoadDirectory(
            {.ContainerIndex = -1, .Title = drive.Path("a.txt"), .Type = 1, .TopOffset = 0, .Key = 0});
    ASSERT_EQ(window.Columns[0]->FileList->GetCount(), 1);

    drive.WriteFile("b.txt", "b");
    window.EndBusyAndCheck();

    for (int32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(window.Columns[static_cast<size_t>(i)]->FileList->GetCount(), 2) << "column " << i;
        EXPECT_EQ(window.Columns[static_cast<size_t>(i)]->ActiveTitle, drive.Path("a.txt"));
    }
    EXPECT_EQ(window.BusyCount, 0);
}

TEST_F(MainWindow, AnUnforcedCheckMarksAChangedFolderWithoutReloadingIt)
{
    TFakeMountTable mounts;
    TTempDrive drive;
    drive.WriteFile("a.txt", "a");
    TMainForm& window = StartUp();
    window.show();
    QApplication::setActiveWindow(&window);
    window.Columns[0]->LoadDirectory(
        {.ContainerIndex = -1, .Title = drive.Path("a.txt"), .Type = 1, .TopOffset = 0, .Key = 0});
    window.FocusColumn(0, true);
    ASSERT_TRUE(window.Columns[0]->FileList->hasFocus());

    drive.WriteFile("b.txt", "b");
    window.CheckDirMonitor(false);
    EXPECT_TRUE(window.Columns[0]->HeaderButton->StrikeOut);
    EXPECT_EQ(window.Columns[0]->FileList->GetCount(), 1) << "only a forced check reloads";

    window.RequestForcedCheck();
    window.CheckDirMonitor(false);
    EXPECT_FALSE(window.Columns[0]->HeaderButton->StrikeOut);
    EXPECT_EQ(window.Columns[0]->FileList->GetCount(), 2) << "a pending forced check turns the next check forced";
}

// A folder whose parent moved away is gone from the column's path as a deleted one is: the
// timed check marks the column, the forced one lists the nearest folder that is left.
TEST_F(MainWindow, AFolderGoneFromItsPathIsNoticedAsADeletedOne)
{
    struct TCase
    {
        const char* Name;
        std::function<void(TTempDrive&)> TakeAway;
        std::string LeftFolder;
    };
    const std::vector<TCase> cases{
        {"parent moved away",
         [](TTempDrive& drive) { std::filesystem::rename(drive.HostPath("p"), drive.HostPath("q")); }, ""},
        {"folder deleted", [](TTempDrive& drive) { std::filesystem::remove_all(drive.HostPath("p/d")); }, "p"},
    };
    TFakeMountTable mounts;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempDrive drive;
        drive.WriteFile("p/d/a.txt", "a");
        TMainForm& window = StartUp();
        window.show();
        QApplication::setActiveWindow(&window);
        TColumn& column = *window.Columns[0];
        column.LoadDirectory(
            {.ContainerIndex = -1, .Title = drive.Path("p/d/a.txt"), .Type = 1, .TopOffset = 0, .Key = 0});
        window.FocusColumn(0, true);
        ASSERT_TRUE(column.FileList->hasFocus());

        c.TakeAway(drive);
        window.CheckDirMonitor(false);
        EXPECT_TRUE(column.HeaderButton->StrikeOut) << "the timed check";
        EXPECT_EQ(column.ActiveTitle, drive.Path("p/d/a.txt"));

        window.CheckDirMonitor(true);
        EXPECT_EQ(GetParentPath(column.ActiveTitle), IncludeEndBackslash(drive.Path(c.LeftFolder)))
            << "the forced check";
        EXPECT_FALSE(column.HeaderButton->StrikeOut);
        Window.reset();
    }
}

// The program's start shows the window first: the columns list their folders once it has
// painted, and an activation that came before counts only then.
TEST_F(MainWindow, TheProgramsStartLoadsTheColumnsAfterTheFirstPaint)
{
    TMainForm& window = Make();
    window.StartupLoadingColumnsWhenShown();
    TColumn& first = *window.Columns[0];
    EXPECT_EQ(0, first.GetItemCount());
    EXPECT_FALSE(window.StartupDone);
    window.ApplicationEventsActivate();
    EXPECT_FALSE(window.MainTimer->isActive()) << "no timer over columns not yet loaded";

    window.show();
    QApplication::setActiveWindow(&window);
    const QDeadlineTimer deadline(10000);
    while (!window.StartupDone && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(window.StartupDone);
    EXPECT_GT(first.GetItemCount(), 0);
    EXPECT_EQ(QGuiApplication::applicationState() == Qt::ApplicationActive, window.MainTimer->isActive());
}

// Closed before its first paint, the window loads its columns first, so the saved
// session is the one the options gave and not empty columns.
TEST_F(MainWindow, ClosingBeforeTheFirstPaintSavesTheLoadedColumns)
{
    TMainForm& window = Make();
    window.StartupLoadingColumnsWhenShown();
    bool canClose = false;
    window.FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    EXPECT_TRUE(window.StartupDone);
    EXPECT_GT(window.Columns[0]->GetItemCount(), 0);
    EXPECT_TRUE(std::filesystem::exists(HostOptions() + "/Quillomber.ini"));
}

// The first activation is once per process; each test runs in a process of its own.
TEST_F(MainWindow, ActivationRequestsAForcedCheckAndStartsTheTimerOnce)
{
    TMainForm& window = StartUp();
    window.ApplicationEventsActivate();
    EXPECT_TRUE(window.MainTimer->isActive());
    EXPECT_TRUE(window.ForceCheckPending);
    EXPECT_EQ(window.windowTitle().toStdString(), "Quillomber - \"Main\"") << "the first tick updates the caption";

    window.MainTimer->stop();
    window.ForceCheckPending = false;
    window.ApplicationEventsActivate();
    EXPECT_FALSE(window.MainTimer->isActive()) << "later activations leave the timer alone";
    EXPECT_TRUE(window.ForceCheckPending);
}

TEST_F(MainWindow, TheBusyCounterNeverGoesBelowZero)
{
    TMainForm& window = StartUp();
    window.EndBusy();
    window.EndBusy();
    EXPECT_EQ(window.BusyCount, 0);
    window.BeginBusy();
    window.BeginBusy();
    window.EndBusy();
    EXPECT_TRUE(window.IsBusy());
}

TEST_F(MainWindow, ColumnFocusClampsTheIndexToTheVisibleColumns)
{
    TMainForm& window = StartUp();
    window.VisibleColumnCount = 3;
    window.Reset(false);
    window.FocusColumn(12, false);
    EXPECT_EQ(window.ActiveColumnIndex, 2);
    window.FocusColumn(-1, false);
    EXPECT_EQ(window.ActiveColumnIndex, 2);
    window.FocusColumn(1, false);
    EXPECT_EQ(window.ActiveColumnIndex, 1);
}

TEST_F(MainWindow, ResetLowersTheActiveColumnAndRefusesAnInvalidColumnCount)
{
    TMainForm& window = StartUp();
    window.ActiveColumnIndex = 9;
    window.Reset(false);
    EXPECT_EQ(window.ActiveColumnIndex, 1);

    window.VisibleColumnCount = 11;
    window.Reset(false);
    EXPECT_EQ(FunStatContext.Description, "Invalid number of columns.");
    EXPECT_TRUE(window.TreePanel->isHidden());
    EXPECT_EQ(window.BusyCount, 0);
}

TEST_F(MainWindow, ColumnsShareTheColumnsAreaByWeight)
{
    TMainForm& window = StartUp();
    window.resize(900, 600);
    window.Columns[0]->WidthAttr = 1;
    window.Columns[1]->WidthAttr = 3;
    window.Reset(false);
    const int32_t inner = window.ColumnsPanel->GetItemsWidth(false);
    EXPECT_EQ(window.Columns[0]->Panel->width(), inner / 4);
    EXPECT_EQ(window.Columns[1]->Panel->x() - window.Columns[0]->Panel->x(), inner / 4);
    EXPECT_EQ(window.Columns[1]->Panel->width(), inner - inner / 4);
    EXPECT_TRUE(window.Columns[2]->Panel->isHidden());
}

// The window is shown only after start-up, so every resize from then on is the user's.
TEST_F(MainWindow, EveryResizeAfterShowingLaysTheWindowOutAgain)
{
    TMainForm& window = StartUp();
    window.show();
    for (const QSize size : {QSize(1000, 700), QSize(640, 480)}) {
        window.resize(size);
        EXPECT_EQ(window.MainPanel->size(), size);
        const TColumn& last = *window.Columns[static_cast<size_t>(window.VisibleColumnCount - 1)];
        EXPECT_EQ(last.Panel->x() + last.Panel->width(), window.ColumnsPanel->width() - window.ColumnsPanel->Border)
            << size.width();
    }
}

// The stored position is the frame's: the title bar stays on the screen, at the first start
// too, and a window comes back where it was closed.
TEST_F(MainWindow, TheStoredPositionPlacesTheWindowsFrame)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const auto frameShown = [this] {
        Window->show();
        return Window->frameGeometry().topLeft();
    };
    StartUp();
    EXPECT_EQ(frameShown(), area.topLeft() + QPoint(5, 5)) << "the first start";
    ASSERT_NE(Window->frameGeometry(), Window->geometry()) << "the platform gives windows a frame";

    std::filesystem::create_directories(HostOptions());
    std::ofstream(HostOptions() + "/Quillomber.ini")
        << "[Main]\r\nXPos=" << area.left() << "\r\nYPos=" << area.top() << "\r\nXSize=500\r\nYSize=300\r\n";
    Window.reset();
    StartUp();
    EXPECT_EQ(frameShown(), area.topLeft());
    EXPECT_EQ(Window->size(), QSize(500, 300));

    Window->move(area.topLeft() + QPoint(40, 50));
    bool canClose = false;
    Window->FormCloseQuery(canClose);
    Window.reset();
    StartUp();
    EXPECT_EQ(frameShown(), area.topLeft() + QPoint(40, 50)) << "closed and opened again";
    EXPECT_EQ(Window->size(), QSize(500, 300));
}

// The list rebuilds its hint for the item under the mouse at every move; the bar shows it
// then, not only when the mouse enters the list.
TEST_F(MainWindow, TheHintBarFollowsTheMouseOverAList)
{
    TTempDrive drive;
    drive.WriteFile("a/one.txt", "1");
    drive.WriteFile("a/two.txt", "2");
    TMainForm& window = StartUp();
    TColumn& column = *window.Columns[0];
    column.LoadDirectory({.ContainerIndex = -1, .Title = drive.Path("a/one.txt"), .Type = 1, .TopOffset = 0, .Key = 0});
    MyTPanel& list = *column.FileList;
    const auto enter = [](QWidget& control) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), control.mapToGlobal(QPointF(1, 1)));
        QCoreApplication::sendEvent(&control, &event);
    };
    const auto moveTo = [&list](QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, list.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&list, &event);
    };
    const auto hintShown = [&window] { return window.HintBarPanel->GetCaption(); };
    struct TCase
    {
        QPoint At;
        std::string Shown;
    };
    const std::vector<TCase> cases{
        {list.GetItemRect(0).center(), "Current file \"" + drive.Path("a/one.txt") + "\""},
        {list.GetItemRect(1).center(), "Current file \"" + drive.Path("a/two.txt") + "\""},
        {QPoint(list.GetItemRect(1).center().x(), list.height() - list.Border - 2), "Column's parent directory"},
        {list.GetItemRect(0).center(), "Current file \"" + drive.Path("a/one.txt") + "\""},
    };
    enter(list);
    for (const TCase& c : cases) {
        moveTo(c.At);
        EXPECT_THAT(hintShown(), testing::StartsWith(c.Shown));
    }

    enter(*window.HintBarPanel);
    EXPECT_THAT(hintShown(), testing::StartsWith("Hint bar."));
    enter(list);
    moveTo(list.GetItemRect(1).center());
    EXPECT_THAT(hintShown(), testing::StartsWith("Current file \"" + drive.Path("a/two.txt") + "\""))
        << "a new visit shows the item under the mouse, not the one of the last visit";
}

TEST_F(MainWindow, TheWindowIsNeverSmallerThan300By200)
{
    TMainForm& window = StartUp();
    window.show();
    window.resize(100, 100);
    EXPECT_EQ(window.width(), 300);
    EXPECT_EQ(window.height(), 200);
}

TEST_F(MainWindow, NoInformationBarShownTakesNoHeight)
{
    TMainForm& window = StartUp();
    ProgramOptions.ShowColumnInfo = ProgramOptions.ShowFileInfo = false;
    ProgramOptions.ShowFileDesc = ProgramOptions.ShowReferenceInfo = false;
    window.Reset(false);
    EXPECT_TRUE(window.InfoBarsPanel->isHidden());
    ProgramOptions.ShowFileInfo = true;
    window.Reset(false);
    EXPECT_FALSE(window.InfoBarsPanel->isHidden());
    EXPECT_EQ(window.InfoBarsPanel->y() + window.InfoBarsPanel->height(), window.HintBarPanel->y());
}

TEST_F(MainWindow, ConvertsPicturesForTheColumnsWhileItLives)
{
    TTempDrive drive{'T'};
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(drive.HostPath("photo.png"))));
    Make();
    TToolServices& tools = TSeam<TToolServices>::Get();
    std::string extension;
    std::string encoder;
    ASSERT_TRUE(tools.GetPictureConverterID("BMP", extension, encoder));
    tools.ConvertPicture(drive.Path("photo.png"), drive.Path("wall.png"), true, extension, encoder, 1, 80, 80, true,
                         true, false, false, 0);
    EXPECT_EQ(QSize(80, 53), QImage(QString::fromStdString(drive.HostPath("wall.bmp"))).size());
    Window.reset();
    EXPECT_FALSE(TSeam<TToolServices>::Get().GetPictureConverterID("BMP", extension, encoder));
}

} // namespace
