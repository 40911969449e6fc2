#include "core/settings/OptionsFile.h"
#include "core/desktop/StartupLink.h"
#include "core/files/FileOperations.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/StoredTextList.h"

#include "support/FakeOptionsMainWindow.h"
#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include "host/Process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Every option set to an allowed value other than its default.
TProgramOptions OptionsUnlikeDefaults()
{
    TProgramOptions o;
    o.FirstRun = false;
    o.Autorun = true;
    o.StayOnTop = true;
    o.SecureDoubleExtension = false;
    o.ShowUniversalFileTime = true;
    o.ClassicFileSize = false;
    o.ShowSystemInfo = true;
    o.HotTrackColumnItems = true;
    o.UnderlineHotTrackItems = false;
    o.InstantScrollbarThumbPaint = true;
    o.ScrollbarSensitivity = 20;
    o.ShowColumnInfo = true;
    o.ShowFileInfo = true;
    o.ShowHintBar = false;
    o.HintLines = 5;
    o.ShowBoardsBar = true;
    o.SynchronizeColumn = true;
    o.VisibleBoards = 30;
    o.BoardsBarRows = 5;
    o.ShowUserLogo = true;
    o.UserLogoWidth = 500;
    o.ShowTopLeftUserLogo = true;
    o.CenterToolbarButtons = true;
    o.ShowFileDesc = true;
    o.ShowReferenceInfo = true;
    o.ActivatePlugins = false;
    o.ViewerPluginActive = {true, true, true};
    o.ViewerPluginName = {"a.so", "b.so", "c.so"};
    o.ShowGrid = true;
    o.ShowFilesGroup = false;
    o.DirsAtEnd = true;
    o.SeparateDirs = false;
    o.SeparateLinks = false;
    o.SeparateProgs = false;
    o.SeparateDocs = false;
    o.ShowFileType = true;
    o.ShowExtInType = true;
    o.FileTypeWidth = 400;
    o.SimulateFileType = false;
    o.SimulateFileTypeWidth = 225;
    o.MaxPictureCacheSize = 100000000;
    o.MaxThumbFileSize = -1;
    o.HighQualityThumb = false;
    o.SmartQualitySize = -1;
    o.ShowWhileScrolling = true;
    o.NormalizeThumbWidth = true;
    o.NormalizeThumbWidthTo = 10000;
    o.NormalizeThumbHeight = true;
    o.NormalizeThumbHeightTo = 50;
    o.TranslucentThumbnailSelection = true;
    o.FitSmallThumbs = true;
    o.FitSmallThumbsSize = 1000;
    o.CaptionFontName = "Caption Face";
    o.CaptionFontSize = 40;
    o.ItemsFontName = "Items Face";
    o.ItemsFontSize = 32;
    o.ItemsExtraHeight = 50;
    o.LMBTypeOperation = "View";
    o.LMBNameOperation = "Delete";
    o.RMBTypeOperation = "Edit";
    o.RMBNameOperation = "Edit streams";
    o.MMBTypeOperation = "None";
    o.MMBNameOperation = "Properties";
    o.LMBDragTypeOperation = "System-drag menu";
    o.LMBDragNameOperation = "Convert picture";
    o.RMBDragTypeOperation = "Switch columns";
    o.RMBDragNameOperation = "Move as";
    o.LMBColumnHeaderOperation = "Toggle thumbnails attribute";
    o.RMBColumnHeaderOperation = "Parent System menu";
    o.MMBColumnHeaderOperation = "Enter parent directory";
    o.MouseMenuActive = false;
    o.MouseMenuTranslucency = 100;
    o.MouseMenuSensitivity = 20;
    o.MouseMenuItemWidth = 400;
    o.MouseMenuItemExtraHeight = 20;
    for (size_t slot = 0; slot < o.MouseMenuOperation.size(); ++slot)
        o.MouseMenuOperation[slot] = "Cell " + std::to_string(slot + 1);
    o.FileHoverActive = false;
    o.FileHoverDelay = 15;
    o.FileHoverPlayMedia = false;
    o.FileHoverMediaStartShift = 95;
    o.FileHoverDontPlayAlready = false;
    o.FileHoverShowVideoThumbnail = true;
    o.FileHoverSensitivity = 20;
    o.FileHoverPictureWidth = 500;
    o.FileHoverPictureHeight = 20;
    o.FileHoverMovieWidth = 50;
    o.FileHoverMovieHeight = 1;
    o.FileHoverGenericWidth = 180;
    return o;
}

TFileViewerSettings ViewerUnlikeDefaults()
{
    return TFileViewerSettings{true, false, -1, "Viewer Face", 40, true};
}

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

class OptionsFile : public testing::Test
{
protected:
    OptionsFile() : Store(Drive.Path("Quillomber.ini"))
    {
        ProgramOptions = TProgramOptions();
        Store.OnLoad = [](TStoredTextList& store, int32_t) { LoadProgramOptionsSTL(store); };
        Store.OnSave = [](TStoredTextList& store, int32_t) { SaveProgramOptionsSTL(store); };
    }
    ~OptionsFile() override
    {
        ProgramOptions = TProgramOptions();
        FileUnitLoader.LocalTime = true;
        FileUnitLoader.SizeUnits = true;
        std::filesystem::remove_all(AutostartFolder());
    }

