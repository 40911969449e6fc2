#include "BoardTestWindow.h"

#include "mainwindow/MouseMenu.h"

#include "fileops/FileForm.h"

#include "panels/MyTPanel.h"
#include "panels/PanelDrag.h"

#include "core/forms/MessageBoxes.h"
#include "core/forms/Utilities.h"

#include "support/Pixels.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr TColor Back = 0x203040;
constexpr TColor Text = 0xF0E0D0;

// The mouse menu of a main window over drive T: (d\a.txt, d\b.txt), armed by a press at
// (500, 300) on the screen with cells 100 x 20 and the captions "Op 0" to "Op 11".
class MouseMenu : public testing::Test
{
protected:
    MouseMenu()
    {
        FileForm = &Form;
        for (const char* file : {"d/a.txt", "d/b.txt"})
            Drive.WriteFile(file, file);
        Window.Open();
        Column().LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = Drive.Path("d\\a.txt")});
        Window->FocusColumn(0, true);
        Settings.Sensitivity = 5;
        Settings.ItemWidth = 100;
        MyTPanel& list = *Column().FileList;
        Settings.ItemExtraHeight = 20 - GetFontHeight(list.GetTextFont(), list);
        Settings.FontName = "Arial";
        Settings.FontSize = 9;
        for (size_t i = 0; i < Settings.Operations.size(); ++i)
            Settings.Operations[i] = "Op " + std::to_string(i);
    }
    ~MouseMenu() override
    {
        PanelDrag.Abandon();
        Window.Discard();
        FileForm = nullptr;
        DeletePendingWindows();
    }

    TColumn& Column() const { return ColumnAt(*Window, 0); }
    TMouseMenuFrame& Frame() const { return *Window->MouseMenuFrame; }

    void Arm(QPoint at = {500, 300})
    {
        Frame().Setup(
            *Column().FileList, Settings, Back, Text,
            [this](const std::string& caption, QPoint point) {
                Chosen.push_back(caption + " at " + std::to_string(point.x()) + "," + std::to_string(point.y()) +
                                 (MouseMenuForm == nullptr ? ", closed" : ""));
            },
            at);
    }

    // Armed and opened by a move of the sensitivity.
    void Open()
    {
        Arm();
        Frame().MouseMove({505, 300});
        ASSERT_NE(nullptr, MouseMenuForm);
    }

    // The menu as the screen shows it, once painted.
    static const QImage& Painted()
    {
        MouseMenuForm->Panel->Repaint();
        return MouseMenuForm->Panel->BackBuffer();
    }

    static void DeletePendingWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    TTempDrive Drive{'T'};
    TFileForm Form;
    TBoardTestWindow Window;
    TMouseMenuSettings Settings;
    std::vector<std::string> Chosen;
};

TEST_F(MouseMenu, OpensOnceThePointerMovedTheSensitivityOnEitherAxis)
{
    struct TRow
    {
        QPoint Move;
        bool Opens;
    };
    const TRow rows[] = {
        {{504, 304}, false}, {{496, 296}, false}, {{505, 300}, true}, {{500, 305}, true}, {{495, 300}, true},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.Move.x()) + "," + std::to_string(row.Move.y()));
        Arm();
        Frame().MouseMove(row.Move);
        ASSERT_EQ(row.Opens, MouseMenuForm != nullptr);
        if (!row.Opens)
            continue;
        const QWidget& form = *MouseMenuForm;
        EXPECT_EQ(QRect(400, 240, 201, 121), form.geometry()) << "centred on the press";
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(form.testAttribute(Qt::WA_ShowWithoutActivating));
        EXPECT_EQ("Mouse menu", form.windowTitle().toStdString());
    }
}

TEST_F(MouseMenu, ThePressPointLiesInCellSixAndTheLastPixelsBelongToTheLastCells)
{
    Open();
    struct TRow
    {
        QPoint Point;
        int32_t Cell;
    };
    const TRow rows[] = {
        {{500, 300}, 6},  {{501, 300}, 7},  {{400, 240}, 0},  {{600, 360}, 11},
        {{601, 300}, -1}, {{399, 300}, -1}, {{500, 239}, -1}, {{500, 361}, -1},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(row.Cell, Frame().GetCellAt(row.Point.x(), row.Point.y())) << row.Point.x() << "," << row.Point.y();
    Frame().Close();
    EXPECT_EQ(-1, Frame().GetCellAt(500, 300)) << "no menu, no cell";
}

TEST_F(MouseMenu, ADropOnACellClosesTheMenuThenChoosesItsCaptionWithThePressPoint)
{
    Open();
    QPointer<TMouseMenuForm> form = MouseMenuForm;
    // Cell 3: the right cell of row 1.
    form->Panel->DragDrop(nullptr, 150, 30);
    EXPECT_EQ(std::vector<std::string>{"Op 3 at 500,300, closed"}, Chosen);
    EXPECT_FALSE(Frame().Active);
    DeletePendingWindows();
    EXPECT_EQ(nullptr, form) << "the window goes with the menu";

    // Outside the cells the menu closes without a choice.
    Open();
    MouseMenuForm->Panel->DragDrop(nullptr, 250, 30);
    EXPECT_EQ(1u, Chosen.size());
    EXPECT_EQ(nullptr, MouseMenuForm);
}

TEST_F(MouseMenu, ASecondPressClosesTheOpenMenuAndADisabledMenuStaysClosed)
{
    Open();
    QPointer<TMouseMenuForm> form = MouseMenuForm;
    Arm({700, 400});
    EXPECT_EQ(nullptr, form);
    EXPECT_TRUE(Frame().Active);
    EXPECT_FALSE(Frame().Shown);

    Settings.Active = false;
    Arm();
    Frame().MouseMove({520, 300});
    EXPECT_FALSE(Frame().Active);
    EXPECT_EQ(nullptr, MouseMenuForm);
}

TEST_F(MouseMenu, TranslucencySetsTheWindowsAlpha)
{
    struct TRow
    {
        int32_t Translucency;
        int32_t Alpha;
    };
    for (const TRow& row : {TRow{0, 255}, TRow{30, 178}, TRow{100, 0}}) {
        SCOPED_TRACE(row.Translucency);
        EXPECT_EQ(row.Alpha, GetMouseMenuAlpha(row.Translucency));
        Settings.Translucency = row.Translucency;
        Open();
        EXPECT_EQ(row.Alpha, qRound(MouseMenuForm->windowOpacity() * 255));
    }
}

// Whether a pixel of the rectangle has nearly the colour: the text's smoothed edges leave
// few pixels of the exact one.
bool HasColour(const QImage& image, QRect rect, TColor colour)
{
    const auto near = [](TColor a, TColor b, int shift) {
        return std::abs(((a >> shift) & 255) - ((b >> shift) & 255)) < 48;
    };
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const TColor pixel = PixelAt(image, x, y);
            if (near(pixel, colour, 0) && near(pixel, colour, 8) && near(pixel, colour, 16))
                return true;
        }
    return false;
}

