#include "columns/Column.h"

#include "panels/MyPanelOptions.h"

#include "core/desktop/Program.h"
#include "core/forms/Utilities.h"

#include "host/TextDrawing.h"

#include "ColumnTestSupport.h"
#include "FakeColumnServices.h"

#include "support/Pixels.h"

#include <QCursor>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A skin of distinct solid colours, so each pixel tells what painted it.
TMyPanelSkin MakeTestSkin()
{
    TMyPanelSkin skin;
    skin.FillingColor = 0x202020;
    skin.WindowBackColor = 0xF0F0F0;
    skin.WindowTextColor = 0x000001;
    skin.GridColor = 0x0000C0;
    skin.ActiveFocusBriskMarginColor = 0x0000FF;
    skin.ActiveFocusMarginColor = 0x000080;
    skin.ActiveFocusBackColor = 0x0080FF;
    skin.ActiveFocusTextColor = 0x000002;
    skin.ActiveFocusTintColor = 0x80C0FF;
    skin.InactiveFocusBriskMarginColor = 0x00FF00;
    skin.InactiveFocusMarginColor = 0x008000;
    skin.InactiveFocusBackColor = 0x80FF80;
    skin.InactiveFocusTextColor = 0x000003;
    skin.InactiveFocusTintColor = 0xC0FFC0;
    skin.SelectionBriskMarginColor = 0xFF0000;
    skin.SelectionMarginColor = 0x800000;
    skin.SelectionBackColor = 0xFF8080;
    skin.SelectionTextColor = 0x000004;
    skin.SelectionTintColor = 0xFFC0C0;
    skin.ThumbTextColor = 0x000005;
    skin.DirsBackColor = 0x00FFFF;
    skin.LinksBackColor = 0xFF00FF;
    skin.ProgsBackColor = 0xFFFF00;
    skin.DocsBackColor = 0x808000;
    skin.FilesBackColor = 0x800080;
    skin.DirsTextColor = 0x000006;
    skin.FilesTextColor = 0x000007;
    return skin;
}

// A column of 20-pixel lines with 30-pixel badges (150 percent, extensions shown) over a
// folder "d" of a few items of each type, under the test skin, its list painted.
class ColumnPaint : public ColumnTest
{
protected:
    void SetUp() override
    {
        GMyPanelOptions.BindSkin(Skin);
        ProgramOptions.ShowFileType = true;
        ProgramOptions.ShowExtInType = true;
        ProgramOptions.FileTypeWidth = 150;
        ProgramOptions.FileHoverActive = false;
        ProgramOptions.HotTrackColumnItems = false;
        ProgramOptions.ShowGrid = false;
        MoveMouseAway();
        MakeDirectory("d/sub");
        for (const char* name : {"a.exe", "b.txt", "c.lnk", "e.bin", "Photo.JPG", "README", "z.bin"})
            MakeFile(std::string("d/") + name, 5);
    }

    TColumn& OpenColumn(const std::string& focused = "z.bin")
    {
        TColumn& column = MakeColumn();
        Open(column, Drive.Path("d\\" + focused));
        FlushPaints();
        return column;
    }

    // Items of three lines of thumbnail, the name line and the information line.
    TColumn& OpenThumbnailColumn()
    {
        TColumn& column = MakeColumn();
        column.ThumbAttr = true;
        column.ResetItemHeight();
        Open(column, Drive.Path("d\\b.txt"));
        FlushPaints();
        EXPECT_EQ(100, column.FileList->GetItemHeight());
        return column;
    }

    static int32_t IndexOf(const TColumn& column, const std::string& name) { return column.IndexOfName(name); }

    // What the list shows of the item, in the item's own coordinates.
    static QImage ItemShown(TColumn& column, int32_t index)
    {
        return column.FileList->BackBuffer().copy(column.FileList->GetItemRect(index));
    }

    static void Repaint(TColumn& column, int32_t index) { column.DrawAnItem(nullptr, index, false, false); }

