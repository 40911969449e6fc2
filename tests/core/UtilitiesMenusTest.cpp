#include "core/forms/Utilities.h"

#include "core/errors/Error.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

QAction* AddItem(QMenu& menu, const char* caption, int32_t tag)
{
    QAction* item = menu.addAction(caption);
    item->setData(tag);
    return item;
}

// "caption/tag" for each item of the menu, in order.
std::vector<std::string> ItemsOf(const QMenu& menu)
{
    std::vector<std::string> items;
    for (const QAction* item : menu.actions())
        items.push_back(item->text().toStdString() + "/" + std::to_string(item->data().toInt()));
    return items;
}

QMenu* SubmenuOf(const QMenu& menu, const char* caption)
{
    for (QAction* item : menu.actions())
        if (item->text() == caption)
            return item->menu();
    return nullptr;
}

TEST(MenuHelpers, FindByTagPassesOverSeparators)
{
    QMenu menu;
    menu.addSeparator()->setData(5);
    AddItem(menu, "-", 5);
    QAction* found = AddItem(menu, "Found", 5);
    AddItem(menu, "Later", 5);
    EXPECT_EQ(found, FindMenuItemByTag(menu, 5));
    EXPECT_EQ(nullptr, FindMenuItemByTag(menu, 6));

    QMenuBar bar;
    QMenu* fileMenu = bar.addMenu("File");
    fileMenu->menuAction()->setData(3);
    QAction* child = AddItem(*fileMenu, "Open", 8);
    EXPECT_EQ(fileMenu->menuAction(), FindMenuItemByTag(bar, 3));
    EXPECT_EQ(child, FindChildMenuItemByTag(*fileMenu->menuAction(), 8));
    EXPECT_EQ(nullptr, FindChildMenuItemByTag(*child, 8));
}

TEST(MenuHelpers, InsertIndexKeepsEachGroupSorted)
{
    QMenu menu;
    EXPECT_EQ(0, GetMenuInsertIndex("x", menu, true, true));
    AddItem(menu, "a", FolderMenuTag);
    AddItem(menu, "c", FolderMenuTag);
    AddItem(menu, "a.txt", FileMenuTag);
    struct Row
    {
        const char* Caption;
        bool AmongTagged;
        bool Grouped;
        int Index;
    };
    const Row rows[] = {
        {"b", true, true, 1},      {"b.txt", false, true, 3}, {"A", true, true, 1},   {"Z", true, true, 2},
        {"0.txt", false, true, 2}, {"b", false, false, 1},    {"d", false, false, 3}, {"a.txt", false, true, 3},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Index, GetMenuInsertIndex(row.Caption, menu, row.AmongTagged, row.Grouped)) << row.Caption;
}

TEST(MenuHelpers, ItemPathJoinsTheCaptionsBelowTheRoot)
{
    QMenu root;
    QMenu* drive = root.addMenu("C:\\");
    QMenu* unnamed = drive->addMenu("");
    QMenu* folder = unnamed->addMenu("Tools");
    QAction* item = folder->addAction("Editor");
    EXPECT_EQ("C:\\Tools\\Editor", GetMenuItemPath(root, *item));
    EXPECT_EQ("Tools\\Editor", GetMenuItemPath(*unnamed, *item));
    EXPECT_EQ("Editor", GetMenuItemPath(*folder, *item));
}

class DirectoryMenu : public testing::Test
{
protected:
    void Load(const std::string& filter = "", bool firstLinkFlag = false, bool hideExtension = false)
    {
        LoadMenuWithFiles(Menu, Drive.Path("Menu"), filter, firstLinkFlag, false, hideExtension, "Open it",
                          [this](QAction& item) { Clicked.push_back(GetMenuItemPath(Menu, item)); });
    }

    TTempDrive Drive;
    QMenu Menu;
    std::vector<std::string> Clicked;
};

TEST_F(DirectoryMenu, FoldersComeFirstThenFilesEachSortedAndHiddenOrEmptyOnesLeftOut)
{
    Drive.WriteFile("Menu/zeta.txt", "");
    Drive.WriteFile("Menu/Alpha.txt", "");
    Drive.WriteFile("Menu/beta.doc", "");
    Drive.WriteFile("Menu/.hidden.txt", "");
    Drive.WriteFile("Menu/Work/plan.txt", "");
    Drive.WriteFile("Menu/apps/Deep/tool.txt", "");
    Drive.WriteFile("Menu/OnlyHidden/.secret.txt", "");
    Drive.WriteFile("Menu/.config/settings.txt", "");
    std::filesystem::create_directories(Drive.HostPath("Menu/Empty"));

    Load();
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ((std::vector<std::string>{"apps/1", "Work/1", "Alpha.txt/0", "beta.doc/0", "zeta.txt/0"}), ItemsOf(Menu));
    const QMenu* apps = SubmenuOf(Menu, "apps");
    ASSERT_NE(nullptr, apps);
    const QMenu* deep = SubmenuOf(*apps, "Deep");
    ASSERT_NE(nullptr, deep);
    ASSERT_EQ(1, deep->actions().size());
    EXPECT_EQ("Open it", deep->actions()[0]->statusTip().toStdString());

    deep->actions()[0]->trigger();
    Menu.actions()[2]->trigger();
    EXPECT_EQ((std::vector<std::string>{"apps\\Deep\\tool.txt", "Alpha.txt"}), Clicked);
}

