// The panel's model and geometry: construction, kind, items, rows and columns, the top
// and focus index, the list's scroll bar and placement. Input is in MyTPanelInput.cpp,
// painting in MyTPanelPaint.cpp.

#include "panels/MyTPanel.h"

#include "panels/MyPanelOptions.h"
#include "panels/PanelDrag.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"
#include "core/text/Random.h"
#include "core/text/StringList.h"
#include "core/text/Text.h"

#include "host/File.h"
#include "host/LastError.h"

#include <QCursor>
#include <QMenu>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int32_t DefaultBorder = 5;

const char* const ScrollBarHint =
    "Scrollbar. [LMB + Drag up / down] = scroll the list-box up / down. The height of the scrollbar thumb is an "
    "inverse indicator of the number of items (from the list-box) which can be scrolled: the bigger it is, the "
    "fewer items to be scrolled there are.";

// Item rectangles of far-off items still fit the window system's coordinates.
int32_t ToCoordinate(int64_t value)
{
    constexpr int64_t Limit = std::numeric_limits<int32_t>::max() / 2;
    return static_cast<int32_t>(std::clamp(value, -Limit, Limit));
}

int32_t ToIndex(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t BorderOf(const QWidget* control)
{
    const auto* panel = dynamic_cast<const MyTPanel*>(control);
    return panel == nullptr ? 0 : panel->Border;
}

std::unique_ptr<TPanelItem> MakeTextItem(const std::string& text)
{
    auto item = std::make_unique<TTextItem>();
    item->Text = text;
    return item;
}

} // namespace

TMyPanelGlobal GMyPanelGlobal;

// ---- Construction and kind ----

MyTPanel::MyTPanel(QWidget* parent) : QWidget(parent)
{
    Construct(parent);
}

MyTPanel::~MyTPanel()
{
    if (PanelDrag.GetSource() == this)
        PanelDrag.Abandon();
    if (GMyPanelGlobal.HotPanel == this)
        GMyPanelGlobal.HotPanel = nullptr;
    if (GMyPanelGlobal.PressedPanel == this)
        GMyPanelGlobal.PressedPanel = nullptr;
    delete ScrollBar;
    ScrollBar = nullptr;
    Clear();
}

void MyTPanel::Construct(QWidget* parent)
{
    TTraced trace;
    try {
        ParentControl = parent;
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setAutoFillBackground(false);
        setFocusPolicy(Qt::NoFocus);
        setMouseTracking(true);
        if (parent != nullptr)
            show();
    }
    TRACED_CATCH(trace)
}

void MyTPanel::SetKind(int32_t kind)
{
    Invalidate();
    if (Kind == mpkSplitter)
        unsetCursor();
    Kind = kind;
    if (Kind == mpkList)
        InstallDefaultItemClosures();
    Clear();
    Items.reset();
    if (Kind == mpkSplitter)
        setCursor(Vertical ? Qt::SplitHCursor : Qt::SplitVCursor);
    if (Kind == mpkList) {
        Items = std::make_unique<TPanelItems>();
        CreateScrollBar();
        CheckEmpty();
    }
}

void MyTPanel::InstallDefaultItemClosures()
{
    if (!OnIsEmptyItem)
        OnIsEmptyItem = DefaultIsEmptyItem;
    if (!OnNewItem)
        OnNewItem = DefaultNewItem;
    if (!OnCopyItem)
        OnCopyItem = DefaultCopyItem;
}

bool MyTPanel::DefaultIsEmptyItem(const TPanelItem& item)
{
    const auto* text = dynamic_cast<const TTextItem*>(&item);
    return text != nullptr && text->Text.empty();
}

std::unique_ptr<TPanelItem> MyTPanel::DefaultNewItem()
{
    return MakeTextItem({});
}

void MyTPanel::DefaultCopyItem(const TPanelItem& source, TPanelItem& destination)
{
    const auto* from = dynamic_cast<const TTextItem*>(&source);
    auto* to = dynamic_cast<TTextItem*>(&destination);
    if (from != nullptr && to != nullptr)
        to->Text = from->Text;
}

void MyTPanel::CreateScrollBar()
{
    delete ScrollBar;
    ScrollBar = new MyTPanel(this);
    ScrollBar->hide();
    ScrollBar->SetKind(mpkScrollBar);
    ScrollBar->FaceColorSet = 1;
    ScrollBar->BackColorSet = 1;
    ScrollBar->SetBorder(0);
    ScrollBar->HotTrack = true;
    ScrollBar->Transparent = true;
    ScrollBar->FocusTarget = this;
    ScrollBar->setToolTip(QString::fromUtf8(ScrollBarHint));
}