    void MoveMouseAway() { QCursor::setPos(Window.Panels.Window.mapToGlobal(QPoint(-50, -50))); }
    static void MoveMouseOver(TColumn& column, int32_t index)
    {
        QCursor::setPos(column.FileList->mapToGlobal(column.FileList->GetItemRect(index).center()));
    }

    // The name's place in an item of 20-pixel lines with an extra height of 4.
    static QRect TextRect(TColumn& column, int32_t index)
    {
        const int32_t badge = column.GetBadgeWidth(false);
        return QRect(badge + 5, 2, column.FileList->GetItemRect(index).width() - 10 - badge, 15);
    }
    // The name line's text as it shows on a plain item, in the window colours.
    QImage PlainText(TColumn& column, int32_t index, const std::string& text, const QFont& font,
                     uint32_t format = host::DT_NOPREFIX)
    {
        const QRect textRect = TextRect(column, index);
        QImage image(column.FileList->GetItemRect(index).size(), QImage::Format_RGB32);
        image.fill(ToQColor(Skin.WindowBackColor));
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(ToQColor(Skin.WindowTextColor));
        DrawTextInRect(text, painter, true, textRect, format, false, false);
        painter.end();
        return image.copy(textRect);
    }
    static QImage TextShown(TColumn& column, int32_t index)
    {
        return ItemShown(column, index).copy(TextRect(column, index));
    }
    static QFont ItemsFont(TColumn& column) { return column.FileList->GetTextFont(); }

    TMyPanelSkin Skin = MakeTestSkin();
    TFakeItemPainting Painting;
    TFakeInfoBars Bars;
};

TEST_F(ColumnPaint, BadgesTakeTheColoursOfTheirTypes)
{
    TColumn& column = OpenColumn();
    ASSERT_EQ(30, column.GetBadgeWidth(false));
    struct Row
    {
        const char* Name;
        TColor Badge;
    };
    const Row rows[] = {
        {"sub", Skin.DirsBackColor},    {"a.exe", Skin.ProgsBackColor}, {"b.txt", Skin.DocsBackColor},
        {"c.lnk", Skin.LinksBackColor}, {"e.bin", Skin.FilesBackColor}, {"README", Skin.FilesBackColor},
    };
    for (const Row& row : rows) {
        const QImage item = ItemShown(column, IndexOf(column, row.Name));
        EXPECT_EQ(row.Badge, PixelAt(item, {28, 10})) << row.Name << ": the badge";
        EXPECT_EQ(Skin.WindowBackColor, PixelAt(item, {31, 10})) << row.Name << ": beside the badge";
        EXPECT_EQ(Skin.WindowBackColor, PixelAt(item, {0, 10})) << row.Name << ": left of the badge";
    }
}

// The badge's text, compared away from the badge's curved corners.
TEST_F(ColumnPaint, TheBadgeShowsTheExtensionInLowerCase)
{
    TColumn& column = OpenColumn();
    const QRect inside(6, 5, 18, 9);
    const auto badge = [&](const std::string& text, TColor back, TColor textColor) {
        QImage image(QSize(30, 20), QImage::Format_RGB32);
        image.fill(ToQColor(back));
        QPainter painter(&image);
        painter.setFont(ItemsFont(column));
        painter.setPen(ToQColor(textColor));
        DrawTextInRect(text, painter, true, QRect(5, 2, 21, 15), host::DT_NOPREFIX, false, false);
        painter.end();
        return image.copy(inside);
    };
    const QImage photo = ItemShown(column, IndexOf(column, "Photo.JPG")).copy(inside);
    EXPECT_EQ(badge("jpg", Skin.FilesBackColor, Skin.FilesTextColor), photo);
    EXPECT_NE(badge("JPG", Skin.FilesBackColor, Skin.FilesTextColor), photo);
    EXPECT_EQ(badge("\xC2\xBB", Skin.DirsBackColor, Skin.DirsTextColor),
              ItemShown(column, IndexOf(column, "sub")).copy(inside));
    EXPECT_EQ(badge("", Skin.FilesBackColor, Skin.FilesTextColor),
              ItemShown(column, IndexOf(column, "README")).copy(inside));
}

