#include "BoardTestWindow.h"

#include "panels/MyTPanel.h"

#include "core/files/PathNames.h"

#include "support/RecordingLauncher.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

namespace {

// Runs the event loop (timers, posted paints) for a while, as between a typist's keys.
void Pause(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

void SendKey(QWidget* control, QEvent::Type type, int key, const QString& text)
{
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(control, &event);
}

// As the display delivers a key: the press to the control that has the focus then, the
// release to the one that has it a moment later.
void TypeKey(int key, const QString& text = {})
{
    SendKey(QApplication::focusWidget(), QEvent::KeyPress, key, text);
    Pause(50);
    SendKey(QApplication::focusWidget(), QEvent::KeyRelease, key, text);
}

std::string StartedFile(const TRecordingLauncher& launcher)
{
    return launcher.Starts.empty() || launcher.Starts.back().Arguments.empty()
               ? std::string()
               : launcher.Starts.back().Arguments.front();
}

// The Pictures board's first column shows folder "d", whose first item is the folder "pics";
// the second column is the board's thumbnail column.
TEST(QuickKeys, EachKeyActsOnceInTheColumnThatHadTheFocus)
{
    TTempDrive drive;
    drive.WriteFile("d/pics/a.jpg", "a");
    drive.WriteFile("d/pics/b.jpg", "b");
    drive.WriteFile("d/z.txt", "z");
    TRecordingLauncher launcher;
    TBoardTestWindow window;
    TMainForm& form = window.Open();
    form.show();
    QApplication::setActiveWindow(&form);
    form.ApplicationEventsActivate();
    const int32_t pictures = Boards->FindBoardByShortcut('0');
    ASSERT_GE(pictures, 0);
    ASSERT_TRUE(BoardAt(pictures).ColumnStates[1].ThumbAttr);
    BoardAt(pictures).ColumnStates[0].ActiveTitle = drive.Path("d/z.txt");
    form.FocusColumn(0, true);
    Pause(400);

    for (const int key : {Qt::Key_0, Qt::Key_Left, Qt::Key_Left, Qt::Key_Home, Qt::Key_Return}) {
        TypeKey(key, key == Qt::Key_0 ? "0" : key == Qt::Key_Return ? "\r" : "");
        Pause(400);
    }
    EXPECT_EQ(pictures, Boards->ActiveBoard);
    EXPECT_EQ(drive.Path("d/pics"), ColumnAt(form, 0).ActiveTitle);
    EXPECT_EQ(IncludeEndBackslash(drive.Path("d/pics")), GetParentPath(ColumnAt(form, 1).ActiveTitle))
        << "the folder opens in the thumbnail column";
    EXPECT_EQ(ColumnAt(form, 1).FileList, QApplication::focusWidget());
    EXPECT_TRUE(launcher.Starts.empty()) << "one Return, one action";

    TypeKey(Qt::Key_Return, "\r");
    EXPECT_EQ(1u, launcher.Starts.size()) << "a Return in the thumbnail column runs its focused file once";
    EXPECT_EQ(drive.HostPath("d/pics/a.jpg"), StartedFile(launcher));
}

// The list records its focus when it paints the focused item with the focus; a key that
// comes before such a paint still acts on the item the list focuses.
TEST(QuickKeys, AKeyActsOnTheItemFocusedBeforeItWasPainted)
{
    struct TCase
    {
        int Move;
        std::string FocusedFirst;
        std::string Started;
        bool OpensPics;
    };
    TTempDrive drive;
    drive.WriteFile("d/pics/a.jpg", "a");
    drive.WriteFile("d/z.txt", "z");
    const std::vector<TCase> cases{
        {Qt::Key_Home, "d/z.txt", "", true},
        {Qt::Key_End, "d/pics", drive.HostPath("d/z.txt"), false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.FocusedFirst);
        TRecordingLauncher launcher;
        TBoardTestWindow window;
        TMainForm& form = window.Open();
        TColumn& column = ColumnAt(form, 0);
        column.LoadDirectory({.ContainerIndex = -1, .Title = drive.Path(c.FocusedFirst)});
        ASSERT_FALSE(column.FileList->hasFocus()) << "the window is not shown, so nothing paints with the focus";
        for (const int key : {c.Move, static_cast<int>(Qt::Key_Return)}) {
            const QString text = key == Qt::Key_Return ? "\r" : "";
            SendKey(column.FileList, QEvent::KeyPress, key, text);
            SendKey(column.FileList, QEvent::KeyRelease, key, text);
        }
        EXPECT_EQ(c.Started, StartedFile(launcher));
        const auto listsPics = [&](int32_t index) {
            return GetParentPath(ColumnAt(form, index).ActiveTitle) == IncludeEndBackslash(drive.Path("d/pics"));
        };
        EXPECT_EQ(c.OpensPics, listsPics(0) || listsPics(1));
    }
}

} // namespace
