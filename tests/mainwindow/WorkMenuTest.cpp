#include "BoardTestWindow.h"

#include "mainwindow/PartitionConnectForm.h"

#include "viewing/FileViewer.h"
#include "viewing/PictureCache.h"

#include "panels/MyTPanel.h"

#include "core/desktop/Program.h"
#include "core/files/FileInfo.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/InputState.h"
#include "core/forms/VirtualKeys.h"

#include "host/Drives.h"
#include "host/Registry.h"

#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr uint16_t VK_F4 = VK_F1 + 3;
constexpr uint16_t VK_F7 = VK_F1 + 6;
constexpr uint16_t VK_F8 = VK_F1 + 7;
constexpr uint16_t VK_F9 = VK_F1 + 8;
constexpr int64_t GiB = 1024LL * 1024 * 1024;

struct TItem
{
    std::string Name;
    std::string Text;
    bool Enabled;
    bool operator==(const TItem&) const = default;
};

// Every item of the menu and its submenus in order, separators left out.
std::vector<TItem> Items(const QMenu& menu)
{
    std::vector<TItem> items;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        items.push_back({action->objectName().toStdString(), action->text().toStdString(), action->isEnabled()});
        if (action->menu() != nullptr)
            for (const TItem& inner : Items(*action->menu()))
                items.push_back(inner);
    }
    return items;
}

std::vector<std::string> Captions(const QMenu& menu)
{
    std::vector<std::string> captions;
    for (const QAction* action : menu.actions())
        captions.push_back(action->text().toStdString());
    return captions;
}

class WorkMenu : public testing::Test
{
protected:
    WorkMenu()
    {
        Window.Open();
        Window->resize(1000, 600);
    }
    ~WorkMenu() override
    {
        Window.Discard();
        ProgramOptions = SavedOptions;
    }

    QAction& Action(const char* name) const
    {
        auto* action = Window->findChild<QAction*>(name);
        EXPECT_NE(nullptr, action) << name;
        return *action;
    }

    void Press(uint16_t key, TShiftState shift)
    {
        Window->FormKeyDown(key, shift);
        EXPECT_EQ(0, key) << "the window keeps its keys";
    }

    const TProgramOptions SavedOptions = ProgramOptions;
    TTempDrive Drive{'T'};
    TBoardTestWindow Window;
};

// ---- Splitters ----

TEST_F(WorkMenu, TheSideSplittersKeepTheirPanelsWithinLimits)
{
    struct Row
    {
        const char* Panel;
        int32_t ClientWidth, Size, Distance;
        int32_t NewSize, WrittenBack;
    };
    const Row rows[] = {
        {"tree", 1000, 300, -500, 100, -200},    {"tree", 1000, 300, 500, 450, 150},
        {"tree", 200, 300, 500, 90, -210},       {"tree", 200, 80, -50, 90, 10},
        {"play list", 1000, 240, 500, 100, 140}, {"play list", 1000, 240, -500, 350, -110},
    };
    Window->setMinimumSize(0, 0);
    TBoardData& board = Boards->GetActiveBoard();
    board.ShowTree = true;
    board.ShowPlayList = true;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.Panel) + " " + std::to_string(row.Distance));
        const bool tree = std::string(row.Panel) == "tree";
        MyTPanel& panel = tree ? *Window->TreePanel : *Window->PlayListPanel;
        Window->resize(row.ClientWidth, 600);
        Window->Reset(false);
        panel.resize(row.Size, panel.height());
        int32_t distance = row.Distance;
        tree ? Window->TreeSplitterMoving(distance) : Window->PlayListSplitterMoving(distance);
        EXPECT_EQ(row.WrittenBack, distance);
        tree ? Window->TreeSplitterMoved(distance) : Window->PlayListSplitterMoved(distance);
        EXPECT_EQ(row.NewSize, panel.width());
    }
}

TEST_F(WorkMenu, AnotherButtonOnASideSplitterHidesItsPanel)
{
    TBoardData& board = Boards->GetActiveBoard();
    board.ShowTree = true;
    board.ShowPlayList = true;
    Window->Reset(false);
    Window->TreeSplitter->OnMouseDown(Window->TreeSplitter, mbLeft, 0, 5, 5);
    Window->PlayListSplitter->OnMouseDown(Window->PlayListSplitter, mbLeft, 0, 5, 5);
    EXPECT_FALSE(Window->TreePanel->isHidden());
    EXPECT_FALSE(Window->PlayListPanel->isHidden());

    Window->TreeSplitter->OnMouseDown(Window->TreeSplitter, mbRight, 0, 5, 5);
    EXPECT_TRUE(Window->TreePanel->isHidden());
    EXPECT_FALSE(board.ShowTree);
    Window->PlayListSplitter->OnMouseDown(Window->PlayListSplitter, mbMiddle, 0, 5, 5);
    EXPECT_TRUE(Window->PlayListPanel->isHidden());
    EXPECT_FALSE(board.ShowPlayList);
}

