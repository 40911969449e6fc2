#include "MouseTestSupport.h"
#include "panels/PanelTestSupport.h"

#include "columns/BoardsServices.h"
#include "columns/MainWindowContainers.h"

#include "core/errors/Error.h"

#include <stdexcept>

namespace {

constexpr TShiftState NoShift = 0;
constexpr TShiftState Shift = ShiftOf(ssShift);
constexpr TShiftState Ctrl = ShiftOf(ssCtrl);
constexpr TShiftState Alt = ShiftOf(ssAlt);
constexpr TShiftState Double = ShiftOf(ssDouble);
constexpr TShiftState CtrlShift = Ctrl | Shift;
constexpr TShiftState CtrlAlt = Ctrl | Alt;
constexpr TShiftState AllThree = Ctrl | Shift | Alt;

constexpr uint16_t F(int number)
{
    return static_cast<uint16_t>(VK_F1 + number - 1);
}

// Stands in for the boards and the main window's container commands, and writes down what
// the key map asks of them; while it lives it takes the place of the window's and the mouse
// fake's answers, which it puts back when it goes.
class TFakeKeyWindow : public TBoardsServices, public TMainWindowContainers
{
public:
    TFakeKeyWindow(TFakeMainWindow& window, TFakeMouseWindow& mouse) : Window(window), Mouse(mouse)
    {
        TSeam<TBoardsServices>::Install(this);
        TSeam<TMainWindowContainers>::Install(this);
    }
    ~TFakeKeyWindow() override
    {
        TSeam<TMainWindowContainers>::Install(&Window);
        TSeam<TBoardsServices>::Install(&Mouse);
    }
    TFakeKeyWindow(const TFakeKeyWindow&) = delete;
    TFakeKeyWindow& operator=(const TFakeKeyWindow&) = delete;

    int32_t FindBoardByShortcut(char shortcut) override
    {
        for (size_t i = 0; i < BoardShortcuts.size(); ++i)
            if (BoardShortcuts[i].front() == shortcut)
                return static_cast<int32_t>(i);
        return -1;
    }
    void ShowBoard(int32_t index) override { Log.push_back("Show board " + std::to_string(index)); }
    void ShowSearchBoard() override {}
    void StartColumnDrag() override { Mouse.StartColumnDrag(); }
    void EndColumnDrag() override { Mouse.EndColumnDrag(); }
    TContainer* FindContainer(int32_t index) override { return Window.FindContainer(index); }
    int32_t FindContainerColumn(int32_t index) override { return Window.FindContainerColumn(index); }
    void ShowContainer(int32_t container) override { Log.push_back("Show container " + std::to_string(container)); }
    void CopyToContainerMenuClick(int32_t container, TColumn* source) override
    {
        Log.push_back("Copy to container " + std::to_string(container) + " from column " +
                      (source != nullptr ? std::to_string(source->Index) : "none"));
    }

    std::vector<std::string> BoardShortcuts{"1 Home", "2 Work", "0 Search"};
    std::vector<std::string> Log;

private:
    TFakeMainWindow& Window;
    TFakeMouseWindow& Mouse;
};

// Two columns listing T:\d\ (the folder "sub", then "a.txt" and "b.exe"), column 0 active.
class ColumnKeys : public MouseTest
{
protected:
    // Presses the key on column 0's list and answers what ran; `key` is left as the map
    // left it.
    std::vector<std::string> Press(uint16_t& key, TShiftState shift)
    {
        Mouse.Log.clear();
        Keys.Log.clear();
        Board[0].FileListKeyDown(Board[0].FileList, key, shift);
        std::vector<std::string> ran = Mouse.Operations();
        ran.insert(ran.end(), Keys.Log.begin(), Keys.Log.end());
        return ran;
    }

    std::vector<int32_t> Selected(const TColumn& column)
    {
        std::vector<int32_t> selected;
        for (int32_t i = 0; i < column.GetItemCount(); ++i)
            if (column.GetItem(i).Selected)
                selected.push_back(i);
        return selected;
    }

