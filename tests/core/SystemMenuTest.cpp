#include "core/desktop/SystemMenu.h"

#include "host/DragAndDrop.h"
#include "host/LastError.h"

#include "support/DesktopFolders.h"
#include "support/RecordingLauncher.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

using Paths = std::vector<std::string>;

const std::string Caption = "System: Active title";

class SystemMenuTest : public testing::Test
{
protected:
    SystemMenuTest()
    {
        Drive.WriteFile("docs\\a.txt", "a");
        Drive.WriteFile("docs\\b.txt", "b");
        Drive.WriteFile("docs\\c.bin", std::string("\0\1\2\3", 4));
        fs::create_directories(Drive.HostPath("docs/sub"));
        Desktop.WriteApplication("editor.desktop",
                                 "Name=Test editor\nExec=test-editor --edit %F\nMimeType=text/plain;\n");
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }

    // The host paths on the clipboard, sorted.
    static Paths ClipboardFiles()
    {
        Paths paths;
        for (const QUrl& url : QGuiApplication::clipboard()->mimeData()->urls())
            paths.push_back(url.toLocalFile().toStdString());
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    static std::string ClipboardWord()
    {
        const QByteArray copied = QGuiApplication::clipboard()->mimeData()->data(host::CopiedFilesFormat);
        return copied.left(copied.indexOf('\n')).toStdString();
    }

    static void Choose(TContextMenu& menu, const std::string& text)
    {
        QAction* action = menu.FindAction(text);
        ASSERT_NE(nullptr, action) << text;
        action->trigger();
    }

    // Answers the next popup menu by choosing `text` in it, or by dismissing it.
    static void ExpectMenu(TModalScript& script, const std::string& text = {})
    {
        script.Expect(Caption, 0, [text](const TModalRequest& request) {
            auto* menu = dynamic_cast<TContextMenu*>(request.Menu);
            ASSERT_NE(nullptr, menu);
            if (!text.empty())
                Choose(*menu, text);
        });
    }

    TDesktopFolders Desktop;
    TTempDrive Drive{'T'};
    TRecordingLauncher Launcher;
};

TEST_F(SystemMenuTest, EachCommandActsOnAllItems)
{
    TContextMenu menu({Drive.Path("docs\\a.txt"), Drive.Path("docs\\b.txt")}, Caption, Drive.Path("docs"), nullptr);
    ASSERT_NE(nullptr, menu.defaultAction());
    EXPECT_EQ(QString::fromStdString(Caption), menu.defaultAction()->text()) << "the title item leads, in bold";

    Choose(menu, "Copy");
    EXPECT_EQ((Paths{Drive.HostPath("docs/a.txt"), Drive.HostPath("docs/b.txt")}), ClipboardFiles());
    EXPECT_EQ("copy", ClipboardWord());
    Choose(menu, "Cut");
    EXPECT_EQ("cut", ClipboardWord());

    Choose(menu, "Open");
    ASSERT_EQ(2u, Launcher.Starts.size());
    EXPECT_EQ((Paths{Drive.HostPath("docs/b.txt")}), Launcher.Starts[1].Arguments);
    EXPECT_EQ(Drive.HostPath("docs"), Launcher.Starts[1].WorkingFolder);

    Choose(menu, "Test editor");
    ASSERT_EQ(3u, Launcher.Starts.size());
    EXPECT_EQ("test-editor", Launcher.Starts[2].Program);
    EXPECT_EQ((Paths{"--edit", Drive.HostPath("docs/a.txt"), Drive.HostPath("docs/b.txt")}),
              Launcher.Starts[2].Arguments);

    Choose(menu, "Properties");
    ASSERT_EQ(1u, Launcher.Calls.size());
    EXPECT_EQ("ShowItemProperties", Launcher.Calls[0].Method);
    EXPECT_EQ(2, Launcher.Calls[0].Arguments[0].toStringList().size());
    EXPECT_TRUE(menu.CommandSucceeded());
    EXPECT_FALSE(menu.RenameChosen());

    Choose(menu, "Rename");
    Choose(menu, Caption);
    EXPECT_TRUE(menu.RenameChosen());
    EXPECT_EQ(3u, Launcher.Starts.size()) << "renaming is the caller's, and the title runs nothing";
    EXPECT_EQ(1u, Launcher.Calls.size());
}

TEST_F(SystemMenuTest, DeleteMovesToTheTrash)
{
    TContextMenu menu({Drive.Path("docs\\a.txt"), Drive.Path("docs\\sub")}, Caption, {}, nullptr);
    Choose(menu, "Delete");
    EXPECT_TRUE(menu.CommandSucceeded());
    EXPECT_FALSE(Drive.Exists("docs/a.txt"));
    EXPECT_FALSE(Drive.Exists("docs/sub"));
    const std::string trash = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash/files/";
    EXPECT_TRUE(fs::exists(trash + "a.txt"));
    EXPECT_TRUE(fs::is_directory(trash + "sub"));
}

TEST_F(SystemMenuTest, FailedCommandsAndTypesWithoutApplications)
{
    Launcher.PresentServices.clear();
    TContextMenu menu({Drive.Path("docs\\c.bin")}, Caption, {}, nullptr);
    Choose(menu, "Properties");
    EXPECT_FALSE(menu.CommandSucceeded());
    Choose(menu, "Copy");
    EXPECT_TRUE(menu.CommandSucceeded()) << "the outcome is the last chosen command's";
    QAction* openWith = menu.FindAction("Open with");
    ASSERT_NE(nullptr, openWith);
    EXPECT_FALSE(openWith->isEnabled());
}

TEST_F(SystemMenuTest, AWildcardShowsOneMenuForEveryMatch)
{
    TModalScript script;
    ExpectMenu(script, "Copy");
    bool renameChosen = true;
    EXPECT_TRUE(DisplayContextMenu(Drive.Path("docs\\*.txt"), nullptr, QPoint(10, 10), renameChosen, Caption, {}));
    EXPECT_FALSE(renameChosen);
    EXPECT_EQ((Paths{Drive.HostPath("docs/a.txt"), Drive.HostPath("docs/b.txt")}), ClipboardFiles());
}

TEST_F(SystemMenuTest, DismissingRenamingOrFailing)
{
    struct Row
    {
        std::string Choice;
        bool Shown;
        bool RenameChosen;
    };
    const Row rows[] = {{"", true, false}, {Caption, true, false}, {"Rename", true, true}, {"Properties", false, false}};
    Launcher.PresentServices.clear();
    for (const Row& row : rows) {
        TModalScript script;
        ExpectMenu(script, row.Choice);
        bool renameChosen = !row.RenameChosen;
        EXPECT_EQ(row.Shown, DisplayContextMenu(Drive.Path("docs\\a.txt"), nullptr, {}, renameChosen, Caption, {}))
            << row.Choice;
        EXPECT_EQ(row.RenameChosen, renameChosen) << row.Choice;
    }
    EXPECT_EQ("before", QGuiApplication::clipboard()->text().toStdString());
    EXPECT_TRUE(Launcher.Starts.empty());
}

TEST_F(SystemMenuTest, NamesThatAreNotThereAreLeftOut)
{
    TModalScript script;
    ExpectMenu(script, "Copy");
    bool renameChosen = false;
    EXPECT_TRUE(DisplayContextMenuList(Drive.Path("docs"), {"a.txt", "gone.txt", "sub"}, nullptr, {}, renameChosen,
                                       Caption, {}));
    EXPECT_EQ((Paths{Drive.HostPath("docs/a.txt"), Drive.HostPath("docs/sub")}), ClipboardFiles());

    // Nothing at all to show: no menu (an unexpected one would fail the test).
    EXPECT_FALSE(DisplayContextMenu(Drive.Path("docs\\gone.txt"), nullptr, {}, renameChosen, Caption, {}));
    EXPECT_FALSE(DisplayContextMenu(Drive.Path("docs\\*.zip"), nullptr, {}, renameChosen, Caption, {}));
    EXPECT_FALSE(DisplayContextMenuList(Drive.Path("docs"), {"gone.txt"}, nullptr, {}, renameChosen, Caption, {}));
    EXPECT_FALSE(DisplayContextMenuList(Drive.Path("docs"), {}, nullptr, {}, renameChosen, Caption, {}));
}

// A selection gathered from several folders goes by its full paths.
TEST_F(SystemMenuTest, FullPathsMayComeFromSeveralFolders)
{
    Drive.WriteFile("docs\\sub\\d.txt", "d");
    TModalScript script;
    ExpectMenu(script, "Copy");
    bool renameChosen = false;
    EXPECT_TRUE(DisplayContextMenuPaths({Drive.Path("docs\\sub\\d.txt"), Drive.Path("docs\\gone.txt"), "",
                                         Drive.Path("docs\\a.txt")},
                                        nullptr, {}, renameChosen, Caption, {}));
    EXPECT_EQ((Paths{Drive.HostPath("docs/a.txt"), Drive.HostPath("docs/sub/d.txt")}), ClipboardFiles());
    EXPECT_FALSE(DisplayContextMenuPaths({Drive.Path("docs\\gone.txt")}, nullptr, {}, renameChosen, Caption, {}));
}

TEST_F(SystemMenuTest, ADriveRootIsTheDriveItself)
{
    TModalScript script;
    ExpectMenu(script, "Copy");
    bool renameChosen = false;
    EXPECT_TRUE(DisplayContextMenu(Drive.Path(), nullptr, {}, renameChosen, Caption, {}));
    EXPECT_EQ(Paths{Drive.HostPath()}, ClipboardFiles());
}

TEST_F(SystemMenuTest, CommandsWithoutAMenu)
{
    EXPECT_TRUE(PerformDefaultAction(Drive.Path("docs\\a.txt"), nullptr));
    EXPECT_TRUE(PerformDefaultActionList(Drive.Path("docs"), {"b.txt"}, nullptr));
    ASSERT_EQ(2u, Launcher.Starts.size());
    EXPECT_EQ((Paths{Drive.HostPath("docs/b.txt")}), Launcher.Starts[1].Arguments);

    EXPECT_TRUE(DisplayPropertiesDialogList(Drive.Path("docs"), {"a.txt", "b.txt"}, nullptr));
    EXPECT_TRUE(DisplayPropertiesDialog(Drive.Path("docs\\sub"), nullptr));
    EXPECT_FALSE(DisplayPropertiesDialog(Drive.Path("docs\\gone"), nullptr));
    ASSERT_EQ(2u, Launcher.Calls.size());
    EXPECT_EQ(2, Launcher.Calls[0].Arguments[0].toStringList().size()) << "one window for all the names";

    EXPECT_TRUE(PerformVerb("COPY", Drive.Path("docs\\a.txt"), nullptr));
    EXPECT_EQ(Paths{Drive.HostPath("docs/a.txt")}, ClipboardFiles());
    EXPECT_TRUE(PerformVerbList("cut", Drive.Path("docs"), {"b.txt"}, nullptr));
    EXPECT_EQ("cut", ClipboardWord());
    EXPECT_FALSE(PerformVerb("Print", Drive.Path("docs\\a.txt"), nullptr));
    EXPECT_EQ(host::ERROR_NO_ASSOCIATION, host::GetLastError());
}

TEST(ContextMenuPosition, CentredBelowThePointAndOffTheExcludedRow)
{
    const QSize menu(100, 200);
    const QRect screen(0, 0, 1000, 800);
    const QRect row(0, 290, 500, 20);
    EXPECT_EQ(QPoint(250, 310), ContextMenuPosition(menu, QPoint(300, 310), row, screen)) << "just under the row";
    EXPECT_EQ(QPoint(250, 310), ContextMenuPosition(menu, QPoint(300, 300), row, screen)) << "moved off the row";
    EXPECT_EQ(QPoint(250, 100), ContextMenuPosition(menu, QPoint(300, 300), QRect(0, 300, 500, 390), screen))
        << "no room below: above the row";
    EXPECT_EQ(QPoint(-50, 0), ContextMenuPosition(menu, QPoint(0, 0), QRect(), screen));
}

} // namespace