// ---- Caption ----

TEST_F(WorkMenu, TheCaptionNamesTheBoardAndShowsTheRealMemoryAbove4GiB)
{
    BoardAt(2).Name = "";
    Boards->SetActiveBoard(2);
    Window->UpdateCaption();
    EXPECT_EQ("Quillomber - \"3\"", Window->windowTitle().toStdString());

    ProgramOptions.ShowSystemInfo = true;
    InjectMemoryStatus(host::MemoryStatus{16 * GiB, 6 * GiB, 20 * GiB, 8 * GiB});
    Window->UpdateCaption();
    InjectMemoryStatus(std::nullopt);
    const std::string caption = Window->windowTitle().toStdString();
    const std::string ram = " | RAM " + GetSizeText(3, 0, 6 * GiB) + " (" + GetSizeText(3, 0, 16 * GiB) + ")";
    ASSERT_GE(caption.size(), ram.size());
    EXPECT_EQ(ram, caption.substr(caption.size() - ram.size())) << caption;
    EXPECT_EQ(0u, caption.find("Quillomber - \"3\" | ")) << caption;
    EXPECT_EQ(std::string::npos, caption.find(GetSizeText(3, 0, 4 * GiB - 1))) << "no 32-bit cap";
}

// ---- The Work and Help menus ----

TEST_F(WorkMenu, TheMenusHoldTheirItemsEachEnabled)
{
    const std::vector<TItem> work = {
        {"WorkPopupMenu", "Work", true},
        {"ToolsMenu", "Tools", true},
        {"MPLsMenu", "Media play-lists", true},
        {"GizmosMenu", "Gizmos", true},
        {"PasswordGeneratorMenu", "Password generator\tZ", true},
        {"TextToCodeMenu", "Text to code\tCtrl+Z", true},
        {"ConnectPartitionMenu", "Connect partition", true},
        {"DisconnectPartitionMenu", "Disconnect partition", true},
        {"OptionsMenu", "Options\tO", true},
        {"LayoutMenu", "Layout", true},
        {"ShowHideMediaPlayListMenu", "Toggle media play-list\tF7", true},
        {"CloseViewerMenu", "Close viewer\tCtrl+F7", true},
        {"HideViewerMenu", "Hide viewer\tEsc", true},
        {"MaximizeViewerMenu", "Maximize viewer height\tShift+F7", true},
        {"MaximizeColumnsHeightMenu", "Maximize columns height", true},
        {"ToggleHintBarMenu", "Toggle hint bar\tF8", true},
        {"ToggleFileInfoBarMenu", "Toggle file info bar\tCtrl+F8", true},
        {"ToggleColumnInfoBarMenu", "Toggle column info bar\tShift+F8", true},
        {"ToggleBoardsBarMenu", "Toggle boards bar\tAlt+F8", true},
        {"ToggleTreeNavigatorMenu", "Toggle tree navigator\tF9", true},
        {"ToggleHoverInfoMenu", "Toggle hover info\tH", true},
        {"Statistics1", "Statistics", true},
        {"HideMenu", "Hide\tSpace", true},
        {"CloseProgramMenu", "Close program\tAlt+F4", true},
    };
    EXPECT_EQ(work, Items(*Window->WorkPopupMenu));
    const std::vector<TItem> help = {
        {"HelpPopupMenu", "Help", true},         {"HelpWizardMenu", "Wizard", true},
        {"HelpMainTopicMenu", "Main\tF1", true}, {"HelpInputMenu", "Keyboard, mouse", true},
        {"HelpOnlineMenu", "Online", true},      {"AboutMenu", "About", true},
    };
    EXPECT_EQ(help, Items(*Window->HelpPopupMenu));

    TModalScript script;
    script.Expect("Help", 0, [&](const TModalRequest&) { Action("HelpOnlineMenu").trigger(); });
    script.Expect("Message", IDOK);
    Window->HelpButton->OnMouseDown(Window->HelpButton, mbLeft, 0, 5, 5);
    ASSERT_EQ(2u, script.Seen().size());
    EXPECT_EQ(Window->HelpPopupMenu, script.Seen()[0].Menu);
    EXPECT_EQ("Help is not available.", script.Seen()[1].Text);
}