    static std::string AutostartFolder() { return TestRootHostPath() + "/config/autostart"; }
    static std::string StartupEntry() { return AutostartFolder() + "/" + StartupEntryFileName; }

    void LoadText(const std::string& text)
    {
        Drive.WriteFile("Quillomber.ini", text);
        ASSERT_TRUE(Store.Load(0));
    }
    std::string SaveText()
    {
        EXPECT_TRUE(Store.Save(false, 0));
        return Drive.ReadFile("Quillomber.ini");
    }
    // The value the save writes back for a key.
    std::string WrittenValue(const std::string& section, const std::string& key)
    {
        SaveProgramOptionsSTL(Store);
        std::string value = "(missing)";
        Store.ReadString(section, key, 100000, value, true);
        return value;
    }

    TTempDrive Drive;
    TFakeOptionsMainWindow Window;
    TStoredTextList Store;
};

TEST_F(OptionsFile, FileWithoutTheSectionsLeavesEveryDefault)
{
    LoadText("[Other]\r\nKey=1\r\n\r\n");
    EXPECT_EQ(TProgramOptions(), ProgramOptions);
    EXPECT_TRUE(ProgramOptions.FirstRun);
    EXPECT_EQ(TFileViewerSettings(), Window.Viewer);
}

TEST_F(OptionsFile, EveryOptionSurvivesASaveAndALoad)
{
    ASSERT_TRUE(Store.Load(0));
    const std::string defaultsText = SaveText();

    ProgramOptions = OptionsUnlikeDefaults();
    Window.Viewer = ViewerUnlikeDefaults();
    const std::string text = SaveText();

    // Each key written differs from its default, so the round trip below covers them all.
    const std::vector<std::string> defaultLines = LinesOf(defaultsText);
    const std::vector<std::string> lines = LinesOf(text);
    ASSERT_EQ(defaultLines.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool optionLine = lines[i].find('=') != std::string::npos && lines[i] != "FirstRun=FALSE\r";
        EXPECT_TRUE(!optionLine || defaultLines[i] != lines[i]) << lines[i];
    }

    ProgramOptions = TProgramOptions();
    Window.Viewer = TFileViewerSettings();
    Store.Clear();
    ASSERT_TRUE(Store.Load(0));
    EXPECT_EQ(OptionsUnlikeDefaults(), ProgramOptions);
    EXPECT_EQ(ViewerUnlikeDefaults(), Window.Viewer);
}