void MyTPanel::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height)
{
    Invalidate();
    const int32_t parentBorder = BorderOf(parentWidget());
    setGeometry(left + parentBorder, top + parentBorder, std::max(width, 0), std::max(height, 0));
}

void MyTPanel::resizeEvent(QResizeEvent*)
{
    Resize();
}

void MyTPanel::Resize()
{
    Invalidate();
    if (Kind == mpkList)
        ResetScrollBar(true);
}

void MyTPanel::SetBorder(int32_t width)
{
    Invalidate();
    if (width < 0)
        width = DefaultBorder;
    Border = width;
    InnerMargin = std::min(InnerMargin, width);
}

void MyTPanel::SetVertical(bool vertical)
{
    if (Kind == mpkSplitter)
        setCursor(vertical ? Qt::SplitHCursor : Qt::SplitVCursor);
    Vertical = vertical;
}

void MyTPanel::SetItemHeight(int32_t height)
{
    Invalidate();
    const bool changed = height != ItemHeight;
    ItemHeight = height;
    ResetScrollBar(changed);
}

void MyTPanel::SetSubcolumns(int32_t count)
{
    Invalidate();
    count = std::max(count, 1);
    const bool changed = count != Subcolumns;
    Subcolumns = count;
    ResetScrollBar(changed);
}

void MyTPanel::SetCaptions(const std::string& upCaption, const std::string& downCaption)
{
    UpCaption = upCaption;
    DownCaption = downCaption;
    Caption = Down ? DownCaption : UpCaption;
    Invalidate();
}

void MyTPanel::PlaceRightOf(const MyTPanel& other, int32_t gap, int32_t width, int32_t height)
{
    const int32_t otherParentBorder = BorderOf(other.parentWidget());
    SetBounds(other.x() + other.width() + gap - otherParentBorder, other.y() - otherParentBorder, width, height);
}

void MyTPanel::PlaceBelow(const MyTPanel& other, int32_t gap, int32_t width, int32_t height)
{
    const int32_t otherParentBorder = BorderOf(other.parentWidget());
    SetBounds(other.x() - otherParentBorder, other.y() + other.height() + gap - otherParentBorder, width, height);
}

void MyTPanel::PopupMenuBelow(QMenu& menu, int32_t x)
{
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    const int32_t screenX = x >= 0 ? origin.x() + Border + x : QCursor::pos().x();
    RunPopupMenu(menu, QPoint(screenX, origin.y() + height() - 1));
}

// ---- Items ----

int32_t MyTPanel::GetRawCount() const
{
    return Items == nullptr ? 0 : static_cast<int32_t>(Items->size());
}

int32_t MyTPanel::GetCount() const
{
    return Empty ? 0 : GetRawCount();
}

TPanelItem* MyTPanel::GetItem(int32_t index) const
{
    return index < 0 || index >= GetRawCount() ? nullptr : (*Items)[static_cast<size_t>(index)].get();
}

void MyTPanel::Clear()
{
    if (Items != nullptr)
        Items->clear();
    TopIndex = 0;
    FocusIndex = 0;
    Empty = true;
    ThumbScrolled = false;
}

void MyTPanel::ClearItems()
{
    Clear();
    ResetItems();
}

void MyTPanel::ResetItems()
{
    Invalidate();
    CheckEmpty();
    ResetScrollBar(true);
}

void MyTPanel::CheckEmpty()
{
    if (Items == nullptr)
        return;
    if (Items->empty()) {
        Empty = true;
        Items->push_back(OnNewItem());
        return;
    }
    Empty = Items->size() == 1 && OnIsEmptyItem(*Items->front());
}

void MyTPanel::AddItem(std::unique_ptr<TPanelItem> item)
{
    if (Items == nullptr)
        return;
    if (Empty)
        Clear();
    Empty = false;
    Items->push_back(std::move(item));
}

int32_t MyTPanel::AddTextItem(const std::string& text)
{
    if (text.empty() || Items == nullptr)
        return -1;
    AddItem(MakeTextItem(text));
    return GetRawCount() - 1;
}