// Each key clicks its item by name, so what the item does is what the key does.
TEST_F(WorkMenu, WindowKeysClickTheirItemsAndADisabledItemDoesNothing)
{
    struct Row
    {
        uint16_t Key;
        TShiftState Shift;
        const char* Item;
    };
    const Row rows[] = {
        {VK_ESCAPE, ShiftOf(ssCtrl), "HideViewerMenu"},
        {VK_SPACE, 0, "HideMenu"},
        {'O', ShiftOf(ssShift), "OptionsMenu"},
        {'Z', 0, "PasswordGeneratorMenu"},
        {'Z', ShiftOf(ssCtrl), "TextToCodeMenu"},
        {VK_F4, ShiftOf(ssAlt), "CloseProgramMenu"},
        {VK_F7, 0, "ShowHideMediaPlayListMenu"},
        {VK_F7, ShiftOf(ssCtrl), "CloseViewerMenu"},
        {VK_F7, ShiftOf(ssShift), "MaximizeViewerMenu"},
        {VK_F8, 0, "ToggleHintBarMenu"},
        {VK_F8, ShiftOf(ssCtrl), "ToggleFileInfoBarMenu"},
        {VK_F8, ShiftOf(ssShift), "ToggleColumnInfoBarMenu"},
        {VK_F8, ShiftOf(ssAlt), "ToggleBoardsBarMenu"},
        {VK_F9, ShiftOf(ssCtrl), "ToggleTreeNavigatorMenu"},
    };
    std::vector<std::string> clicked;
    for (const Row& row : rows) {
        QAction& item = Action(row.Item);
        QObject::disconnect(&item, &QAction::triggered, nullptr, nullptr);
        QObject::connect(&item, &QAction::triggered, [&clicked, &row] { clicked.push_back(row.Item); });
    }
    for (const Row& row : rows) {
        QAction& item = Action(row.Item);
        item.setEnabled(false);
        Press(row.Key, row.Shift);
        EXPECT_TRUE(clicked.empty()) << row.Item << " is disabled";
        item.setEnabled(true);
        Press(row.Key, row.Shift);
        EXPECT_EQ(std::vector<std::string>{row.Item}, clicked);
        clicked.clear();
    }
}

TEST_F(WorkMenu, SetAsWallpaperEndsByClickingHide)
{
    std::vector<std::string> clicked;
    QAction& hide = Action("HideMenu");
    QObject::disconnect(&hide, &QAction::triggered, nullptr, nullptr);
    QObject::connect(&hide, &QAction::triggered, [&clicked] { clicked.push_back("HideMenu"); });
    Action("SetAsWallpaperMenu").setEnabled(true);
    Drive.WriteFile("a.txt", "text");
    ColumnAt(*Window, 0).LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = Drive.Path("a.txt")});
    Window->FocusColumn(0, true);

    TModalScript script;
    script.Expect("Warning", IDOK);
    Window->ClickCommand("SetAsWallpaperMenu");
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ("File must be a picture.", script.Seen()[0].Text);
    EXPECT_EQ(std::vector<std::string>{"HideMenu"}, clicked);
}

TEST_F(WorkMenu, MaximizeColumnsHeightKeepsTheFileInfoBar)
{
    std::array<bool*, 6> bars = {&ProgramOptions.ShowBoardsBar, &ProgramOptions.ShowColumnInfo,
                                 &ProgramOptions.ShowFileDesc,  &ProgramOptions.ShowReferenceInfo,
                                 &ProgramOptions.ShowHintBar,   &ProgramOptions.ShowFileInfo};
    for (bool* bar : bars)
        *bar = true;
    Window->Reset(false);
    Window->ClickCommand("MaximizeColumnsHeightMenu");
    EXPECT_EQ((std::array<bool, 6>{false, false, false, false, false, true}),
              (std::array<bool, 6>{*bars[0], *bars[1], *bars[2], *bars[3], *bars[4], *bars[5]}));
    EXPECT_TRUE(Window->HintBarPanel->isHidden());
    EXPECT_FALSE(Window->FileInfoBar->isHidden());

    const bool hover = ProgramOptions.FileHoverActive;
    Window->ClickCommand("ToggleHoverInfoMenu");
    EXPECT_EQ(!hover, ProgramOptions.FileHoverActive);
}

