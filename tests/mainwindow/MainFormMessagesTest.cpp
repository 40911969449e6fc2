#include "mainwindow/Boards.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/SkinEditorServices.h"

#include "panels/MyPanelOptions.h"

#include "core/errors/Error.h"
#include "core/files/FileInfo.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"

#include "host/Drives.h"
#include "host/File.h"
#include "host/FileSystem.h"

#include "support/FakeSearchServices.h"
#include "support/PictureFixtures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QRgb Red = qRgb(255, 0, 0);
const QRgb White = qRgb(255, 255, 255);
const QRgb Green = qRgb(0, 255, 0);
constexpr TColor FillingBlue = 0xFF0000; // blue in the Windows layout

class TFakeSkinEditor : public TSkinEditorServices
{
public:
    void ReadSkin(TStoredTextList&) override {}
    void WriteSkin(TStoredTextList&) override {}
    int32_t GetBackPictureMinStretchSize() override { return MinStretchSize; }
    int32_t GetStretchBackPictureMaxSkew() override { return MaxSkew; }
    bool AcceptsBackPictureAutochange() override { return AcceptAutochange; }
    void SetOnSkinChanged(std::function<void()>) override {}
    void ShowMenu(MyTPanel&, bool) override {}

    int32_t MinStretchSize = 0;
    int32_t MaxSkew = -1;
    bool AcceptAutochange = true;
};

// The program's folders outlive a test: an earlier one may have made it.
bool MakeFolder(const std::string& path)
{
    return host::CreateDirectory(path) || IsDirectory(path);
}

// Records the keys that reach it, as the focused control of the window.
class TKeyRecorder : public QWidget
{
public:
    using QWidget::QWidget;
    std::vector<int> Keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { Keys.push_back(event->key()); }
};

// A 400 x 300 window whose skin draws a plain picture (no fade) over a blue filling.
class MainFormMessages : public testing::Test
{
protected:
    MainFormMessages()
    {
        TSeam<TSkinEditorServices>::Install(&Editor);
        SkinOptions.UseBackPicture = true;
        SkinOptions.FadeBackPicture = 0;
        SkinOptions.StretchBackPicture = false;
        SkinOptions.FitBeforeTileBackPicture = false;
        SkinOptions.FillingBackPictureColor = FillingBlue;
        Form.resize(400, 300);
    }
    ~MainFormMessages() override
    {
        TSeam<TSkinEditorServices>::Install(nullptr);
        SkinOptions = SavedSkin;
        ProgramOptions = SavedOptions;
        GMyPanelOptions.BackPicture = QImage();
        GMyPanelOptions.Background = QImage();
    }

    // Red on the left half, white on the right half.
    std::string SaveRedWhite(const std::string& name)
    {
        QImage picture = SolidPicture(20, 10, Qt::white);
        QPainter(&picture).fillRect(0, 0, 10, 10, Qt::red);
        return SavePicture(Drive, name, picture);
    }

    QImage RenderWindow()
    {
        QApplication::processEvents();
        QImage shot(Form.size(), QImage::Format_RGB32);
        Form.render(&shot);
        return shot;
    }

    const TSkinOptions SavedSkin = SkinOptions;
    const TProgramOptions SavedOptions = ProgramOptions;
    TTempDrive Drive{'T'};
    TFakeSkinEditor Editor;
    TMainForm Form;
};