void MyTPanel::AppendItems(TPanelItems items)
{
    if (Items == nullptr)
        return;
    if (Empty)
        Clear();
    Items->reserve(Items->size() + items.size());
    for (std::unique_ptr<TPanelItem>& item : items)
        Items->push_back(std::move(item));
    ResetItems();
}

void MyTPanel::CopyItemsFrom(const MyTPanel& other)
{
    if (&other == this || Items == nullptr)
        return;
    Clear();
    const int32_t count = other.GetCount();
    Items->reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<TPanelItem> item = OnNewItem();
        OnCopyItem(*other.GetItem(i), *item);
        Items->push_back(std::move(item));
    }
    ResetItems();
}

void MyTPanel::LoadTextItems(const TStringList& strings)
{
    TTraced trace;
    try {
        Clear();
        if (Items != nullptr)
            Items->reserve(static_cast<size_t>(strings.Count()));
        for (int32_t i = 0; i < strings.Count(); ++i)
            AddTextItem(strings[i]);
    }
    TRACED_CATCH(trace)
    ResetItems();
}

void MyTPanel::LoadTextItemsFromFile(const std::string& path, uint64_t maxBytes,
                                     const std::function<std::string(std::string_view line)>& itemText)
{
    TTraced trace;
    try {
        Clear();
        host::SetLastError(host::ERROR_SUCCESS);
        // One byte past the bound tells a file that passes it, without reading the rest.
        const std::optional<std::string> text = host::ReadFileContents(path, maxBytes + 1);
        if (!text)
            throw EError("Cannot open file \"" + path + "\". " + GetSystemErrorText(host::GetLastError()));
        if (text->size() > maxBytes)
            trace.Raise("File size is too big (over " + std::to_string(maxBytes) + " bytes).", path);
        else
            ForEachLine(*text, [&](std::string_view line) {
                AddTextItem(itemText && !line.empty() ? itemText(line) : std::string(line));
            });
    }
    TRACED_CATCH(trace)
    ResetItems();
}

int32_t MyTPanel::IndexOfTextItem(const std::string& text) const
{
    for (int32_t i = 0; i < GetCount(); ++i) {
        const auto* item = dynamic_cast<const TTextItem*>(GetItem(i));
        if (item != nullptr && SameTextAscii(item->Text, text))
            return i;
    }
    return -1;
}

void MyTPanel::ShuffleItems(int32_t passes)
{
    Invalidate();
    const int32_t count = GetCount();
    for (int32_t pass = 0; pass < passes; ++pass)
        for (int32_t i = 0; i < count; ++i) {
            const int32_t j = std::abs(static_cast<int32_t>(Random.Get()) % count);
            if (j != i)
                std::swap((*Items)[static_cast<size_t>(i)], (*Items)[static_cast<size_t>(j)]);
        }
}

// ---- Geometry ----

// Rows ask for the font twice each: it is made from the options' name only when they
// name another font, and measured only then (measuring costs more than a row of items).
const QFont& MyTPanel::GetTextFont()
{
    const bool list = Kind == mpkList;
    const std::string& name = list ? *GMyPanelOptions.ItemsFontName : *GMyPanelOptions.CaptionFontName;
    const int32_t size = list ? *GMyPanelOptions.ItemsFontSize : *GMyPanelOptions.CaptionFontSize;
    if (!WantedFont || name != WantedFontName || size != WantedFontSize) {
        WantedFont = QFont(QString::fromStdString(name), size);
        WantedFontName = name;
        WantedFontSize = size;
        WantedFontHeight = 0;
    }
    if (font() != *WantedFont)
        setFont(*WantedFont);
    return font();
}

int32_t MyTPanel::GetFontHeightOfTextFont()
{
    const QFont& textFont = GetTextFont();
    if (WantedFontHeight == 0)
        WantedFontHeight = GetFontHeight(textFont, *this);
    return WantedFontHeight;
}

int32_t MyTPanel::GetLineHeight()
{
    return GetFontHeightOfTextFont() + *GMyPanelOptions.ItemsExtraHeight + 1;
}

int32_t MyTPanel::GetSubcolumnCount() const
{
    return std::max(Subcolumns, 1);
}

int32_t MyTPanel::GetItemHeight()
{
    if (ItemHeight > 0)
        return ItemHeight;
    const int32_t line = GetLineHeight();
    const int32_t innerHeight = height() - 2 * Border;
    return line <= 0 || innerHeight <= 0 ? 0 : line * (innerHeight / line);
}