TEST_F(WorkMenu, StatisticsCountTheCachedPicturesAndTheHistories)
{
    const auto statistics = [&] {
        TModalScript script;
        script.Expect("Message", IDOK);
        Window->ClickCommand("Statistics1");
        return script.Seen().empty() ? std::string() : script.Seen()[0].Text;
    };
    PictureCache.Clear();
    PathsHistory.Clear();
    FilesHistory.Clear();
    EXPECT_EQ("Thumbnail picture cache:\n    * Pictures: 0\n    * Size: " + GetSizeText(6, 0, 0) +
                  "\n\nNavigation history:\n    * Visited directories: 0\n    * Launched files: 0",
              statistics());

    for (int i = 0; i < 3; ++i) {
        TPictureCacheEntry entry;
        entry.Title = std::to_string(i);
        entry.Bitmap = std::make_unique<TPictureBitmap>();
        entry.Bitmap->Image = QImage(100, 10, QImage::Format_RGB32);
        PictureCache.Insert(std::move(entry));
    }
    for (const char* folder : {"C:\\a\\", "C:\\b\\"})
        PathsHistory.AddPathItem(folder, 0, 0, 0, true, false);
    FilesHistory.AddFileItem("C:\\a\\x.txt", true);
    const std::string text = statistics();
    PictureCache.Clear();
    PathsHistory.Clear();
    FilesHistory.Clear();
    EXPECT_EQ("Thumbnail picture cache:\n    * Pictures: 3\n    * Size: " + GetSizeText(6, 0, 3 * 100 * 10 * 4) +
                  "\n\nNavigation history:\n    * Visited directories: 2\n    * Launched files: 1",
              text);
}

TEST_F(WorkMenu, ToolsListsTheToolsFolderAndRunsAToolWithoutParameters)
{
    const std::string tools = host::WindowsToHost(GetToolsPath()).value_or("");
    ASSERT_FALSE(tools.empty());
    fs::create_directories(tools + "/Sub");
    std::ofstream(tools + "/x.sh") << "#!/bin/sh\n";
    fs::permissions(tools + "/x.sh", fs::perms::owner_all);
    std::ofstream(tools + "/Sub/y.txt") << "y";
    TRecordingLauncher launcher;

    TModalScript script;
    script.Expect("Work", 0, [&](const TModalRequest&) {
        const std::vector<std::string> captions = Captions(*Window->ToolsMenu);
        EXPECT_NE(captions.end(), std::find(captions.begin(), captions.end(), "x.sh"));
        EXPECT_NE(captions.end(), std::find(captions.begin(), captions.end(), "Sub"));
        for (QAction* action : Window->ToolsMenu->actions())
            if (action->text() == "Sub")
                EXPECT_EQ(std::vector<std::string>{"y.txt"}, Captions(*action->menu()));
            else if (action->text() == "x.sh")
                action->trigger();
    });
    Window->WorkButton->OnMouseDown(Window->WorkButton, mbLeft, 0, 5, 5);
    fs::remove_all(tools + "/Sub");
    fs::remove(tools + "/x.sh");
    ASSERT_EQ(1u, script.Seen().size());
    EXPECT_EQ(Window->WorkPopupMenu, script.Seen()[0].Menu);
    ASSERT_EQ(1u, launcher.Starts.size());
    EXPECT_EQ(tools + "/x.sh", launcher.Starts[0].Program);
    EXPECT_TRUE(launcher.Starts[0].Arguments.empty());
}

TEST_F(WorkMenu, MediaPlayListsOfferTheRecentListsAndResumeTheChosenOne)
{
    TLastPlayedMPL& recent = Window->FileViewer->LastPlayedMPL;
    recent.Add(Drive.Path("gone.mpl"));
    recent.Add(Drive.Path("kept.mpl"));
    TShownFailures failures;
    TModalScript script;
    script.Expect("Work", 0, [&](const TModalRequest&) {
        ASSERT_EQ(2, Window->MPLsMenu->actions().size());
        Window->MPLsMenu->actions()[1]->trigger();
    });
    failures.Expect(script, "Error");
    Window->WorkButton->OnMouseDown(Window->WorkButton, mbLeft, 0, 5, 5);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to resume media play-list."));
    ASSERT_EQ(1, recent.Count) << "the missing list is forgotten";
    EXPECT_EQ(Drive.Path("kept.mpl"), recent.Files[0]);
}

// ---- Connect and disconnect partition ----

class PartitionConnection : public WorkMenu
{
protected:
    ~PartitionConnection() override
    {
        host::UnmapDrive('M');
        host::DeleteRegistryKey(host::RegistryRoot::CurrentUser, "Software\\Quillomber\\Drives");
    }