    TFakeKeyWindow Keys{Window, Mouse};
};

struct TKeyRow
{
    uint16_t Key;
    TShiftState Shift;
    // What ran: "Click" and a File-menu command, or a board or container request; empty
    // when nothing ran.
    std::string Ran;
};

using TKeyRows = std::vector<TKeyRow>;

// Every command the map clicks, by key and modifiers, and the combinations that run
// nothing for a key of the map.
const TKeyRows CommandRows = {
    {VK_LEFT, Ctrl, "Click DeleteLastColumnMenu"},
    {VK_LEFT, Shift, "Click DeleteThisColumnMenu"},
    {VK_LEFT, Alt, "Click RotateColumnsToLeftMenu"},
    {VK_LEFT, CtrlShift, ""},
    {VK_RIGHT, Ctrl, "Click InsertColumnAtEndMenu"},
    {VK_RIGHT, Shift, "Click InsertColumnHereMenu"},
    {VK_RIGHT, Alt, "Click RotateColumnsToRightMenu"},
    {VK_RIGHT, CtrlAlt, ""},
    {VK_DELETE, NoShift, "Click RecycleContainerItemMenu"},
    {VK_DELETE, AllThree, "Click RecycleContainerItemMenu"},
    {'A', NoShift, "Click EditFileStreamsMenu"},
    {'A', Ctrl, "Click EditFileStreamsAutoloadMenu"},
    {'A', Shift, "Click EditFileDescriptionMenu"},
    {'A', CtrlShift, "Click LinkAsStartupItemMenu"},
    {'A', Alt, ""},
    {'C', NoShift, "Click ClipFileTitlesMenu"},
    {'C', CtrlAlt, "Click ClipFileTitlesMenu"},
    {'D', NoShift, "Click NewDirectoryMenu"},
    {'D', CtrlShift, "Click LinkAsDesktopMenu"},
    {'D', Ctrl, ""},
    {'E', NoShift, "Click EditFileMenu"},
    {'E', CtrlShift, "Click LinkAsSendDragMenu"},
    {'F', NoShift, "Click NewFileMenu"},
    {'F', Shift, "Click NewFileMenu"},
    {'G', NoShift, "Click GoToReferenceMenu"},
    {'G', Ctrl, "Click GoToContainerItemTargetMenu"},
    {'I', NoShift, "Click TreeNavigatorMenu"},
    {'I', Ctrl, "Click NavigateToDirectoryMenu"},
    {'L', NoShift, "Click LoadDirectoryMenu"},
    {'L', Ctrl, "Click LoadAllDirectoriesMenu"},
    {'L', Shift, "Click SetAsActiveFileMenu"},
    {'L', CtrlShift, "Click LinkAsLocationMenu"},
    {'M', NoShift, "Click RenameContainerItemMenu"},
    {'M', Ctrl, "Click MultiRenameItemMenu"},
    {'N', NoShift, "Click RenameFileMenu"},
    {'N', Ctrl, "Click MultiRenameFileMenu"},
    {'P', NoShift, "Click FilePropertiesMenu"},
    {'P', Ctrl, "Click ReferencePropertiesMenu"},
    {'Q', NoShift, "Click OpenFileWithMenu"},
    {'Q', CtrlShift, "Click LinkAsQuickLaunchMenu"},
    {'S', NoShift, "Click SearchFileMenu"},
    {'S', Ctrl, "Click SearchFileInHomeMenu"},
    {'S', Shift, "Click SearchFileInHome2Menu"},
    {'S', Alt, "Click FindCommonTextMenu"},
    {'S', CtrlShift, "Click LinkAsSendMenu"},
    {'T', NoShift, "Click LocateFileMenu"},
    {'T', Ctrl, "Click LocateNextFileMenu"},
    {'T', Shift, "Click LocatePreviousFileMenu"},
    {'T', Alt, "Click LocateLastNumberedMenu"},
    {'T', CtrlShift, "Click LinkAsToolMenu"},
    {'T', CtrlAlt, "Click LocateFirstNumberedMenu"},
    {'T', AllThree, ""},
    {'T', Double, ""},
    {'U', NoShift, "Click PasteClipboardPictureMenu"},
    {'U', Alt, "Click PasteClipboardPictureMenu"},
    {'W', NoShift, "Click SetAsBackgroundPicture"},
    {'W', Ctrl, "Click SetAsWallpaperMenu"},
    {'X', NoShift, "Click AssociateExtensionMenu_Document"},
    {'X', Ctrl, "Click AssociateExtensionMenu_Generic"},
    {'X', Shift, "Click AssociateExtensionMenu_SaveUpdate"},
    {VK_MULTIPLY, NoShift, "Click ToggleFilesSelectionMenu"},
    {VK_MULTIPLY, Ctrl, "Click ToggleAllSelectionMenu"},
    {VK_ADD, NoShift, "Click FilteredSelectMenu"},
    {VK_ADD, Ctrl, "Click SelectAllMenu"},
    {VK_ADD, Shift, "Click SelectFilesMenu"},
    {VK_SUBTRACT, NoShift, "Click FilteredDeselectMenu"},
    {VK_SUBTRACT, Ctrl, "Click DeselectAllMenu"},
    {VK_SUBTRACT, Shift, "Click DeselectFilesMenu"},
    {F(2), NoShift, "Click ClipActiveNameMenu"},
    {F(2), Ctrl, "Click ClipActivePathMenu"},
    {F(2), Shift, "Click ClipActiveTitleMenu"},
    {F(2), Alt, "Click ClipActiveReferenceMenu"},
    {F(2), CtrlShift, ""},
    {F(3), NoShift, "Click ViewNextMenu"},
    {F(3), Ctrl, "Click ViewNextMenu"},
    {F(4), Shift, "Click ViewPreviousMenu"},
    {F(5), NoShift, "Click ViewFileMenu"},
    {F(5), Ctrl, "Click ViewClipboardPictureMenu"},
    {F(5), Shift, "Click ViewStegNoiseMenu"},
    {F(5), Alt, ""},
    {F(6), NoShift, "Click ViewMediaInDirMenu"},
    {F(6), Ctrl, "Click ViewThisMediaInDirMenu"},
    {F(10), NoShift, "Click FixedAttrMenu"},
    {F(10), Ctrl, "Click ThumbAttrMenu"},
    {F(10), Shift, "Click ShowPathsInContainerMenu"},
    {F(11), NoShift, "Click RecycleFileMenu"},
    {F(11), CtrlShift, "Click RecycleFileMenu"},
    {F(12), NoShift, "Click DeleteFileMenu"},
    {F(12), Alt, "Click DeleteFileMenu"},
    {191, NoShift, "Click DefaultDirectoryMenu"},
    {191, Ctrl, "Click SysLocMenu_PartitionRoot"},
    {191, Shift, "Click SysLocMenu_TerminalRoot"},
    {220, NoShift, "Click PreviousDirectoryMenu"},
    {220, Ctrl, "Click SysLocMenu_PartitionRoot"},
    {220, Shift, "Click SysLocMenu_TerminalRoot"},
    {'1', NoShift, "Show board 0"},
    {'2', NoShift, "Show board 1"},
    {'0', NoShift, "Show board 2"},
    {'5', NoShift, ""},
    {'1', Ctrl, "Show container 0"},
    {'9', Ctrl, "Show container 8"},
    {'0', Ctrl, "Show container 9"},
    {'1', Shift, "Copy to container 0 from column 0"},
    {'0', Shift, "Copy to container 9 from column 0"},
    {'1', Alt, ""},
    {'1', CtrlShift, ""},
};

} // namespace