TEST_F(ColumnPaint, WithoutExtensionsABadgeIsAnEllipseAtMostOneLineWide)
{
    ProgramOptions.ShowExtInType = false;
    TColumn& column = OpenColumn();
    ASSERT_EQ(20, column.GetBadgeWidth(false));
    const QImage item = ItemShown(column, IndexOf(column, "a.exe"));
    EXPECT_EQ(Skin.ProgsBackColor, PixelAt(item, {10, 9})) << "the ellipse's centre";
    EXPECT_EQ(Skin.WindowBackColor, PixelAt(item, {3, 2})) << "outside the ellipse, in its box";

    // No badge is drawn, but the mouse still finds one.
    ProgramOptions.ShowFileType = false;
    EXPECT_EQ(0, column.GetBadgeWidth(false));
    EXPECT_EQ(24, column.GetBadgeWidth(true));
    ProgramOptions.SimulateFileType = false;
    EXPECT_EQ(0, column.GetBadgeWidth(true));
}

TEST_F(ColumnPaint, FocusAndSelectionShowTheirOwnLooks)
{
    TColumn& column = OpenColumn("e.bin");
    const int32_t focused = IndexOf(column, "e.bin");
    const int32_t selected = IndexOf(column, "a.exe");
    column.SelectItem(selected);
    column.FileList->Invalidate();
    FlushPaints();
    const QPoint frame(31, 10);
    const QPoint faceCentre(160, 9);
    EXPECT_EQ(Skin.InactiveFocusBriskMarginColor, PixelAt(ItemShown(column, focused), frame));
    EXPECT_EQ(Skin.InactiveFocusTintColor, PixelAt(ItemShown(column, focused), faceCentre));
    EXPECT_EQ(Skin.SelectionBriskMarginColor, PixelAt(ItemShown(column, selected), frame));
    EXPECT_EQ(Skin.SelectionTintColor, PixelAt(ItemShown(column, selected), faceCentre));
    EXPECT_EQ(Skin.WindowBackColor, PixelAt(ItemShown(column, IndexOf(column, "b.txt")), frame));

    column.FileList->setFocus();
    ASSERT_TRUE(column.FileList->hasFocus());
    Repaint(column, focused);
    EXPECT_EQ(Skin.ActiveFocusBriskMarginColor, PixelAt(ItemShown(column, focused), frame));
    EXPECT_EQ(Skin.ActiveFocusTintColor, PixelAt(ItemShown(column, focused), faceCentre));
}

TEST_F(ColumnPaint, PaintingTheFocusedItemOfTheFocusedListMakesTheColumnActive)
{
    TColumn& column = OpenColumn("e.bin");
    const int32_t index = IndexOf(column, "README");
    column.FileList->FocusIndex = index;
    Repaint(column, index);
    EXPECT_EQ(Drive.Path("d\\e.bin"), column.ActiveTitle) << "a list without the keyboard focus";
    EXPECT_EQ("", Bars.Caption(ifTitle));

    column.FileList->setFocus();
    ASSERT_TRUE(column.FileList->hasFocus());
    Repaint(column, index);
    EXPECT_EQ(Drive.Path("d\\README"), column.ActiveTitle);
    EXPECT_EQ(Drive.Path("d\\README"), PathsHistory.Titles[static_cast<size_t>(PathsHistory.Count - 1)]);
    EXPECT_EQ(IncludeEndBackslash(Drive.Path("d")), IncludeEndBackslash(GetCurrentPath()));
    EXPECT_EQ("Title \"" + Drive.Path("d\\README") + "\"", Bars.Caption(ifTitle));
    EXPECT_EQ("Index " + std::to_string(index + 1), Bars.Caption(ifIndex));
}