int64_t MyTPanel::GetRowCount()
{
    const int64_t sub = GetSubcolumnCount();
    return (GetCount() + sub - 1) / sub;
}

int32_t MyTPanel::GetRowsInView()
{
    const int32_t itemHeight = GetItemHeight();
    const int32_t innerHeight = height() - 2 * Border;
    return itemHeight <= 0 || innerHeight <= 0 ? 0 : innerHeight / itemHeight;
}

int32_t MyTPanel::GetPageCount()
{
    return ToIndex(static_cast<int64_t>(GetRowsInView()) * GetSubcolumnCount());
}

bool MyTPanel::IsScrollBarShown() const
{
    return ScrollBar != nullptr && !ScrollBar->isHidden();
}

int32_t MyTPanel::GetItemsWidth(bool withoutScrollBar)
{
    const int32_t width = this->width() - 2 * Border;
    return withoutScrollBar && IsScrollBarShown() ? width - GetLineHeight() : width;
}

QRect MyTPanel::GetItemAreaRect(int32_t index)
{
    if (index < 0 || index >= GetRawCount())
        return QRect(-1, -1, 0, 0);
    const int32_t sub = GetSubcolumnCount();
    const int32_t columnWidth = GetItemsWidth(true) / sub;
    const int32_t itemHeight = GetItemHeight();
    const int64_t k = static_cast<int64_t>(index) - TopIndex;
    return QRect(ToCoordinate(columnWidth * (k % sub)), ToCoordinate(itemHeight * (k / sub)), columnWidth, itemHeight);
}

QRect MyTPanel::GetItemRect(int32_t index)
{
    const QRect area = GetItemAreaRect(index);
    return area.width() == 0 && area.left() == -1 ? area : area.translated(Border, Border);
}

int32_t MyTPanel::GetItemAt(int32_t x, int32_t y)
{
    const int32_t sub = GetSubcolumnCount();
    const int32_t columnWidth = GetItemsWidth(true) / sub;
    const int32_t itemHeight = GetItemHeight();
    if (x < 0 || y < 0 || static_cast<int64_t>(x) >= static_cast<int64_t>(columnWidth) * sub ||
        static_cast<int64_t>(y) >= static_cast<int64_t>(GetRowsInView()) * itemHeight)
        return -1;
    const int64_t k = x / columnWidth + static_cast<int64_t>(y / itemHeight) * sub;
    return k < static_cast<int64_t>(GetLastVisibleIndex()) - TopIndex + 1 ? ToIndex(TopIndex + k) : -1;
}

int32_t MyTPanel::GetItemUnderMouse()
{
    if (ItemUnderMouseInPaint)
        return *ItemUnderMouseInPaint;
    const QPoint cursor = QCursor::pos();
    const QPoint inside = mapFromGlobal(cursor);
    // Only a point inside the panel can show it; asking which window is on top there is
    // another round trip to the display server.
    if (!rect().contains(inside) || !IsControlAtPoint(cursor, *this))
        return -1;
    return GetItemAt(inside.x() - Border, inside.y() - Border);
}

int32_t MyTPanel::GetLastVisibleIndex()
{
    return ToIndex(std::min<int64_t>(GetRawCount(), static_cast<int64_t>(TopIndex) + GetPageCount()) - 1);
}

// ---- Top and focus ----

int32_t MyTPanel::ClampTopIndex(int32_t index)
{
    const int64_t rows = GetRowCount();
    const int32_t rowsInView = GetRowsInView();
    if (rowsInView >= rows || index < 0)
        return 0;
    const int32_t sub = GetSubcolumnCount();
    return ToIndex(sub * std::min<int64_t>(rows - rowsInView, index / sub));
}

void MyTPanel::SetTopIndex(int32_t index)
{
    const int32_t top = ClampTopIndex(index);
    if (top == TopIndex)
        return;
    Invalidate();
    TopIndex = top;
}

void MyTPanel::ScrollToFocus()
{
    if (FocusIndex < TopIndex)
        SetTopIndex(FocusIndex);
    if (GetLastVisibleIndex() < FocusIndex)
        SetTopIndex(ToIndex(static_cast<int64_t>(FocusIndex) + GetSubcolumnCount() - GetPageCount()));
}