TEST_F(ColumnKeys, EachKeyAndModifierStateClicksItsCommandOnceAndTheKeyIsConsumed)
{
    for (const TKeyRow& row : CommandRows) {
        SCOPED_TRACE("key " + std::to_string(row.Key) + " shift " + std::to_string(row.Shift));
        uint16_t key = row.Key;
        const std::vector<std::string> ran = Press(key, row.Shift);
        EXPECT_EQ(row.Ran.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.Ran}, ran);
        EXPECT_EQ(0, key) << "a key of the map is consumed whatever its modifiers";
        EXPECT_EQ("Enable", Mouse.Log.at(0)) << "the commands are enabled before any runs";
    }
}

TEST_F(ColumnKeys, KeysOutsideTheMapArePassedOnUntouched)
{
    // The numeric pad's digits and "/" are not the main keyboard's; Tab and "B" have no row.
    for (const uint16_t pressed : {uint16_t(VK_NUMPAD0 + 1), uint16_t(VK_NUMPAD0 + 5), uint16_t(VK_DIVIDE),
                                   uint16_t(VK_TAB), uint16_t('B'), uint16_t(F(1))}) {
        SCOPED_TRACE(pressed);
        uint16_t key = pressed;
        EXPECT_TRUE(Press(key, NoShift).empty());
        EXPECT_EQ(pressed, key);
    }
}