TEST_F(ColumnPaint, TheNameLineShowsWhatTheBadgeDoesNot)
{
    struct Row
    {
        bool ShowFileType;
        bool ShowExtInType;
        const char* Name;
        int32_t ItemNumber;
        std::string Shown;
    };
    const std::string sign = "\xC2\xBB";
    const Row rows[] = {
        {true, true, "Photo.JPG", 0, "Photo"},
        {true, true, "sub", 0, "sub"},
        {true, true, "README", 0, "README"},
        {true, false, "Photo.JPG", 0, "Photo.JPG"},
        {false, true, "Photo.JPG", 0, "Photo.JPG"},
        {false, false, "sub", 0, sign + "sub"},
        {true, false, "sub", 0, "sub"},
        {false, false, "e.bin", 3, "3 - e.bin"},
        {false, false, "e.bin", 1, "e.bin"},
        {true, true, "e.bin", 12, "12 - e"},
        {true, true, ".hidden_file", 0, ".hidden_file"},
        {true, true, ".config.bak", 0, ".config"},
    };
    for (const char* name : {".hidden_file", ".config.bak"})
        MakeFile(std::string("d/") + name, 5);
    TColumn& column = OpenColumn();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name + std::string(" ") + std::to_string(row.ItemNumber));
        ProgramOptions.ShowFileType = row.ShowFileType;
        ProgramOptions.ShowExtInType = row.ShowExtInType;
        const int32_t index = IndexOf(column, row.Name);
        column.GetItem(index).ItemNumber = row.ItemNumber;
        Repaint(column, index);
        EXPECT_EQ(PlainText(column, index, row.Shown, ItemsFont(column)), TextShown(column, index));
    }
}

TEST_F(ColumnPaint, TheDrivesListShowsEachDriveWithItsSuffix)
{
    TFakeMountTable mounts;
    mounts.Add(Drive.HostPath(), "ext4", "/dev/sda1");
    ProgramOptions.ShowFileType = false;
    TColumn& column = MakeColumn();
    Open(column, "P:");
    FlushPaints();
    const int32_t index = IndexOf(column, "T:");
    ASSERT_NE(column.FileList->FocusIndex, index);
    EXPECT_EQ(PlainText(column, index, "\xC2\xBBT: (Fixed: \"\")", ItemsFont(column)), TextShown(column, index));
}

TEST_F(ColumnPaint, ContainerPathsLoseTheirMiddle)
{
    TColumn& column = OpenColumn();
    const int32_t index = IndexOf(column, "e.bin");
    column.ContainerIndex = 0;
    column.ShowPathsInContainer = true;
    ProgramOptions.ShowFileType = false;
    TFileListData& item = column.GetItem(index);
    item.Title = Drive.Path(std::string(20, 'x') + "\\" + std::string(60, 'y') + "\\e.bin");
    Repaint(column, index);
    EXPECT_EQ(PlainText(column, index, item.Title, ItemsFont(column), host::DT_NOPREFIX | host::DT_PATH_ELLIPSIS),
              TextShown(column, index));
    EXPECT_NE(PlainText(column, index, item.Title, ItemsFont(column)), TextShown(column, index));
}

TEST_F(ColumnPaint, SelectedMissingAndHotItemsChangeTheFontStyle)
{
    // The selection look in the window's colours leaves only the text to compare.
    Skin.SelectionBriskMarginColor = Skin.SelectionMarginColor = Skin.SelectionBackColor = Skin.WindowBackColor;
    Skin.SelectionTintColor = Skin.WindowBackColor;
    Skin.SelectionTextColor = Skin.WindowTextColor;
    TColumn& column = OpenColumn();
    const int32_t index = IndexOf(column, "README");
    TFileListData& item = column.GetItem(index);
    QFont font = ItemsFont(column);

    item.Exists = false;
    Repaint(column, index);
    font.setStrikeOut(true);
    EXPECT_EQ(PlainText(column, index, "README", font), TextShown(column, index)) << "missing";

    item.Selected = true;
    Repaint(column, index);
    font.setBold(true);
    font.setItalic(true);
    EXPECT_EQ(PlainText(column, index, "README", font), TextShown(column, index)) << "missing and selected";

    item.Exists = true;
    item.Selected = false;
    ProgramOptions.HotTrackColumnItems = true;
    ProgramOptions.UnderlineHotTrackItems = false;
    MoveMouseOver(column, index);
    Repaint(column, index);
    font = ItemsFont(column);
    font.setBold(true);
    EXPECT_EQ(PlainText(column, index, "README", font), TextShown(column, index)) << "hot";

    ProgramOptions.UnderlineHotTrackItems = true;
    Repaint(column, index);
    font = ItemsFont(column);
    font.setUnderline(true);
    EXPECT_EQ(PlainText(column, index, "README", font), TextShown(column, index)) << "hot, underlined";
}