TEST_F(OptionsFile, SaveWritesFirstRunFalseAndTheDocumentedForms)
{
    ASSERT_TRUE(Store.Load(0));
    ProgramOptions.MaxThumbFileSize = -1;
    const std::string text = SaveText();
    EXPECT_FALSE(ProgramOptions.FirstRun);
    EXPECT_EQ(0u, text.find("[Main]\r\nFirstRun=FALSE\r\nAutorun=FALSE\r\nStayOnTop=FALSE\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("ShowFileInfo=FALSE\r\nShowHintBar=TRUE\r\nShowSystemInfo=FALSE\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\nMaxThumbFileSize=-1\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\nLMBDragNameOperation=File-drag menu\r\n"));
    EXPECT_NE(std::string::npos, text.find("[ViewerPlugins]\r\nActivate0=FALSE\r\nName0=QM_PVP.dll\r\n"));
    EXPECT_NE(std::string::npos, text.find("[Viewer]\r\nFitSmallImages=FALSE\r\nTextWordWrap=TRUE\r\n"));
}

struct TStoredValueRow
{
    std::string Section;
    std::string Key;
    std::string Stored;
    std::string Taken;
};

const std::string Name31(31, 'n');
const std::string Plugin259 = std::string(255, 'p') + ".dll";

const TStoredValueRow StoredValueRows[] = {
    {"Main", "VisibleBoards", "11", "11"},
    {"Main", "VisibleBoards", "40", "10"},
    {"Main", "VisibleBoards", "$1E", "30"},
    {"Main", "HintLines", "abc", "3"},
    {"Main", "HintLines", "", "3"},
    {"Main", "ScrollbarSensitivity", "5", "5"},
    {"Main", "ScrollbarSensitivity", "25", "10"},
    {"Main", "ScrollbarSensitivity", "05", "10"},
    {"Main", "ScrollbarSensitivity", "", "10"},
    {"Main", "StayOnTop", "true", "FALSE"},
    {"Main", "ClassicFileSize", "FALSE", "FALSE"},
    {"Main", "CaptionFontSize", "32", "32"},
    {"Main", "CaptionFontSize", "31", "9"},
    {"Main", "MaxPictureCacheSize", "30000001", "30000000"},
    {"MouseOperations", "RMBTypeOperation", "run", "Run"},
    {"MouseOperations", "RMBTypeOperation", "Launch", "System menu"},
    {"MouseOperations", "RMBTypeOperation", "", "System menu"},
    {"MouseOperations", "LMBDragTypeOperation", "Launch", "Copy"},
    {"MouseOperations", "LMBDragTypeOperation", "run", "Copy"},
    {"MouseOperations", "MMBColumnHeaderOperation", "toggle FIXED attribute", "Toggle fixed attribute"},
    {"MouseMenu2", "MouseMenuOperation12", "Anything at all", "Anything at all"},
    {"MouseMenu2", "MouseMenuOperation12", Name31 + "x", "None"},
    {"MouseMenu2", "MouseMenuTranslucency", "101", "0"},
    {"FileHover", "Delay", "12", "12"},
    {"FileHover", "Delay", "11", "5"},
    {"FileList", "SmartQualitySize", "-1", "-1"},
    {"FileList", "MaxThumbFileSize", "-2", "1000000"},
    {"FileList", "ItemsFontName", "", "Arial"},
    {"FileList", "ItemsFontName", Name31, Name31},
    {"FileList", "ItemsFontName", Name31 + "x", "Arial"},
    {"FileList", "ItemsExtraHeight", "3", "4"},
    {"Viewer", "FontSize", "41", "9"},
    {"Viewer", "MaxTextSize", "-1", "-1"},
    {"ViewerPlugins", "Name0", Plugin259, Plugin259},
    {"ViewerPlugins", "Name0", Plugin259 + "x", "QM_PVP.dll"},
};

TEST_F(OptionsFile, StoredValuesOutsideTheirLimitsKeepTheDefault)
{
    for (const TStoredValueRow& row : StoredValueRows) {
        SCOPED_TRACE(row.Section + " " + row.Key + "=" + row.Stored);
        ProgramOptions = TProgramOptions();
        Window.Viewer = TFileViewerSettings();
        LoadText("[" + row.Section + "]\r\n" + row.Key + "=" + row.Stored + "\r\n\r\n");
        EXPECT_EQ(row.Taken, WrittenValue(row.Section, row.Key));
    }
}

TEST_F(OptionsFile, BadValuesDoNotStopTheRestOfTheLoad)
{
    TShownFailures failures;
    LoadText("[Main]\r\nScrollbarSensitivity=25\r\nHintLines=abc\r\nStayOnTop=yes\r\n\r\n"
             "[MouseOperations]\r\nLMBTypeOperation=Launch\r\n\r\n"
             "[Viewer]\r\nMaxTextSize=9999999999\r\n\r\n"
             "[ViewerPlugins]\r\nName1=" +
             std::string(300, 'x') + "\r\nActivate2=TRUE\r\nName2=last.so\r\n\r\n");
    TProgramOptions expected;
    expected.ViewerPluginActive[2] = true;
    expected.ViewerPluginName[2] = "last.so";
    EXPECT_EQ(expected, ProgramOptions);
    EXPECT_EQ(TFileViewerSettings(), Window.Viewer);
    EXPECT_TRUE(failures.Reports.empty());
}

TEST_F(OptionsFile, StayOnTopTakesEffectBeforeTheRestIsRead)
{
    bool descriptionBarReadBeforeStyle = true;
    Window.OnStyleChange = [&] { descriptionBarReadBeforeStyle = ProgramOptions.ShowFileDesc; };
    LoadText("[Main]\r\nStayOnTop=TRUE\r\nShowFileDesc=TRUE\r\nShowUniversalFileTime=TRUE\r\n\r\n");
    EXPECT_EQ(std::vector<bool>{true}, Window.StyleChanges);
    EXPECT_FALSE(descriptionBarReadBeforeStyle);
    EXPECT_TRUE(ProgramOptions.ShowFileDesc);
    EXPECT_FALSE(FileUnitLoader.LocalTime);
}

TEST_F(OptionsFile, EverySaveMakesOrRemovesTheAutostartEntry)
{
    ASSERT_TRUE(Store.Load(0));
    ProgramOptions.Autorun = true;
    SaveText();
    std::ifstream entry(StartupEntry());
    std::stringstream content;
    content << entry.rdbuf();
    EXPECT_EQ("[Desktop Entry]\nType=Application\nName=Quillomber\nExec=" + host::GetProgramHostFile() + "\n",
              content.str());

    std::filesystem::remove(StartupEntry());
    SaveText();
    EXPECT_TRUE(std::filesystem::exists(StartupEntry()));

    ProgramOptions.Autorun = false;
    SaveText();
    EXPECT_FALSE(std::filesystem::exists(StartupEntry()));
    SaveText();
    EXPECT_FALSE(std::filesystem::exists(StartupEntry()));
}

TEST_F(OptionsFile, AFailedAutostartEntryIsShownAndTheSaveGoesOn)
{
    TModalScript script;
    TShownFailures failures;
    failures.Expect(script, "Error");
    host::SetProgramHostFile("/proc/no\uF03Asuch/quillomber");
    ASSERT_TRUE(Store.Load(0));
    ProgramOptions.Autorun = true;
    const std::string text = SaveText();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to create link.")) << failures.Reports[0];
    EXPECT_NE(std::string::npos, text.find("[ViewerPlugins]"));
    EXPECT_FALSE(std::filesystem::exists(StartupEntry()));
}

} // namespace
