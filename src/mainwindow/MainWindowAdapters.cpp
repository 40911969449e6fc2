#include "mainwindow/MainWindowAdapters.h"

#include "mainwindow/Boards.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/MouseMenu.h"
#include "mainwindow/ToolFormServices.h"

#include "fileops/FileForm.h"
#include "fileops/LocateFileForm.h"
#include "fileops/ManualRunForm.h"
#include "fileops/MultiRenameItemForm.h"
#include "fileops/NewFileForm.h"
#include "fileops/OverwriteForm.h"
#include "fileops/RenameForm.h"
#include "fileops/SearchFileForm.h"
#include "fileops/SelectionForm.h"

#include "columns/BoardsServices.h"
#include "columns/Column.h"
#include "columns/FileDialogServices.h"
#include "columns/InformationBar.h"
#include "columns/MainWindowColumns.h"
#include "columns/MainWindowContainers.h"
#include "columns/MainWindowItemPaint.h"
#include "columns/MainWindowMouse.h"
#include "columns/MainWindowServices.h"
#include "columns/SearchServices.h"
#include "columns/ToolServices.h"

#include "viewing/FileViewer.h"
#include "viewing/PictureConversion.h"
#include "viewing/ViewerWindow.h"

#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

class TWindow : public TMainWindowServices
{
public:
    explicit TWindow(TMainForm& window) : Window(window) {}
    QWidget* GetColumnsPanel() override { return Window.GetColumnsPanel(); }
    int32_t GetVisibleColumnCount() override { return Window.GetVisibleColumnCount(); }
    TColumn* GetColumn(int32_t index) override { return Window.GetColumn(index); }
    void Reset(bool clearLists) override { Window.Reset(clearLists); }
    void BeginBusy() override { Window.BeginBusy(); }
    void EndBusy() override { Window.EndBusy(); }
    void EndBusyAndCheck() override { Window.EndBusyAndCheck(); }

private:
    TMainForm& Window;
};

class TColumnsWindow : public TMainWindowColumns
{
public:
    explicit TColumnsWindow(TMainForm& window) : Window(window) {}
    int32_t GetActiveColumnIndex() override { return Window.GetActiveColumnIndex(); }
    void SetActiveColumnIndex(int32_t index) override { Window.SetActiveColumnIndex(index); }
    void FocusColumn(int32_t index, bool force) override { Window.FocusColumn(index, force); }
    bool AreColumnWidthsEqual() override { return Window.AreColumnWidthsEqual(); }
    bool AreSubcolumnsEqual() override { return Window.AreSubcolumnsEqual(); }
    void ArrangeColumns() override { Window.ArrangeColumns(); }

private:
    TMainForm& Window;
};

class TBoardsWindow : public TBoardsServices
{
public:
    int32_t FindBoardByShortcut(char shortcut) override { return Boards->FindBoardByShortcut(shortcut); }
    void ShowBoard(int32_t index) override { Boards->ShowBoard(index); }
    void ShowSearchBoard() override { Boards->ShowBoard(Boards->FindSearchBoard()); }
    void StartColumnDrag() override { Boards->StartColumnDrag(); }
    void EndColumnDrag() override { Boards->EndColumnDrag(); }
};

// The containers and their commands are the window's.
class TContainersWindow : public TMainWindowContainers
{
public:
    explicit TContainersWindow(TMainForm& window) : Window(window) {}
    TContainer* FindContainer(int32_t index) override { return Window.FindContainer(index); }
    int32_t FindContainerColumn(int32_t containerIndex) override { return Window.FindContainerColumn(containerIndex); }
    void ShowContainer(int32_t container) override { Window.ShowContainer(container); }
    void CopyToContainerMenuClick(int32_t container, TColumn* source) override
    {
        Window.CopyToContainerMenuClick(container, source);
    }

private:
    TMainForm& Window;
};

