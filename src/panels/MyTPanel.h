#pragma once

#include "core/drawing/Color.h"
#include "core/forms/InputState.h"
#include "core/forms/VirtualKeys.h"
#include "core/text/MyTime.h"

#include <QEvent>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class MyTPanel;
class QFont;
class QMenu;
class QPainter;
class QTimer;
class TStringList;

enum TMyPanelKind : int32_t
{
    mpkPanel = 0,
    mpkSplitter = 1,
    mpkList = 2,
    mpkScrollBar = 3,
    mpkLevelBar = 4
};

// Where a drag over a panel stands.
enum TDragState : int32_t
{
    dsDragEnter = 0,
    dsDragLeave = 1,
    dsDragMove = 2
};

// A thumb drag is still moving or has ended.
enum TThumbPhase : int32_t
{
    tpMoving = 0,
    tpEnd = 1
};

// A list item. An owner's own item kind derives from it, so that the list, which owns its
// items, destroys each one whole.
class TPanelItem
{
public:
    virtual ~TPanelItem() = default;
};

// The default item: a cell holding one text.
class TTextItem : public TPanelItem
{
public:
    std::string Text;
};

using TPanelItems = std::vector<std::unique_ptr<TPanelItem>>;

// The owner-drawn panel of which every list, column, button, splitter and bar is made.
// It paints into its own back buffer, over the background that all panels share, and
// paintEvent only copies that buffer to the screen. It holds no application knowledge:
// the owner sets its fields, hands it items and hears of everything through closures.
// Every x, y handed to a closure is measured inside the border.
class MyTPanel : public QWidget
{
public:
    explicit MyTPanel(QWidget* parent);
    ~MyTPanel() override;
    MyTPanel(const MyTPanel&) = delete;
    MyTPanel& operator=(const MyTPanel&) = delete;

    // ---- Fields ----

    QWidget* ParentControl = nullptr;
    // Set only through SetKind.
    int32_t Kind = mpkPanel;
    // The item list holds only its placeholder.
    bool Empty = true;
    // Colours of face, caption and margins: 0 button, 1 window, 2 filling.
    int32_t FaceColorSet = 2;
    // The fill of the panel's area in the shared background: 0 button back, 1 window back,
    // 2 filling.
    int32_t BackColorSet = 2;
    bool Framed = true;
    int32_t Border = 5;
    // Inset of the frame, of an oval face and of a borderless fill; never above Border.
    int32_t InnerMargin = 1;
    // 0 rectangle, 1 single oval, 2 double oval.
    int32_t ButtonShape = 0;
    bool ButtonFace = false;
    // Over a background picture, the panel's area is left unfilled in the shared background.
    bool Transparent = false;
    bool Pressed = false;
    bool Down = false;
    bool StrikeOut = false;
    // A vertical splitter is dragged left and right.
    bool Vertical = true;
    bool PathEllipsis = false;
    bool HotTrack = false;
    bool HCenterCaption = false;
    bool VCenterCaption = true;
    std::string UpCaption;
    std::string DownCaption;
    bool WordWrap = false;
    int32_t SplitStartX = 0;
    int32_t SplitStartY = 0;
    // 0 or less: one item fills the page.
    int32_t ItemHeight = 15;
    int32_t Subcolumns = 1;
    int32_t TopIndex = 0;
    int32_t FocusIndex = 0;
    // Made by SetKind for a list, else null.
    std::unique_ptr<TPanelItems> Items;
    MyTPanel* ScrollBar = nullptr;
    int32_t ThumbDragStartY = 0;
    int32_t ThumbDragStartTop = 0;
    // Cleared by the owner to suspend painting and scroll-bar updates.
    bool PaintEnabled = true;
    // Receives the keyboard focus whenever this panel gets it.
    MyTPanel* FocusTarget = nullptr;

    // ---- Event closures (an unset one is skipped) ----

    std::function<void(MyTPanel* sender, int32_t distance)> OnSplitterMoved;
    std::function<void(MyTPanel* sender, int32_t& distance)> OnSplitterMoving;
    std::function<void(MyTPanel* sender)> OnEnter;
    std::function<void(MyTPanel* sender)> OnExit;
    std::function<void(MyTPanel* sender, uint16_t& key, TShiftState shift)> OnKeyDown;
    std::function<void(MyTPanel* sender, TShiftState shift, bool& handled, QPoint mousePos)> OnMouseWheelDown;
    std::function<void(MyTPanel* sender, TShiftState shift, bool& handled, QPoint mousePos)> OnMouseWheelUp;
    std::function<void(MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y)> OnMouseDown;
    std::function<void(MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y)> OnMouseUp;
    std::function<void(MyTPanel* sender, TShiftState shift, int32_t x, int32_t y)> OnMouseMove;
    std::function<void(MyTPanel* sender, QObject* source, int32_t x, int32_t y, TDragState state, bool& accept)>
        OnDragOver;
    std::function<void(MyTPanel* sender, QObject* source, int32_t x, int32_t y)> OnDragDrop;
    std::function<void(MyTPanel* sender, QObject*& dragObject)> OnStartDrag;
    std::function<void(MyTPanel* sender, QObject* target, int32_t x, int32_t y)> OnEndDrag;
    std::function<void(QImage& bitmap)> OnPaintBackground;
    std::function<void(int32_t oldFocusIndex)> OnFocusChanged;
    std::function<void(int32_t topIndex)> OnTopChanged;
    std::function<void(QPainter& canvas)> OnPaint;
    std::function<void(QPainter& canvas, int32_t index)> OnDrawItem;
    std::function<bool(const TPanelItem& item)> OnIsEmptyItem;
    std::function<std::unique_ptr<TPanelItem>()> OnNewItem;
    std::function<void(const TPanelItem& source, TPanelItem& destination)> OnCopyItem;
    std::function<double()> OnGetLevel;
    std::function<void(double level)> OnLevelClick;
    std::function<TColor(bool fill)> OnGetLevelColor;
    // A thumb drag moved the list.
    bool ThumbScrolled = false;
    std::function<void(bool moved)> OnScroll;

