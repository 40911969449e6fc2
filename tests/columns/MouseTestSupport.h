#pragma once

#include "columns/BoardsServices.h"
#include "columns/MainWindowMouse.h"

#include "BoardTestSupport.h"
#include "FakeColumnServices.h"

#include <string>
#include <vector>

// Stands in for the main window's press record, menus, mouse menu and drag partners, and
// for the boards' column drag, while it lives, and writes down what the columns ask of
// them, one line per request; no board is switched to.
class TFakeMouseWindow : public TMainWindowMouse, public TBoardsServices
{
public:
    TFakeMouseWindow()
    {
        TSeam<TMainWindowMouse>::Install(this);
        TSeam<TBoardsServices>::Install(this);
    }
    ~TFakeMouseWindow() override
    {
        TSeam<TBoardsServices>::Install(nullptr);
        TSeam<TMainWindowMouse>::Install(nullptr);
    }
    TFakeMouseWindow(const TFakeMouseWindow&) = delete;
    TFakeMouseWindow& operator=(const TFakeMouseWindow&) = delete;

    TPressRecord& GetPressRecord() override { return Press; }
    void EnableFileMenuItems(TShiftState) override { Log.push_back("Enable"); }
    void EnableFileDragMenuItems(TShiftState) override { Log.push_back("Enable drag"); }
    void ClickCommand(const std::string& name) override { Log.push_back("Click " + name); }
    bool IsSelectMenuEnabled() override { return SelectMenuEnabled; }
    void ShowFileMenu(QPoint screenPos, TShiftState) override
    {
        Log.push_back("File menu");
        MenuPoint = screenPos;
    }
    void ShowInterBoardFileDragMenu(QPoint, TShiftState) override { Log.push_back("Inter-board menu"); }
    void PopupFileDragMenu(QPoint screenPos) override
    {
        Log.push_back("File-drag menu");
        MenuPoint = screenPos;
    }
    void ShowContextMenu(int32_t itemIndex, QPoint, TShiftState shift, bool drag) override
    {
        Log.push_back(std::string(drag ? "System-drag menu " : "System menu ") + std::to_string(itemIndex) + " shift " +
                      std::to_string(shift));
    }
    void SetupMouseMenu(MyTPanel&, QPoint screenPos, const TMouseMenuSettings& settings,
                        TMouseMenuChoice choose) override
    {
        Log.push_back("Arm mouse menu");
        MenuPoint = screenPos;
        MenuSettings = settings;
        Choose = std::move(choose);
    }
    void CloseMouseMenu() override { Log.push_back("Close mouse menu"); }
    void MouseMenuMove(QPoint) override {}
    int32_t FindBoardByShortcut(char) override { return -1; }
    void ShowBoard(int32_t) override {}
    void ShowSearchBoard() override {}
    void StartColumnDrag() override { Log.push_back("Start column drag"); }
    void EndColumnDrag() override { Log.push_back("End column drag"); }
    void SetHotTrackItem(TColumn&, int32_t index) override { HotItem = index; }
    void CheckItemHotTrack() override { HotItem = -1; }
    void CheckFileHoverMouseMove(TColumn&, int32_t, int32_t, int32_t) override {}
    bool IsPlayList(const QObject* source) override { return source == &PlayList; }
    bool GetPlayListActiveTitle(std::string& title) override
    {
        title = PlayListTitle;
        return !title.empty();
    }
    bool IsDirectoryTree(const QObject* source) override { return source == &DirectoryTree; }
    std::string GetSelectedTreePath() override { return TreePath; }

    // The requests that ran an operation: enabling steps and bookkeeping left out.
    std::vector<std::string> Operations() const
    {
        std::vector<std::string> operations;
        for (const std::string& line : Log)
            if (line != "Enable" && line != "Enable drag" && line.find("column drag") == std::string::npos &&
                line.find("mouse menu") == std::string::npos)
                operations.push_back(line);
        return operations;
    }

    TPressRecord Press;
    std::vector<std::string> Log;
    bool SelectMenuEnabled = true;
    QPoint MenuPoint;
    TMouseMenuSettings MenuSettings;
    TMouseMenuChoice Choose;
    int32_t HotItem = -1;
    QObject PlayList;
    std::string PlayListTitle;
    QObject DirectoryTree;
    std::string TreePath;
};

// Two columns over drive T:, both listing T:\d\ (a folder "sub" and the files "a.txt" and
// "b.exe"), under the mouse window's fake.
class MouseTest : public BoardTest
{
protected:
    MouseTest()
    {
        MakeDirectory("d/sub");
        MakeFile("d/a.txt", 10);
        MakeFile("d/b.exe", 20);
        Open(Board[0], Drive.Path("d\\a.txt"));
        Open(Board[1], Drive.Path("d\\a.txt"));
    }

    // Points of an item's area: on its type badge, on its name.
    static QPoint Badge(TColumn& column, int32_t index)
    {
        return column.FileList->GetItemAreaRect(index).topLeft() + QPoint(1, 1);
    }
    static QPoint Name(TColumn& column, int32_t index)
    {
        return column.FileList->GetItemAreaRect(index).topLeft() + QPoint(column.GetBadgeWidth(true) + 5, 1);
    }
    // Below the last item.
    static QPoint Empty(TColumn& column)
    {
        return column.FileList->GetItemAreaRect(column.GetItemCount() - 1).bottomLeft() + QPoint(1, 30);
    }

    TFakeItemPainting Painting;
    TFakeMouseWindow Mouse;
};