// A paint of the whole list reads the mouse once for all its rows; the next paint, and an
// item painted on its own, read it again.
TEST_F(ColumnPaint, EachPaintOfTheListShowsTheItemUnderTheMouseAtThatTime)
{
    ProgramOptions.HotTrackColumnItems = true;
    ProgramOptions.UnderlineHotTrackItems = false;
    TColumn& column = OpenColumn();
    const int32_t first = IndexOf(column, "README");
    const int32_t second = IndexOf(column, "a.exe");
    const QFont plain = ItemsFont(column);
    QFont bold = plain;
    bold.setBold(true);
    const auto expectHot = [&](bool firstHot, bool secondHot, const char* when) {
        EXPECT_EQ(PlainText(column, first, "README", firstHot ? bold : plain), TextShown(column, first)) << when;
        EXPECT_EQ(PlainText(column, second, "a", secondHot ? bold : plain), TextShown(column, second)) << when;
    };

    MoveMouseOver(column, first);
    column.FileList->Repaint();
    expectHot(true, false, "over the first");
    MoveMouseOver(column, second);
    column.FileList->Repaint();
    expectHot(false, true, "over the second");
    MoveMouseAway();
    Repaint(column, second);
    expectHot(false, false, "the second painted on its own, the mouse away");
}

TEST_F(ColumnPaint, TheItemUnderTheMouseIsRecordedAsHot)
{
    ProgramOptions.FileHoverActive = true;
    TColumn& column = OpenColumn();
    const int32_t first = IndexOf(column, "b.txt");
    const int32_t second = IndexOf(column, "c.lnk");
    THotItemRecord& record = Painting.Record;

    MoveMouseOver(column, first);
    Repaint(column, first);
    EXPECT_EQ(&column, record.HotColumn);
    EXPECT_EQ(first, record.HotItem);
    EXPECT_TRUE(record.HotItemShown);
    EXPECT_EQ(&column, record.HoverColumn);
    EXPECT_EQ(first, record.HoverItem);
    EXPECT_FALSE(record.HoverCrono.Stopped) << "the hover delay runs";

    // Until the recorded item is painted plain again, another hot item is not taken.
    MoveMouseOver(column, second);
    Repaint(column, second);
    EXPECT_EQ(first, record.HotItem);
    EXPECT_EQ(0, Painting.HoverHidden);

    Repaint(column, first);
    EXPECT_FALSE(record.HotItemShown);
    EXPECT_EQ(1, Painting.HoverHidden);
    Repaint(column, second);
    EXPECT_EQ(second, record.HotItem);
    EXPECT_EQ(second, record.HoverItem);
    EXPECT_TRUE(record.HotItemShown);

    // Neither hot tracking nor the hover window: no item is hot.
    ProgramOptions.FileHoverActive = false;
    Repaint(column, second);
    EXPECT_FALSE(record.HotItemShown);
    EXPECT_EQ(1, Painting.HoverHidden) << "no hover window to hide";
}

