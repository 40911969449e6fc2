// The column's model: construction of its three panels, layout, item height, the view
// attributes and their reset, and the clearing of the list. Listing is in
// ColumnListing.cpp, loading and focusing in ColumnLoading.cpp, selection in
// ColumnSelection.cpp.

#include "columns/Column.h"

#include "columns/MainWindowServices.h"

#include "core/errors/Traced.h"
#include "core/files/KnownFolders.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"

#include <QAction>

namespace {

std::string CaptionOf(const QAction& item)
{
    return item.text().toStdString();
}

} // namespace

void SetPanelText(MyTPanel& panel, const std::string& text)
{
    panel.SetCaptions(text, text);
}

TColumn::TColumn(int32_t index) : Index(index)
{
    SetActiveTitleToOperatorDrive();
    PreviousTitle = ActiveTitle;
    DefaultTitle = ActiveTitle;
    Panel = new MyTPanel(TSeam<TMainWindowServices>::Get().GetColumnsPanel());
    OwnedPanel = Panel;
    Panel->SetBorder(0);
    CreateHeaderButton();
    CreateFileList();
    BindMouseEvents();
    BindKeyEvents();
    HeaderButton->FocusTarget = FileList;
}

TColumn::~TColumn()
{
    DirMonitor.Reset();
    // The columns panel may have gone first, taking this column's panels with it.
    delete OwnedPanel.data();
}

// A new column shows the list of drives with the drive of the Windows folder focused.
void TColumn::SetActiveTitleToOperatorDrive()
{
    ActiveTitle = GetOperatorDrive();
}

void TColumn::CreateHeaderButton()
{
    HeaderButton = new MyTPanel(Panel);
    HeaderButton->FaceColorSet = 0;
    HeaderButton->ButtonFace = true;
    HeaderButton->Transparent = true;
    HeaderButton->PathEllipsis = true;
    HeaderButton->HotTrack = true;
    HeaderButton->Invalidate();
}

void TColumn::CreateFileList()
{
    FileList = new MyTPanel(Panel);
    // Set before the kind, so that the list's placeholder is a column item.
    FileList->OnIsEmptyItem = [](const TPanelItem& item) {
        return static_cast<const TFileListData&>(item).Title.empty();
    };
    FileList->OnNewItem = [] { return std::make_unique<TFileListData>(); };
    FileList->OnCopyItem = [](const TPanelItem& source, TPanelItem& destination) {
        static_cast<TFileListData&>(destination) = static_cast<const TFileListData&>(source);
    };
    FileList->SetKind(mpkList);
    FileList->FaceColorSet = 1;
    FileList->Transparent = true;
    // The column records its focus through the callers of SetInactiveFocus instead.
    FileList->OnFocusChanged = [](int32_t) {};
    FileList->OnScroll = [this](bool moved) { FileListScroll(moved); };
    FileList->OnTopChanged = [this](int32_t topIndex) { FileListTopChange(topIndex); };
    FileList->OnDrawItem = [this](QPainter& canvas, int32_t index) { FileListDrawItem(canvas, index); };
}

void TColumn::Reset(int32_t left, int32_t top, int32_t width, int32_t height)
{
    const bool shown = Index < TSeam<TMainWindowServices>::Get().GetVisibleColumnCount();
    TTraced trace;
    try {
        Panel->PaintEnabled = false;
        Panel->hide();
        if (shown) {
            Panel->SetBounds(left, top, width, height);
            const int32_t innerWidth = Panel->width() - 2 * Panel->Border;
            const int32_t headerHeight =
                GetFontHeight(HeaderButton->GetTextFont(), *HeaderButton) + 2 * HeaderButton->Border;
            HeaderButton->SetBounds(0, 0, innerWidth, headerHeight);
            HeaderButton->Down = FixedAttr;
            HeaderButton->Invalidate();
            FileList->SetBounds(0, headerHeight, innerWidth, Panel->height() - 2 * Panel->Border - headerHeight);
            ResetItemHeight();
            FileList->SetSubcolumns(Subcolumns);
            // The focused item keeps its row after the resize.
            FileList->SetFocusWithOffset(FileList->FocusIndex, ActiveTopOffset, true);
        } else {
            // A hidden column watches nothing.
            DirMonitor.Reset();
        }
    }
    TRACED_CATCH(trace)
    Panel->PaintEnabled = shown;
    if (shown)
        Panel->Invalidate();
    Panel->setVisible(shown);
}