TEST_F(DirectoryMenu, FilterAndLinkFlagChooseTheFiles)
{
    Drive.WriteFile("Menu/Editor.lnk", "");
    Drive.WriteFile("Menu/notes.txt", "");
    Drive.WriteFile("Menu/Docs/readme.txt", "");

    Load("*.txt");
    EXPECT_EQ((std::vector<std::string>{"Docs/1", "notes.txt/0"}), ItemsOf(Menu));
    Menu.clear();
    Load("", true);
    EXPECT_EQ((std::vector<std::string>{"Editor/0"}), ItemsOf(Menu));
    Menu.clear();
    Load("", false, true);
    EXPECT_EQ((std::vector<std::string>{"Docs/1", "Editor/0", "notes/0"}), ItemsOf(Menu));
}

// The caption may hide the extension's letter case and must double "&"; the entry keeps
// its file's path for the click.
TEST_F(DirectoryMenu, AnEntryKeepsItsFileWhateverItsCaptionShows)
{
    Drive.WriteFile("Menu/R&D/Tool.LNK", "");
    Load("", true);
    const QMenu* folder = SubmenuOf(Menu, "R&&D");
    ASSERT_NE(nullptr, folder);
    ASSERT_EQ(1, folder->actions().size());
    const QAction& entry = *folder->actions()[0];
    EXPECT_EQ("Tool", entry.text().toStdString());
    EXPECT_EQ(Drive.Path("Menu\\R&D\\Tool.LNK"), GetMenuItemFileName(entry));
    EXPECT_EQ("", GetMenuItemFileName(*folder->menuAction()));
}

TEST_F(DirectoryMenu, EmptyingRemovesTheSubmenusToo)
{
    Drive.WriteFile("Menu/Sub/Deeper/a.txt", "");
    Drive.WriteFile("Menu/b.txt", "");
    for (int fill = 0; fill < 2; ++fill) {
        EmptyMenu(Menu);
        Load();
    }
    EXPECT_EQ(1, Menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size());
    EmptyMenu(Menu);
    EXPECT_TRUE(Menu.isEmpty());
    EXPECT_TRUE(Menu.findChildren<QMenu*>().isEmpty());
}

TEST_F(DirectoryMenu, ALevelHoldsAtMostThirtyEntries)
{
    for (int i = 0; i < 40; ++i)
        Drive.WriteFile("Menu/file" + std::to_string(i) + ".txt", "");
    Load();
    EXPECT_EQ(30, Menu.actions().size());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(DirectoryMenu, FolderLinksBackUpAreLeftOutAndOtherFolderLinksListed)
{
    Drive.WriteFile("Menu/Sub/tool.txt", "");
    Drive.WriteFile("Elsewhere/other.txt", "");
    std::filesystem::create_directory_symlink(Drive.HostPath("Menu"), Drive.HostPath("Menu/Sub/up"));
    std::filesystem::create_directory_symlink(Drive.HostPath("Menu/Sub"), Drive.HostPath("Menu/Sub/self"));
    std::filesystem::create_directory_symlink(Drive.HostPath("Elsewhere"), Drive.HostPath("Menu/there"));
    Load();
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ((std::vector<std::string>{"Sub/1", "there/1"}), ItemsOf(Menu));
    const QMenu* sub = SubmenuOf(Menu, "Sub");
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ((std::vector<std::string>{"tool.txt/0"}), ItemsOf(*sub));
}

TEST_F(DirectoryMenu, RefusedFilterAddsNothing)
{
    Drive.WriteFile("Menu/a.txt", "");
    for (const char* filter : {"a/b", "C:*", "..\\*", "<", ">", "|", "\""}) {
        Load(filter);
        EXPECT_EQ(fsError, FunStatContext.Status) << filter;
        EXPECT_EQ("Invalid file name filter.", FunStatContext.Description) << filter;
        EXPECT_TRUE(Menu.actions().isEmpty()) << filter;
    }
}

TEST_F(DirectoryMenu, MissingOrEmptyDirectory)
{
    std::filesystem::create_directories(Drive.HostPath("Menu"));
    Load();
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(Menu.actions().isEmpty());

    LoadMenuWithFiles(Menu, Drive.Path("Missing"), "", false, false, false, "", {});
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Can not find first item.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("Missing"), FunStatContext.Parameter1);
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, FunStatContext.SystemErrorCode);
}

TEST_F(DirectoryMenu, FailureInASubmenuStopsTheWholeFill)
{
    Drive.WriteFile("Menu/Sub/inner.txt", "");
    host::InjectFault(host::HostCall::List, host::ERROR_ACCESS_DENIED, 1);
    Load();
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Can not find first item.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("Menu\\Sub"), FunStatContext.Parameter1);
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, FunStatContext.SystemErrorCode);
}

} // namespace
