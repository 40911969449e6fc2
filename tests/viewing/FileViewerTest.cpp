#include "viewing/FileViewer.h"

#include "viewing/MediaPlayer.h"
#include "viewing/StegServices.h"
#include "viewing/ViewerPlugins.h"
#include "viewing/ViewerWindow.h"

#include "panels/MyTPanel.h"

#include "core/desktop/Program.h"
#include "core/errors/Error.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/KnownFolders.h"
#include "core/files/LinkFile.h"
#include "core/settings/ProgramOptions.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/Process.h"

#include "support/FakeMediaDevice.h"
#include "support/FakeStegServices.h"
#include "support/MediaPlayerControls.h"
#include "support/PictureFixtures.h"
#include "support/TestSupport.h"
#include "support/ViewerPluginFixtures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// The window's side of the viewer: showing the panel is all it does here.
class TPanelWindow : public TViewerWindowStandIn
{
public:
    explicit TPanelWindow(MyTPanel& panel) : Panel(panel) { TSeam<TViewerWindow>::Install(this); }
    ~TPanelWindow() override { TSeam<TViewerWindow>::Install(nullptr); }
    TPanelWindow(const TPanelWindow&) = delete;
    TPanelWindow& operator=(const TPanelWindow&) = delete;

    void ShowViewer() override
    {
        ++Shown;
        Panel.show();
    }

    MyTPanel& Panel;
    int Shown = 0;
};

// Automatic steg that takes a hidden text or picture out of every ".png".
class TStegOut : public TFakeStegServices
{
public:
    bool AutoStegOut(std::string& path, std::string& title, bool& isText, std::vector<std::string>* lines,
                     int64_t& size) override
    {
        if (!path.ends_with(".png"))
            return false;
        title = "hidden";
        isText = !Picture;
        size = Size;
        if (Picture)
            path = *Picture;
        else
            *lines = Lines;
        return true;
    }

    std::vector<std::string> Lines;
    std::optional<std::string> Picture;
    int64_t Size = 0;
};

class FileViewer : public testing::Test
{
protected:
    FileViewer()
    {
        Panel->SetBorder(0);
        Panel->SetBounds(0, 0, 200, 150);
        Panel->hide();
        Viewer.MediaPlayer = &Player;
        Player.Bind(TTestMediaControls(Window).Controls, Viewer);
        PictureFileExtensions.Assign({".png", ".bmp"});
        AudioFileExtensions.Assign({".wav", ".ogg"});
        VideoFileExtensions.Assign({".avi"});
        TextFileExtensions.Assign({".txt"});
    }
    ~FileViewer() override
    {
        for (TFileExtensionList* list :
             {&PictureFileExtensions, &AudioFileExtensions, &VideoFileExtensions, &TextFileExtensions})
            list->Clear();
        InjectAvailablePhysicalMemory(std::nullopt);
        host::ClearFaults();
    }

    std::string Hint() const { return Panel->toolTip().toStdString(); }
    std::string MemoText() const { return Memo->toPlainText().toStdString(); }
    static std::string SizeHint(int64_t size) { return "File size = " + GetSizeText(6, 0, size); }

    TTempDrive Drive{'T'};
    TFakeMediaDevices Devices;
    QWidget Window;
    MyTMediaPlayer Player;
    MyTPanel* Panel = new MyTPanel(&Window);
    QPlainTextEdit* Memo = new QPlainTextEdit(Panel);
    TPanelWindow ViewerWindow{*Panel};
    TFileViewerSettings Settings;
    TFileViewer Viewer{Panel, Memo, Settings};
};

