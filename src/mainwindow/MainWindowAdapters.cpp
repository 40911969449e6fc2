#include "mainwindow/MainWindowAdapters.h"

#include "mainwindow/Boards.h"
#include "mainwindow/MainForm.h"

#include "columns/BoardServices.h"
#include "columns/ContainerDialog.h"
#include "columns/ContainerServices.h"
#include "columns/InformationBar.h"
#include "columns/ItemPaintServices.h"
#include "columns/KeyServices.h"
#include "columns/MainWindowServices.h"
#include "columns/MouseServices.h"

namespace {

class TWindow : public TMainWindowServices
{
public:
    explicit TWindow(TMainForm& window) : Window(window) {}
    QWidget* GetColumnsPanel() override { return Window.ColumnsPanel; }
    int32_t GetVisibleColumnCount() override { return Window.VisibleColumnCount; }
    TColumn* GetColumn(int32_t index) override
    {
        return index >= 0 && index < ColumnCount ? Window.Columns[static_cast<size_t>(index)] : nullptr;
    }
    void Reset(bool clearLists) override { Window.Reset(clearLists); }
    void BeginBusy() override { Window.BeginBusy(); }
    void EndBusy() override { Window.EndBusy(); }
    TContainer* FindContainer(int32_t index) override { return Window.ContainerDialog->Containers.Find(index); }

private:
    TMainForm& Window;
};

class TBoardWindow : public TBoardServices
{
public:
    explicit TBoardWindow(TMainForm& window) : Window(window) {}
    int32_t GetActiveColumnIndex() override { return Window.ActiveColumnIndex; }
    void SetActiveColumnIndex(int32_t index) override { Window.ActiveColumnIndex = index; }
    void FocusColumn(int32_t index, bool force) override { Window.FocusColumn(index, force); }
    bool AreColumnWidthsEqual() override { return Window.AreColumnWidthsEqual(); }
    bool AreSubcolumnsEqual() override { return Window.AreSubcolumnsEqual(); }
    void ArrangeColumns() override { Window.ArrangeColumns(); }
    TColumn* GetDragSourceColumn() override
    {
        const int32_t index = Window.Press.DragSourceColumn;
        return index >= 0 && index < ColumnCount ? Window.Columns[static_cast<size_t>(index)] : nullptr;
    }

private:
    TMainForm& Window;
};

// Containers are shown and filled from the keys once the container commands exist.
class TKeyWindow : public TKeyServices
{
public:
    int32_t FindBoardByShortcut(char shortcut) override { return Boards->FindBoardByShortcut(shortcut); }
    void ShowBoard(int32_t index) override { Boards->ShowBoard(index); }
    void ShowContainer(int32_t) override {}
    void CopyToContainerMenuClick(int32_t, TColumn*) override {}
};

// The menus, the mouse menu and the hover window are not built yet: their requests keep
// the stand-in's answers.
class TMouseWindow : public TMouseServicesStandIn
{
public:
    explicit TMouseWindow(TMainForm& window) : Window(window) {}
    TPressRecord& GetPressRecord() override { return Window.Press; }
    void StartColumnDrag() override { Boards->StartColumnDrag(); }
    void EndColumnDrag() override { Boards->EndColumnDrag(); }
    bool IsPlayList(const QObject* source) override { return source != nullptr && source == Window.PlayList; }

private:
    TMainForm& Window;
};

// The multi-rename dialog does not exist yet: nothing is renamed.
class TContainerWindow : public TContainerServices
{
public:
    explicit TContainerWindow(TMainForm& window) : Window(window) {}
    int32_t GetDragItemIndex() override { return Window.Press.DragItemIndex; }
    std::string GetDragItemTitle() override { return Window.Press.DragItemTitle; }
    void EndBusyAndCheck() override { Window.EndBusyAndCheck(); }
    bool MultiRenameDialog(TColumn&, TContainer*, bool) override { return false; }

private:
    TMainForm& Window;
};

// There are no thumbnails and no hover window yet.
class TItemPaintWindow : public TItemPaintServices
{
public:
    explicit TItemPaintWindow(TMainForm& window) : Window(window) {}
    THotItemRecord& GetHotItemRecord() override { return Window.HotItems; }
    void HideFileHover() override {}
    void PaintThumb(const std::string&, MyTPanel&, int64_t, host::FileTime, QPainter&, QRect, QRect) override {}

private:
    TMainForm& Window;
};

class TInfoBarWindow : public TInfoBarServices
{
public:
    explicit TInfoBarWindow(TMainForm& window) : Window(window) {}
    MyTPanel* GetInfoField(TInfoField field) override
    {
        if (field >= ifFiles && field <= ifPartitionAttributes)
            return Window.ColumnInfoFields[static_cast<size_t>(field - ifFiles)];
        if (field >= ifIndex && field <= ifModified)
            return Window.FileInfoFields[static_cast<size_t>(field - ifIndex)];
        if (field == ifDescription)
            return Window.FileDescField;
        if (field >= ifReferenceType && field <= ifReferenceWorkingDirectory)
            return Window.ReferenceInfoFields[static_cast<size_t>(field - ifReferenceType)];
        return nullptr;
    }
    bool IsInfoBarVisible(TInfoBar bar) override
    {
        switch (bar) {
        case ibColumn:
            return Window.ColumnInfoBar->isVisibleTo(&Window);
        case ibFile:
            return Window.FileInfoBar->isVisibleTo(&Window);
        case ibDescription:
            return Window.FileDescBar->isVisibleTo(&Window);
        case ibReference:
            return Window.ReferenceInfoBar->isVisibleTo(&Window);
        }
        return false;
    }

private:
    TMainForm& Window;
};

} // namespace

struct TMainWindowAdapters::TParts
{
    explicit TParts(TMainForm& window)
        : Window(window), BoardWindow(window), MouseWindow(window), ContainerWindow(window),
          ItemPaintWindow(window), InfoBarWindow(window)
    {
    }
    TWindow Window;
    TBoardWindow BoardWindow;
    TKeyWindow KeyWindow;
    TMouseWindow MouseWindow;
    TContainerWindow ContainerWindow;
    TItemPaintWindow ItemPaintWindow;
    TInfoBarWindow InfoBarWindow;
};

TMainWindowAdapters::TMainWindowAdapters(TMainForm& window) : Parts(std::make_unique<TParts>(window))
{
    TSeam<TMainWindowServices>::Install(&Parts->Window);
    TSeam<TBoardServices>::Install(&Parts->BoardWindow);
    TSeam<TKeyServices>::Install(&Parts->KeyWindow);
    TSeam<TMouseServices>::Install(&Parts->MouseWindow);
    TSeam<TContainerServices>::Install(&Parts->ContainerWindow);
    TSeam<TItemPaintServices>::Install(&Parts->ItemPaintWindow);
    TSeam<TInfoBarServices>::Install(&Parts->InfoBarWindow);
}

TMainWindowAdapters::~TMainWindowAdapters()
{
    TSeam<TMainWindowServices>::Install(nullptr);
    TSeam<TBoardServices>::Install(nullptr);
    TSeam<TKeyServices>::Install(nullptr);
    TSeam<TMouseServices>::Install(nullptr);
    TSeam<TContainerServices>::Install(nullptr);
    TSeam<TItemPaintServices>::Install(nullptr);
    TSeam<TInfoBarServices>::Install(nullptr);
}