    // ---- Construction, kind and placement (MyTPanel.cpp) ----

    void SetKind(int32_t kind);
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    void SetBorder(int32_t width);
    void SetVertical(bool vertical);
    void SetItemHeight(int32_t height);
    void SetSubcolumns(int32_t count);
    void SetCaptions(const std::string& upCaption, const std::string& downCaption);
    const std::string& GetCaption() const { return Caption; }
    // Both place this panel in its parent's inner area, as SetBounds does.
    void PlaceRightOf(const MyTPanel& other, int32_t gap, int32_t width, int32_t height);
    void PlaceBelow(const MyTPanel& other, int32_t gap, int32_t width, int32_t height);
    // Pops the menu up at the panel's bottom edge; x from the inner left edge, or the
    // cursor's for x < 0.
    void PopupMenuBelow(QMenu& menu, int32_t x);

    // ---- Items (MyTPanel.cpp) ----

    void Clear();
    void ClearItems();
    void ResetItems();
    void CheckEmpty();
    void AddItem(std::unique_ptr<TPanelItem> item);
    int32_t AddTextItem(const std::string& text);
    void AppendItems(TPanelItems items);
    void CopyItemsFrom(const MyTPanel& other);
    void LoadTextItems(const TStringList& strings);
    // The file's lines as text items, in order, empty lines skipped; `itemText`, when
    // given, makes each line's item text. A file of more than `maxBytes` is refused
    // without reading it further: "File size is too big (over N bytes)." (the path), the
    // list left empty.
    void LoadTextItemsFromFile(const std::string& path, uint64_t maxBytes,
                               const std::function<std::string(std::string_view line)>& itemText = {});
    int32_t IndexOfTextItem(const std::string& text) const;
    void ShuffleItems(int32_t passes);
    // The item closures that SetKind gives a list whose owner left them unset: text items.
    static bool DefaultIsEmptyItem(const TPanelItem& item);
    static std::unique_ptr<TPanelItem> DefaultNewItem();
    static void DefaultCopyItem(const TPanelItem& source, TPanelItem& destination);
    // The item count for layout and navigation: 0 while Empty.
    int32_t GetCount() const;
    // The items actually held, the placeholder included.
    int32_t GetRawCount() const;
    TPanelItem* GetItem(int32_t index) const;

    // ---- Geometry, scrolling and focus (MyTPanel.cpp) ----

    const QFont& GetTextFont();
    int32_t GetItemHeight();
    int32_t GetItemsWidth(bool withoutScrollBar);
    // The height of a text line: the text font's, ItemsExtraHeight and 1.
    int32_t GetLineHeight();
    QRect GetItemRect(int32_t index);
    QRect GetItemAreaRect(int32_t index);
    int32_t GetItemAt(int32_t x, int32_t y);
    int32_t GetItemUnderMouse();
    int32_t GetLastVisibleIndex();
    int32_t ClampTopIndex(int32_t index);
    void SetTopIndex(int32_t index);
    void SetFocusIndex(int32_t index);
    void SetFocusWithOffset(int32_t index, int32_t topOffset, bool force);
    void ScrollToFocus();
    void KeepFocusInView();
    void RepaintItem(int32_t index);
    void RepaintFocusedItem();
    void ResetScrollBar(bool force);
    int32_t GetTrackHeight();
    int32_t GetThumbHeight();
    int32_t GetThumbTop(int32_t thumb);
    // Rows of items, rows in view and items per page, as the layout counts them.
    int64_t GetRowCount();
    int32_t GetRowsInView();
    int32_t GetPageCount();

    // ---- Input (MyTPanelInput.cpp) ----

