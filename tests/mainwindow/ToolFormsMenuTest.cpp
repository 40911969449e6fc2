#include "BoardTestWindow.h"

#include "mainwindow/ToolFormServices.h"

#include "columns/Column.h"
#include "columns/FileListData.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>

#include <QAction>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records what the window asks of the tools, and whether it was busy then.
class TRecordingToolForms : public TToolFormServicesStandIn
{
public:
    explicit TRecordingToolForms(TMainForm& window) : Window(window) { TSeam<TToolFormServices>::Install(this); }
    ~TRecordingToolForms() override { TSeam<TToolFormServices>::Install(nullptr); }
    TRecordingToolForms(const TRecordingToolForms&) = delete;
    TRecordingToolForms& operator=(const TRecordingToolForms&) = delete;

    void FindCommonTextDialog(TColumn& column) override { CommonTextColumns.push_back(&column); }
    void PasswordGeneratorDialog(const std::string& file) override
    {
        HashedFiles.push_back(file);
        BusyWhileHashing = Window.IsBusy();
    }

    TMainForm& Window;
    std::vector<TColumn*> CommonTextColumns;
    std::vector<std::string> HashedFiles;
    bool BusyWhileHashing = false;
};

class ToolFormsMenu : public testing::Test
{
protected:
    ToolFormsMenu()
    {
        Drive.WriteFile("d/a.txt", "JOHN|SMITH\n");
        Drive.WriteFile("d/b.txt", "JOHN|SMITH\n");
        Tools = std::make_unique<TRecordingToolForms>(*Window);
        Column.LoadDirectory(
            {.RememberPrevious = true, .ContainerIndex = -1, .Title = Drive.Path("d\\a.txt"), .Type = std::nullopt});
        Window->FocusColumn(0, true);
    }

    TTempDrive Drive{'T'};
    TBoardTestWindow Window;
    TColumn& Column = ColumnAt(Window.Open(), 0);
    std::unique_ptr<TRecordingToolForms> Tools;
};

TEST_F(ToolFormsMenu, HashFileHashesTheFocusedFileWhileTheWindowIsBusy)
{
    Window->EnableFileMenuItems(0);
    ASSERT_TRUE(Window->findChild<QAction*>("HashFileMenu")->isEnabled());
    Window->ClickCommand("HashFileMenu");
    EXPECT_EQ(std::vector<std::string>{Drive.Path("d\\a.txt")}, Tools->HashedFiles);
    EXPECT_TRUE(Tools->BusyWhileHashing);
    EXPECT_FALSE(Window->IsBusy());
}

TEST_F(ToolFormsMenu, FindCommonTextReachesTheToolsWithTheColumnOfTheSelection)
{
    for (int32_t i = 0; i < Column.GetItemCount(); ++i)
        Column.SelectItem(i);
    Window->EnableFileMenuItems(0);
    ASSERT_TRUE(Window->findChild<QAction*>("FindCommonTextMenu")->isEnabled());
    Window->ClickCommand("FindCommonTextMenu");
    EXPECT_EQ(std::vector<TColumn*>{&Column}, Tools->CommonTextColumns);
}

} // namespace