// The press record, the File, File-drag and inter-board menus with their enabling, the
// system menu and the clicking of commands are the window's; the mouse menu and the hover
// window keep the stand-in's answers: nothing else is shown.
class TMouseWindow : public TMainWindowMouseStandIn
{
public:
    explicit TMouseWindow(TMainForm& window) : Window(window) {}
    TPressRecord& GetPressRecord() override { return Window.GetPressRecord(); }
    void EnableFileMenuItems(TShiftState shift) override { Window.EnableFileMenuItems(shift); }
    void EnableFileDragMenuItems(TShiftState shift) override { Window.EnableFileDragMenuItems(shift); }
    void ClickCommand(const std::string& name) override { Window.ClickCommand(name); }
    bool IsSelectMenuEnabled() override { return Window.IsSelectMenuEnabled(); }
    void ShowFileMenu(QPoint screenPos, TShiftState shift) override
    {
        Window.ShowFileMenu(screenPos.x(), screenPos.y(), shift);
    }
    void PopupFileDragMenu(QPoint screenPos) override { Window.PopupFileDragMenu(screenPos); }
    void ShowInterBoardFileDragMenu(QPoint screenPos, TShiftState shift) override
    {
        Window.ShowInterBoardFileDragMenu(screenPos.x(), screenPos.y(), shift);
    }
    void ShowContextMenu(int32_t itemIndex, QPoint screenPos, TShiftState shift, bool drag) override
    {
        Window.ShowContextMenu(itemIndex, screenPos.x(), screenPos.y(), shift, drag);
    }
    void SetupMouseMenu(MyTPanel& list, QPoint screenPos, const TMouseMenuSettings& settings,
                        TMouseMenuChoice choose) override
    {
        Window.MouseMenuFrame->Setup(list, settings, SkinOptions.MouseMenuBackColor, SkinOptions.MouseMenuTextColor,
                                     std::move(choose), screenPos);
    }
    void CloseMouseMenu() override { Window.MouseMenuFrame->Close(); }
    void MouseMenuMove(QPoint screenPos) override { Window.MouseMenuFrame->MouseMove(screenPos); }
    bool IsPlayList(const QObject* source) override { return Window.IsPlayList(source); }
    bool IsDirectoryTree(const QObject* source) override { return Window.IsDirectoryTree(source); }
    std::string GetSelectedTreePath() override { return Window.GetSelectedTreePath(); }
    bool GetPlayListActiveTitle(std::string& title) override
    {
        title = Window.MediaPlayer.GetActiveTitle();
        return !title.empty();
    }
    void SetHotTrackItem(TColumn& column, int32_t index) override { Window.SetHotTrackItem(column, index); }
    void CheckItemHotTrack() override { Window.CheckItemHotTrack(); }
    void CheckFileHoverMouseMove(TColumn& column, int32_t index, int32_t x, int32_t y) override
    {
        Window.CheckFileHoverMouseMove(column, index, x, y);
    }

private:
    TMainForm& Window;
};

// The hot item, the hover window and the thumbnails are the window's.
class TItemPaintWindow : public TMainWindowItemPaint
{
public:
    explicit TItemPaintWindow(TMainForm& window) : Window(window) {}
    THotItemRecord& GetHotItemRecord() override { return Window.GetHotItemRecord(); }
    void HideFileHover() override { Window.HideFileHover(); }
    void PaintThumb(const std::string& title, MyTPanel& list, int64_t size, host::FileTime modified, QPainter& canvas,
                    QRect infoRect, QRect pictureRect) override
    {
        Window.PaintThumb(title, &list, size, modified, canvas, infoRect, pictureRect);
    }

private:
    TMainForm& Window;
};

class TInfoBarWindow : public TMainWindowInfoBars
{
public:
    explicit TInfoBarWindow(TMainForm& window) : Window(window) {}
    MyTPanel* GetInfoField(TInfoField field) override { return Window.GetInfoField(field); }
    bool IsInfoBarVisible(TInfoBar bar) override { return Window.IsInfoBarVisible(bar); }

private:
    TMainForm& Window;
};

// The picture converter, and the streams editor through the tool dialogs' seam.
class TToolsWindow : public TToolServicesStandIn
{
public:
    void SetFileStreamsEditorOptions() override { TSeam<TToolFormServices>::Get().SetFileStreamsEditorOptions(); }
    void OpenFileStreams(const std::string& file, TFileStreamsEditMode mode) override
    {
        TSeam<TToolFormServices>::Get().OpenFileStreams(file, mode);
    }
    bool GetPictureConverterID(const std::string& format, std::string& extension, std::string& encoder) override
    {
        return ::GetPictureConverterID(format, extension, encoder);
    }
    // The columns convert pictures they can read, so no plug-in and no plug-in colours.
    void ConvertPicture(const std::string& source, const std::string& destination, bool overwrite,
                        const std::string& extension, const std::string& encoder, double quality, int32_t boxWidth,
                        int32_t boxHeight, bool normalizeWidth, bool normalizeHeight, bool normalizeActive,
                        bool enlarge, int32_t enlargeMinimumSize) override
    {
        ::ConvertPicture(source, destination, overwrite, extension, encoder, quality, boxWidth, boxHeight,
                         normalizeWidth, normalizeHeight, normalizeActive, enlarge, enlargeMinimumSize, false, nullptr,
                         nullptr, 0, 0);
    }
};