TEST_F(ColumnPaint, ThumbnailsComeFromTheMainWindow)
{
    ProgramOptions.ShowGrid = true;
    TColumn& column = OpenThumbnailColumn();
    const int32_t index = IndexOf(column, "b.txt");
    const TFileListData& item = column.GetItem(index);
    const int width = column.FileList->GetItemRect(index).width();

    Painting.ThumbCalls.clear();
    column.SelectItem(index);
    Repaint(column, index);
    ASSERT_EQ(1u, Painting.ThumbCalls.size());
    const TFakeItemPainting::TThumbCall& call = Painting.ThumbCalls[0];
    EXPECT_EQ(item.Title, call.Title);
    EXPECT_EQ(5, call.Size);
    EXPECT_EQ(item.Modified, call.Modified);
    EXPECT_EQ(QRect(5, 22, width - 10, 16), call.InfoRect);
    EXPECT_EQ(QRect(1, 40, width - 2, 59), call.PictureRect);
    const QImage shown = ItemShown(column, index);
    EXPECT_EQ(Skin.SelectionBackColor, PixelAt(shown, {width / 2, 30})) << "the selected thumbnail area";
    EXPECT_EQ(Painting.PictureColor, PixelAt(shown, {width / 2, 70}));
    EXPECT_EQ(Skin.GridColor, PixelAt(shown, {width / 2, 99}));
}

TEST_F(ColumnPaint, ALineOnlyRepaintLeavesTheThumbnailAlone)
{
    TColumn& column = OpenThumbnailColumn();
    const int32_t index = IndexOf(column, "b.txt");
    const QPoint picture(column.FileList->GetItemRect(index).width() / 2, 70);
    const TColor first = Painting.PictureColor;
    Painting.ThumbCalls.clear();
    Painting.PictureColor = 0x654321;

    column.DrawAnItem(nullptr, index, false, true);
    EXPECT_TRUE(Painting.ThumbCalls.empty());
    EXPECT_EQ(first, PixelAt(ItemShown(column, index), picture));

    ProgramOptions.HotTrackColumnItems = true;
    MoveMouseOver(column, index);
    column.DrawAnItem(nullptr, index, true, false);
    EXPECT_TRUE(Painting.ThumbCalls.empty()) << "hot: the name line alone";
    EXPECT_EQ(first, PixelAt(ItemShown(column, index), picture));

    MoveMouseAway();
    column.DrawAnItem(nullptr, index, true, false);
    EXPECT_EQ(1u, Painting.ThumbCalls.size()) << "not hot: the whole item";
    EXPECT_EQ(Painting.PictureColor, PixelAt(ItemShown(column, index), picture));
}

TEST_F(ColumnPaint, ItemsOutsideTheVisibleRowsPaintNothing)
{
    for (int i = 0; i < 30; ++i)
        MakeFile("d/more" + std::to_string(i + 10) + ".bin");
    TColumn& column = OpenColumn("a.exe");
    const int32_t hidden = column.FileList->GetLastVisibleIndex() + 3;
    column.FileList->FocusIndex = hidden;
    column.FileList->setFocus();
    const QImage before = column.FileList->BackBuffer();
    Repaint(column, hidden);
    EXPECT_EQ(before, column.FileList->BackBuffer());
    EXPECT_EQ(Drive.Path("d\\a.exe"), column.ActiveTitle);
}

TEST_F(ColumnPaint, GridLinesFollowTheSubcolumns)
{
    ProgramOptions.ShowGrid = true;
    TColumn& column = OpenColumn();
    const int32_t index = IndexOf(column, "e.bin");
    QImage shown = ItemShown(column, index);
    const int width = shown.width();
    EXPECT_EQ(Skin.GridColor, PixelAt(shown, {width / 2, 19})) << "the bottom row";
    EXPECT_EQ(Skin.GridColor, PixelAt(shown, {30, 5})) << "beside the badge";
    EXPECT_EQ(Skin.WindowBackColor, PixelAt(shown, {0, 5}));

    column.FileList->SetSubcolumns(2);
    FlushPaints();
    shown = ItemShown(column, index);
    EXPECT_EQ(Skin.GridColor, PixelAt(shown, {0, 5}));
    EXPECT_EQ(Skin.GridColor, PixelAt(shown, {shown.width() - 1, 5}));
}

} // namespace
