#include "BoardTestWindow.h"

#include "columns/MyTPanel.h"

#include "core/PathNames.h"

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

// As the display delivers a key: the press to the control that has the focus then, the
// release to the one that has it a moment later.
void TypeKey(int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
    Pause(50);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(QApplication::focusWidget(), &release);
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
    ASSERT_EQ(1u, launcher.Starts.size()) << "a Return in the thumbnail column runs its focused file once";
    EXPECT_EQ(std::vector<std::string>{drive.HostPath("d/pics/a.jpg")}, launcher.Starts[0].Arguments);
}

} // namespace
