#include "columns/MouseServices.h"

#include "columns/Column.h"
#include "columns/MainWindowServices.h"

namespace {

// Until the main window exists a press is only recorded; there are no menus to enable,
// click or show, no mouse menu, no drag of the boards, no hot item and no other panels.
class TNoMouseWindow : public TMouseServices
{
public:
    TPressRecord& GetPressRecord() override { return Record; }
    void EnableFileMenuItems(TShiftState) override {}
    void EnableFileDragMenuItems(TShiftState) override {}
    void ClickCommand(const std::string&) override {}
    bool IsSelectMenuEnabled() override { return false; }
    void ShowFileMenu(QPoint, TShiftState) override {}
    void ShowInterBoardFileDragMenu(QPoint, TShiftState) override {}
    void PopupFileDragMenu(QPoint) override {}
    void ShowContextMenu(int32_t, QPoint, TShiftState, bool) override {}
    void SetupMouseMenu(MyTPanel&, QPoint, const TMouseMenuSettings&, TMouseMenuChoice) override {}
    void CloseMouseMenu() override {}
    void MouseMenuMove(QPoint) override {}
    void StartColumnDrag() override {}
    void EndColumnDrag() override {}
    void SetHotTrackItem(TColumn&, int32_t) override {}
    void CheckItemHotTrack() override {}
    void CheckFileHoverMouseMove(TColumn&, int32_t, int32_t, int32_t) override {}
    bool IsPlayList(const QObject*) override { return false; }
    bool GetPlayListActiveTitle(std::string&) override { return false; }
    bool IsDirectoryTree(const QObject*) override { return false; }
    std::string GetSelectedTreePath() override { return {}; }

private:
    TPressRecord Record;
};

TNoMouseWindow NoMouseWindow;
TMouseServices* InstalledServices = nullptr;

} // namespace

void SetMouseServices(TMouseServices* services)
{
    InstalledServices = services;
}

TMouseServices& GetMouseServices()
{
    return InstalledServices != nullptr ? *InstalledServices : NoMouseWindow;
}

TColumn* FindColumnByList(const QObject* list)
{
    if (list == nullptr)
        return nullptr;
    for (int32_t i = 0; i < MaxVisibleColumns; ++i) {
        TColumn* column = GetMainWindowServices().GetColumn(i);
        if (column != nullptr && column->FileList == list)
            return column;
    }
    return nullptr;
}