void MyTPanel::KeepFocusInView()
{
    if (FocusIndex < TopIndex)
        SetFocusIndex(TopIndex);
    if (GetLastVisibleIndex() < FocusIndex)
        SetFocusIndex(GetLastVisibleIndex());
}

void MyTPanel::SetFocusIndex(int32_t index)
{
    if (index == FocusIndex) {
        if (OnFocusChanged)
            OnFocusChanged(index);
        return;
    }
    const int32_t old = FocusIndex;
    index = std::clamp(index, 0, std::max(GetRawCount() - 1, 0));
    const int32_t last = GetLastVisibleIndex();
    const bool inView = TopIndex <= index && index <= last;
    FocusIndex = index;
    ScrollToFocus();
    if (TopIndex <= old && old <= last)
        RepaintItem(old);
    if (inView)
        RepaintFocusedItem();
    else
        Invalidate();
    if (OnFocusChanged)
        OnFocusChanged(old);
}

void MyTPanel::SetFocusWithOffset(int32_t index, int32_t topOffset, bool force)
{
    if (Empty || GetRawCount() < 1) {
        SetFocusIndex(0);
        SetTopIndex(0);
        return;
    }
    if (!force && TopIndex <= index && index <= GetLastVisibleIndex()) {
        SetFocusIndex(index);
        return;
    }
    index = std::clamp(index, 0, GetCount() - 1);
    const int32_t page = GetPageCount();
    int64_t top = index;
    if (topOffset >= 0) {
        top = static_cast<int64_t>(index) - std::min(topOffset, page);
        if (topOffset >= page)
            top += GetSubcolumnCount();
    }
    SetFocusIndex(index);
    if (force && top >= 0)
        SetTopIndex(ToIndex(top));
}

void MyTPanel::RepaintItem(int32_t index)
{
    if (OnDrawItem && TopIndex <= index && index <= GetLastVisibleIndex())
        PaintOnOwnCanvas(GetItemRect(index), [&](QPainter& canvas) { OnDrawItem(canvas, index); });
}

void MyTPanel::RepaintFocusedItem()
{
    RepaintItem(FocusIndex);
}

// ---- Scroll bar ----

bool MyTPanel::IsShowing() const
{
    return PaintEnabled && !isHidden() && parentWidget() != nullptr && !parentWidget()->isHidden();
}

void MyTPanel::ResetScrollBar(bool force)
{
    TTraced trace;
    try {
        if (Items == nullptr || ScrollBar == nullptr || (!force && !IsShowing()))
            return;
        const int64_t rows = GetRowCount();
        const int32_t rowsInView = GetRowsInView();
        if (rows > 0 && rowsInView > 0 && rowsInView < rows) {
            const int32_t line = GetLineHeight();
            ScrollBar->SetBounds(width() - 2 * Border - line, 0, line, rowsInView * GetItemHeight());
            ScrollToFocus();
            ScrollBar->show();
            ScrollBar->Invalidate();
        } else {
            ScrollBar->hide();
            TopIndex = 0;
        }
    }
    TRACED_CATCH(trace)
}

int32_t MyTPanel::GetTrackHeight()
{
    return ScrollBar == nullptr ? 0 : ScrollBar->height() - 2 * ScrollBar->Border;
}

int32_t MyTPanel::GetThumbHeight()
{
    const int64_t hidden = GetRowCount() - GetRowsInView();
    if (hidden <= 0)
        return 0;
    const int64_t sensitivity = std::max(*GMyPanelOptions.ScrollbarSensitivity, 1);
    const int64_t track = std::max(GetTrackHeight(), 0);
    const int64_t available = track - GetFontHeightOfTextFont();
    const int64_t steps = std::max<int64_t>(available / sensitivity, 1);
    const int64_t shrink = std::min((available * hidden) / steps, available);
    return static_cast<int32_t>(std::clamp<int64_t>(track - std::min(shrink, sensitivity * hidden), 0, track));
}

int32_t MyTPanel::GetThumbTop(int32_t thumb)
{
    if (thumb < 0)
        thumb = GetThumbHeight();
    const int64_t hidden = GetRowCount() - GetRowsInView();
    if (hidden <= 0)
        return 0;
    const int64_t room = std::max<int64_t>(GetTrackHeight() - thumb, 0);
    const int64_t top = static_cast<int64_t>(TopIndex / GetSubcolumnCount()) * room / hidden;
    return static_cast<int32_t>(std::clamp<int64_t>(top, 0, room));
}