// The overwrite question and the file operations are their dialogs' once these exist; the
// dialogs not built yet keep the stand-in's answers.
class TFileDialogsWindow : public TFileDialogsStandIn
{
public:
    bool FileOperationDialog(const std::string& operationName, const std::string& source, int32_t focusedIndex,
                             TContainer* container, TColumn& column) override
    {
        return FileForm != nullptr &&
               FileForm->Dialog(false, operationName, column, container, focusedIndex, source, "", "", false, false);
    }
    bool MultiRenameDialog(TColumn& column, TContainer* container, bool renameFiles) override
    {
        return MultiRenameItemForm != nullptr && MultiRenameItemForm->Dialog(column, container, renameFiles);
    }
    bool NewFileDialog(const std::string& folder, TNewFileKind kind, std::string& created) override
    {
        if (NewFileForm == nullptr || !NewFileForm->Dialog(folder, kind))
            return false;
        created = NewFileForm->EnteredName;
        return true;
    }
    void ResetOverwriteChoice() override
    {
        if (OverwriteForm)
            OverwriteForm->ResetChoice();
    }
    bool OverwriteDialog(const std::string& source, const std::string& destination, bool& overwrite) override
    {
        if (!OverwriteForm)
            return TFileDialogsStandIn::OverwriteDialog(source, destination, overwrite);
        bool abort = false;
        return OverwriteForm->Dialog(source, destination, abort, overwrite);
    }
    bool SelectionDialog(TColumn& column, bool select) override
    {
        return SelectionForm != nullptr && SelectionForm->Dialog(column, select);
    }
    bool RenameDialog(TColumn& column, bool item, TContainer* container) override
    {
        return RenameForm != nullptr && RenameForm->Dialog(column, item, container);
    }
    void ManualRunDialog(const std::string& file) override
    {
        if (ManualRunForm != nullptr)
            ManualRunForm->Dialog(file);
    }
};

// The search and locate dialogs, and the common-text search of the tools.
class TSearchWindow : public TSearchServices
{
public:
    bool SearchDialog(TColumn& column, const std::string& file, bool history, TSearchResult& result) override
    {
        if (SearchFileForm == nullptr || !SearchFileForm->Dialog(column, file, history))
            return false;
        const TSearchFileForm& form = *SearchFileForm;
        result.Action = form.ResultAction;
        result.ChosenPath = form.ResultPath;
        result.ContainerIndex = form.ResultContainer;
        result.KeepItems = form.ResultKeepItems;
        result.FoundItems.clear();
        for (int32_t i = 0; i < form.Engine.Found.Count(); ++i)
            result.FoundItems.push_back(
                {form.Engine.Found[i].Path, TFoundItems::GetItemRank(form.Engine.Found[i].Data)});
        result.ShowSearchBoard = form.ShowSearchBoardCheckBox->isChecked();
        result.ReuseContainer = form.ReuseContainerCheckBox->isChecked();
        result.UseColumnForContainer = form.UseColumnForContainerComboBox->currentIndex() + 1;
        return true;
    }
    void FindCommonTextDialog(TColumn& column) override
    {
        TSeam<TToolFormServices>::Get().FindCommonTextDialog(column);
    }
    void LocateFileDialog(TColumn& column) override
    {
        if (LocateFileForm != nullptr)
            LocateFileForm->Dialog(column);
    }
    void LocateNext(TColumn& column) override
    {
        if (LocateFileForm != nullptr)
            LocateFileForm->LocateNext(column);
    }
    void LocatePrevious(TColumn& column) override
    {
        if (LocateFileForm != nullptr)
            LocateFileForm->LocatePrevious(column);
    }
};