TEST_F(FileViewer, ATextIsShownUpToItsLimitAndOtherwiseTellsWhy)
{
    struct TCase
    {
        const char* Name;
        int32_t Limit;
        std::optional<std::string> Content;
        std::string Memo;
        int64_t Size;
    };
    const std::string hundred(100, 'a');
    const std::string hundredAndOne = hundred + "\xE9";
    const TCase cases[] = {
        {"exactly the limit", 100, hundred, hundred, 100},
        {"one byte over", 100, hundredAndOne, "File size is too big (over 100 bytes).", 101},
        {"no limit", -1, hundredAndOne, hundred + "\u00E9", 101},
        {"a limit of 0", 0, "x", "File size is too big (over 0 bytes).", 1},
        {"empty", 100, "", "File is empty or missing.", 0},
        {"missing", 100, std::nullopt, "File is empty or missing.", 0},
    };
    for (const TCase& c : cases) {
        Settings.MaxTextSize = c.Limit;
        if (c.Content)
            Drive.WriteFile("note.txt", *c.Content);
        Viewer.Do(c.Content ? Drive.Path("note.txt") : Drive.Path("gone.txt"));
        EXPECT_EQ(c.Memo, MemoText()) << c.Name;
        EXPECT_TRUE(Memo->isVisibleTo(&Window)) << c.Name;
        EXPECT_EQ(SizeHint(c.Size), Hint()) << c.Name;
    }
    EXPECT_EQ(static_cast<int>(std::size(cases)), ViewerWindow.Shown);
}

TEST_F(FileViewer, WithoutALimitATextBeyondAnEighthOfTheFreeMemoryIsRefused)
{
    Settings.MaxTextSize = -1;
    InjectAvailablePhysicalMemory(800);
    Drive.WriteFile("fits.txt", std::string(100, 'a'));
    Drive.WriteFile("huge.txt", std::string(101, 'a'));

    Viewer.Do(Drive.Path("fits.txt"));
    EXPECT_EQ(std::string(100, 'a'), MemoText());

    Viewer.Do(Drive.Path("huge.txt"));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("", MemoText());
    EXPECT_FALSE(Memo->isVisibleTo(&Window));
    EXPECT_TRUE(Hint().starts_with("ERROR: ")) << Hint();
    EXPECT_NE(std::string::npos, Hint().find(GetSizeText(6, 0, 101))) << Hint();
}

TEST_F(FileViewer, AFaultWhileReadingLeavesTheErrorHintAndAClearedViewer)
{
    Drive.WriteFile("note.txt", "text");
    host::InjectFault(host::HostCall::Read, host::ERROR_ACCESS_DENIED);

    Viewer.Do(Drive.Path("note.txt"));

    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("ERROR: Failed to read file.", Hint());
    EXPECT_EQ("", MemoText());
    EXPECT_FALSE(Memo->isVisibleTo(&Window));
}

TEST_F(FileViewer, WordWrapShowsOnlyTheVerticalScrollBarAndTheFontFollowsTheOptions)
{
    struct TCase
    {
        bool Wrap;
        QPlainTextEdit::LineWrapMode Mode;
        Qt::ScrollBarPolicy Horizontal;
    };
    const TCase cases[] = {
        {true, QPlainTextEdit::WidgetWidth, Qt::ScrollBarAlwaysOff},
        {false, QPlainTextEdit::NoWrap, Qt::ScrollBarAlwaysOn},
    };
    Settings.FontName = "Courier New";
    Settings.FontSize = 14;
    Settings.FontBold = true;
    for (const TCase& c : cases) {
        Settings.TextWordWrap = c.Wrap;
        Viewer.ApplyTextOptions();
        EXPECT_EQ(c.Mode, Memo->lineWrapMode()) << c.Wrap;
        EXPECT_EQ(Qt::ScrollBarAlwaysOn, Memo->verticalScrollBarPolicy()) << c.Wrap;
        EXPECT_EQ(c.Horizontal, Memo->horizontalScrollBarPolicy()) << c.Wrap;
    }
    EXPECT_EQ("Courier New", Memo->font().family().toStdString());
    EXPECT_EQ(14, Memo->font().pointSize());
    EXPECT_TRUE(Memo->font().bold());
}

TEST_F(FileViewer, ALinkShowsItsTargetUnderTheTargetsName)
{
    Drive.WriteFile("d/real.txt", "the target");
    TLinkFile link;
    link.Target = Drive.Path("d\\real.txt");
    link.Save(Drive.Path("shortcut.lnk"), true);

    Viewer.Do(Drive.Path("shortcut.lnk"));

    EXPECT_EQ(Drive.Path("d\\real.txt"), Viewer.FileName);
    EXPECT_EQ("the target", MemoText());
    EXPECT_EQ(SizeHint(10), Hint());
}

