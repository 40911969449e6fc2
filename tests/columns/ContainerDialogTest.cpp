#include "columns/ContainerDialog.h"

#include "support/TestSupport.h"

#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

std::vector<QAction*> ItemsOf(QMenu& menu)
{
    std::vector<QAction*> items;
    for (QAction* action : menu.actions())
        if (!action->isSeparator())
            items.push_back(action);
    return items;
}

TEST(ContainerDialog, FoundIsTheLowestContainerSoNamed)
{
    TContainerDialog dialog;
    EXPECT_EQ("Found", dialog.Containers.Find(0)->Name);
    EXPECT_EQ(0, dialog.GetFoundIndex());
    dialog.Containers.Find(0)->Name = "Work";
    dialog.Containers.Find(5)->Name = "found";
    EXPECT_EQ(5, dialog.GetFoundIndex());
    dialog.Containers.Find(5)->Name = "";
    EXPECT_EQ(0, dialog.GetFoundIndex());
}

TEST(ContainerDialog, ShowContainerMenuChecksTheCurrentOne)
{
    TContainerDialog dialog;
    dialog.Containers.Find(3)->AddItem("C:\\a.txt", 0);
    QMenu menu;
    dialog.SetupContainerMode(menu, -1);
    std::vector<QAction*> items = ItemsOf(menu);
    ASSERT_EQ(21u, items.size());
    EXPECT_EQ("None", items[0]->text().toStdString());
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[0]->isEnabled());
    EXPECT_TRUE(std::all_of(items.begin() + 1, items.end(), [](QAction* item) { return item->isEnabled(); }));
    EXPECT_EQ("Found (0 items)\tCtrl+1", items[1]->text().toStdString());
    EXPECT_EQ("4 (1 items)\tCtrl+4", items[4]->text().toStdString());
    EXPECT_EQ("10 (0 items)\tCtrl+0", items[10]->text().toStdString());
    EXPECT_EQ("13 (0 items)", items[13]->text().toStdString());
    EXPECT_TRUE(items[1]->shortcut().isEmpty()) << "shortcut texts are only shown";

    dialog.SetupContainerMode(menu, 3);
    items = ItemsOf(menu);
    ASSERT_EQ(21u, items.size()) << "the menu is rebuilt, not appended to";
    EXPECT_TRUE(items[0]->isEnabled());
    EXPECT_TRUE(items[4]->isChecked());
    EXPECT_FALSE(items[4]->isEnabled());

    std::vector<int32_t> clicks;
    dialog.OnShowContainer = [&](int32_t tag, void*) { clicks.push_back(tag); };
    items[0]->trigger();
    items[20]->trigger();
    EXPECT_EQ((std::vector<int32_t>{-1, 19}), clicks);
}

TEST(ContainerDialog, CopyMenuWithAContextHasNoHintsOrShortcuts)
{
    TContainerDialog dialog;
    QMenu menu;
    int column = 0;
    dialog.SetupCopyToContainer(menu, 2, &column);
    std::vector<QAction*> items = ItemsOf(menu);
    ASSERT_EQ(20u, items.size());
    EXPECT_EQ("Found (0 items)", items[0]->text().toStdString());
    EXPECT_TRUE(items[0]->statusTip().isEmpty());
    EXPECT_FALSE(items[2]->isEnabled());

    std::pair<int32_t, void*> clicked{-2, nullptr};
    dialog.OnCopyToContainer = [&](int32_t tag, void* context) { clicked = {tag, context}; };
    items[7]->trigger();
    EXPECT_EQ(7, clicked.first);
    EXPECT_EQ(&column, clicked.second);

    dialog.SetupCopyToContainer(menu, -1, nullptr);
    items = ItemsOf(menu);
    EXPECT_EQ("Found (0 items)\tShift+1", items[0]->text().toStdString());
    EXPECT_EQ("Add the active file to this container. [F1] for more help.", items[0]->statusTip().toStdString());
}

TEST(ContainerDialog, SendToContainerLeavesOnePopUpAlive)
{
    TContainerDialog dialog;
    QPushButton button;
    std::vector<int32_t> sent;
    dialog.OnSendToContainer = [&](int32_t tag, void*) { sent.push_back(tag); };
    TModalScript popups;
    const auto chooseSixth = [](const TModalRequest& request) {
        ASSERT_NE(nullptr, request.Menu);
        ItemsOf(*request.Menu)[6]->trigger();
    };
    popups.Expect("", 0, chooseSixth).Expect("", 0, chooseSixth);
    dialog.ShowSendToContainer(button, true, true);
    QMenu* first = dialog.SendToContainerMenu;
    EXPECT_EQ("Add items", ItemsOf(*first)[0]->text().toStdString());
    EXPECT_EQ("5 (0 items)\tShift+5", ItemsOf(*first)[5]->text().toStdString());
    dialog.ShowSendToContainer(button, true, false);
    EXPECT_EQ(1, button.findChildren<QMenu*>().size());
    EXPECT_EQ("Replace items", ItemsOf(*dialog.SendToContainerMenu)[0]->text().toStdString());
    EXPECT_EQ((std::vector<int32_t>{5, 5}), sent);
}

} // namespace