void TColumn::ResetItemHeight()
{
    const int32_t line = GetFontHeight(FileList->GetTextFont(), *FileList) + ProgramOptions.ItemsExtraHeight + 1;
    if (!ThumbAttr)
        FileList->SetItemHeight(line);
    else if (ThumbHeight > 0)
        // The two lines more hold the name and the thumbnail's information line.
        FileList->SetItemHeight((ThumbHeight + 2) * line);
    else
        FileList->SetItemHeight(0);
}

void TColumn::ToggleFixedAttr()
{
    FixedAttr = !FixedAttr;
    HeaderButton->Down = FixedAttr;
    HeaderButton->Invalidate();
    if (auto* root = dynamic_cast<MyTPanel*>(GMyPanelGlobal.RootControl))
        root->ResetAll();
}

void TColumn::SetWidthAttr(const QAction& item)
{
    WidthAttr = GetIntFromTextOrZero(CaptionOf(item));
    TSeam<TMainWindowServices>::Get().Reset(false);
}

void TColumn::SetSubcolumns(const QAction& item)
{
    const int32_t old = Subcolumns;
    Subcolumns = GetIntFromTextOrZero(CaptionOf(item));
    // A column's share of the width follows the larger of its width and its subcolumns.
    if ((old > WidthAttr || Subcolumns > WidthAttr) && old != Subcolumns)
        TSeam<TMainWindowServices>::Get().Reset(false);
    else
        FileList->SetSubcolumns(Subcolumns);
}

void TColumn::SetThumbHeight(const QAction& item, bool allColumns)
{
    const std::string caption = CaptionOf(item);
    const int32_t height = caption == "Fill" ? 0 : GetIntFromTextOrZero(caption);
    if (!allColumns) {
        ThumbAttr = true;
        ApplyThumbHeight(height);
        return;
    }
    for (int32_t i = 0; i < MaxVisibleColumns; ++i) {
        TColumn* column = i == Index ? this : TSeam<TMainWindowServices>::Get().GetColumn(i);
        if (column == nullptr)
            continue;
        if (column == this)
            ThumbAttr = true;
        column->ApplyThumbHeight(height);
    }
}

void TColumn::ApplyThumbHeight(int32_t height)
{
    ThumbHeight = height;
    ResetItemHeight();
}

void TColumn::ToggleThumbAttr()
{
    ThumbAttr = !ThumbAttr;
    ResetItemHeight();
}

void TColumn::SetSortMode(const QAction& item)
{
    SortMode = CaptionOf(item);
    // A container is never sorted: its items stand in the container's order.
    if (ContainerIndex < 0)
        LoadDirectory({});
}

void TColumn::ToggleShowPathsInContainer()
{
    ShowPathsInContainer = !ShowPathsInContainer;
    FileList->Invalidate();
}

void TColumn::ResetToDefaults(bool resetFixed)
{
    ClearList();
    ContainerIndex = -1;
    if (resetFixed) {
        FixedAttr = false;
        HeaderButton->Down = false;
        HeaderButton->Invalidate();
    }
    WidthAttr = 1;
    Subcolumns = 1;
    FileList->SetSubcolumns(1);
    ThumbHeight = 3;
    ThumbAttr = false;
    ResetItemHeight();
    SortMode = "Name";
    ShowPathsInContainer = false;
    SetActiveTitleToOperatorDrive();
    ActiveType = ftDirectory;
    ActiveTopOffset = 0;
    ActiveKey = 0;
    DefaultTitle = ActiveTitle;
}

void TColumn::ClearList()
{
    FileList->ClearItems();
    DirsCount = 0;
    LinksCount = 0;
    ProgramsCount = 0;
    DocumentsCount = 0;
    GenericCount = 0;
    EncryptedCount = 0;
    TotalSize = 0;
    SelectedCount = 0;
    SelectedSize = 0;
}

int32_t TColumn::GetItemCount() const
{
    return FileList->GetCount();
}

TFileListData& TColumn::GetItem(int32_t index) const
{
    TPanelItem* item = FileList->GetItem(index);
    if (item == nullptr)
        throw EError("List index out of bounds (" + std::to_string(index) + ").");
    return static_cast<TFileListData&>(*item);
}