TEST_F(FileViewer, TheKindOfFileDecidesWhetherThePanelShows)
{
    struct TCase
    {
        const char* Name;
        bool Shown;
    };
    const TCase cases[] = {
        {"song.wav", false}, {"movie.avi", true}, {"photo.png", true},
        {"note.txt", true},  {"data.xyz", false}, {"no extension", false},
    };
    for (const TCase& c : cases) {
        Drive.WriteFile(c.Name, "x");
        Panel->hide();
        ViewerWindow.Shown = 0;
        Viewer.Do(Drive.Path(c.Name));
        EXPECT_EQ(c.Shown, ViewerWindow.Shown > 0) << c.Name;
    }
}

TEST_F(FileViewer, APictureIsFittedIntoThePanelAgainOnRefresh)
{
    SavePicture(Drive, "wide.png", SolidPicture(400, 300, Qt::blue));
    Viewer.Do(Drive.Path("wide.png"));
    EXPECT_EQ(200, Viewer.PictureViewer.RenderedWidth);
    EXPECT_FALSE(Memo->isVisibleTo(&Window));

    Panel->SetBounds(0, 0, 100, 75);
    Viewer.Refresh();
    EXPECT_EQ(100, Viewer.PictureViewer.RenderedWidth);
    EXPECT_EQ(75, Viewer.PictureViewer.RenderedHeight);

    Panel->hide();
    Viewer.PaintImage();
    EXPECT_FALSE(Viewer.PictureViewer.Image) << "a hidden panel shows no picture";
}

TEST_F(FileViewer, APluginListingPngDrawsItInsteadOfTheDecoder)
{
    const std::string programWas = host::GetProgramHostFile();
    TTempDrive program{'P'};
    host::SetProgramHostFile(program.HostPath("quillomber"));
    CopyViewerPlugin(program, PngPluginHostPath, "Png.so");
    ProgramOptions.ViewerPluginName[0] = "Png.so";
    ProgramOptions.ViewerPluginActive[0] = true;
    LoadViewerPlugins();
    Drive.WriteFile("drawn.png", "QPT 40 30 ff0000");
    SavePicture(Drive, "real.png", SolidPicture(40, 30, Qt::blue));

    Viewer.Do(Drive.Path("drawn.png"));
    ASSERT_TRUE(Viewer.PictureViewer.Image);
    EXPECT_EQ("0", Viewer.PictureViewer.ColorDepth);
    EXPECT_TRUE(IsNearColor(Viewer.PictureViewer.Image->Picture.pixel(10, 10), Qt::red));

    Viewer.Do(Drive.Path("real.png"));
    EXPECT_EQ("0", Viewer.PictureViewer.ColorDepth) << "the plug-in is asked even for a true PNG";

    UnloadViewerPlugins();
    Viewer.Do(Drive.Path("real.png"));
    ASSERT_TRUE(Viewer.PictureViewer.Image);
    EXPECT_NE("0", Viewer.PictureViewer.ColorDepth);
    EXPECT_TRUE(IsNearColor(Viewer.PictureViewer.Image->Picture.pixel(10, 10), Qt::blue));
    ProgramOptions = TProgramOptions();
    host::SetProgramHostFile(programWas);
}

TEST_F(FileViewer, AutomaticStegShowsAHiddenTextOrAHiddenPicture)
{
    TStegOut steg;
    SavePicture(Drive, "carrier.png", SolidPicture(40, 30, Qt::blue));
    steg.Lines = {"first line", "second caf\xE9"};
    steg.Size = 1234;

    Viewer.Do(Drive.Path("carrier.png"));
    EXPECT_EQ("first line\nsecond caf\u00E9", MemoText());
    EXPECT_TRUE(Memo->isVisibleTo(&Window));
    EXPECT_EQ("Stegged-out size = " + GetSizeText(6, 0, 1234), Hint());
    EXPECT_FALSE(Viewer.PictureViewer.Image) << "the carrier itself is not shown";

    steg.Picture = SavePicture(Drive, "hidden.bmp", SolidPicture(20, 10, Qt::red));
    Viewer.Do(Drive.Path("carrier.png"));
    EXPECT_EQ(*steg.Picture, Viewer.FileName);
    EXPECT_EQ(20, Viewer.PictureViewer.PictureWidth);
    EXPECT_FALSE(Memo->isVisibleTo(&Window));
}