    // Runs the dialog from its Work item; `fill` chooses in it before Okay.
    void Run(const char* item, const char* caption, const std::function<void(TPartitionConnectForm&)>& fill,
             std::vector<std::string>* offered = nullptr)
    {
        TModalScript script;
        script.Expect(caption, TPartitionConnectForm::mrOkay, [&](const TModalRequest& request) {
            auto& form = *static_cast<TPartitionConnectForm*>(request.Dialog);
            if (offered != nullptr)
                for (int i = 0; i < form.LetterComboBox->count(); ++i)
                    offered->push_back(form.LetterComboBox->itemText(i).toStdString());
            fill(form);
            form.OkayButtonClick();
        });
        Window->ClickCommand(item);
        EXPECT_EQ(1u, script.Seen().size());
    }

    static void Choose(TPartitionConnectForm& form, const char* letter, const std::string& folder)
    {
        form.LetterComboBox->setCurrentText(letter);
        form.FolderEdit->setText(QString::fromStdString(folder));
    }

    TTempDrive Target{'U'};
};

TEST_F(PartitionConnection, AConnectedFolderStaysAcrossStartsUntilDisconnected)
{
    Target.WriteFile("inside.txt", "x");
    const std::string folder = Target.HostPath("");
    std::vector<std::string> offered;
    Run(
        "ConnectPartitionMenu", "Connect partition", [&](auto& form) { Choose(form, "M:", folder); }, &offered);
    EXPECT_EQ(offered.end(), std::find(offered.begin(), offered.end(), "C:"));
    EXPECT_EQ(offered.end(), std::find(offered.begin(), offered.end(), "T:")) << "a letter in use";
    EXPECT_NE(offered.end(), std::find(offered.begin(), offered.end(), "M:"));
    EXPECT_NE(0u, host::GetLogicalDrives() & (1u << ('M' - 'A')));
    EXPECT_TRUE(MyFileExists("M:\\inside.txt"));

    // A new start maps the recorded letters again.
    host::UnmapDrive('M');
    RestoreConnectedPartitions();
    EXPECT_TRUE(MyFileExists("M:\\inside.txt"));

    offered.clear();
    Run(
        "DisconnectPartitionMenu", "Disconnect partition", [](auto&) {}, &offered);
    EXPECT_EQ(std::vector<std::string>{"M:"}, offered);
    EXPECT_FALSE(host::GetDriveHostRoot('M'));
    RestoreConnectedPartitions();
    EXPECT_FALSE(host::GetDriveHostRoot('M')) << "forgotten";
}

TEST_F(PartitionConnection, AMissingOrRelativeFolderIsRefusedAndTheDialogStays)
{
    for (const std::string& folder : {Target.HostPath("missing"), std::string("relative/folder"), std::string()}) {
        SCOPED_TRACE(folder);
        TModalScript script;
        int result = -1;
        script.Expect("Connect partition", TPartitionConnectForm::mrCancel, [&](const TModalRequest& request) {
            auto& form = *static_cast<TPartitionConnectForm*>(request.Dialog);
            Choose(form, "M:", folder);
            form.OkayButtonClick();
            result = form.result();
        });
        script.Expect("Warning", IDOK);
        Window->ClickCommand("ConnectPartitionMenu");
        ASSERT_EQ(2u, script.Seen().size());
        EXPECT_EQ("There is no such directory.", script.Seen()[1].Text);
        EXPECT_EQ(0, result) << "still open";
        EXPECT_FALSE(host::GetDriveHostRoot('M'));
        EXPECT_FALSE(host::ReadRegistryValue(host::RegistryRoot::CurrentUser, "Software\\Quillomber\\Drives", "M"));
    }
}

TEST_F(PartitionConnection, ARecordedFolderThatIsGoneIsSkippedAtStart)
{
    ASSERT_TRUE(host::CreateRegistryKey(host::RegistryRoot::CurrentUser, "Software\\Quillomber\\Drives"));
    ASSERT_TRUE(host::WriteRegistryValue(host::RegistryRoot::CurrentUser, "Software\\Quillomber\\Drives", "M",
                                         host::RegistryValue::OfText(Target.HostPath("gone"))));
    ASSERT_TRUE(host::WriteRegistryValue(host::RegistryRoot::CurrentUser, "Software\\Quillomber\\Drives", "T",
                                         host::RegistryValue::OfText(Target.HostPath(""))));
    RestoreConnectedPartitions();
    EXPECT_FALSE(host::GetDriveHostRoot('M'));
    EXPECT_EQ(Drive.HostPath(""), host::GetDriveHostRoot('T').value_or("")) << "a letter in use keeps its folder";
}

} // namespace