TEST_F(ColumnKeys, ModifierKeysAloneAreConsumedWithoutEnablingTheMenu)
{
    for (const uint16_t pressed : {uint16_t(VK_SHIFT), uint16_t(VK_CONTROL), uint16_t(VK_MENU)}) {
        uint16_t key = pressed;
        Press(key, Ctrl | Shift);
        EXPECT_EQ(0, key);
        EXPECT_TRUE(Mouse.Log.empty()) << pressed;
    }
}

TEST_F(ColumnKeys, InsertTogglesTheFocusedItemOrARunAndIsPassedOn)
{
    // The middle one of the three items.
    TColumn& column = Board[0];
    const int32_t middle = 1;
    column.FocusIndex(middle);

    uint16_t key = VK_INSERT;
    EXPECT_EQ(std::vector<std::string>{"Click ToggleThisSelectionMenu"}, Press(key, NoShift));
    EXPECT_EQ(VK_INSERT, key);

    key = VK_INSERT;
    EXPECT_TRUE(Press(key, Shift).empty());
    EXPECT_EQ((std::vector<int32_t>{middle, middle + 1}), Selected(column)) << "the run downward";
    EXPECT_EQ(VK_INSERT, key);

    key = VK_INSERT;
    Press(key, Ctrl);
    EXPECT_EQ((std::vector<int32_t>{middle + 1}), Selected(column)) << "the selected run upward is flipped";
    EXPECT_EQ(VK_INSERT, key);

    for (const TShiftState shift : {Alt, CtrlShift}) {
        key = VK_INSERT;
        EXPECT_TRUE(Press(key, shift).empty());
        EXPECT_EQ((std::vector<int32_t>{middle + 1}), Selected(column));
        EXPECT_EQ(VK_INSERT, key);
    }
}

TEST_F(ColumnKeys, EnterAndBackspaceHandTheirModifiersOnToTheNavigation)
{
    MakeFile("d/sub/inner.txt");
    Open(Board[0], Drive.Path("d\\sub"));
    uint16_t key = VK_RETURN;
    Press(key, NoShift);
    EXPECT_EQ(0, key);
    EXPECT_EQ(Drive.Path("d\\sub\\"), Listed(Board[1])) << "the folder opens in the next column";
    EXPECT_EQ(Drive.Path("d\\"), Listed(Board[0]));

    key = VK_RETURN;
    Press(key, Alt);
    EXPECT_EQ(Drive.Path("d\\sub\\"), Listed(Board[0])) << "Alt opens it here";

    key = VK_BACK;
    Press(key, Alt);
    EXPECT_EQ(0, key);
    EXPECT_EQ(Drive.Path("d\\"), Listed(Board[0])) << "Alt opens the parent here";
}