TEST_F(FileViewer, AListHasVideoWhenAnItemOrALinksTargetIsAVideo)
{
    TLinkFile link;
    link.Target = Drive.Path("clip.avi");
    link.Save(Drive.Path("to clip.lnk"), true);
    struct TCase
    {
        std::vector<std::string> Items;
        bool HasVideo;
    };
    const TCase cases[] = {
        {{}, false},
        {{Drive.Path("a.wav"), Drive.Path("b.ogg")}, false},
        {{Drive.Path("a.wav"), Drive.Path("b.AVI")}, true},
        {{Drive.Path("to clip.lnk")}, true},
    };
    for (const TCase& c : cases) {
        MyTPanel list(&Window);
        list.SetKind(mpkList);
        for (const std::string& item : c.Items)
            list.AddTextItem(item);
        EXPECT_EQ(c.HasVideo, TFileViewer::HasVideoFiles(list)) << c.Items.size();
    }
}

TEST_F(FileViewer, TheClipboardPictureIsShownFromThePrivateTemporaryFolder)
{
    QGuiApplication::clipboard()->setImage(SolidPicture(30, 20, Qt::blue));

    Viewer.ViewClipboardPicture();

    EXPECT_EQ(GetTempPathA() + "-Quillomber_ClipboardPicture.bmp", Viewer.FileName);
    EXPECT_EQ(1, ViewerWindow.Shown);
    ASSERT_TRUE(Viewer.PictureViewer.Image);
    EXPECT_EQ(QSize(30, 20), Viewer.PictureViewer.Image->Picture.size());
}

// The hint shown where the mouse rests on the widget: its own, else its nearest parent's.
std::string HintShownOver(const QWidget* widget)
{
    for (; widget != nullptr; widget = widget->parentWidget())
        if (!widget->toolTip().isEmpty())
            return widget->toolTip().toStdString();
    return {};
}

// The window draws pictures on a client panel inside the viewer panel, which holds the text
// hint: over a picture, beside it as on it, only the picture's readout shows.
TEST_F(FileViewer, OverAPictureOnlyTheImagesHintShows)
{
    auto* client = new MyTPanel(Panel);
    client->SetBounds(0, 0, 200, 150);
    Viewer.PictureViewer.SetPanel(client);
    Drive.WriteFile("notes.txt", std::string(41, 'x'));
    const std::string picture = SavePicture(Drive, "blue.png", SolidPicture(40, 30, Qt::blue));
    QGuiApplication::clipboard()->setImage(SolidPicture(30, 20, Qt::blue));
    const std::function<void()> showPicture[] = {[&] { Viewer.Do(picture); }, [&] { Viewer.ViewClipboardPicture(); }};
    for (const std::function<void()>& show : showPicture) {
        Viewer.Do(Drive.Path("notes.txt"));
        ASSERT_EQ(SizeHint(41), HintShownOver(client));

        show();

        ASSERT_TRUE(Viewer.PictureViewer.Image);
        EXPECT_EQ("", HintShownOver(client));
        const std::string imageHint = HintShownOver(Viewer.PictureViewer.Image);
        EXPECT_TRUE(imageHint.starts_with("File size = " + GetSizeText(6, 0, GetFileSize(Viewer.FileName)) +
                                          ". Image width * height = "))
            << imageHint;
    }

    Viewer.Do(Drive.Path("notes.txt"));
    EXPECT_EQ(SizeHint(41), HintShownOver(client)) << "a text after the picture has its hint again";
}

} // namespace