    void KeyDown(uint16_t& key, TShiftState shift);
    bool DoMouseWheelDown(TShiftState shift, QPoint mousePos);
    bool DoMouseWheelUp(TShiftState shift, QPoint mousePos);
    void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void MouseMove(TShiftState shift, int32_t x, int32_t y);
    void DragOver(QObject* source, int32_t x, int32_t y, TDragState state, bool& accept);
    void DragDrop(QObject* source, int32_t x, int32_t y);
    void DoStartDrag(QObject*& dragObject);
    void DoEndDrag(QObject* target, int32_t x, int32_t y);
    // Starts a drag of this panel at once; it ends at the next button release.
    void BeginDrag();
    void FocusGot();
    void FocusLost();
    void ArrowKeyUp(uint16_t key);
    void FocusPrevious();
    void FocusNext();
    void FocusFirst();
    void FocusLast();
    void FocusFirstInView();
    void FocusLastInView();
    void PageUp();
    void PageDown();
    void ScrollRowUp();
    void ScrollRowDown();
    void FocusLeftInRow();
    void FocusRightInRow();
    void FocusRowUp();
    void FocusRowDown();
    int32_t FocusItemAt(int32_t x, int32_t y);
    void ScrollByThumb(int32_t distance, TThumbPhase phase);
    static MyTPanel* GetPanelUnderMouse(QPoint screenPos);

    // ---- Painting (MyTPanelPaint.cpp) ----

    // The panel's back buffer needs painting; the paint runs once, before the next screen
    // update.
    void Invalidate();
    // Runs a pending paint now.
    void Update();
    void Repaint();
    // Paints at once on the panel's own canvas, the back buffer, and shows the area. While
    // the panel cannot paint nothing happens; a buffer not made yet waits for a full paint.
    void PaintOnOwnCanvas(QRect area, const std::function<void(QPainter& canvas)>& paint);
    void Paint();
    void FPaint(QImage& target, bool intoBackground, QRect destination, QRect source);
    void PaintFrame();
    void ResetAll();
    void PaintScrollBar(QPainter& canvas, QRect rect);
    void SetPressed(bool on);
    bool IsHot(bool intoBackground) const;
    bool CanPaint() const;
    bool CanPaintFrame() const;
    // What the screen shows of the panel.
    const QImage& BackBuffer() const { return Buffer; }
    // The panel's place in the shared background.
    QRect GetBackgroundRect() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The colours of the face colour set.
    struct TColorSet
    {
        TColor Face;
        TColor Text;
        TColor BriskMargin;
        TColor Margin;
        int32_t MarginTranslucency;
        int32_t BackTranslucency;
    };

    static QEvent::Type PaintRequestEvent();
    void Construct(QWidget* parent);
    bool Dispatch(QEvent* event);
    void Resize();
    void CreateScrollBar();
    void InstallDefaultItemClosures();
    int32_t GetFontHeightOfTextFont();
    int32_t GetSubcolumnCount() const;
    MyTPanel* ScrollBarList() const;
    bool IsShowing() const;
    bool IsScrollBarShown() const;
    bool DoMouseWheel(int32_t sign, TShiftState shift, QPoint mousePos);
    void PressMouse(QMouseEvent* event, bool doubleClick);
    // True when the back buffer already had the panel's size; else it is made anew.
    bool EnsureBackBuffer();
    TColorSet GetColorSet() const;
    TColor GetBackColor() const;
    TColor GetTintColor(bool hot) const;
    void CopyBase(QImage& target, bool lit, QRect destination, QRect source);
    void FillBase(QPainter& canvas, QRect destination);
    void PaintFaceAndFrame(QPainter& canvas, bool pressedLook, bool hot, QRect destination);
    void PaintContent(QPainter& canvas, QRect destination);
    void PaintItems(QPainter& canvas);
    void PaintCaption(QPainter& canvas);
    void PaintLevel(QPainter& canvas, QRect destination);

    std::string Caption;
    QImage Buffer;
    bool PaintPosted = false;
    bool PaintNeeded = false;
    bool MouseCaptured = false;
    int32_t WheelRemainder = 0;
    // Arrow keys (bit 0 for Left) whose press, made with Shift, Ctrl or Alt, was handled.
    uint8_t DeliveredArrows = 0;
    // The text font as the options name it, kept with the name and size it was made from;
    // its height is 0 until measured.
    std::optional<QFont> WantedFont;
    std::string WantedFontName;
    int32_t WantedFontSize = 0;
    int32_t WantedFontHeight = 0;
    // Set while a paint draws the items: the item under the mouse, read once for all rows.
    std::optional<int32_t> ItemUnderMouseInPaint;
};

// The state that all panels share.
class TMyPanelGlobal
{
public:
    MyTPanel* HotPanel = nullptr;
    // At most one panel shows the pressed look.
    MyTPanel* PressedPanel = nullptr;
    // The control whose tree of panels shares the background.
    QWidget* RootControl = nullptr;
    // Started at each press.
    TCrono PressCrono;
    // No panel paints while it is false.
    bool PaintingEnabled = true;

    // The 200 ms timer that ends the hot and pressed looks; disabled at the start.
    void SetTimerEnabled(bool enabled);
    bool IsTimerEnabled() const;
    void TimerTick();

private:
    // Made at the first start, as a child of the application, which then destroys it.
    QPointer<QTimer> Timer;
};

extern TMyPanelGlobal GMyPanelGlobal;

// For a visible control: paints the resting frame of each panel child into the shared
// background, then of their panel children in turn.
void PaintPanelFrames(QWidget* control);