TEST_F(ColumnKeys, PlainArrowsMoveTheActivityAcrossTheColumnsOnceAtTheRelease)
{
    Board.FocusRequests.clear();
    TapKey(*Board[0].FileList, Qt::Key_Left);
    EXPECT_EQ((std::vector<std::pair<int32_t, bool>>{{2, false}}), Board.FocusRequests) << "wrapping around";

    Board.FocusRequests.clear();
    SendKey(*Board[0].FileList, QEvent::KeyPress, Qt::Key_Right);
    SendKey(*Board[0].FileList, QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, true);
    EXPECT_TRUE(Board.FocusRequests.empty());
    SendKey(*Board[0].FileList, QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_EQ((std::vector<std::pair<int32_t, bool>>{{1, false}}), Board.FocusRequests);
    EXPECT_TRUE(Mouse.Operations().empty()) << "no command was clicked";
}

// The menus only show the keys in their captions: a key press on the list runs its command
// through the map, and only once.
TEST_F(ColumnKeys, AKeyPressOnTheListRunsItsCommandExactlyOnce)
{
    struct TQtKey
    {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        std::vector<std::string> Ran;
    };
    const TQtKey keys[] = {
        {Qt::Key_F12, Qt::NoModifier, {"Click DeleteFileMenu"}},
        {Qt::Key_Delete, Qt::ControlModifier, {"Click RecycleContainerItemMenu"}},
        {Qt::Key_T, Qt::ControlModifier | Qt::AltModifier, {"Click LocateFirstNumberedMenu"}},
        // Shift and a digit arrive as the symbol on the digit's key.
        {Qt::Key_ParenRight, Qt::ShiftModifier, {"Copy to container 9 from column 0"}},
        {Qt::Key_Exclam, Qt::ShiftModifier, {"Copy to container 0 from column 0"}},
        {Qt::Key_1, Qt::ControlModifier, {"Show container 0"}},
        {Qt::Key_Question, Qt::ShiftModifier, {"Click SysLocMenu_TerminalRoot"}},
        {Qt::Key_Slash, Qt::NoModifier, {"Click DefaultDirectoryMenu"}},
        {Qt::Key_Slash, Qt::KeypadModifier, {}},
        {Qt::Key_1, Qt::KeypadModifier, {}},
        {Qt::Key_Plus, Qt::KeypadModifier | Qt::ControlModifier, {"Click SelectAllMenu"}},
        {Qt::Key_Plus, Qt::ShiftModifier, {}},
    };
    for (const TQtKey& key : keys) {
        SCOPED_TRACE(std::to_string(key.Key) + " " + std::to_string(key.Modifiers.toInt()));
        Mouse.Log.clear();
        Keys.Log.clear();
        TapKey(*Board[0].FileList, key.Key, key.Modifiers);
        std::vector<std::string> ran = Mouse.Operations();
        ran.insert(ran.end(), Keys.Log.begin(), Keys.Log.end());
        EXPECT_EQ(key.Ran, ran);
    }
}

TEST_F(ColumnKeys, AFailingCommandIsRecordedAndNotShown)
{
    class TThrowingKeyWindow : public TFakeKeyWindow
    {
    public:
        using TFakeKeyWindow::TFakeKeyWindow;
        void ShowContainer(int32_t) override { throw std::runtime_error("no container"); }
    };
    TThrowingKeyWindow throwing(Window, Mouse);
    uint16_t key = '3';
    Board[0].FileListKeyDown(Board[0].FileList, key, Ctrl);
    EXPECT_EQ(0, key);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ(0u, FunStatContext.Description.rfind("Unhandled exception: ", 0)) << FunStatContext.Description;
    FunStatContext.Reset(fsPerfect);
}