TEST_F(MainFormMessages, TheBackPictureIsStretchedTiledFadedOrRecoloured)
{
    const std::string file = SaveRedWhite("split.png");
    struct Row
    {
        const char* Case;
        bool Stretch;
        int32_t MaxSkew, MinStretchSize, Fade, RedGreen;
        // At (15, 5): red when the picture is stretched, white when it is tiled as it is.
        QRgb At15;
        QRgb At5;
        QRgb At395;
    };
    const Row rows[] = {
        {"tiled as it is", false, -1, 0, 0, 0, White, Red, White},
        {"stretched: any skew", true, -1, 0, 0, 0, Red, Red, White},
        {"stretched: skew 200 covers 2 against 1.33", true, 200, 0, 0, 0, Red, Red, White},
        {"tiled: skew 100 needs the window's proportions", true, 100, 0, 0, 0, White, Red, White},
        {"tiled: smaller than the minimum stretch size", true, -1, 50, 0, 0, White, Red, White},
        {"faded half toward the filling", false, -1, 0, 50, 0, qRgb(128, 128, 255), qRgb(128, 0, 127),
         qRgb(128, 128, 255)},
        {"recoloured: red turns to green", false, -1, 0, 0, 90, qRgb(0, 255, 255), Green, qRgb(0, 255, 255)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        SkinOptions.StretchBackPicture = row.Stretch;
        SkinOptions.FadeBackPicture = row.Fade;
        SkinOptions.RotateRGBackPicture = row.RedGreen;
        Editor.MaxSkew = row.MaxSkew;
        Editor.MinStretchSize = row.MinStretchSize;
        Form.SetupBackPicture(file);
        const QImage& picture = GMyPanelOptions.BackPicture;
        ASSERT_EQ(QSize(400, 300), picture.size());
        EXPECT_TRUE(IsNearColor(picture.pixel(15, 5), QColor(row.At15)));
        EXPECT_TRUE(IsNearColor(picture.pixel(5, 295), QColor(row.At5)));
        EXPECT_TRUE(IsNearColor(picture.pixel(395, 295), QColor(row.At395)));
    }
    EXPECT_EQ(file, SkinOptions.BackPictureFileTitle);
}

TEST_F(MainFormMessages, WithoutAPictureThePanelsKeepTheirColours)
{
    const std::string file = SaveRedWhite("split.png");
    Form.SetupBackPicture(file);
    ASSERT_FALSE(GMyPanelOptions.BackPicture.isNull());

    SkinOptions.UseBackPicture = false;
    Form.SetupBackPicture("");
    EXPECT_TRUE(GMyPanelOptions.BackPicture.isNull());

    SkinOptions.UseBackPicture = true;
    Form.SetupBackPicture(Drive.Path("missing.png"));
    EXPECT_TRUE(GMyPanelOptions.BackPicture.isNull());
    EXPECT_EQ(Drive.Path("missing.png"), SkinOptions.BackPictureFileTitle);

    Drive.WriteFile("broken.png", "no picture");
    Form.SetupBackPicture(Drive.Path("broken.png"));
    EXPECT_TRUE(GMyPanelOptions.BackPicture.isNull());
}

TEST_F(MainFormMessages, ATitleWithoutFolderLiesInTheBackPicturesFolder)
{
    ASSERT_TRUE(MakeFolder(GetOptionsPath()));
    ASSERT_TRUE(MakeFolder(GetBackPicturesPath()));
    const std::string file = GetBackPicturesPath() + "plain.png";
    const std::optional<std::string> hostFile = host::WindowsToHost(file);
    ASSERT_TRUE(hostFile);
    ASSERT_TRUE(SolidPicture(8, 8, Qt::red).save(QString::fromStdString(*hostFile)));
    Form.SetupBackPicture("plain.png");
    EXPECT_EQ(file, SkinOptions.BackPictureFileTitle);
    ASSERT_FALSE(GMyPanelOptions.BackPicture.isNull());
    EXPECT_EQ(Red, GMyPanelOptions.BackPicture.pixel(390, 290));
}

TEST_F(MainFormMessages, ANewPictureShowsThroughAnOpaqueWindowAtOnce)
{
    SkinOptions.UseBackPicture = false;
    SkinOptions.WindowBackTranslucency = 0;
    Form.show();
    Form.Reset(false);
    // Inside the first column's list, below its header.
    const QPoint inList = Form.Columns[0]->FileList->mapTo(&Form, QPoint(5, 60));
    EXPECT_NE(Red, RenderWindow().pixelColor(inList).rgb());

    Form.ChangeBackPicture(SaveRedWhite("split.png"));
    EXPECT_TRUE(SkinOptions.UseBackPicture);
    EXPECT_EQ(100, SkinOptions.WindowBackTranslucency);
    const QImage shot = RenderWindow();
    const QRgb expected = GMyPanelOptions.BackPicture.pixel(inList);
    EXPECT_EQ(expected, shot.pixel(inList));
    EXPECT_TRUE(expected == Red || expected == White);
    EXPECT_EQ(GMyPanelOptions.BackPicture.pixel(399, 299), shot.pixel(399, 299));
}

TEST_F(MainFormMessages, TheWallpaperBroadcastBringsTheAnnouncedPicture)
{
    const std::string current = SaveRedWhite("current.png");
    const std::string announced = SaveRedWhite("announced.png");
    std::string upperCurrent = current;
    std::transform(upperCurrent.begin(), upperCurrent.end(), upperCurrent.begin(), ::toupper);
    struct Row
    {
        const char* Case;
        bool Accept;
        std::string Registry;
        bool Changes;
    };
    const Row rows[] = {
        {"another picture", true, announced, true},
        {"the same picture in other letter case", true, upperCurrent, false},
        {"autochange not accepted", false, announced, false},
        {"nothing announced", true, "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        SkinOptions.UseBackPicture = false;
        SkinOptions.BackPictureFileTitle = current;
        SkinOptions.WindowBackTranslucency = 0;
        GMyPanelOptions.BackPicture = QImage();
        Editor.AcceptAutochange = row.Accept;
        SetProgramRegistryText("Brastelwick", "", "BroadcastWallpaperChange", row.Registry);
        Form.WallpaperMessageReceived();
        EXPECT_EQ(row.Changes ? announced : current, SkinOptions.BackPictureFileTitle);
        EXPECT_EQ(row.Changes, SkinOptions.UseBackPicture);
        EXPECT_EQ(row.Changes ? 100 : 0, SkinOptions.WindowBackTranslucency);
        EXPECT_EQ(row.Changes, !GMyPanelOptions.BackPicture.isNull());
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
    }
}

// ---- Window keys ----

// What the window keys change.
struct TLayoutState
{
    bool HintBar, FileInfo, ColumnInfo, BoardsBar, PlayList, Tree;
    bool operator==(const TLayoutState&) const = default;
};

TLayoutState GetLayoutState(const TMainForm& form)
{
    const TBoardData& board = Boards->GetActiveBoard();
    EXPECT_EQ(board.ShowPlayList, !form.PlayListPanel->isHidden());
    EXPECT_EQ(board.ShowTree, !form.TreePanel->isHidden());
    return {ProgramOptions.ShowHintBar,   ProgramOptions.ShowFileInfo, ProgramOptions.ShowColumnInfo,
            ProgramOptions.ShowBoardsBar, board.ShowPlayList,          board.ShowTree};
}

class MainFormKeys : public MainFormMessages
{
protected:
    MainFormKeys()
    {
        Form.show();
        Form.Reset(false);
    }

    // Sends the key to the control; true when the window took it first.
    bool Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Control->Keys.clear();
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(Control, &event);
        return Control->Keys.empty();
    }

    TKeyRecorder* Control = new TKeyRecorder(Form.MainPanel);
};

TEST_F(MainFormKeys, WindowKeysComeBeforeTheFocusedControl)
{
    struct Row
    {
        const char* Case;
        int Key;
        Qt::KeyboardModifiers Modifiers;
        bool Taken;
        TLayoutState Flipped;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Row rows[] = {
        {"F8: hint bar", Qt::Key_F8, none, true, {true, false, false, false, false, false}},
        {"Ctrl+F8: file info bar", Qt::Key_F8, Qt::ControlModifier, true, {false, true, false, false, false, false}},
        {"Shift+F8: column info bar", Qt::Key_F8, Qt::ShiftModifier, true, {false, false, true, false, false, false}},
        {"Alt+F8: boards bar", Qt::Key_F8, Qt::AltModifier, true, {false, false, false, true, false, false}},
        {"Ctrl+Shift+F8 is the control's", Qt::Key_F8, Qt::ControlModifier | Qt::ShiftModifier, false, {}},
        {"F7: media play-list", Qt::Key_F7, none, true, {false, false, false, false, true, false}},
        {"Ctrl+F9: tree navigator, any modifiers",
         Qt::Key_F9,
         Qt::ControlModifier,
         true,
         {false, false, false, false, false, true}},
        {"Shift alone is swallowed", Qt::Key_Shift, Qt::ShiftModifier, true, {}},
        {"Ctrl alone is swallowed", Qt::Key_Control, Qt::ControlModifier, true, {}},
        {"F1 without Alt is the control's", Qt::Key_F1, none, false, {}},
        {"a letter is the control's", Qt::Key_A, none, false, {}},
        {"an unmapped key is the control's", Qt::Key_MediaPlay, none, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        const TLayoutState before = GetLayoutState(Form);
        EXPECT_EQ(row.Taken, Press(row.Key, row.Modifiers));
        const TLayoutState after = GetLayoutState(Form);
        const TLayoutState expected{before.HintBar != row.Flipped.HintBar,
                                    before.FileInfo != row.Flipped.FileInfo,
                                    before.ColumnInfo != row.Flipped.ColumnInfo,
                                    before.BoardsBar != row.Flipped.BoardsBar,
                                    before.PlayList != row.Flipped.PlayList,
                                    before.Tree != row.Flipped.Tree};
        EXPECT_TRUE(expected == after);
    }
}

TEST_F(MainFormKeys, SpaceHidesTheWindowAndAnyKeyBringsItBack)
{
    EXPECT_TRUE(Press(Qt::Key_Space, Qt::ControlModifier));
    EXPECT_TRUE(Form.isMinimized());
    EXPECT_FALSE(Press(Qt::Key_A));
    EXPECT_FALSE(Form.isMinimized());
}

TEST_F(MainFormKeys, AltF1SaysThatHelpIsNotAvailable)
{
    TModalScript boxes;
    boxes.Expect("Message", IDOK);
    EXPECT_TRUE(Press(Qt::Key_F1, Qt::AltModifier));
    ASSERT_EQ(1u, boxes.Seen().size());
    EXPECT_EQ("Help is not available.", boxes.Seen()[0].Text);
}

TEST_F(MainFormKeys, AltF4ClosesTheWindowAndSavesTheOptions)
{
    Form.Startup();
    EXPECT_FALSE(Press(Qt::Key_F4, Qt::ControlModifier));
    EXPECT_TRUE(Form.isVisible());
    EXPECT_TRUE(Press(Qt::Key_F4, Qt::AltModifier));
    EXPECT_FALSE(Form.isVisible());
    EXPECT_TRUE(host::PathExists(GetOptionsPath() + "Quillomber.qmo"));
}

} // namespace

TEST_F(MainFormKeys, HSearchesTheNavigationHistory)
{
    TFakeSearchServices search;
    EXPECT_FALSE(Press(Qt::Key_H, Qt::ControlModifier));
    EXPECT_TRUE(search.Calls.empty());
    EXPECT_TRUE(Press(Qt::Key_H));
    ASSERT_EQ(1u, search.Calls.size());
    EXPECT_EQ("", search.Calls[0].File);
    EXPECT_TRUE(search.Calls[0].History);
}