// The viewer panel, the application title and the thumbnails are the window's.
class TViewerWindowAdapter : public TViewerWindow
{
public:
    explicit TViewerWindowAdapter(TMainForm& window) : Window(window) {}
    void ShowViewer() override { Window.ShowViewer(); }
    void SetApplicationTitle(const std::string& title) override
    {
        Window.setWindowIconText(QString::fromStdString(title));
    }
    void FocusColumn() override { Window.FocusColumn(-1, false); }
    bool IsHoverClipPlaying() override { return Window.HoverClipPlaying; }
    void SetHoverClipPlaying(bool playing) override { Window.HoverClipPlaying = playing; }
    bool HasThumbnail(const std::string& title) override { return Window.HasThumbnail(title); }
    void PaintThumb(const std::string& fileName, int64_t size, host::FileTime modified, QPainter& canvas,
                    QRect infoRect, QRect thumbRect) override
    {
        Window.PaintThumb(fileName, nullptr, size, modified, canvas, infoRect, thumbRect);
    }

private:
    TMainForm& Window;
};

} // namespace

// The window's stay-on-top style, and the settings its file viewer shows with.
class TOptionsWindow : public TOptionsMainWindow
{
public:
    explicit TOptionsWindow(TMainForm& window) : Window(window) {}
    bool IsStayOnTop() const override { return Window.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
    // Changing the flag hides a shown window, which comes back at once.
    void SetStayOnTop(bool stayOnTop) override
    {
        const bool shown = Window.isVisible();
        Window.setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
        if (shown)
            Window.show();
    }
    TFileViewerSettings& FileViewerSettings() override { return Window.FileViewer->Settings; }

private:
    TMainForm& Window;
};

struct TMainWindowAdapters::TParts
{
    explicit TParts(TMainForm& window)
        : Window(window), ColumnsWindow(window), ContainersWindow(window), MouseWindow(window), ItemPaintWindow(window),
          InfoBarWindow(window), ViewerWindow(window), OptionsWindow(window)
    {
    }
    TWindow Window;
    TColumnsWindow ColumnsWindow;
    TBoardsWindow BoardsWindow;
    TContainersWindow ContainersWindow;
    TMouseWindow MouseWindow;
    TItemPaintWindow ItemPaintWindow;
    TInfoBarWindow InfoBarWindow;
    TToolsWindow ToolsWindow;
    TFileDialogsWindow FileDialogsWindow;
    TSearchWindow SearchWindow;
    TViewerWindowAdapter ViewerWindow;
    TOptionsWindow OptionsWindow;
};

TMainWindowAdapters::TMainWindowAdapters(TMainForm& window) : Parts(std::make_unique<TParts>(window))
{
    TSeam<TMainWindowServices>::Install(&Parts->Window);
    TSeam<TMainWindowColumns>::Install(&Parts->ColumnsWindow);
    TSeam<TBoardsServices>::Install(&Parts->BoardsWindow);
    TSeam<TMainWindowContainers>::Install(&Parts->ContainersWindow);
    TSeam<TMainWindowMouse>::Install(&Parts->MouseWindow);
    TSeam<TMainWindowItemPaint>::Install(&Parts->ItemPaintWindow);
    TSeam<TMainWindowInfoBars>::Install(&Parts->InfoBarWindow);
    TSeam<TToolServices>::Install(&Parts->ToolsWindow);
    TSeam<TFileDialogServices>::Install(&Parts->FileDialogsWindow);
    TSeam<TSearchServices>::Install(&Parts->SearchWindow);
    TSeam<TViewerWindow>::Install(&Parts->ViewerWindow);
    TSeam<TOptionsMainWindow>::Install(&Parts->OptionsWindow);
}

TMainWindowAdapters::~TMainWindowAdapters()
{
    TSeam<TMainWindowServices>::Install(nullptr);
    TSeam<TMainWindowColumns>::Install(nullptr);
    TSeam<TBoardsServices>::Install(nullptr);
    TSeam<TMainWindowContainers>::Install(nullptr);
    TSeam<TMainWindowMouse>::Install(nullptr);
    TSeam<TMainWindowItemPaint>::Install(nullptr);
    TSeam<TMainWindowInfoBars>::Install(nullptr);
    TSeam<TToolServices>::Install(nullptr);
    TSeam<TFileDialogServices>::Install(nullptr);
    TSeam<TSearchServices>::Install(nullptr);
    TSeam<TViewerWindow>::Install(nullptr);
    TSeam<TOptionsMainWindow>::Install(nullptr);
}