TEST_F(MouseMenu, TheHighlightedCellIsPaintedWithTheColoursExchanged)
{
    Open();
    // Before the first paint a drag-over highlights nothing.
    Frame().DragOver(150, 30);
    EXPECT_EQ(-1, Frame().Highlighted);

    const QImage& plain = Painted();
    EXPECT_EQ(Text, PixelAt(plain, 100, 30)) << "the middle grid line";
    EXPECT_EQ(Text, PixelAt(plain, 150, 40)) << "a row line";
    EXPECT_EQ(Back, PixelAt(plain, 197, 37)) << "cell 3's fill";
    EXPECT_EQ(Back, PixelAt(plain, 102, 22));
    // Cell 3's caption, clipped to its text rectangle.
    const int32_t textTop = 20 + Settings.ItemExtraHeight / 2 + 1;
    const QRect text3(QPoint(103, textTop), QPoint(193, 38));
    EXPECT_TRUE(HasColour(plain, text3, Text));

    Frame().DragOver(150, 30);
    EXPECT_EQ(3, Frame().Highlighted);
    const QImage& lit = MouseMenuForm->Panel->BackBuffer();
    EXPECT_EQ(Text, PixelAt(lit, 197, 37)) << "cell 3's fill in the text colour";
    EXPECT_EQ(Text, PixelAt(lit, 102, 22));
    EXPECT_TRUE(HasColour(lit, text3, Back)) << "its caption in the back colour";
    EXPECT_EQ(Back, PixelAt(lit, 97, 37)) << "cell 2 stays plain";

    // Another cell takes the highlight; off the cells none is left.
    Frame().DragOver(50, 30);
    EXPECT_EQ(Back, PixelAt(MouseMenuForm->Panel->BackBuffer(), 197, 37));
    EXPECT_EQ(Text, PixelAt(MouseMenuForm->Panel->BackBuffer(), 97, 37));
    Frame().MouseMove({300, 300});
    EXPECT_EQ(-1, Frame().Highlighted);
    EXPECT_EQ(Back, PixelAt(MouseMenuForm->Panel->BackBuffer(), 97, 37));
}

TEST_F(MouseMenu, ARightDragFromAnItemOntoDeleteOpensTheDeleteDialog)
{
    ProgramOptions.MouseMenuSensitivity = 5;
    TColumn& column = Column();
    MyTPanel& list = *column.FileList;
    const int32_t item = column.IndexOfName("b.txt");
    const QPoint press = list.GetItemAreaRect(item).topLeft() + QPoint(column.GetBadgeWidth(true) + 5, 1);
    list.MouseDown(mbRight, 0, press.x() + list.Border, press.y() + list.Border);
    bool accepted = false;
    column.FileListDragOver(&list, &list, press.x() + 6, press.y(), dsDragMove, accepted);
    ASSERT_NE(nullptr, MouseMenuForm);

    // "Delete" is the left cell of row 4.
    const TMouseMenuFrame& frame = Frame();
    const QPoint onDelete(frame.Left + frame.CellWidth / 2, frame.Top + 4 * frame.CellHeight + frame.CellHeight / 2);
    {
        TModalScript script;
        script.Expect("Delete", mrCancel, [this](const TModalRequest&) {
            EXPECT_EQ(nullptr, MouseMenuForm) << "the menu closed first";
            EXPECT_EQ(Drive.Path("d\\b.txt"), Form.SourceLabel->text().toStdString());
        });
        PanelDrag.Move(onDelete);
        PanelDrag.Drop(onDelete);
    }
    EXPECT_FALSE(PanelDrag.IsActive());
    EXPECT_TRUE(Drive.Exists("d/b.txt"));
}

} // namespace
